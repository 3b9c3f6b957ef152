#include "app/Artwork.h"

#include "KelvaraConfig.h"

#include <QPainter>
#include <QPainterPath>

namespace {
// An open book on a blue disc, with the program's name underneath.
void drawEmblem(QPainter &painter, int size) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x34, 0x98, 0xdb));
    const qreal disc = size * 0.56;
    painter.drawEllipse(QRectF((size - disc) / 2, size * 0.1, disc, disc));
    painter.setBrush(Qt::white);
    const QPointF centre(size / 2.0, size * 0.1 + disc / 2);
    const qreal w = disc * 0.32, h = disc * 0.36;
    for (int side : {-1, 1}) {
        QPainterPath page;
        page.moveTo(centre.x(), centre.y() - h / 2);
        page.lineTo(centre.x() + side * w, centre.y() - h / 2 - w * 0.15);
        page.lineTo(centre.x() + side * w, centre.y() + h / 2 - w * 0.15);
        page.lineTo(centre.x(), centre.y() + h / 2);
        page.closeSubpath();
        painter.drawPath(page);
    }
    painter.setPen(QColor(0x2c, 0x3e, 0x50));
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(size / 12);
    painter.setFont(font);
    painter.drawText(QRectF(0, size * 0.72, size, size * 0.14), Qt::AlignCenter,
                     QStringLiteral("PERPUS KELVARA"));
}
} // namespace

QPixmap splashPicture(int size) {
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    drawEmblem(painter, size);
    return picture;
}

QPixmap aboutPicture(int size) {
    QPixmap picture(size, size);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    drawEmblem(painter, size);
    painter.setPen(Qt::darkGray);
    QFont font = painter.font();
    font.setBold(false);
    font.setPixelSize(size / 24);
    painter.setFont(font);
    painter.drawText(QRectF(0, size * 0.86, size, size * 0.1), Qt::AlignCenter,
                     QStringLiteral("Versi %1").arg(KelvaraConfig::ClientVersion));
    return picture;
}
