#include "pdfview/PdfControlCanvas.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

QImage patterned() {
    QImage image(40, 30, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixelColor(x, y, QColor(x * 6, y * 8, 100));
    return image;
}

} // namespace

TEST(PdfControlCanvas, FocusRectInvertsEveryOtherBorderPixelAndDrawingItAgainRestores) {
    const QImage original = patterned();
    QImage image = original;
    const QRect rect(5, 4, 20, 10);
    {
        QPainter painter(&image);
        drawFocusRect(painter, rect);
    }
    int inverted = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor before = original.pixelColor(x, y), after = image.pixelColor(x, y);
            if (before == after)
                continue;
            ++inverted;
            EXPECT_TRUE(x == rect.left() || x == rect.right() || y == rect.top() || y == rect.bottom())
                << x << "," << y;
            EXPECT_EQ(after, QColor(255 - before.red(), 255 - before.green(), 255 - before.blue()));
        }
    EXPECT_EQ(inverted, (2 * (rect.width() + rect.height()) - 4) / 2);
    EXPECT_NE(image.pixelColor(rect.topLeft()), original.pixelColor(rect.topLeft()));
    EXPECT_EQ(image.pixelColor(rect.left() + 1, rect.top()),
              original.pixelColor(rect.left() + 1, rect.top()));
    {
        QPainter painter(&image);
        drawFocusRect(painter, QRect(rect.bottomRight(), rect.topLeft())); // reversed corners: same rectangle
    }
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            EXPECT_EQ(image.pixel(x, y), original.pixel(x, y)) << x << "," << y;
}

TEST(PdfControlCanvas, BlendUsesAConstantOpacityOverWhatLiesBeneath) {
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(QColor(255, 255, 255));
    {
        QPainter painter(&image);
        blendRect(painter, QRect(2, 2, 4, 4), rgbToColor(0, 0, 255), 127); // 0x00BBGGRR: pure blue
    }
    const QColor inside = image.pixelColor(3, 3);
    EXPECT_NEAR(inside.red(), 128, 2);
    EXPECT_NEAR(inside.green(), 128, 2);
    EXPECT_EQ(inside.blue(), 255);
    EXPECT_EQ(image.pixelColor(7, 7), QColor(255, 255, 255));
}
