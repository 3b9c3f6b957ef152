#pragma once
#include "pdf/PdfiumCore.h"

#include <QRect>

#include <vector>

class TPdfControl;

// The page-space rectangles of a view's selected characters, as the engine gives them for the page
// shown (one per line piece, in reading order); none without a selection.
std::vector<TPdfRect> selectionPageRectangles(TPdfControl &view);

// The same rectangles in the view's device pixels.
std::vector<QRect> selectionRectangles(TPdfControl &view);
