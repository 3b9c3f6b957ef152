#pragma once
// Fixed measures of the page view control, shared by its source files.
#include "pdfview/PdfColor.h"

#include <QtGlobal>

namespace PdfControlMetrics {

inline constexpr int ScrollLine = 25;         // pixels per arrow key, scroll-bar arrow and drag-scroll tick
inline constexpr int DragScrollInterval = 50; // milliseconds
// The largest drawn page side in pixels: above any real page at the largest zoom, and small enough that
// the layout's sums and differences of extents and scroll positions stay within int.
inline constexpr int MaxDrawExtent = 1 << 24;
inline constexpr qint64 DirectDrawPixels = 8'847'360; // pages above this (and the control) are not buffered
inline constexpr double NearestCharTolerance = 65535; // page points: any character of the page
inline constexpr double TextCursorTolerance = 5;      // page points
inline constexpr int BlendOpacity = 127; // of 255: constant opacity of selection and highlight marks
inline constexpr TColor SelectionColor = rgbToColor(50, 142, 254);
inline constexpr TColor HighlightColor = rgbToColor(254, 142, 50);

} // namespace PdfControlMetrics
