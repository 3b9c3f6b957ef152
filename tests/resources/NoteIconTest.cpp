#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <gtest/gtest.h>

namespace {

TEST(NoteIcon, IsA48PixelYellowOutlineOnTransparent) {
    QImage icon(":/notes");
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.size(), QSize(48, 48));
    EXPECT_TRUE(icon.hasAlphaChannel());
    icon = icon.convertToFormat(QImage::Format_ARGB32);

    int transparent = 0, solidYellow = 0, otherColour = 0;
    for (int y = 0; y < icon.height(); ++y) {
        for (int x = 0; x < icon.width(); ++x) {
            const QRgb pixel = icon.pixel(x, y);
            if (qAlpha(pixel) == 0)
                ++transparent;
            else if (qAlpha(pixel) == 255 && (pixel & 0xffffff) == 0xF1C40F)
                ++solidYellow;
            else if ((pixel & 0xffffff) != 0xF1C40F)
                ++otherColour; // edges may be partly transparent, but always in the same colour
        }
    }
    EXPECT_GT(transparent, 48 * 48 / 2); // an outline, not a filled shape
    EXPECT_GT(solidYellow, 100);
    EXPECT_EQ(otherColour, 0);
    EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(icon.pixel(24, 40)), 0); // below the bubble, beside its tail
}

TEST(IconFont, HeaderGlyphFontLoadsAsFontAwesomeSolid) {
    QFile font(":/fonts/fa-solid-900.ttf");
    ASSERT_TRUE(font.open(QIODevice::ReadOnly));
    const int id = QFontDatabase::addApplicationFontFromData(font.readAll());
    ASSERT_NE(id, -1);
    EXPECT_TRUE(QFontDatabase::applicationFontFamilies(id).contains("Font Awesome 5 Free"));
    QFontDatabase::removeApplicationFont(id);
}

} // namespace
