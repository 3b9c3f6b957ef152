// Web addresses found in page text, with their rectangles.
#include "pdf/PdfiumCore.h"
#include "tests/pdf/CorePdfBuilder.h"

#include <gtest/gtest.h>

namespace {

class CoreLinks : public testing::Test {
protected:
    void SetUp() override {
        FixturePage page;
        page.content = fixtureText(72, 700, 12, "Kunjungi https://perpus.example.id/katalog/") +
                       fixtureText(72, 686, 12, "buku?id=7 sekarang, atau (www.kelvara.id).") +
                       fixtureText(72, 672, 12, "Surat ke admin@kelvara.id; bukan http:// saja.") +
                       fixtureText(72, 658, 12, "Akhir http://a.example.id") +
                       fixtureText(72, 644, 12, "Berikut");
        doc.LoadFromBytes(QByteArray::fromStdString(buildFixturePdf({page})));
        firstPage = doc.GetPage(0);
    }
    TPdfDocument doc;
    TPdfPage *firstPage = nullptr;
};

TEST_F(CoreLinks, AddressesInTheText) {
    ASSERT_EQ(firstPage->GetWebLinkCount(), 4);
    EXPECT_EQ(firstPage->GetWebLinkURL(0), "https://perpus.example.id/katalog/buku?id=7");
    EXPECT_EQ(firstPage->GetWebLinkURL(1), "http://www.kelvara.id");
    EXPECT_EQ(firstPage->GetWebLinkURL(2), "mailto:admin@kelvara.id");
    EXPECT_EQ(firstPage->GetWebLinkURL(3), "http://a.example.id")
        << "a break after a plain letter ends the address";
    EXPECT_EQ(firstPage->GetWebLinkURL(4), "");
    EXPECT_EQ(firstPage->GetWebLinkURL(-1), "");
}

TEST_F(CoreLinks, WrappedAddressHasTwoRectangles) {
    ASSERT_EQ(firstPage->GetWebLinkRectCount(0), 2);
    const TPdfRect first = firstPage->GetWebLinkRect(0, 0);
    const TPdfRect second = firstPage->GetWebLinkRect(0, 1);
    EXPECT_LT(second.Top, first.Top - 10) << "the second rectangle is on the next line";
    EXPECT_NEAR(second.Left, 72, 0.01);
    EXPECT_GT(first.Left, 100);
    EXPECT_EQ(firstPage->GetWebLinkRectCount(1), 1);
    const TPdfRect www = firstPage->GetWebLinkRect(1, 0);
    // The rectangle covers the address without its brackets and full stop.
    const QString text = firstPage->ReadText(0, firstPage->GetCharCount());
    const int start = text.indexOf("www.");
    EXPECT_NEAR(www.Left, firstPage->GetCharBox(start).Left, 0.01);
    EXPECT_NEAR(www.Right, firstPage->GetCharBox(start + 13).Right, 0.01);
    EXPECT_EQ(firstPage->GetWebLinkRect(1, 1), TPdfRect());
}

TEST_F(CoreLinks, LinksSurvivePageClose) {
    firstPage->Close();
    EXPECT_EQ(firstPage->GetWebLinkCount(), 4);
    EXPECT_EQ(firstPage->GetWebLinkRectCount(0), 2);
}

} // namespace
