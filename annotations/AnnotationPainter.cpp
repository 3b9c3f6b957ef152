#include "annotations/AnnotationPainter.h"

#include "annotations/AnnotationValues.h"
#include "pdfview/PdfControlCanvas.h"

#include <QImage>
#include <QPainter>

namespace {

constexpr int RepaintOpacity = 130;

QColor colourOf(const JsonDocument &entry) {
    return toQColor(static_cast<TColor>(integerAt(entry, "color")));
}

void paintRectangle(QPainter &painter, const JsonDocument &entry, const PageToDeviceFn &toDevice) {
    const auto [p1, p2] = annotationBox(entry, toDevice);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(colourOf(entry), 2));
    painter.drawRect(QRect(p1, p2).normalized());
    painter.setBrush(QBrush(colourOf(entry), Qt::SolidPattern));
}

void paintNote(QPainter &painter, const JsonDocument &entry, const PageToDeviceFn &toDevice,
               const QImage &noteIcon) {
    painter.drawImage(annotationBox(entry, toDevice).p1, noteIcon);
}

void paintHighlight(QPainter &painter, const JsonDocument &entry, const PageToDeviceFn &toDevice) {
    const JsonDocument &bands = memberAt(entry, "point_data");
    const TColor colour = static_cast<TColor>(integerAt(entry, "color"));
    for (const JsonDocument &band : bands) {
        const QPoint p1 = toDevice(numberAt(band, "left"), numberAt(band, "top"));
        const QPoint p2 = toDevice(numberAt(band, "right"), numberAt(band, "bottom"));
        blendRect(painter, QRect(p1.x(), p1.y(), p2.x() - p1.x(), p2.y() - p1.y()), colour, RepaintOpacity);
    }
}

void paintInk(QPainter &painter, const JsonDocument &entry, const PageToDeviceFn &toDevice) {
    const JsonDocument &point = memberAt(entry, "point");
    QPoint from = toDevice(numberAt(point, "x"), numberAt(point, "y"));
    painter.setPen(QPen(colourOf(entry), 3));
    for (const JsonDocument &next : memberAt(entry, "draw_data")) {
        const QPoint to = toDevice(numberAt(next, "x"), numberAt(next, "y"));
        painter.drawLine(from, to);
        from = to;
    }
}

} // namespace

void paintAnnotations(QPainter &painter, const JsonDocument &document, int pageIndex,
                      const PageToDeviceFn &toDevice, const QImage &noteIcon) {
    for (const JsonDocument &entry : memberAt(document, "data")) {
        if (integerAt(entry, "page") != pageIndex)
            continue;
        const std::string type = textAt(entry, "type");
        if (type == "RECTANGLE")
            paintRectangle(painter, entry, toDevice);
        else if (type == "NOTES")
            paintNote(painter, entry, toDevice, noteIcon);
        else if (type == "HIGHLIGHT")
            paintHighlight(painter, entry, toDevice);
        else if (type == "INK")
            paintInk(painter, entry, toDevice);
    }
}
