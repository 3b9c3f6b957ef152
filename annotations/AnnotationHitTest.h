#pragma once
#include "service/JsonDocument.h"

#include <QPoint>

#include <functional>

// Turns a page-space point into the view's device pixels at its current zoom, scroll and rotation.
using PageToDeviceFn = std::function<QPoint(double x, double y)>;

// An entry's "point" box on screen: its (left, top) and (right, bottom) corners, not reordered.
struct DeviceCorners {
    QPoint p1, p2;
};
DeviceCorners annotationBox(const JsonDocument &entry, const PageToDeviceFn &toDevice);

// The position in "data" of the first entry on page `pageIndex` whose box holds `at`, -1 when none does.
// All four edges of the box belong to it; a box stored with reversed corners (dragged up or to the left)
// never holds anything.
int annotationAt(const JsonDocument &document, int pageIndex, const QPoint &at,
                 const PageToDeviceFn &toDevice);
