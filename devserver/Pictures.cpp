#include "devserver/Pictures.h"

#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <stdexcept>

namespace devserver {

namespace {

bool canDrawText() {
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr;
}

void save(const QImage &image, const QString &path) {
    if (!image.save(path, "PNG"))
        throw std::runtime_error("cannot write picture " + path.toStdString());
}

void fillGradient(QPainter &p, const QRect &area, QColor base) {
    QLinearGradient gradient(area.topLeft(), area.bottomRight());
    gradient.setColorAt(0, base.lighter(130));
    gradient.setColorAt(1, base.darker(160));
    p.fillRect(area, gradient);
}

void drawText(QPainter &p, const QRect &box, const QString &text, int pixelSize, bool bold, int flags) {
    if (!canDrawText())
        return;
    QFont font("DejaVu Sans");
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(box, flags | Qt::TextWordWrap, text);
}

} // namespace

void writeCover(const QString &path, const QString &title, const QString &author, QColor base) {
    QImage image(300, 450, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    fillGradient(p, image.rect(), base);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 40));
    p.drawEllipse(QPoint(240, 380), 140, 140);
    p.fillRect(QRect(0, 0, 14, 450), base.darker(200));
    drawText(p, QRect(34, 50, 240, 240), title, 28, true, Qt::AlignLeft | Qt::AlignTop);
    drawText(p, QRect(34, 370, 240, 60), author, 16, false, Qt::AlignLeft | Qt::AlignBottom);
    p.end();
    save(image, path);
}

void writeBanner(const QString &path, const QString &headline, QColor base) {
    QImage image(1140, 300, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    fillGradient(p, image.rect(), base);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 6; ++i) {
        p.setBrush(QColor(255, 255, 255, 18 + i * 6));
        p.drawEllipse(QPoint(820 + i * 50, 150), 200 - i * 25, 200 - i * 25);
    }
    drawText(p, QRect(60, 80, 700, 160), headline, 44, true, Qt::AlignLeft | Qt::AlignVCenter);
    p.end();
    save(image, path);
}

void writeLogo(const QString &path, const QString &name, QColor base, int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(base);
    p.drawRoundedRect(QRect(0, 0, width, height), height / 5, height / 5);
    p.setBrush(Qt::white);
    p.drawEllipse(QRect(height / 6, height / 6, height * 2 / 3, height * 2 / 3));
    drawText(p, QRect(height, 0, width - height - 8, height), name, height / 4, true,
             Qt::AlignLeft | Qt::AlignVCenter);
    p.end();
    save(image, path);
}

void writeAvatar(const QString &path, const QString &initials, QColor base) {
    QImage image(128, 128, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(base);
    p.drawEllipse(image.rect());
    drawText(p, image.rect(), initials, 48, true, Qt::AlignCenter);
    p.end();
    save(image, path);
}

} // namespace devserver
