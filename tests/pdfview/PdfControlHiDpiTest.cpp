// The view on a screen of device pixel ratio 2 (the test runs with QT_SCALE_FACTOR=2): layout stays in
// device-independent pixels while the page is rendered in the screen's own pixels, as sharp as the engine
// draws it at that size, whether from the kept image or directly.
#include "pdfview/PdfControl.h"
#include "tests/pdfview/PdfFixture.h"

#include <QStyle>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr int Ratio = 2;

QRect scaled(const QRect &r) {
    return QRect(r.topLeft() * Ratio, r.size() * Ratio);
}

// The page as the engine draws it at screen resolution, over the part `visible` of the view.
QImage engineDrawing(TPdfPage &page, const QRect &pageRect, const QRect &visible) {
    QImage image(visible.size() * Ratio, QImage::Format_RGB32);
    image.fill(Qt::white);
    TPdfBitmap bitmap(image);
    const QRect device = scaled(pageRect.translated(-visible.topLeft()));
    page.DrawToPdfBitmap(bitmap, device.x(), device.y(), device.width(), device.height());
    return image;
}

int inkedPixels(const QImage &image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) != qRgb(255, 255, 255);
    return count;
}

TEST(PdfControlHiDpi, PagesAreRenderedInScreenPixelsAndLaidOutInIndependentOnes) {
    QWidget parent;
    auto *control = new TPdfControl(&parent);
    parent.resize(600, 800);
    control->resize(600, 800);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    ASSERT_EQ(control->devicePixelRatioF(), Ratio);
    control->LoadFromBytes(makeFixturePdf(
        {FixturePage{612, 792, {FixtureText{60, 60, QStringLiteral("Huruf tajam di layar"), 18}}}}));
    control->SetScaleMode(TPdfControlScaleMode::smZoom);
    const int bar = control->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, control);
    const QRect client(0, 0, control->width() - bar, control->height() - bar);

    const struct {
        bool buffered;
        int zoom;
        const char *how;
    } cases[] = {
        {true, 100, "kept image"},
        {true, 150, "kept image, larger"},
        {false, 100, "drawn directly"},
        {true, 400, "drawn directly, too large to keep"},
    };
    for (const auto &c : cases) {
        control->SetBufferedPageDraw(c.buffered);
        control->SetZoomPercentage(c.zoom);
        const QRect pageRect = control->GetPageRect();
        EXPECT_EQ(pageRect.width(), std::lround(612.0 / 72 * control->logicalDpiX() * c.zoom / 100)) << c.how;
        EXPECT_EQ(pageRect.height(), std::lround(792.0 / 72 * control->logicalDpiY() * c.zoom / 100))
            << c.how;

        const QImage shot = control->grab().toImage();
        ASSERT_EQ(shot.size(), control->size() * Ratio) << c.how;
        const QRect visible = pageRect & client;
        const QImage expected = engineDrawing(*control->GetCurrentPage(), pageRect, visible);
        ASSERT_GT(inkedPixels(expected), 0) << c.how << ": the text lies in the part compared";
        EXPECT_EQ(shot.copy(scaled(visible)).convertToFormat(QImage::Format_RGB32), expected) << c.how;
    }
}

} // namespace
