#include "PagePictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

const QColor PlaceholderBack(0xe9, 0xe9, 0xe9);
const QColor PlaceholderMark(0xcf, 0xcf, 0xcf);

QImage canvas(int width, int height, const QColor &fill) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(fill);
    return image;
}

// A head and shoulders silhouette inside `box`.
void paintPerson(QPainter &painter, const QRectF &box, const QColor &colour) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    const double w = box.width(), h = box.height();
    painter.drawEllipse(QPointF(box.center().x(), box.top() + h * 0.38), w * 0.19, h * 0.19);
    QPainterPath shoulders;
    shoulders.addEllipse(QRectF(box.left() + w * 0.18, box.top() + h * 0.64, w * 0.64, h * 0.56));
    QPainterPath clip;
    clip.addEllipse(box);
    painter.drawPath(shoulders.intersected(clip));
}

} // namespace

QImage drawCoverPlaceholder() {
    QImage image = canvas(200, 300, PlaceholderBack);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(PlaceholderMark, 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(62, 100, 76, 100), 6, 6); // a closed book
    painter.drawLine(QPointF(78, 100), QPointF(78, 200));    // its spine
    painter.drawLine(QPointF(92, 130), QPointF(124, 130));
    painter.drawLine(QPointF(92, 146), QPointF(116, 146));
    return image;
}

QImage drawBannerPlaceholder() {
    QImage image = canvas(1140, 350, PlaceholderBack);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(PlaceholderMark, 8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    const QRectF frame(500, 115, 140, 110);
    painter.drawRoundedRect(frame, 10, 10); // a picture frame with hills and a sun
    painter.setPen(Qt::NoPen);
    painter.setBrush(PlaceholderMark);
    painter.drawEllipse(QPointF(605, 145), 12, 12);
    QPainterPath hills;
    hills.moveTo(512, 213);
    hills.lineTo(555, 160);
    hills.lineTo(585, 192);
    hills.lineTo(600, 176);
    hills.lineTo(628, 213);
    hills.closeSubpath();
    painter.drawPath(hills);
    return image;
}

QImage drawUserIcon() {
    QImage image = canvas(40, 40, Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xf5, 0xf5, 0xf5));
    painter.drawEllipse(QRectF(1, 1, 38, 38));
    paintPerson(painter, QRectF(1, 1, 38, 38), QColor(0x9e, 0x9e, 0x9e));
    return image;
}

QImage drawBookShadow() {
    QImage image = canvas(220, 24, Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QRadialGradient shadow(QPointF(110, 6), 110);
    shadow.setColorAt(0, QColor(0, 0, 0, 110));
    shadow.setColorAt(1, QColor(0, 0, 0, 0));
    painter.scale(1, 0.25); // flatten the round gradient into an ellipse below the book
    painter.setPen(Qt::NoPen);
    painter.setBrush(shadow);
    painter.drawEllipse(QRectF(0, -40, 220, 96));
    return image;
}

QImage drawSelectArrow() {
    QImage image = canvas(24, 24, Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x55, 0x55, 0x55), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(QPolygonF({QPointF(7, 10), QPointF(12, 15), QPointF(17, 10)}));
    return image;
}

QImage drawDefaultAvatar() {
    QImage image = canvas(200, 200, QColor(0xd6, 0xe4, 0xf0));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    paintPerson(painter, QRectF(0, 10, 200, 200), QColor(0x7f, 0x9c, 0xb8));
    return image;
}

QImage drawHeaderLogo() {
    QImage image = canvas(180, 50, Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // An open book: two pages meeting at the spine.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x34, 0x98, 0xdb));
    QPainterPath left, right;
    left.moveTo(25, 12);
    left.cubicTo(18, 7, 9, 8, 4, 11);
    left.lineTo(4, 40);
    left.cubicTo(9, 37, 18, 37, 25, 42);
    left.closeSubpath();
    right = QTransform(-1, 0, 0, 1, 50, 0).map(left);
    painter.drawPath(left);
    painter.setBrush(QColor(0x21, 0x6e, 0xa3));
    painter.drawPath(right);
    // Bars standing for the name beside the mark.
    painter.setBrush(QColor(0x44, 0x44, 0x44));
    painter.drawRoundedRect(QRectF(58, 14, 112, 10), 5, 5);
    painter.setBrush(QColor(0x99, 0x99, 0x99));
    painter.drawRoundedRect(QRectF(58, 30, 78, 7), 3.5, 3.5);
    return image;
}

QImage drawSampleCover(const QColor &base, const QColor &accent, int motif) {
    QImage image = canvas(200, 300, base);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(accent);
    switch (motif % 3) {
    case 0:
        painter.drawEllipse(QPointF(100, 130), 60, 60);
        break;
    case 1:
        for (int i = 0; i < 5; ++i)
            painter.drawRect(QRectF(0, 60 + i * 30, 200, 12));
        break;
    default:
        painter.drawPolygon(QPolygonF({QPointF(100, 60), QPointF(170, 200), QPointF(30, 200)}));
        break;
    }
    // Title and author bars near the foot of the cover.
    painter.setBrush(QColor(255, 255, 255, 220));
    painter.drawRect(QRectF(24, 232, 152, 14));
    painter.drawRect(QRectF(24, 256, 100, 9));
    painter.setBrush(QColor(0, 0, 0, 50)); // spine shade
    painter.drawRect(QRectF(0, 0, 10, 300));
    return image;
}

QImage drawSampleBanner(const QColor &from, const QColor &to) {
    QImage image = canvas(1140, 350, from);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sweep(0, 0, 1140, 350);
    sweep.setColorAt(0, from);
    sweep.setColorAt(1, to);
    painter.fillRect(image.rect(), sweep);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 40));
    painter.drawEllipse(QPointF(900, 80), 180, 180);
    painter.drawEllipse(QPointF(1040, 300), 120, 120);
    painter.setBrush(QColor(255, 255, 255, 200));
    painter.drawRoundedRect(QRectF(80, 130, 420, 34), 6, 6);
    painter.drawRoundedRect(QRectF(80, 186, 300, 20), 6, 6);
    return image;
}
