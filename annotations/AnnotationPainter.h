#pragma once
#include "annotations/AnnotationHitTest.h"
#include "service/JsonDocument.h"

class QImage;
class QPainter;

// Paints the entries of page `pageIndex` over the page, in "data" order, each in its own colour:
// rectangles as 2-pixel frames, notes as the note icon, highlights as bands blended at 130 of 255 from
// "point_data", ink as 3-pixel lines from the pen-down point through "draw_data". Other types are
// skipped; the painter's pen and brush carry over from one entry to the next.
void paintAnnotations(QPainter &painter, const JsonDocument &document, int pageIndex,
                      const PageToDeviceFn &toDevice, const QImage &noteIcon);
