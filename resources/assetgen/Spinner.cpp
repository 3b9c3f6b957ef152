#include "Spinner.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr int DotCount = 12;
constexpr int Shades = 15;

// Entry 0 is transparent; entries 1..15 run from light grey to the spinner blue.
QList<QRgb> spinnerPalette() {
    QList<QRgb> palette{qRgba(0, 0, 0, 0)};
    const QColor light(0xdd, 0xdd, 0xdd), blue(0x34, 0x98, 0xdb);
    for (int i = 0; i < Shades; ++i) {
        const double t = double(i) / (Shades - 1);
        palette.append(qRgb(int(light.red() + (blue.red() - light.red()) * t),
                            int(light.green() + (blue.green() - light.green()) * t),
                            int(light.blue() + (blue.blue() - light.blue()) * t)));
    }
    return palette;
}

// Draws one frame with the dot `lead` brightest and the trail behind it fading; the shade of each dot
// is painted as a grey level so that quantising maps it straight onto the palette.
QImage drawFrame(int size, int lead) {
    QImage frame(size, size, QImage::Format_ARGB32);
    frame.fill(Qt::transparent);
    QPainter painter(&frame);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const double centre = size / 2.0;
    const double radius = size * 0.36;
    const double dot = size * 0.09;
    for (int i = 0; i < DotCount; ++i) {
        const int behind = (lead - i + DotCount) % DotCount;
        const int shade = std::max(1, Shades - behind * 2);
        painter.setBrush(QColor(shade * 16, shade * 16, shade * 16));
        const double angle = 2 * std::numbers::pi * i / DotCount - std::numbers::pi / 2;
        painter.drawEllipse(QPointF(centre + radius * std::cos(angle), centre + radius * std::sin(angle)),
                            dot, dot);
    }
    return frame;
}

// Maps a drawn frame (unpremultiplied) onto the palette: faint edge pixels become transparent, the rest
// take the shade their grey level stands for.
QImage quantise(const QImage &drawn, const QList<QRgb> &palette) {
    QImage indexed(drawn.size(), QImage::Format_Indexed8);
    indexed.setColorTable(palette);
    for (int y = 0; y < drawn.height(); ++y) {
        const QRgb *source = reinterpret_cast<const QRgb *>(drawn.constScanLine(y));
        uchar *target = indexed.scanLine(y);
        for (int x = 0; x < drawn.width(); ++x) {
            const int alpha = qAlpha(source[x]);
            if (alpha < 110) {
                target[x] = 0;
                continue;
            }
            target[x] = uchar(std::clamp((qRed(source[x]) + 8) / 16, 1, Shades));
        }
    }
    return indexed;
}

} // namespace

QList<QImage> drawSpinnerFrames(int size) {
    const QList<QRgb> palette = spinnerPalette();
    QList<QImage> frames;
    for (int lead = 0; lead < DotCount; ++lead)
        frames.append(quantise(drawFrame(size, lead), palette));
    return frames;
}
