// The in-book search walk: direction, edges, case, substrings, cancelling and the kept page text; and the
// walk on a pool thread while the view of the same document turns pages, selects and highlights.
#include "pdf/BookText.h"
#include "pdfview/PdfControl.h"
#include "tests/pdf/CorePdfBuilder.h"
#include "tests/pdf/RealDocuments.h"

#include <QApplication>
#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <map>
#include <string>
#include <thread>

namespace {

// Page texts of the small book; "buku" stands alone, in capitals, and inside a longer word.
const char *const SmallBook[] = {
    "Pengantar perpustakaan",
    "Sejarah BUKU dan bahasa",
    "Membaca bersama",
    "Perpustakaanbuku kota",
    "Akhir kata",
};

TPdfDocument &loaded(TPdfDocument &doc, const std::vector<std::string> &texts) {
    std::vector<FixturePage> pages(texts.size());
    for (size_t i = 0; i < texts.size(); ++i)
        pages[i].content = fixtureText(72, 700, 12, texts[i]);
    doc.LoadFromBytes(QByteArray::fromStdString(buildFixturePdf(pages)));
    return doc;
}

// Pages as Qt writes them: an embedded font whose glyphs map back to the characters drawn.
QByteArray qtWrittenPages(const std::vector<QString> &texts) {
    QByteArray bytes;
    QBuffer out(&bytes);
    out.open(QIODevice::WriteOnly);
    QPdfWriter writer(&out);
    QPainter painter(&writer);
    painter.setFont(QFont("DejaVu Sans", 12));
    for (size_t i = 0; i < texts.size(); ++i) {
        if (i > 0)
            writer.newPage();
        painter.drawText(QPointF(200, 400), texts[i]);
    }
    painter.end();
    return bytes;
}

bool notCancelled() {
    return false;
}

const char *nameOf(BookSearchResult result) {
    switch (result) {
    case BookSearchResult::Found:
        return "Found";
    case BookSearchResult::NotFound:
        return "NotFound";
    case BookSearchResult::NothingSearched:
        return "NothingSearched";
    case BookSearchResult::Cancelled:
        return "Cancelled";
    case BookSearchResult::Refused:
        return "Refused";
    }
    return "?";
}

TEST(BookSearch, WalksFromThePageShownInItsDirection) {
    TPdfDocument doc;
    loaded(doc, {std::begin(SmallBook), std::end(SmallBook)});
    const int last = int(std::size(SmallBook)) - 1;
    const struct {
        const char *keyword;
        int fromPage;
        int direction;
        BookSearchResult result;
        int page;
    } cases[] = {
        {"buku", 0, 1, BookSearchResult::Found, 1},
        {"buku", 1, 1, BookSearchResult::NotFound, -1}, // only inside "Perpustakaanbuku": nothing to mark
        {"perpustakaanbuku", 0, 1, BookSearchResult::Found, 3},
        {"buku", last, -1, BookSearchResult::Found, 1},
        {"buku", 3, -1, BookSearchResult::Found, 1},
        {"Buku", 0, 1, BookSearchResult::Found, 1},       // the page has "BUKU"
        {"PENGANTAR", 2, -1, BookSearchResult::Found, 0}, // the page has "Pengantar"
        {"pengantar", 2, 0, BookSearchResult::Found, 0},  // any direction but 1 goes back
        {"pengantar", 2, 7, BookSearchResult::Found, 0},
        {"buku dan bahasa", 0, 1, BookSearchResult::Found, 1},
        {"membaca", 2, 1, BookSearchResult::NotFound, -1}, // only on the page shown
        {"membaca", 2, -1, BookSearchResult::NotFound, -1},
        {"tidak ada", 0, 1, BookSearchResult::NotFound, -1},
        {"buku", last, 1, BookSearchResult::NothingSearched, -1},
        {"buku", 0, -1, BookSearchResult::NothingSearched, -1},
    };
    BookText text;
    for (const auto &c : cases) {
        const BookSearchOutcome outcome =
            searchBook(doc, text, c.keyword, c.fromPage, c.direction, notCancelled);
        const std::string where = std::string(c.keyword) + " from " + std::to_string(c.fromPage) + " dir " +
                                  std::to_string(c.direction);
        EXPECT_STREQ(nameOf(outcome.result), nameOf(c.result)) << where;
        EXPECT_EQ(outcome.page, c.page) << where;
    }
}

TEST(BookSearch, CancelIsAskedBeforeEachPage) {
    TPdfDocument doc;
    loaded(doc, {std::begin(SmallBook), std::end(SmallBook)});
    BookText text;
    int asked = 0;
    const auto counting = [&asked] {
        ++asked;
        return false;
    };
    EXPECT_EQ(searchBook(doc, text, "akhir", 0, 1, counting).page, 4);
    EXPECT_EQ(asked, 4) << "pages 1 to 4";

    for (const int cancelOnAsk : {1, 3}) {
        asked = 0;
        const auto cancelling = [&] { return ++asked == cancelOnAsk; };
        const BookSearchOutcome outcome = searchBook(doc, text, "akhir", 0, 1, cancelling);
        EXPECT_EQ(outcome.result, BookSearchResult::Cancelled) << cancelOnAsk;
        EXPECT_EQ(outcome.page, -1);
        EXPECT_EQ(asked, cancelOnAsk) << "no page is asked about after the cancel";
    }
}

TEST(BookSearch, PageTextIsReadOnceAndKeptFolded) {
    TPdfDocument doc;
    loaded(doc, {"Kata pertama", "Kata kedua"});
    BookText text;
    EXPECT_EQ(text.foldedPage(doc, 1), u"kata kedua");
    EXPECT_EQ(searchBook(doc, text, "kedua", 0, 1, notCancelled).page, 1);
    EXPECT_FALSE(doc.GetPage(1)->IsLoaded()) << "the walk keeps text, not engine pages";

    // The same document object now holds other pages: the kept text still answers.
    loaded(doc, {"Lain sama sekali", "Juga lain"});
    EXPECT_EQ(text.foldedPage(doc, 1), u"kata kedua");
    EXPECT_EQ(searchBook(doc, text, "kedua", 0, 1, notCancelled).page, 1);
    EXPECT_EQ(text.foldedPage(doc, 0), u"lain sama sekali") << "a page not read before is read now";
}

// Words as a member types them, in books whose fonts put presentation forms and other compatibility
// characters on the page.
TEST(BookSearch, TypedWordsFindCompatibilityFormsOnTheirPage) {
    TPdfDocument persian;
    persian.LoadFromFile(PersianTexBook);
    TPdfDocument latin;
    latin.LoadFromBytes(qtWrittenPages({"Pengantar", "Bab \u216B Penutup"})); // the numeral twelve
    const struct {
        const char *name;
        TPdfDocument &document;
        const char *keyword;
        int fromPage, direction, found;
    } cases[] = {
        {"table of contents", persian, "فهرست مطالب", 0, 1, 6},
        {"a name, backwards", persian, "توبیاس اوتیکر", 100, 0, 1},
        {"the translator's preface, backwards", persian, "پیشگفتار مترجم", 6, 0, 2},
        {"a numeral of one character", latin, "bab xii", 0, 1, 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        BookText text;
        const BookSearchOutcome outcome =
            searchBook(c.document, text, QString::fromUtf8(c.keyword), c.fromPage, c.direction, notCancelled);
        EXPECT_STREQ(nameOf(outcome.result), "Found");
        EXPECT_EQ(outcome.page, c.found);
    }
}

// The first page, from the first on, where the view marks the phrase as the search marks it; -1 for none.
int firstMarkedPage(TPdfDocument &doc, const QString &phrase) {
    for (int p = 0; p < doc.PageCount(); ++p) {
        TPdfPage *page = doc.GetPage(p);
        const TPdfDocumentLock lock(doc);
        int index = 0, count = 0;
        const bool marked = page->BeginFind(phrase, BookSearchMatchCase, BookSearchWholeWord, false) &&
                            page->FindNext(index, count);
        page->EndFind();
        if (marked)
            return p;
    }
    return -1;
}

// One rule finds and marks: the page the walk finds is the first page the view marks the phrase on, for
// accents drawn apart from their letters, Arabic with vowel marks and stretches, and words inside longer
// ones.
TEST(BookSearch, ThePageFoundIsThePageMarked) {
    TPdfDocument latin;
    std::vector<FixturePage> pages(3);
    pages[0].content = fixtureText(72, 700, 12, "Perpustakaanbuku kota");
    // As old TeX fonts set it: the dieresis, then the letter under it.
    pages[1].content = "BT /F1 12 Tf 72 700 Td [(Der Marienk) -111 (\250) 444 (afer) ] TJ ET\n";
    pages[2].content = fixtureText(72, 700, 12, "buku kota");
    latin.LoadFromBytes(QByteArray::fromStdString(buildFixturePdf(pages)));
    TPdfDocument arabic;
    arabic.LoadFromBytes(qtWrittenPages({QString::fromUtf8("مقدمة الكتاب"), QString::fromUtf8("الحَمدُ لله"),
                                         QString::fromUtf8("كتـــاب جديد")}));
    const struct {
        TPdfDocument &document;
        const char *phrase;
        int page;
    } cases[] = {
        {latin, "buku", 2},         {latin, "kota", 0},    {latin, "Marienkäfer", 1},
        {latin, "marienkafer", -1}, {arabic, "الحمد", 1},  {arabic, "الحَمدُ لله", 1},
        {arabic, "كتاب", 2},        {arabic, "الكتاب", 0}, {arabic, "كتاب جديد", 2},
    };
    for (const auto &c : cases) {
        const QString phrase = QString::fromUtf8(c.phrase);
        SCOPED_TRACE(c.phrase);
        BookText text;
        const BookSearchOutcome outcome = searchBook(c.document, text, phrase, -1, 1, notCancelled);
        EXPECT_EQ(outcome.page, c.page);
        EXPECT_EQ(firstMarkedPage(c.document, phrase), c.page);
    }
}

// The view marks a typed word on the page it shows, where the page holds it in presentation forms.
TEST(BookSearch, TheViewMarksATypedWordAmongPresentationForms) {
    QWidget parent;
    auto *control = new TPdfControl(&parent);
    control->resize(700, 900);
    control->LoadFromFile(PersianTexBook);
    control->SetPageIndex(6);
    control->HightlightText(QString::fromUtf8("مطالب"), false, true);
    const std::vector<QRect> marks = control->HighlightRects();
    ASSERT_FALSE(marks.empty());
    // The heading "فهرست مطالب" stands at the right: its second word, read second, lies left of the first.
    const QRect page = control->GetPageRect();
    EXPECT_GT(marks.front().left(), page.left() + page.width() / 2);
}

// A walk as the reader asks for it: from the page shown, or from the other end of the book.
struct Walk {
    const char *keyword;
    int fromPage;
    int direction;
    bool fromOtherEnd;
};

BookSearchOutcome walk(TPdfDocument &doc, BookText &text, const Walk &w,
                       const std::function<bool()> &cancelled) {
    return w.fromOtherEnd ? searchBookFromOtherEnd(doc, text, w.keyword, w.fromPage, w.direction, cancelled)
                          : searchBook(doc, text, w.keyword, w.fromPage, w.direction, cancelled);
}

std::string describe(const Walk &w) {
    return std::string(w.keyword) + " from " + std::to_string(w.fromPage) + " dir " +
           std::to_string(w.direction) + (w.fromOtherEnd ? " from the other end" : "");
}

// A page the engine refuses for a feature it does not support (here a signature field) ends a walk that
// reaches it, whichever way it goes; pages before it still answer.
TEST(BookSearch, AWalkStopsAtAPageTheEngineRefuses) {
    std::vector<FixturePage> pages(3);
    pages[0].content = fixtureText(72, 700, 12, "buku satu");
    pages[1].content = fixtureText(72, 700, 12, "buku dua");
    pages[1].annots = {FixtureSignatureField};
    pages[2].content = fixtureText(72, 700, 12, "buku tiga");
    TPdfDocument doc;
    doc.LoadFromBytes(QByteArray::fromStdString(buildFixturePdf(pages)));
    const struct {
        Walk walk;
        BookSearchResult result;
        int page;
    } cases[] = {
        {{"tiga", 0, 1, false}, BookSearchResult::Refused, 1},
        {{"satu", 2, -1, false}, BookSearchResult::Refused, 1},
        {{"dua", 0, 1, false}, BookSearchResult::Refused, 1},
        {{"satu", 2, 1, true}, BookSearchResult::Found, 0},
        {{"tidak ada", 2, 1, true}, BookSearchResult::Refused, 1},
        {{"tiga", 0, -1, true}, BookSearchResult::Found, 2},
    };
    BookText text;
    for (const auto &c : cases) {
        const BookSearchOutcome outcome = walk(doc, text, c.walk, notCancelled);
        EXPECT_STREQ(nameOf(outcome.result), nameOf(c.result)) << describe(c.walk);
        EXPECT_EQ(outcome.page, c.page) << describe(c.walk);
    }
}

TEST(BookSearch, EngineErrorsPropagate) {
    TPdfDocument doc;
    BookText text;
    EXPECT_THROW(text.foldedPage(doc, 0), EPdfException);
}

// A book long enough for a walk to share its pages with a helper thread: numbered lines on every page, a
// word near its start and one near its end, and, in the refusing one, a signature field the engine refuses
// on page 60 between a word before it and one after it.
struct LongBook {
    static constexpr int Pages = 120;
    static constexpr int RefusedPage = 60;

    static QByteArray pdf(bool refusing) {
        const std::map<int, std::string> words{{3, "dekat"}, {40, "sebelum"}, {80, "sesudah"}, {100, "jauh"}};
        std::vector<FixturePage> pages(Pages);
        for (int p = 0; p < Pages; ++p) {
            for (int row = 0; row < 6; ++row)
                pages[p].content += fixtureText(
                    72, 720 - row * 20, 11, "Halaman " + std::to_string(p) + " baris " + std::to_string(row));
            if (words.contains(p))
                pages[p].content += fixtureText(72, 300, 11, words.at(p));
        }
        if (refusing)
            pages[RefusedPage].annots = {FixtureSignatureField};
        return QByteArray::fromStdString(buildFixturePdf(pages));
    }
};

// The same book opened twice: over a byte array it keeps, from which a walk's helper opens a document of
// its own, and over a buffer of the caller's, which it cannot share, so that a walk reads every page on
// its own thread.
struct TwoWays {
    explicit TwoWays(const QByteArray &bytes) : bytes(bytes) {
        shared.LoadFromBytes(bytes);
        alone.LoadFromActiveBuffer(this->bytes.constData(), this->bytes.size());
    }
    const QByteArray bytes;
    TPdfDocument shared, alone;
};

// A walk shared with a helper thread ends as the walk on one thread does, each from no text kept.
TEST(BookSearch, AWalkWithAHelperEndsAsTheWalkAlone) {
    TwoWays clean(LongBook::pdf(false)), refusing(LongBook::pdf(true));
    const int last = LongBook::Pages - 1;
    const struct {
        TwoWays &book;
        Walk walk;
        BookSearchResult result;
        int page;
    } cases[] = {
        {clean, {"dekat", 0, 1, false}, BookSearchResult::Found, 3},
        {clean, {"jauh", 0, 1, false}, BookSearchResult::Found, 100},
        {clean, {"jauh", last, -1, false}, BookSearchResult::Found, 100},
        {clean, {"dekat", last, -1, false}, BookSearchResult::Found, 3},
        {clean, {"tidak ada", -1, 1, false}, BookSearchResult::NotFound, -1},
        {clean, {"tidak ada", last + 1, -1, false}, BookSearchResult::NotFound, -1},
        {clean, {"dekat", 50, 1, true}, BookSearchResult::Found, 3},
        {clean, {"jauh", 50, -1, true}, BookSearchResult::Found, 100},
        {clean, {"jauh", 100, 1, true}, BookSearchResult::Found, 100}, // the page shown answers last
        {clean, {"tidak ada", 50, 1, true}, BookSearchResult::NotFound, -1},
        {clean, {"dekat", last, 1, false}, BookSearchResult::NothingSearched, -1},
        {refusing, {"sebelum", 0, 1, false}, BookSearchResult::Found, 40},
        {refusing, {"sesudah", 0, 1, false}, BookSearchResult::Refused, LongBook::RefusedPage},
        {refusing, {"sesudah", last, -1, false}, BookSearchResult::Found, 80},
        {refusing, {"sebelum", last, -1, false}, BookSearchResult::Refused, LongBook::RefusedPage},
        {refusing, {"sesudah", 100, 1, true}, BookSearchResult::Refused, LongBook::RefusedPage},
        {refusing, {"sebelum", 20, -1, true}, BookSearchResult::Refused, LongBook::RefusedPage},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(describe(c.walk));
        BookText sharedText, aloneText;
        const BookSearchOutcome shared = walk(c.book.shared, sharedText, c.walk, notCancelled);
        const BookSearchOutcome alone = walk(c.book.alone, aloneText, c.walk, notCancelled);
        EXPECT_STREQ(nameOf(shared.result), nameOf(c.result));
        EXPECT_EQ(shared.page, c.page);
        EXPECT_STREQ(nameOf(shared.result), nameOf(alone.result));
        EXPECT_EQ(shared.page, alone.page);
    }
}

// A cancel during a walk shared with a helper ends it with the pages asked about as on one thread, and
// the pages read meanwhile are kept: the walk asked again finds what the uncancelled one finds.
TEST(BookSearch, ACancelledWalkWithAHelperEndsAtOnce) {
    TwoWays book(LongBook::pdf(false));
    for (const int cancelOnAsk : {10, 60, 99}) {
        for (TPdfDocument *doc : {&book.shared, &book.alone}) {
            SCOPED_TRACE(std::to_string(cancelOnAsk) + (doc == &book.shared ? " shared" : " alone"));
            BookText text;
            int asked = 0;
            const auto cancelling = [&] { return ++asked == cancelOnAsk; };
            const BookSearchOutcome outcome = searchBook(*doc, text, "jauh", 0, 1, cancelling);
            EXPECT_STREQ(nameOf(outcome.result), "Cancelled");
            EXPECT_EQ(asked, cancelOnAsk) << "no page is asked about after the cancel";
            EXPECT_EQ(searchBook(*doc, text, "jauh", 0, 1, notCancelled).page, 100);
        }
    }
}

// After a walk over the whole book every page's text is kept: walks in the same document object, now
// holding a book with the phrase on every page, answer from the first book's text alone.
TEST(BookSearch, ASecondWalkReadsNoPageAgain) {
    TPdfDocument doc;
    doc.LoadFromBytes(LongBook::pdf(false));
    BookText text;
    ASSERT_STREQ(nameOf(searchBook(doc, text, "tidak ada", -1, 1, notCancelled).result), "NotFound");

    std::vector<std::string> other(LongBook::Pages, "tidak ada di sini");
    loaded(doc, other);
    const int last = LongBook::Pages - 1;
    const struct {
        Walk walk;
        BookSearchResult result;
        int page;
    } cases[] = {
        {{"tidak ada", -1, 1, false}, BookSearchResult::NotFound, -1},
        {{"tidak ada", last + 1, -1, false}, BookSearchResult::NotFound, -1},
        {{"tidak ada", 50, 1, true}, BookSearchResult::NotFound, -1},
        {{"jauh", 0, 1, false}, BookSearchResult::Found, 100},
        {{"dekat", last, -1, false}, BookSearchResult::Found, 3},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(describe(c.walk));
        const BookSearchOutcome outcome = walk(doc, text, c.walk, notCancelled);
        EXPECT_STREQ(nameOf(outcome.result), nameOf(c.result));
        EXPECT_EQ(outcome.page, c.page);
    }
}

// A book whose every page has numbered lines and the phrase "kata kunci" on a few pages only.
struct SharedBook {
    static constexpr int Pages = 40;
    static constexpr int Lines = 12;
    static constexpr int HitPages[] = {7, 23, 31};

    static std::string line(int page, int row) {
        return "Halaman " + std::to_string(page) + " baris " + std::to_string(row);
    }
    static QByteArray pdf() {
        std::vector<FixturePage> pages(Pages);
        for (int p = 0; p < Pages; ++p) {
            for (int row = 0; row < Lines; ++row)
                pages[p].content += fixtureText(72, 720 - row * 20, 11, line(p, row));
            if (std::find(std::begin(HitPages), std::end(HitPages), p) != std::end(HitPages))
                pages[p].content += fixtureText(72, 300, 11, "kata kunci");
        }
        return QByteArray::fromStdString(buildFixturePdf(pages));
    }
};

// Walks the shared book forward and back again, each time with no text kept, and counts walks whose
// stops differ from the pages that hold the phrase.
int walkRepeatedly(TPdfDocument &doc, int walks) {
    int wrong = 0;
    for (int walk = 0; walk < walks; ++walk) {
        BookText text;
        int from = -1;
        for (int expected : SharedBook::HitPages) {
            const BookSearchOutcome outcome = searchBook(doc, text, "KATA kunci", from, 1, notCancelled);
            wrong += outcome.page != expected;
            from = expected;
        }
        wrong +=
            searchBook(doc, text, "kata kunci", from, 1, notCancelled).result != BookSearchResult::NotFound;
        BookText backwards;
        wrong += searchBook(doc, backwards, "kata kunci", SharedBook::Pages, -1, notCancelled).page !=
                 SharedBook::HitPages[std::size(SharedBook::HitPages) - 1];
    }
    return wrong;
}

TEST(BookSearch, WalkOnAPoolThreadWhileTheViewTurnsSelectsAndHighlights) {
    constexpr int Walks = 40;
    QWidget parent;
    auto *control = new TPdfControl(&parent);
    parent.resize(700, 900);
    control->resize(700, 900);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    control->LoadFromBytes(SharedBook::pdf());
    control->HightlightText("baris", false, false);
    std::vector<std::vector<QRect>> highlights; // per page, as found with no other thread about
    for (int page = 0; page < SharedBook::Pages; ++page) {
        control->SetPageIndex(page);
        highlights.push_back(control->HighlightRects());
        ASSERT_EQ(highlights.back().size(), size_t(SharedBook::Lines));
    }

    std::atomic<bool> done{false};
    std::atomic<int> wrongWalks{-1};
    std::thread search([&] {
        try {
            wrongWalks = walkRepeatedly(*control->Document(), Walks);
        } catch (const std::exception &) {
            wrongWalks = -2;
        }
        done = true;
    });

    int rounds = 0, wrongViews = 0, roundsDuringWalks = 0;
    for (; !done || rounds < SharedBook::Pages; ++rounds) {
        roundsDuringWalks += !done;
        const int page = rounds * 7 % SharedBook::Pages; // 7 and the page count share no factor: every page
        control->SetBufferedPageDraw(rounds % 3 != 0);
        control->SetPageIndex(page);
        const QString first = QString::fromStdString(SharedBook::line(page, 0));
        control->SelectText(0, int(first.size()));
        wrongViews += control->GetSelText() != first;
        control->HightlightText(rounds % 2 ? "baris" : "BARIS", false, false); // finds the hits again
        wrongViews += control->HighlightRects() != highlights[page];
        control->repaint(); // draws the page, the selection's rectangles and the highlights
        control->SelectAll();
        const QString last = QString::fromStdString(SharedBook::line(page, SharedBook::Lines - 1));
        wrongViews += !control->GetSelText().startsWith(first) || !control->GetSelText().contains(last);
        QApplication::processEvents(); // lets the next page be rendered ahead on another pool thread
    }
    search.join();
    EXPECT_EQ(wrongWalks.load(), 0);
    EXPECT_EQ(wrongViews, 0);
    EXPECT_GT(roundsDuringWalks, 0);
}

} // namespace
