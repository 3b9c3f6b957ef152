#include "pdfview/PdfControlCanvas.h"

#include <QPainter>
#include <QPolygon>

#include <algorithm>

namespace {

// The border pixels of `rect`, clockwise from its top-left corner, each once.
QPolygon borderPixels(const QRect &rect) {
    QPolygon points;
    const int l = rect.left(), t = rect.top(), r = rect.right(), b = rect.bottom();
    for (int x = l; x <= r; ++x)
        points << QPoint(x, t);
    for (int y = t + 1; y <= b; ++y)
        points << QPoint(r, y);
    if (b > t)
        for (int x = r - 1; x >= l; --x)
            points << QPoint(x, b);
    if (r > l)
        for (int y = b - 1; y > t; --y)
            points << QPoint(l, y);
    return points;
}

// The rectangle between the same two corners with left <= right and top <= bottom (QRect::normalized
// would move the swapped edges by a pixel).
QRect ordered(const QRect &rect) {
    return QRect(QPoint(std::min(rect.left(), rect.right()), std::min(rect.top(), rect.bottom())),
                 QPoint(std::max(rect.left(), rect.right()), std::max(rect.top(), rect.bottom())));
}

} // namespace

void drawFocusRect(QPainter &painter, const QRect &rect) {
    const QRect r = ordered(rect);
    if (r.isEmpty())
        return;
    const QPolygon border = borderPixels(r);
    QPolygon dots;
    for (int i = 0; i < border.size(); i += 2)
        dots << border[i];
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(QPen(QColor(255, 255, 255), 0));
    painter.drawPoints(dots);
    painter.restore();
}

void blendRect(QPainter &painter, const QRect &rect, TColor color, int opacity) {
    painter.save();
    painter.setOpacity(opacity / 255.0);
    painter.fillRect(ordered(rect), toQColor(color));
    painter.restore();
}
