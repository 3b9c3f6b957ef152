#pragma once
#include "pdfview/PdfColor.h"

#include <QRect>

class QPainter;

// Drawing primitives for marks over a page view, as the reader and the annotation code draw them on the
// view's canvas (TPdfControl::Canvas while its OnPaint runs).

// A dotted focus rectangle drawn by inverting every other pixel of the rectangle's border. Drawing the
// same rectangle again restores the pixels. Needs a raster surface (widget, image). A rectangle made from
// two corners in any order (QRect(QPoint, QPoint)) means the rectangle between them.
void drawFocusRect(QPainter &painter, const QRect &rect);

// Covers `rect` with `color` at a constant opacity of `opacity` out of 255, without per-pixel alpha.
void blendRect(QPainter &painter, const QRect &rect, TColor color, int opacity);
