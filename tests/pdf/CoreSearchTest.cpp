// Search on a page: options, direction, phrases over line breaks and the state after the last hit.
#include "pdf/PdfiumCore.h"
#include "pdf/TextSearch.h"
#include "tests/pdf/CorePdfBuilder.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

class CoreSearch : public testing::Test {
protected:
    void SetUp() override {
        FixturePage page;
        page.content = fixtureText(72, 700, 12, "Buku buku BUKU, perbukuan dan buku,") +
                       fixtureText(72, 686, 12, "buku lain. Membaca buku") +
                       fixtureText(72, 672, 12, "itu baik");
        doc.LoadFromBytes(QByteArray::fromStdString(buildFixturePdf({page})));
        firstPage = doc.GetPage(0);
        text = firstPage->ReadText(0, firstPage->GetCharCount());
    }
    std::vector<std::pair<int, int>> hits(const QString &phrase, bool matchCase, bool wholeWord,
                                          bool fromEnd) {
        std::vector<std::pair<int, int>> result;
        EXPECT_TRUE(firstPage->BeginFind(phrase, matchCase, wholeWord, fromEnd));
        int index = -1, count = -1;
        while (fromEnd ? firstPage->FindPrev(index, count) : firstPage->FindNext(index, count))
            result.emplace_back(index, count);
        EXPECT_EQ(index, 0);
        EXPECT_EQ(count, 0);
        firstPage->EndFind();
        return result;
    }
    std::vector<int> starts(const QString &phrase, bool matchCase, bool wholeWord) {
        std::vector<int> result;
        for (const auto &[index, count] : hits(phrase, matchCase, wholeWord, false)) {
            EXPECT_EQ(count, phrase.size());
            result.push_back(index);
        }
        return result;
    }
    TPdfDocument doc;
    TPdfPage *firstPage = nullptr;
    QString text;
};

TEST_F(CoreSearch, OptionsTable) {
    const int buku1 = 0, buku2 = text.indexOf("buku "), buku3 = text.indexOf("BUKU");
    const int inside = text.indexOf("bukuan"), hyphened = text.indexOf("buku,");
    const int wrapped = text.indexOf("buku lain"), last = text.lastIndexOf("buku");
    struct Case {
        bool matchCase, wholeWord;
        std::vector<int> expected;
    } cases[] = {
        {false, false, {buku1, buku2, buku3, inside, hyphened, wrapped, last}},
        {true, false, {buku2, inside, hyphened, wrapped, last}},
        {false, true, {buku1, buku2, buku3, hyphened, wrapped, last}},
        {true, true, {buku2, hyphened, wrapped, last}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(starts("buku", c.matchCase, c.wholeWord), c.expected) << c.matchCase << c.wholeWord;
}

TEST_F(CoreSearch, BackwardsFromTheEnd) {
    const auto forward = hits("buku", false, false, false);
    auto backward = hits("buku", false, false, true);
    std::reverse(backward.begin(), backward.end());
    EXPECT_EQ(backward, forward);
}

TEST_F(CoreSearch, PhraseMatchesAcrossALineBreak) {
    const auto found = hits("Membaca buku itu", false, false, false);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].first, text.indexOf("Membaca"));
    EXPECT_EQ(text.mid(found[0].first, found[0].second), "Membaca buku\r\nitu");
}

TEST_F(CoreSearch, NextAndPreviousWalkBothWays) {
    ASSERT_TRUE(firstPage->BeginFind("buku", true, true, false));
    int index = 0, count = 0;
    ASSERT_TRUE(firstPage->FindNext(index, count));
    const int first = index;
    ASSERT_TRUE(firstPage->FindNext(index, count));
    const int second = index;
    ASSERT_TRUE(firstPage->FindPrev(index, count));
    EXPECT_EQ(index, first);
    EXPECT_FALSE(firstPage->FindPrev(index, count));
    EXPECT_EQ(std::make_pair(index, count), std::make_pair(0, 0));
    EXPECT_LT(first, second);
}

TEST_F(CoreSearch, NoHitAndNoSearch) {
    EXPECT_TRUE(hits("majalah", false, false, false).empty());
    EXPECT_TRUE(hits("", false, false, false).empty());
    int index = 5, count = 5;
    EXPECT_FALSE(firstPage->FindNext(index, count)) << "after EndFind there is no search";
    EXPECT_EQ(index, 0);
    EXPECT_EQ(count, 0);
}

// What a member types finds the compatibility forms, separate accents and marked Arabic that fonts put on
// pages; hits are in the page's own indexes.
TEST(TextSearchForms, TypedTextFindsCompatibilityFormsWithThePagesIndexes) {
    const struct {
        const char *name;
        std::u16string text, phrase;
        unsigned long flags;
        int index, count;
    } cases[] = {
        {"ligature", u"Buku de\uFB01nisi", u"definisi", 0, 5, 7},
        {"ligature, case matched", u"Buku de\uFB01nisi", u"definisi", FPDF_MATCHCASE, 5, 7},
        {"half a ligature takes all of it", u"de\uFB01nisi", u"f", 0, 2, 1},
        {"whole word after a ligature", u"\uFB01 fi", u"fi", FPDF_MATCHWHOLEWORD, 0, 1},
        {"Arabic presentation forms", u"\uFED3\uFEEC\uFEAE\uFEB3\uFE96 \uFEE3\uFEC4\uFE8E\uFEDF\uFE90",
         u"\u0645\u0637\u0627\u0644\u0628", 0, 6, 5},
        {"lam-alef ligature", u"\uFEFB\u0628", u"\u0644\u0627\u0628", 0, 0, 2},
        {"full-width letters", u"\uFF22\uFF35\uFF2B\uFF35 baru", u"buku", 0, 0, 4},
        {"typed ligature finds plain letters", u"definisi", u"de\uFB01nisi", 0, 0, 8},
        {"beyond 16 bits", u"\U0001D400\U0001D401 x", u"AB", FPDF_MATCHCASE, 0, 4},
        {"case still matters", u"de\uFB01nisi", u"DEFINISI", FPDF_MATCHCASE, -1, 0},
        // Accents drawn as glyphs of their own, as old TeX fonts do: before their letter, or after it.
        {"spacing accent before its letter", u"Marienk\u00A8afer", u"Marienkäfer", FPDF_MATCHWHOLEWORD, 0,
         12},
        {"spacing accent after a word's last letter", u"Jose\u00B4 Rizal", u"José", FPDF_MATCHWHOLEWORD, 0,
         5},
        {"accent without a decomposition", u"r\u02C6ole", u"rôle", 0, 0, 5},
        {"combining accent", u"Marienka\u0308fer", u"Marienkäfer", FPDF_MATCHWHOLEWORD, 0, 12},
        {"an accent alone stays itself", u"a \u00A8 b", u"\u00A8", 0, 2, 1},
        {"the bare letter is another letter", u"Marienk\u00A8afer", u"Marienkafer", 0, -1, 0},
        {"a whole word does not end inside a letter", u"cafe\u0301 baru", u"cafe", FPDF_MATCHWHOLEWORD, -1,
         0},
        // Arabic and Persian as members type them.
        {"Persian presentation forms", u"ﺑﻪﺗﺮﺗ", u"بهترت", 0, 0, 5},
        {"vowel marks on the page", u"الحَمدُ لله", u"الحمد", FPDF_MATCHWHOLEWORD, 0, 7},
        {"vowel marks typed", u"الحمد لله", u"الحَمدُ", FPDF_MATCHWHOLEWORD, 0, 5},
        {"vowel marks in presentation forms", u"ﺍﻟﺤ\uFE77ﻤﺪ", u"الحمد", FPDF_MATCHWHOLEWORD, 0, 6},
        {"tatweel", u"الحـــمد", u"الحمد", FPDF_MATCHWHOLEWORD, 0, 8},
        {"Persian compound written apart", u"ﺑﻪ ﺗﺮﺗﯿﺐ", u"بهترتیب", FPDF_MATCHWHOLEWORD, 0, 8},
        {"Latin words stay apart", u"buku ku", u"bukuku", 0, -1, 0},
        {"zero-width non-joiner", u"می\u200Cخواهم", u"میخواهم", FPDF_MATCHWHOLEWORD, 0, 8},
        {"Arabic-Indic digits", u"\u0661\u0666 \u0643\u0627\u0646\u0648\u0646 \u0662\u0660\u0660\u0666",
         u"2006", FPDF_MATCHWHOLEWORD, 9, 4},
        {"Persian digits typed", u"\u0633\u0627\u0644 1965", u"\u06F1\u06F9\u06F6\u06F5", FPDF_MATCHWHOLEWORD,
         4, 4},
        {"a digit is not another digit", u"\u0662\u0660\u0660\u0667", u"2006", 0, -1, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TextSearch search(c.text, c.phrase, c.flags, 0);
        const bool found = search.findNext();
        EXPECT_EQ(found, c.index >= 0);
        if (found) {
            EXPECT_EQ(search.hit().index, c.index);
            EXPECT_EQ(search.hit().count, c.count);
        }
    }
}

} // namespace
