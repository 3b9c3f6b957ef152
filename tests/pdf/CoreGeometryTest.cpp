// Page size, rotation and the conversions between page space and a device rectangle.
#include "pdf/PdfiumCore.h"
#include "tests/pdf/CorePdfBuilder.h"

#include <gtest/gtest.h>

namespace {

class CoreGeometry : public testing::Test {
protected:
    void SetUp() override {
        FixturePage plain;
        FixturePage turned;
        turned.rotate = 90;
        FixturePage cropped;
        cropped.cropBox = "[100 100 400 500]";
        doc.LoadFromBytes(QByteArray::fromStdString(buildFixturePdf({plain, turned, cropped})));
    }
    TPdfDocument doc;
};

TEST_F(CoreGeometry, SizeAndRotation) {
    EXPECT_DOUBLE_EQ(doc.GetPage(0)->Width(), 612);
    EXPECT_DOUBLE_EQ(doc.GetPage(0)->Height(), 792);
    EXPECT_EQ(doc.GetPage(0)->Rotation(), prNormal);
    EXPECT_DOUBLE_EQ(doc.GetPage(1)->Width(), 792) << "width is taken after the page's own rotation";
    EXPECT_DOUBLE_EQ(doc.GetPage(1)->Height(), 612);
    EXPECT_EQ(doc.GetPage(1)->Rotation(), pr90Clockwise);
    EXPECT_DOUBLE_EQ(doc.GetPage(2)->Width(), 300);
    EXPECT_DOUBLE_EQ(doc.GetPage(2)->Height(), 400);
}

struct Conversion {
    int x, y, width, height;
    TPdfPageRotation rotate;
    double pageX, pageY;
    QPoint device;
};

TEST_F(CoreGeometry, PageToDeviceAndBackPerRotation) {
    const Conversion cases[] = {
        {0, 0, 612, 792, prNormal, 100, 200, {100, 592}},
        {10, 20, 612, 792, prNormal, 100, 200, {110, 612}},
        {0, 0, 306, 396, prNormal, 100, 200, {50, 296}},
        {10, 20, 792, 612, pr90Clockwise, 100, 200, {210, 120}},
        {10, 20, 612, 792, pr180, 100, 200, {522, 220}},
        {10, 20, 792, 612, pr90CounterClockwide, 100, 200, {602, 532}},
        {0, 0, 612, 792, prNormal, 0, 0, {0, 792}},
        {0, 0, 612, 792, prNormal, 612, 792, {612, 0}},
    };
    TPdfPage *page = doc.GetPage(0);
    for (const Conversion &c : cases) {
        SCOPED_TRACE(testing::Message() << "rotation " << c.rotate << " rect " << c.x << "," << c.y);
        EXPECT_EQ(page->PageToDevice(c.x, c.y, c.width, c.height, c.pageX, c.pageY, c.rotate), c.device);
        const TPdfPoint back =
            page->DeviceToPage(c.x, c.y, c.width, c.height, c.device.x(), c.device.y(), c.rotate);
        EXPECT_NEAR(back.X, c.pageX, 1e-3);
        EXPECT_NEAR(back.Y, c.pageY, 1e-3);
    }
}

TEST_F(CoreGeometry, DeviceToPageIsFractionalAndPageToDeviceRounds) {
    TPdfPage *page = doc.GetPage(0);
    const TPdfPoint p = page->DeviceToPage(0, 0, 306, 396, 51, 297);
    EXPECT_NEAR(p.X, 102, 1e-4);
    EXPECT_NEAR(p.Y, 198, 1e-4);
    const TPdfPoint half = page->DeviceToPage(0, 0, 1224, 1584, 1, 1);
    EXPECT_NEAR(half.X, 0.5, 1e-4);
    EXPECT_NEAR(half.Y, 791.5, 1e-3);
    EXPECT_EQ(page->PageToDevice(0, 0, 612, 792, 100.5, 0.5), QPoint(101, 792))
        << "halves round away from zero";
    EXPECT_EQ(page->PageToDevice(0, 0, 612, 792, 100.4, 0.6), QPoint(100, 791));
}

TEST_F(CoreGeometry, PageRotationAndCropBoxEnterTheMapping) {
    TPdfPage *turned = doc.GetPage(1);
    // Unturned page space: its lower-left corner shows at the top left, its upper-left at the top right.
    EXPECT_EQ(turned->PageToDevice(0, 0, 792, 612, 0, 0), QPoint(0, 0));
    EXPECT_EQ(turned->PageToDevice(0, 0, 792, 612, 0, 792), QPoint(792, 0));
    EXPECT_EQ(turned->PageToDevice(0, 0, 792, 612, 612, 0), QPoint(0, 612));
    TPdfPage *cropped = doc.GetPage(2);
    EXPECT_EQ(cropped->PageToDevice(0, 0, 300, 400, 100, 100), QPoint(0, 400));
    EXPECT_EQ(cropped->PageToDevice(0, 0, 300, 400, 400, 500), QPoint(300, 0));
}

TEST_F(CoreGeometry, RectangleForms) {
    TPdfPage *page = doc.GetPage(0);
    const TPdfRect r = page->DeviceToPage(0, 0, 612, 792, QRect(100, 92, 50, 100));
    EXPECT_NEAR(r.Left, 100, 1e-3);
    EXPECT_NEAR(r.Top, 700, 1e-3);
    EXPECT_NEAR(r.Right, 150, 1e-3);
    EXPECT_NEAR(r.Bottom, 600, 1e-3);
    EXPECT_GT(r.Top, r.Bottom);
    EXPECT_EQ(page->PageToDevice(0, 0, 612, 792, r), QRect(100, 92, 50, 100));
    // Turned a quarter, the rectangle still comes back as a proper device rectangle.
    const QRect turned = page->PageToDevice(0, 0, 792, 612, r, pr90Clockwise);
    EXPECT_EQ(turned, QRect(600, 100, 100, 50));
}

TEST(CorePointRect, OffsetAndEmpty) {
    TPdfPoint p{1, 2};
    p.Offset(3, -4);
    EXPECT_EQ(p, (TPdfPoint{4, -2}));
    TPdfRect r{1, 2, 3, 4};
    r.Offset(10, 20);
    EXPECT_EQ(r, (TPdfRect{11, 22, 13, 24}));
    EXPECT_EQ(TPdfRect::Empty(), (TPdfRect{0, 0, 0, 0}));
    EXPECT_EQ(TPdfPoint::Empty(), (TPdfPoint{0, 0}));
}

TEST(CoreRenderFlags, OptionsMapToEngineFlags) {
    EXPECT_EQ(PdfRenderFlags({}), 0);
    EXPECT_EQ(PdfRenderFlags(proAnnotations), 0x01);
    EXPECT_EQ(PdfRenderFlags(proLCDOptimized | proNoNativeText | proGrayscale), 0x0E);
    EXPECT_EQ(PdfRenderFlags(proNoCatch | proLimitedImageCacheSize | proForceHalftone | proPrinting), 0xF00);
    EXPECT_EQ(PdfRenderFlags(proReverseByteOrder), 0x10);
}

} // namespace
