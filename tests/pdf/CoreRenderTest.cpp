// Drawing a page into a device rectangle: placement per rotation, render flags and the page bitmap.
#include "pdf/PdfiumCore.h"
#include "tests/pdf/CorePdfBuilder.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

// A 200 x 100 pt page with a black square in its lower-left quarter and a red one upper right.
std::string markedPage() {
    FixturePage page;
    page.width = 200;
    page.height = 100;
    page.content = "0 0 0 rg 10 10 40 40 re f 1 0 0 rg 150 50 40 40 re f\n";
    return buildFixturePdf({page});
}

bool isDark(QRgb c) {
    return qRed(c) < 60 && qGreen(c) < 60 && qBlue(c) < 60;
}
bool isRed(QRgb c) {
    return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60;
}

class CoreRender : public testing::Test {
protected:
    void SetUp() override {
        doc.LoadFromBytes(QByteArray::fromStdString(markedPage()));
        page = doc.GetPage(0);
    }
    QImage draw(QSize size, QRect target, TPdfPageRotation rotate, TPdfPageRenderOptions options = {}) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        page->Draw(painter, target.x(), target.y(), target.width(), target.height(), rotate, options);
        return image;
    }
    // Where the centre of the black square (page 30, 30) lands.
    QPoint blackCentre(const QRect &target, TPdfPageRotation rotate) {
        return page->PageToDevice(target.x(), target.y(), target.width(), target.height(), 30, 30, rotate);
    }
    TPdfDocument doc;
    TPdfPage *page = nullptr;
};

TEST_F(CoreRender, MarksLandWherePageToDeviceSaysPerRotation) {
    const struct {
        TPdfPageRotation rotate;
        QRect target;
    } cases[] = {
        {prNormal, {10, 5, 400, 200}},
        {pr90Clockwise, {0, 0, 200, 400}},
        {pr180, {20, 20, 400, 200}},
        {pr90CounterClockwide, {5, 10, 200, 400}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.rotate);
        const QImage image = draw({440, 440}, c.target, c.rotate);
        const QPoint black = blackCentre(c.target, c.rotate);
        EXPECT_TRUE(isDark(image.pixel(black))) << black.x() << "," << black.y();
        const QPoint red = page->PageToDevice(c.target.x(), c.target.y(), c.target.width(), c.target.height(),
                                              170, 70, c.rotate);
        EXPECT_TRUE(isRed(image.pixel(red)));
        // Outside the target nothing is drawn, inside blank paper stays as it was.
        EXPECT_EQ(image.pixel(c.target.right() + 5, c.target.bottom() + 5), qRgb(255, 255, 255));
        const QPoint blank = page->PageToDevice(c.target.x(), c.target.y(), c.target.width(),
                                                c.target.height(), 100, 50, c.rotate);
        EXPECT_EQ(image.pixel(blank), qRgb(255, 255, 255));
    }
}

TEST_F(CoreRender, PainterClipLimitsTheDrawing) {
    QImage image(400, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setClipRect(QRect(200, 0, 200, 200));
        page->Draw(painter, 0, 0, 400, 200);
    }
    EXPECT_EQ(image.pixel(blackCentre({0, 0, 400, 200}, prNormal)), qRgb(255, 255, 255));
    EXPECT_TRUE(isRed(image.pixel(340, 40)));
}

TEST_F(CoreRender, FlagsGrayscaleAndByteOrder) {
    const QPoint red = page->PageToDevice(0, 0, 400, 200, 170, 70, prNormal);
    const QImage gray = draw({400, 200}, {0, 0, 400, 200}, prNormal, proGrayscale);
    const QRgb g = gray.pixel(red);
    EXPECT_EQ(qRed(g), qGreen(g));
    EXPECT_EQ(qGreen(g), qBlue(g));
    EXPECT_LT(qRed(g), 200);
    const QImage swapped = draw({400, 200}, {0, 0, 400, 200}, prNormal, proReverseByteOrder);
    const QRgb s = swapped.pixel(red);
    EXPECT_TRUE(qBlue(s) > 200 && qRed(s) < 60) << "red lands in the blue byte";
}

TEST_F(CoreRender, IntoAnEngineBitmap) {
    TPdfBitmap bitmap(400, 200);
    bitmap.FillRect(0, 0, 400, 200, 0xFFFFFFFF);
    page->DrawToPdfBitmap(bitmap, 0, 0, 400, 200);
    const QImage view(static_cast<const uchar *>(bitmap.Buffer()), 400, 200, bitmap.BytesPerScanLine(),
                      QImage::Format_RGB32);
    EXPECT_TRUE(isDark(view.pixel(blackCentre({0, 0, 400, 200}, prNormal))));
    EXPECT_EQ(view.pixel(200, 100), qRgb(255, 255, 255));

    QImage image(400, 200, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        TPdfBitmap wrapped(image);
        page->DrawToPdfBitmap(wrapped, 0, 0, 400, 200);
    }
    EXPECT_EQ(qAlpha(image.pixel(200, 100)), 0) << "paper left transparent";
    const QRgb black = image.pixel(blackCentre({0, 0, 400, 200}, prNormal));
    EXPECT_EQ(qAlpha(black), 255);
    EXPECT_TRUE(isDark(black));
}

} // namespace
