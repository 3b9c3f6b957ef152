#include "pdf/PageGeometry.h"

#include <cmath>

PageMatrix PageMatrix::followedBy(const PageMatrix &m) const {
    return {a * m.a + b * m.c, a * m.b + b * m.d,       c * m.a + d * m.c,
            c * m.b + d * m.d, e * m.a + f * m.c + m.e, e * m.b + f * m.d + m.f};
}

PageMatrix PageMatrix::inverse() const {
    const float det = a * d - b * c;
    if (std::fabs(det) == 0)
        return {};
    const float negDet = -det;
    return {d / det, b / negDet, c / negDet, a / det, (c * f - d * e) / det, (a * f - b * e) / negDet};
}

void PageMatrix::apply(float x, float y, float &outX, float &outY) const {
    outX = a * x + c * y + e;
    outY = b * x + d * y + f;
}

PageMatrix displayMatrix(float pageWidth, float pageHeight, int left, int top, int right, int bottom,
                         int rotate) {
    if (pageWidth == 0 || pageHeight == 0)
        return {};
    // Device positions of the page's lower-left corner (x0, y0), upper-left (x1, y1) and lower-right (x2,
    // y2).
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    switch (rotate % 4) {
    case 0:
        x0 = left, y0 = bottom, x1 = left, y1 = top, x2 = right, y2 = bottom;
        break;
    case 1:
    case -3:
        x0 = left, y0 = top, x1 = right, y1 = top, x2 = left, y2 = bottom;
        break;
    case 2:
    case -2:
        x0 = right, y0 = top, x1 = right, y1 = bottom, x2 = left, y2 = top;
        break;
    default:
        x0 = right, y0 = bottom, x1 = left, y1 = bottom, x2 = right, y2 = top;
        break;
    }
    return {
        (x2 - x0) / pageWidth, (y2 - y0) / pageWidth, (x1 - x0) / pageHeight, (y1 - y0) / pageHeight, x0, y0};
}
