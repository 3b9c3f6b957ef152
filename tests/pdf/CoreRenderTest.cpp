// Drawing a page into a device rectangle: placement per rotation, render flags and the page bitmap.
#include "pdf/PdfiumCore.h"
#include "tests/pdf/CorePdfBuilder.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

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

// Pages with partly transparent areas, 300 x 200 pt.
FixturePage patternTextPage() {
    FixturePage page;
    page.width = 300;
    page.height = 200;
    page.content = "BT /F1 60 Tf /Pattern cs /P1 scn 20 100 Td (POLA) Tj ET\n";
    page.resources = "/Pattern << /P1 @0 >>";
    page.objects = {fixtureStream("/PatternType 1 /PaintType 1 /TilingType 1 /BBox [0 0 1.3 1.3] /XStep 1.3 "
                                  "/YStep 1.3 /Resources << >>",
                                  "0 0 1 rg 0 0 0.7 0.7 re f")};
    return page;
}

FixturePage softMaskPage() {
    FixturePage page = patternTextPage();
    page.content = "/G1 gs /X1 Do\n";
    page.resources = "/ExtGState << /G1 << /SMask << /S /Luminosity /G @0 >> >> >> /XObject << /X1 @1 >>";
    page.objects = {
        fixtureStream("/Type /XObject /Subtype /Form /BBox [0 0 300 200] /Group << /S /Transparency /CS "
                      "/DeviceRGB >>",
                      "1 g 50 50 100 100 re f 0.5 g 150 50 100 100 re f"),
        fixtureStream("/Type /XObject /Subtype /Form /BBox [0 0 300 200]", "0 0.5 0 rg 0 0 300 200 re f")};
    return page;
}

FixturePage knockoutGroupPage() {
    FixturePage page = patternTextPage();
    page.content = "/X1 Do\n";
    page.resources = "/XObject << /X1 @0 >>";
    page.objects = {
        fixtureStream("/Type /XObject /Subtype /Form /BBox [0 0 300 200] /Group << /S /Transparency "
                      "/I true /K true >> /Resources << /ExtGState << /G2 << /ca 0.5 >> >> >>",
                      "/G2 gs 1 0 0 rg 20 20 150 150 re f 0 0 1 rg 100 50 150 120 re f")};
    return page;
}

// The engine's own renderer's picture of page 1 of the file at that size.
QImage mutoolDraw(const QString &pdfPath, QSize size) {
    const QString png = pdfPath + ".png";
    QProcess mutool;
    mutool.start("mutool", {"draw", "-q", "-w", QString::number(size.width()), "-h",
                            QString::number(size.height()), "-o", png, pdfPath, "1"});
    EXPECT_TRUE(mutool.waitForFinished(60000));
    EXPECT_EQ(mutool.exitCode(), 0) << mutool.readAllStandardError().toStdString();
    return QImage(png).convertToFormat(QImage::Format_RGB32);
}

double meanGrey(const QImage &image) {
    double sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            sum += qGray(image.pixel(x, y));
    return sum / (255.0 * image.width() * image.height());
}

// The mean difference of the colour channels, 0 to 1.
double meanDifference(const QImage &a, const QImage &b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum +=
                std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3 * 255.0 * a.width() * a.height());
}

// Each way a page is drawn, onto white paper, read back as an opaque image.
using DrawPath = std::function<QImage(TPdfPage &, QSize)>;

QImage drawnWithPainter(TPdfPage &page, QSize size, QImage::Format format, bool transformed) {
    QImage image(size, format);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        if (transformed)
            painter.translate(0.0001, 0); // not the identity: drawn through an image of its own
        page.Draw(painter, 0, 0, size.width(), size.height());
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

QImage drawnToBitmap(TPdfPage &page, QSize size, bool alpha) {
    TPdfBitmap bitmap(size.width(), size.height(), alpha);
    bitmap.FillRect(0, 0, size.width(), size.height(), 0xFFFFFFFF);
    page.DrawToPdfBitmap(bitmap, 0, 0, size.width(), size.height());
    // Copied out of the bitmap's pixels, which go with it (a conversion to the format it already has
    // would keep pointing at them).
    return QImage(static_cast<const uchar *>(bitmap.Buffer()), size.width(), size.height(),
                  bitmap.BytesPerScanLine(), alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32)
        .copy()
        .convertToFormat(QImage::Format_RGB32);
}

TEST(CoreRenderTransparency, PartlyTransparentContentMatchesTheEnginesOwnRenderer) {
    const std::pair<const char *, FixturePage> pages[] = {
        {"pattern-filled text", patternTextPage()},
        {"soft mask", softMaskPage()},
        {"knockout group at half opacity", knockoutGroupPage()},
    };
    const std::pair<const char *, DrawPath> paths[] = {
        {"RGB32 image",
         [](TPdfPage &p, QSize s) { return drawnWithPainter(p, s, QImage::Format_RGB32, false); }},
        {"premultiplied image",
         [](TPdfPage &p, QSize s) {
             return drawnWithPainter(p, s, QImage::Format_ARGB32_Premultiplied, false);
         }},
        {"transformed painter",
         [](TPdfPage &p, QSize s) { return drawnWithPainter(p, s, QImage::Format_RGB32, true); }},
        {"opaque bitmap", [](TPdfPage &p, QSize s) { return drawnToBitmap(p, s, false); }},
        {"bitmap with alpha", [](TPdfPage &p, QSize s) { return drawnToBitmap(p, s, true); }},
    };
    const QSize size(600, 400);
    QTemporaryDir dir;
    for (const auto &[pageName, fixture] : pages) {
        const std::string pdf = buildFixturePdf({fixture});
        const QString path = dir.filePath(QString(pageName).replace(' ', '-') + ".pdf");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(pdf.data(), qint64(pdf.size()));
        file.close();
        const QImage reference = mutoolDraw(path, size);
        ASSERT_EQ(reference.size(), size);
        TPdfDocument doc;
        doc.LoadFromBytes(QByteArray::fromStdString(pdf));
        for (const auto &[pathName, draw] : paths) {
            SCOPED_TRACE(std::string(pageName) + ", " + pathName);
            const QImage drawn = draw(*doc.GetPage(0), size);
            EXPECT_NEAR(meanGrey(drawn), meanGrey(reference), 0.002);
            EXPECT_LT(meanDifference(drawn, reference), 0.004);
        }
    }
}

// A page of 409 x 529 pixels at 96 dpi, a width that is no multiple of four: text, a rule and coloured
// areas up to its right edge, whose edges the anti-aliasing blends with the paper.
FixturePage oddSizedTextPage() {
    FixturePage page;
    page.width = 306.75;
    page.height = 396.75;
    page.content = "0.2 0.5 0.8 rg 20.3 300.1 300 60.2 re f 0.9 0.3 0.1 RG 1.3 w 15 290 m 290 282 l S\n";
    for (int line = 0; line < 12; ++line)
        page.content += fixtureText(18.4, 260 - line * 19.7, 9 + line % 3, "perpustakaan membaca sejarah");
    return page;
}

// Opaque paper gets the engine's own renderer's picture pixel for pixel, also where the drawing starts off
// a multiple of four pixels.
TEST(CoreRenderTransparency, OpaqueDrawingMatchesTheEnginesOwnRendererExactly) {
    QTemporaryDir dir;
    const std::string pdf = buildFixturePdf({oddSizedTextPage()});
    const QString path = dir.filePath("odd.pdf");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(pdf.data(), qint64(pdf.size()));
    file.close();
    const QSize size(409, 529);
    const QImage reference = mutoolDraw(path, size);
    ASSERT_EQ(reference.size(), size);
    TPdfDocument doc;
    doc.LoadFromBytes(QByteArray::fromStdString(pdf));
    EXPECT_EQ(drawnToBitmap(*doc.GetPage(0), size, false), reference);
    for (const int offset : {0, 1, 3}) {
        SCOPED_TRACE(offset);
        QImage image(size.width() + offset, size.height(), QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            doc.GetPage(0)->Draw(painter, offset, 0, size.width(), size.height());
        }
        EXPECT_EQ(image.copy(offset, 0, size.width(), size.height()), reference);
    }
}

} // namespace
