// A book's outline as the engine reads it from the PDF, and the entry that marks a page.
#include "pdf/BookOutline.h"
#include "pdf/PdfiumCore.h"
#include "tests/pdf/CorePdfBuilder.h"

#include <gtest/gtest.h>

namespace {

std::vector<FixturePage> blankPages(int count) {
    std::vector<FixturePage> pages(count);
    for (int i = 0; i < count; ++i)
        pages[i].content = fixtureText(72, 700, 12, "Halaman " + std::to_string(i + 1));
    return pages;
}

// Three levels, a title outside Latin-1, an entry whose target is a web address, and a chapter whose
// sections come before it in page order.
const std::vector<FixtureOutlineEntry> FixtureOutline = {
    {"Kata Pengantar", 1, {}},
    {"Bab 1: Sejarah", 3, {{"1.1 Awal Mula", 3, {}}, {"1.2 Perkembangan", 5, {{"1.2.1 Abad ke-19", 6, {}}}}}},
    {"Bab 2: Bahasa \xE2\x80\x94 \xCE\xB1\xCE\xB2\xCE\xB3", 8, {}},
    {"Situs Perpustakaan", -1, {}},
    {"Lampiran", 11, {{"Indeks", 10, {}}}},
};

OutlineEntry entry(const char *title, int page, std::vector<OutlineEntry> children = {}) {
    return {QString::fromUtf8(title), page, std::move(children)};
}

} // namespace

void PrintTo(const OutlineEntry &entry, std::ostream *out) {
    *out << '"' << entry.title.toStdString() << "\" -> " << entry.pageIndex;
    if (!entry.children.empty())
        *out << ' ' << ::testing::PrintToString(entry.children);
}

TEST(BookOutline, LevelsTitlesAndTargetsComeFromThePdf) {
    TPdfDocument doc;
    doc.LoadFromBytes(QByteArray::fromStdString(buildFixturePdf(blankPages(12), {}, FixtureOutline)));
    const BookOutline expected = {
        entry("Kata Pengantar", 1),
        entry("Bab 1: Sejarah", 3,
              {entry("1.1 Awal Mula", 3), entry("1.2 Perkembangan", 5, {entry("1.2.1 Abad ke-19", 6)})}),
        entry("Bab 2: Bahasa \xE2\x80\x94 \xCE\xB1\xCE\xB2\xCE\xB3", 8),
        entry("Situs Perpustakaan", -1),
        entry("Lampiran", 11, {entry("Indeks", 10)}),
    };
    EXPECT_EQ(readOutline(doc), expected);
}

TEST(BookOutline, ABookWithoutOneOrClosedHasNone) {
    TPdfDocument doc;
    EXPECT_TRUE(readOutline(doc).empty());
    doc.LoadFromBytes(QByteArray::fromStdString(buildFixturePdf(blankPages(3))));
    EXPECT_TRUE(readOutline(doc).empty());
}

TEST(BookOutline, ThePageShownIsMarkedByTheFurthestEntryBeforeIt) {
    TPdfDocument doc;
    doc.LoadFromBytes(QByteArray::fromStdString(buildFixturePdf(blankPages(12), {}, FixtureOutline)));
    const BookOutline outline = readOutline(doc);
    const struct {
        int page;
        std::vector<int> path;
    } cases[] = {
        {0, {}},        // before the first entry
        {1, {0}},       // "Kata Pengantar"
        {2, {0}},       // still in it
        {3, {1, 0}},    // the chapter and its first section share a page: the section
        {4, {1, 0}},    //
        {5, {1, 1}},    // "1.2 Perkembangan"
        {7, {1, 1, 0}}, // third level
        {8, {2}},       // "Bab 2"
        {9, {2}},       // the web address goes to no page and marks none
        {10, {4, 0}},   // "Indeks", listed after its later chapter
        {11, {4}},      // "Lampiran"
        {500, {4}},     // past the end
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.page);
        EXPECT_EQ(outlinePathOfPage(outline, c.page), c.path);
    }
}
