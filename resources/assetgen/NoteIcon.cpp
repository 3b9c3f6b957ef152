#include "NoteIcon.h"

#include <QPainter>
#include <QPainterPath>

QImage drawNoteIcon() {
    QImage icon(48, 48, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);

    // Rounded bubble with a tail at the lower left.
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(4.5, 5.5, 39, 28), 6, 6);
    QPainterPath tail;
    tail.moveTo(11, 32);
    tail.lineTo(10, 43);
    tail.lineTo(21, 32);
    tail.closeSubpath();
    painter.setPen(QPen(NoteIconColour, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(bubble.united(tail));

    // Three text lines, the last one shorter.
    painter.setPen(QPen(NoteIconColour, 3, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(11, 13.5), QPointF(37, 13.5));
    painter.drawLine(QPointF(11, 19.5), QPointF(37, 19.5));
    painter.drawLine(QPointF(11, 25.5), QPointF(28, 25.5));
    painter.end();

    // Antialiased edges come back with rounded colour channels; keep their coverage as alpha only,
    // so every visible pixel is exactly the icon colour.
    const QRgb colour = NoteIconColour.rgb() & 0xffffff;
    for (int y = 0; y < icon.height(); ++y) {
        QRgb *row = reinterpret_cast<QRgb *>(icon.scanLine(y));
        for (int x = 0; x < icon.width(); ++x)
            row[x] = qAlpha(row[x]) ? (row[x] & 0xff000000) | colour : 0;
    }
    return icon;
}
