#include "pdfview/PdfControlLayout.h"
#include "pdfview/PdfControlMetrics.h"
#include "pdfview/PdfTextBoundaries.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using Mode = TPdfControlScaleMode;

struct LayoutCase {
    const char *name;
    double pageW, pageH;
    bool quarterTurn;
    double dpiX, dpiY;
    Mode mode;
    int zoom;
    int width, height;
    // expected
    int drawW, drawH;
    bool hBar, vBar;
    int clientW, clientH;
};

// Letter pages (612 x 792 points) at 96 dpi unless stated; scroll bars 17 pixels thick.
const LayoutCase layoutCases[] = {
    {"auto falls back to width when the height fit is too wide", 612, 792, false, 96, 96, Mode::smFitAuto,
     100, 400, 600, 400, 518, false, false, 400, 600},
    {"auto fits the height when the width allows", 612, 792, false, 96, 96, Mode::smFitAuto, 100, 800, 600,
     464, 600, false, false, 800, 600},
    {"height fit too wide takes a horizontal bar; 450.5 rounds to even", 612, 792, false, 96, 96,
     Mode::smFitHeight, 100, 400, 600, 450, 583, true, false, 400, 583},
    {"width fit too tall takes a vertical bar and refits", 612, 792, false, 96, 96, Mode::smFitWidth, 100,
     600, 400, 583, 754, false, true, 583, 400},
    {"zoom 100 at 96 dpi fits", 612, 792, false, 96, 96, Mode::smZoom, 100, 1000, 1200, 816, 1056, false,
     false, 1000, 1200},
    {"zoom 200 needs both bars", 612, 792, false, 96, 96, Mode::smZoom, 200, 1000, 1200, 1632, 2112, true,
     true, 983, 1183},
    {"a vertical bar that makes the page too wide also costs the client its height", 612, 792, false, 96, 96,
     Mode::smZoom, 100, 820, 1000, 816, 1056, true, true, 803, 983},
    {"zoom 1 percent", 612, 792, false, 96, 96, Mode::smZoom, 1, 100, 100, 8, 11, false, false, 100, 100},
    {"quarter turn swaps the sides", 612, 792, true, 96, 96, Mode::smZoom, 100, 1200, 900, 1056, 816, false,
     false, 1200, 900},
    {"resolutions apply per axis", 72, 144, false, 96, 192, Mode::smZoom, 100, 1000, 1000, 96, 384, false,
     false, 1000, 1000},
    {"quarter turn swaps the resolutions too", 72, 144, true, 96, 192, Mode::smZoom, 100, 1000, 1000, 384, 96,
     false, false, 1000, 1000},
    {"quarter turn in the height fit", 612, 792, true, 96, 96, Mode::smFitHeight, 100, 2000, 612, 792, 612,
     false, false, 2000, 612},
};

// Lays out `c`'s page in a view with 17-pixel scroll bars and compares every figure.
void expectLayout(const LayoutCase &c) {
    TPdfControlLayoutInput in;
    in.PageWidth = c.pageW;
    in.PageHeight = c.pageH;
    in.QuarterTurn = c.quarterTurn;
    in.DpiX = c.dpiX;
    in.DpiY = c.dpiY;
    in.ScaleMode = c.mode;
    in.ZoomPercentage = c.zoom;
    in.Width = c.width;
    in.Height = c.height;
    in.HorzScrollBarHeight = 17;
    in.VertScrollBarWidth = 17;
    const TPdfControlLayout out = computePdfControlLayout(in);
    SCOPED_TRACE(c.name);
    EXPECT_EQ(out.DrawWidth, c.drawW);
    EXPECT_EQ(out.DrawHeight, c.drawH);
    EXPECT_EQ(out.HorzScrollBar, c.hBar);
    EXPECT_EQ(out.VertScrollBar, c.vBar);
    EXPECT_EQ(out.ClientWidth, c.clientW);
    EXPECT_EQ(out.ClientHeight, c.clientH);
}

} // namespace

TEST(PdfControlLayout, SizesBarsAndClientPerScaleMode) {
    for (const LayoutCase &c : layoutCases)
        expectLayout(c);
}

TEST(PdfControlLayout, ExtremePagesAndZoomsStayWithinTheLargestExtent) {
    constexpr int Max = PdfControlMetrics::MaxDrawExtent;
    const LayoutCase cases[] = {
        {"a page 1 pt by 3e6 pt at width fit", 1, 3e6, false, 96, 96, Mode::smFitWidth, 100, 1000, 800, 983,
         Max, false, true, 983, 800},
        {"a page 3e6 pt by 1 pt at height fit", 3e6, 1, false, 96, 96, Mode::smFitHeight, 100, 1000, 800, Max,
         783, true, false, 1000, 783},
        {"the same page fitted automatically", 3e6, 1, false, 96, 96, Mode::smFitAuto, 100, 1000, 800, 1000,
         0, false, false, 1000, 800},
        {"the largest real page at the largest zoom", 14400, 14400, false, 96, 96, Mode::smZoom, 10000, 1000,
         800, 1920000, 1920000, true, true, 983, 783},
        {"a page of 1e30 pt at the largest zoom", 1e30, 1e30, false, 96, 96, Mode::smZoom, 10000, 1000, 800,
         Max, Max, true, true, 983, 783},
        {"a page 1e-30 pt wide at height fit", 1e-30, 1, false, 96, 96, Mode::smFitHeight, 100, 1000, 800, 0,
         800, false, false, 1000, 800},
    };
    for (const LayoutCase &c : cases)
        expectLayout(c);
}

TEST(PdfControlLayout, PageIsCentredInFreeSpaceAndMovedByScrolling) {
    const struct {
        int client, draw, scroll, expected;
    } cases[] = {
        {1000, 816, 0, 92},
        {1001, 816, 0, 92},
        {400, 450, 0, 0},
        {400, 450, 30, -30},
        {INT_MAX, INT_MIN, 0, INT_MAX},         // the free space is beyond int
        {INT_MAX, 2 - INT_MAX, 0, INT_MAX - 1}, // its half is not
        {0, 0, INT_MIN, INT_MAX},
        {INT_MAX, 0, INT_MIN, INT_MAX},
        {0, INT_MAX, INT_MAX, -INT_MAX},
    };
    for (const auto &c : cases)
        EXPECT_EQ(pdfControlPageOffset(c.client, c.draw, c.scroll), c.expected)
            << c.client << " " << c.draw << " " << c.scroll;
}

TEST(PdfControlLayout, ScreenPixelsOfExtremeExtentsStayWithinInt) {
    const struct {
        int extent;
        double ratio;
        int expected;
    } cases[] = {
        {100, 1.5, 150},       {INT_MAX, 2, INT_MAX},
        {INT_MIN, 2, INT_MIN}, {PdfControlMetrics::MaxDrawExtent, 4, PdfControlMetrics::MaxDrawExtent * 4},
        {1, 1e300, INT_MAX},
    };
    for (const auto &c : cases)
        EXPECT_EQ(pdfControlDevicePixels(c.extent, c.ratio), c.expected) << c.extent << " at " << c.ratio;
}

TEST(PdfControlLayout, PagesLargerThanTheControlAndTheImageCapAreDrawnDirectlyCountingScreenPixels) {
    // The cap is a 4096 x 2160 screen's worth of pixels.
    const struct {
        int drawWidth, drawHeight, width, height;
        double ratio;
        bool direct;
    } cases[] = {
        {3264, 4224, 1000, 1200, 1, true},  // 400% of a letter page
        {2448, 3168, 1000, 1200, 1, false}, // 300%: below the cap
        {2448, 3168, 1000, 1200, 2, true},  // the same on a screen of twice the pixels
        {3264, 4224, 4000, 5000, 1, false}, // not larger than the control
        {4096, 2160, 1000, 1000, 1, false}, // exactly the cap
        {4097, 2160, 1000, 1000, 1, true},
        {3277, 1728, 1000, 1000, 1.25, false}, // 4096.25 x 2160 screen pixels: the cap
        {3278, 1728, 1000, 1000, 1.25, true},  // 4097.5 rounds up
    };
    for (const auto &c : cases)
        EXPECT_EQ(pdfControlDrawsDirectly(c.drawWidth, c.drawHeight, c.width, c.height, c.ratio), c.direct)
            << c.drawWidth << "x" << c.drawHeight << " at " << c.ratio;
}

TEST(PdfTextBoundaries, WordsSkipWhiteSpaceForwardsAndStopAtIt) {
    const std::u16string text = u"Hello  world\r\nnext\u00A0line";
    struct {
        int index;
        bool found;
        int first, last;
    } cases[] = {
        {0, true, 0, 4},    {3, true, 0, 4},    {5, true, 7, 11},  {6, true, 7, 11},  {11, true, 7, 11},
        {12, true, 14, 17}, {18, true, 19, 22}, {-1, false, 0, 0}, {23, false, 0, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.index);
        TPdfTextRange word;
        ASSERT_EQ(findWordAt(text, c.index, word), c.found);
        if (c.found) {
            EXPECT_EQ(word.First, c.first);
            EXPECT_EQ(word.Last, c.last);
        }
    }
    TPdfTextRange word;
    EXPECT_FALSE(findWordAt(u"abc   ", 4, word));
    EXPECT_FALSE(findWordAt(u"", 0, word));
}

TEST(PdfTextBoundaries, LinesStopAtCarriageReturnAndLineFeed) {
    const std::u16string text = u"first line\r\nsecond\nthird";
    TPdfTextRange line;
    ASSERT_TRUE(findLineAt(text, 3, line));
    EXPECT_EQ(line.First, 0);
    EXPECT_EQ(line.Last, 9);
    ASSERT_TRUE(findLineAt(text, 14, line));
    EXPECT_EQ(line.First, 12);
    EXPECT_EQ(line.Last, 17);
    ASSERT_TRUE(findLineAt(text, 23, line));
    EXPECT_EQ(line.First, 19);
    EXPECT_EQ(line.Last, 23);
    EXPECT_FALSE(findLineAt(text, 24, line));
    EXPECT_FALSE(findLineAt(text, -1, line));
}
