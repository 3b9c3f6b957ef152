// Search on a page: options, direction, phrases over line breaks and the state after the last hit.
#include "pdf/PdfiumCore.h"
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
        page_ = doc.GetPage(0);
        text = page_->ReadText(0, page_->GetCharCount());
    }
    std::vector<std::pair<int, int>> hits(const QString &phrase, bool matchCase, bool wholeWord,
                                          bool fromEnd) {
        std::vector<std::pair<int, int>> result;
        EXPECT_TRUE(page_->BeginFind(phrase, matchCase, wholeWord, fromEnd));
        int index = -1, count = -1;
        while (fromEnd ? page_->FindPrev(index, count) : page_->FindNext(index, count))
            result.emplace_back(index, count);
        EXPECT_EQ(index, 0);
        EXPECT_EQ(count, 0);
        page_->EndFind();
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
    TPdfPage *page_ = nullptr;
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
    ASSERT_TRUE(page_->BeginFind("buku", true, true, false));
    int index = 0, count = 0;
    ASSERT_TRUE(page_->FindNext(index, count));
    const int first = index;
    ASSERT_TRUE(page_->FindNext(index, count));
    const int second = index;
    ASSERT_TRUE(page_->FindPrev(index, count));
    EXPECT_EQ(index, first);
    EXPECT_FALSE(page_->FindPrev(index, count));
    EXPECT_EQ(std::make_pair(index, count), std::make_pair(0, 0));
    EXPECT_LT(first, second);
}

TEST_F(CoreSearch, NoHitAndNoSearch) {
    EXPECT_TRUE(hits("majalah", false, false, false).empty());
    EXPECT_TRUE(hits("", false, false, false).empty());
    int index = 5, count = 5;
    EXPECT_FALSE(page_->FindNext(index, count)) << "after EndFind there is no search";
    EXPECT_EQ(index, 0);
    EXPECT_EQ(count, 0);
}

} // namespace
