// Right-to-left text of a real book: lines in reading order, characters, boxes and rectangles consistent
// with that order, and typed words found among the presentation forms the fonts put on the page.
#include "pdf/PdfiumCore.h"
#include "tests/pdf/RealDocuments.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

QString typed(const QString &text) {
    return text.normalized(QString::NormalizationForm_KC);
}

class CoreRightToLeft : public testing::Test {
protected:
    void SetUp() override { doc.LoadFromFile(PersianTexBook); }
    QStringList lines(int page) { return typed(doc.ReadPageText(page)).split("\r\n"); }
    // The first hit of a phrase on the page, as (index, count); (-1, 0) when none.
    std::pair<int, int> find(int pageIndex, const QString &phrase, bool wholeWord = false) {
        TPdfPage *page = doc.GetPage(pageIndex);
        const TPdfDocumentLock lock(doc);
        std::pair<int, int> hit{-1, 0};
        if (page->BeginFind(phrase, false, wholeWord, false))
            page->FindNext(hit.first, hit.second);
        page->EndFind();
        return hit;
    }
    TPdfDocument doc;
};

TEST_F(CoreRightToLeft, LinesReadInReadingOrder) {
    const struct {
        int page;
        const char *line;
    } cases[] = {
        {6, "فهرست مطالب"},
        {2, "پیشگفتار مترجم"},
        // A number, a sign and full stops inside a Persian line.
        {1, "حق مؤلف ۱۹۹۵-۲۰۱۱ © توبیاس اوتیکر و دیگران. تمام حقوق محفوظ است."},
        // Parentheses, mirrored on the page, and a slash.
        {1, "این نوشتار آزاد است، تحت اجازه نامۀ عمومی گنو (نسخۀ ۲ یا نسخه های جدیدتر)، می توانید آن را پخش "
            "و/یا "
            "تغییر دهید."},
        // A Latin word inside a Persian line.
        {2, "نخواهند کرد؛ اما بعد از پایان کار به خود می گویند دیگر به هیچ عنوان به سراغ نرم افزارهایی مانند "
            "word "
            "نخواهند"},
        // Latin lines of the same book stay as they were.
        {1, "MA 02139, USA."},
    };
    for (const auto &c : cases)
        EXPECT_TRUE(lines(c.page).contains(QString::fromUtf8(c.line))) << c.line;
}

TEST_F(CoreRightToLeft, TypedWordsAreFoundAmongPresentationForms) {
    const struct {
        int page;
        const char *phrase;
        bool wholeWord;
    } cases[] = {
        {6, "فهرست مطالب", false},
        {6, "مطالب", true},
        {2, "مترجم", true},
        {1, "مؤلف ۱۹۹۵-۲۰۱۱", false},
        {2, "نرم افزارهایی مانند word", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.phrase);
        const auto [index, count] = find(c.page, QString::fromUtf8(c.phrase), c.wholeWord);
        ASSERT_GE(index, 0);
        EXPECT_EQ(typed(doc.GetPage(c.page)->ReadText(index, count)), QString::fromUtf8(c.phrase));
    }
}

TEST_F(CoreRightToLeft, CharactersBoxesAndRectanglesFollowTheReadingOrder) {
    TPdfPage *page = doc.GetPage(6);
    const auto [first, firstCount] = find(6, "فهرست");
    const auto [second, secondCount] = find(6, "مطالب");
    ASSERT_GE(first, 0);
    ASSERT_GT(second, first);
    const auto centreX = [&](int i) {
        const TPdfRect box = page->GetCharBox(i);
        return (box.Left + box.Right) / 2;
    };
    for (int i = first; i < second + secondCount; ++i) {
        SCOPED_TRACE(i);
        const TPdfRect box = page->GetCharBox(i);
        if (box.Right > box.Left) { // not the space between the words
            EXPECT_EQ(page->GetCharIndexAt(centreX(i), (box.Top + box.Bottom) / 2, 0, 0), i);
        }
        if (i + 1 < first + firstCount || (i >= second && i + 1 < second + secondCount)) {
            EXPECT_GT(centreX(i), centreX(i + 1)) << "read from right to left";
        }
    }
    ASSERT_EQ(page->GetTextRectCount(first, firstCount), 1);
    const TPdfRect firstWord = page->GetTextRect(0);
    ASSERT_EQ(page->GetTextRectCount(second, secondCount), 1);
    const TPdfRect secondWord = page->GetTextRect(0);
    EXPECT_GT(firstWord.Left, secondWord.Right) << "the first word read lies right of the second";
}

} // namespace
