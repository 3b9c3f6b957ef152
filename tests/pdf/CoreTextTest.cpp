// The page text model: reading order, generated spaces and line breaks, wrapped hyphens, boxes, hit
// testing, ranges and bounded text. The page text is also compared with what PDFium makes of the same
// files (Qt's PDF module carries it).
#include "pdf/PdfiumCore.h"
#include "pdf/TextMatcher.h"
#include "pdf/TextModel.h"
#include "tests/pdf/CorePdfBuilder.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfSelection>
#include <QPdfWriter>

#include <gtest/gtest.h>

#include <climits>
#include <functional>

namespace {

std::string layoutPage() {
    FixturePage page;
    auto &c = page.content;
    c += fixtureText(72, 700, 12, "Hello world, this is an exam-");
    c += fixtureText(72, 686, 12, "ple of wrapping.");
    c += fixtureText(200, 650, 12, "Right");
    c += fixtureText(72, 650, 12, "Left");
    c += fixtureText(72, 630, 12, "Split");
    c += fixtureText(95.34, 630, 12, "word");
    c += fixtureText(72, 610, 12, "abc 2-");
    c += fixtureText(72, 596, 12, "3 next");
    c += fixtureText(72, 580, 12, "word-");
    c += fixtureText(72, 566, 12, " next");
    c += fixtureText(72, 550, 12, "base");
    c += fixtureText(100, 553, 8, "sup");
    c += fixtureText(72, 530, 12, "A  B");
    c += "BT /F1 12 Tf 72 510 Td [(ab) -100 (cd) -150 (ef) -300 (gh)] TJ ET\n";
    c += fixtureText(72, 490, 12, "end ");
    c += fixtureText(72, 476, 12, "last");
    return buildFixturePdf({page});
}

QString pdfiumText(const std::string &pdf) {
    QByteArray bytes = QByteArray::fromStdString(pdf);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QPdfDocument oracle;
    oracle.load(&buffer);
    return oracle.getAllText(0).text();
}

// A one-page PDF as QPdfWriter writes what `draw` paints, at 72 dots per inch.
std::string qtWrittenPage(const std::function<void(QPainter &)> &draw) {
    QByteArray bytes;
    QBuffer out(&bytes);
    out.open(QIODevice::WriteOnly);
    QPdfWriter writer(&out);
    writer.setResolution(72);
    QPainter painter(&writer);
    draw(painter);
    painter.end();
    return bytes.toStdString();
}

struct LoadedPage {
    TPdfDocument doc;
    TPdfPage *page = nullptr;
    explicit LoadedPage(const std::string &pdf) {
        doc.LoadFromBytes(QByteArray::fromStdString(pdf));
        page = doc.GetPage(0);
    }
    QString text() { return page->ReadText(0, page->GetCharCount()); }
};

TEST(CoreText, PageTextMatchesPdfium) {
    const std::string pdf = layoutPage();
    LoadedPage loaded(pdf);
    EXPECT_EQ(loaded.text(), pdfiumText(pdf));
}

// A page as Qt writes it: an embedded subset font, words placed by the layout, wrapped lines.
TEST(CoreText, QtWrittenPageMatchesPdfium) {
    const std::string pdf = qtWrittenPage([](QPainter &painter) {
        QFont font("DejaVu Sans");
        font.setPointSize(11);
        painter.setFont(font);
        painter.drawText(
            QRect(50, 50, 400, 300), Qt::TextWordWrap,
            "Perpustakaan digital ini menyediakan buku-buku untuk dibaca bersama. Kunjungi "
            "https://kelvara.example.id/katalog untuk informasi lebih lanjut tentang peminjaman.");
        painter.drawText(60, 400, "Judul:");
        painter.drawText(160, 400, "Sejarah Nusantara");
    });
    LoadedPage loaded(pdf);
    const QString text = loaded.text();
    EXPECT_EQ(text, pdfiumText(pdf));
    EXPECT_TRUE(text.endsWith("\r\nJudul: Sejarah Nusantara"));
}

TEST(CoreText, LineBreaksSpacesAndWrappedHyphens) {
    LoadedPage loaded(layoutPage());
    const QString text = loaded.text();
    EXPECT_TRUE(
        text.startsWith(QString("Hello world, this is an exam") + QChar(0xFFFE) + "ple of wrapping.\r\n"));
    EXPECT_TRUE(text.contains("\r\nLeft Right\r\n")) << "fragments on one baseline are joined in x order";
    EXPECT_TRUE(text.contains("\r\nSplitword\r\n")) << "touching fragments get no space";
    EXPECT_TRUE(text.contains("abc 2-\r\n3 next")) << "a hyphen after a digit stays";
    EXPECT_TRUE(text.contains("word-\r\n next")) << "a hyphen before a space stays";
    EXPECT_TRUE(text.contains("base sup"));
    EXPECT_TRUE(text.contains("\r\nA B\r\n")) << "a run of spaces reads as one";
    EXPECT_TRUE(text.contains("abcd ef gh")) << "small kerning is no word gap, wide is";
    EXPECT_TRUE(text.endsWith("end \r\nlast"));
}

// Text drawn again over itself, as fake bold or a shadow, reads once; the same text elsewhere reads again.
TEST(CoreText, TextDrawnOverItselfReadsOnce) {
    FixturePage page;
    auto &c = page.content;
    c += fixtureText(72, 700, 12, "Tebal palsu");
    c += fixtureText(72.4, 700.3, 12, "Tebal palsu");
    c += fixtureText(72.8, 699.4, 12, "Tebal palsu"); // a shadow
    c += fixtureText(72, 680, 12, "lagi");
    c += fixtureText(100, 680, 12, "lagi");
    c += fixtureText(72, 660, 12, "Hawaii...");
    LoadedPage loaded(buildFixturePdf({page}));
    EXPECT_EQ(loaded.text(), "Tebal palsu\r\nlagi lagi\r\nHawaii...");
}

// Right-to-left text drawn `times` times, each a fraction of a point beside the one before, as Qt writes it.
std::string arabicDrawn(int times) {
    return qtWrittenPage([times](QPainter &painter) {
        painter.setFont(QFont("DejaVu Sans", 14));
        for (int k = 0; k < times; ++k)
            painter.drawText(QPointF(200 + 0.3 * k, 400 + 0.2 * k), QString::fromUtf8("كتاب الرحلة"));
    });
}

TEST(CoreText, RightToLeftTextDrawnOverItselfReadsOnce) {
    const QString once = LoadedPage(arabicDrawn(1)).text();
    ASSERT_FALSE(once.isEmpty());
    EXPECT_EQ(LoadedPage(arabicDrawn(3)).text(), once);
}

// Word breaks between Arabic letters follow their joining forms: joined letters never part, whatever gap
// their boxes leave or space the font draws between them; letters that do not join part at a narrow gap.
TEST(CoreText, ArabicWordBreaksFollowTheJoiningForms) {
    const auto glyph = [](char32_t c, float left, float right) {
        return GlyphInput{c, left, 0, right, 10, left, right, 10};
    };
    const struct {
        const char *name;
        std::vector<GlyphInput> glyphs; // in content order
        std::u16string text;
    } cases[] = {
        {"joined across a gap", {glyph(0xFEEA, 90, 96), glyph(0xFE91, 97.5, 103)}, u"\uFE91\uFEEA"},
        {"a space drawn inside a joined word",
         {glyph(0xFEEA, 90, 96), glyph(' ', 95, 97), glyph(0xFE91, 96, 103)},
         u"\uFE91\uFEEA"},
        {"not joined, a narrow gap", {glyph(0xFE8F, 70, 76), glyph(0xFEEA, 77.2, 83)}, u"\uFEEA \uFE8F"},
        {"not joined, touching", {glyph(0x0627, 70, 72), glyph(0xFEAE, 72, 76)}, u"\uFEAE\u0627"},
        {"not joined, drawn in reading order",
         {glyph(0xFBFD, 90, 96), glyph(0xFE9F, 80, 88.8)},
         u"\uFBFD \uFE9F"},
        {"joined, drawn in reading order",
         {glyph(0xFE91, 97.5, 103), glyph(0xFEEA, 90, 96)},
         u"\uFE91\uFEEA"},
        {"Latin keeps its wider gap", {glyph('a', 70, 76), glyph('b', 77.2, 83)}, u"ab"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const TextModel model({FragmentInput{c.glyphs, true}});
        EXPECT_EQ(model.text(), c.text);
    }
}

// A glyph whose font reaches far below the baseline (TeX's angle brackets) widens its line, but the line
// below is not pulled into it: each line reads on its own.
TEST(CoreText, ATallGlyphDoesNotPullInTheLineBelow) {
    const auto glyph = [](char32_t c, float left, float right, float bottom, float top) {
        return GlyphInput{c, left, bottom, right, top, left, right, 10};
    };
    const std::vector<GlyphInput> upper{glyph('a', 72, 78, 697.5, 709), glyph(0x27E8, 78, 82, 690.4, 707.8)};
    const std::vector<GlyphInput> lower{glyph('n', 72, 78, 685.5, 697), glyph('o', 78, 84, 685.5, 697)};
    const TextModel model({FragmentInput{upper, true}, FragmentInput{lower, true}});
    EXPECT_EQ(model.text(), u"a\u27E8\r\nno");
}

// The XeTeX logo draws its E mirrored and lowered: the letter still reads within its word, so the word is
// found as typed.
TEST(CoreText, AMirroredLetterReadsWithinItsWord) {
    FixturePage page;
    page.content = fixtureText(72, 700, 12, "X") + "BT /F1 12 Tf -1 0 0 1 88.6 697.8 Tm (E) Tj ET\n" +
                   fixtureText(89, 700, 12, "LaTeX") + fixtureText(72, 680, 12, "buku");
    LoadedPage loaded(buildFixturePdf({page}));
    EXPECT_EQ(loaded.text(), "XELaTeX\r\nbuku");
    EXPECT_TRUE(TextMatcher(u"xelatex", false, true)
                    .occursIn(foldForMatching(loaded.text().toStdU16String(), false, false).units));
}

// Old TeX fonts draw an accent as a glyph of its own over the letter after it: the room it leaves after the
// letter before is no word break.
TEST(CoreText, AnAccentDrawnOverTheNextLetterPartsNoWord) {
    const auto glyph = [](char32_t c, float left, float right) {
        return GlyphInput{c, left, 39.3f, right, 57.4f, left, right, 14};
    };
    const std::vector<GlyphInput> drawn{glyph('P', 271.1f, 280.7f), glyph(0xA8, 282.6f, 287.4f),
                                        glyph('o', 280.7f, 289.4f), glyph('l', 289.4f, 293.4f)};
    EXPECT_EQ(TextModel({FragmentInput{drawn, true}}).text(), u"P\u00A8ol");
}

// A slanted line of Arabic (a calendar's diagonal, say) is read along its baseline, whichever order the
// page draws it in: the boxes run right to left across the page while the baseline runs on.
TEST(CoreText, SlantedArabicLinesReadAlongTheirBaseline) {
    const auto slanted = [](char32_t c, float start, float end) {
        return GlyphInput{c, 100 - end, 100 - end, 100 - start, 110 - start, start, end, 10};
    };
    const struct {
        const char *name;
        std::vector<GlyphInput> glyphs; // in content order
        std::u16string text;
    } cases[] = {
        {"drawn along the baseline", {slanted(0xFEEA, 0, 6), slanted(0xFE91, 6, 12)}, u"\uFE91\uFEEA"},
        {"drawn in reading order", {slanted(0xFE91, 6, 12), slanted(0xFEEA, 0, 6)}, u"\uFE91\uFEEA"},
        {"two words", {slanted(0xFEEA, 0, 6), slanted(0xFE8F, 8, 14)}, u"\uFE8F \uFEEA"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const TextModel model({FragmentInput{c.glyphs, false}});
        EXPECT_EQ(model.text(), c.text);
    }
}

TEST(CoreText, GeneratedCharactersAndBoxes) {
    LoadedPage loaded(layoutPage());
    TPdfPage &page = *loaded.page;
    const QString text = loaded.text();
    const int cr = text.indexOf('\r');
    ASSERT_GT(cr, 0);
    EXPECT_EQ(page.ReadChar(cr), QChar('\r'));
    EXPECT_EQ(page.ReadChar(cr + 1), QChar('\n'));
    // "H" of the first line: Helvetica 12 pt at (72, 700).
    const TPdfRect h = page.GetCharBox(0);
    EXPECT_NEAR(h.Left, 72, 0.01);
    EXPECT_NEAR(h.Right, 72 + 12 * 0.722, 0.05);
    EXPECT_LT(h.Bottom, 700);
    EXPECT_GT(h.Top, 700 + 6);
    EXPECT_NEAR(page.GetCharFontSize(0), 12, 0.01);
    EXPECT_EQ(page.GetCharBox(100000), TPdfRect());
}

TEST(CoreText, CharIndexAtPoint) {
    LoadedPage loaded(layoutPage());
    TPdfPage &page = *loaded.page;
    const TPdfRect e = page.GetCharBox(1);
    const double hMiddle = (page.GetCharBox(0).Top + page.GetCharBox(0).Bottom) / 2;
    const int lastT = int(loaded.text().lastIndexOf(QChar(u't')));
    struct Case {
        double x, y, tolerance;
        int expected;
    } cases[] = {
        {(e.Left + e.Right) / 2, (e.Top + e.Bottom) / 2, 0, 1}, // inside "e"
        {60, hMiddle + 3, 0, -1},                               // left of the text, no tolerance
        {60, hMiddle + 3, 30, 0},                               // within tolerance of "H"
        {100, 465, 0, -1},                                      // empty area
        {100, 465, 65535, lastT},                               // nearest character: "t" of "last"
    };
    for (const Case &c : cases)
        EXPECT_EQ(page.GetCharIndexAt(c.x, c.y, c.tolerance, c.tolerance), c.expected) << c.x << "," << c.y;
}

TEST(CoreText, ReadTextRanges) {
    LoadedPage loaded(layoutPage());
    TPdfPage &page = *loaded.page;
    const QString all = loaded.text();
    const int count = page.GetCharCount();
    ASSERT_EQ(all.size(), count);
    struct Case {
        int index, count;
        QString expected;
    } cases[] = {
        {0, 5, "Hello"},
        {6, 5, "world"},
        {count - 4, 4, "last"},
        {count - 4, 100, "last"}, // runs past the end: shorter
        {count, 3, ""},           // starts at the end
        {-1, 3, ""},
        {0, 0, ""},
        {0, INT_MAX, all},            // "to the end"
        {count - 4, INT_MAX, "last"}, // start + count beyond int
        {INT_MAX, INT_MAX, ""},
        {INT_MIN, INT_MAX, ""},
    };
    for (const Case &c : cases) {
        const QString text = page.ReadText(c.index, c.count);
        EXPECT_EQ(text, c.expected) << c.index << "+" << c.count;
        EXPECT_LE(text.capacity(), count + 1) << "room for the page's characters only";
    }
}

TEST(CoreText, RectangleCountsOfHugeRanges) {
    LoadedPage loaded(layoutPage());
    TPdfPage &page = *loaded.page;
    const int count = page.GetCharCount();
    const struct {
        int index, count, expected;
    } cases[] = {
        {count - 4, INT_MAX, page.GetTextRectCount(count - 4, 4)},
        {1, INT_MAX, page.GetTextRectCount(1, count - 1)},
        {INT_MAX, INT_MAX, 0},
        {INT_MIN, INT_MAX, 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(page.GetTextRectCount(c.index, c.count), c.expected) << c.index << "+" << c.count;
}

TEST(CoreText, RectanglesPerLineFragment) {
    LoadedPage loaded(layoutPage());
    TPdfPage &page = *loaded.page;
    const QString text = loaded.text();
    // "world" lies on one line: one rectangle around it.
    ASSERT_EQ(page.GetTextRectCount(6, 5), 1);
    const TPdfRect w = page.GetTextRect(0);
    EXPECT_NEAR(w.Left, page.GetCharBox(6).Left, 0.01);
    EXPECT_NEAR(w.Right, page.GetCharBox(10).Right, 0.01);
    EXPECT_GT(w.Top, w.Bottom);
    // From "wrapping." over the line break to "Left Right": three fragments, the breaks add none.
    const int from = text.indexOf("wrapping.");
    const int to = text.indexOf("Right") + 5;
    EXPECT_EQ(page.GetTextRectCount(from, to - from), 3);
    EXPECT_EQ(page.GetTextRect(3), TPdfRect()) << "past the last rectangle";
    EXPECT_EQ(page.GetTextRectCount(-1, 3), 0);
}

TEST(CoreText, TextInsideRectangle) {
    LoadedPage loaded(layoutPage());
    TPdfPage &page = *loaded.page;
    // Around the two lines "Left Right" and "Splitword", from x 60 to 300.
    EXPECT_EQ(page.GetTextAt(60, 660, 300, 625), "Left Right\r\nSplitword");
    // Only the left half: "Left" and "Splitword".
    EXPECT_EQ(page.GetTextAt(TPdfRect{60, 660, 150, 625}), "Left\r\nSplitword");
    EXPECT_EQ(page.GetTextAt(300, 100, 400, 50), "");
}

TEST(CoreText, EmptyAndRotatedPages) {
    FixturePage empty;
    FixturePage rotated;
    rotated.rotate = 90;
    rotated.content = fixtureText(72, 700, 12, "Turned") + fixtureText(72, 680, 12, "page");
    const std::string pdf = buildFixturePdf({empty, rotated});
    TPdfDocument doc;
    doc.LoadFromBytes(QByteArray::fromStdString(pdf));
    EXPECT_EQ(doc.GetPage(0)->GetCharCount(), 0);
    EXPECT_EQ(doc.GetPage(0)->ReadText(0, 10), "");
    TPdfPage *page = doc.GetPage(1);
    EXPECT_EQ(page->ReadText(0, page->GetCharCount()), "Turned\r\npage");
    // Boxes stay in the page's own (unrotated) space.
    EXPECT_NEAR(page->GetCharBox(0).Left, 72, 0.01);
}

} // namespace
