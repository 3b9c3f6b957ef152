#include "tools/DevtoolCommands.h"

#include "pdf/BookText.h"
#include "pdf/PdfiumCore.h"
#include "pdf/TextMatcher.h"

#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <cstdio>
#include <set>

namespace {

constexpr int WordsPerPage = 6;

struct WordCount {
    int words = 0;
    int found = 0;
    int readOtherwise = 0; // left out of the words: the two readings of the page differ
};

bool isWordPart(QChar c) {
    return c.isLetterOrNumber() || c.isMark();
}

// Whether the reference cut a joined Arabic word: its first letter joins one before it, or its last
// one after it, or a justification stretch (tatweel) joins it to a neighbour, or it starts with a vowel
// mark that belongs to the letter before. The reference's own fault, not a word to look for.
bool isCutWord(const QString &word) {
    constexpr char16_t Tatweel = 0x0640;
    const QChar::Decomposition first = word.front().decompositionTag(), last = word.back().decompositionTag();
    return first == QChar::Medial || first == QChar::Final || last == QChar::Initial ||
           last == QChar::Medial || word.front() == Tatweel || word.back() == Tatweel ||
           word.front().isMark();
}

bool isRightToLeft(const QString &word) {
    for (QChar c : word)
        if (c.direction() == QChar::DirR || c.direction() == QChar::DirAL)
            return true;
    return false;
}

// Up to WordsPerPage different words of two characters or more, spread over the reference page.
QStringList wordsOf(const QString &page) {
    QStringList all;
    const auto keep = [&all](const QString &word) {
        if (word.size() >= 2 && !isCutWord(word) && !all.contains(word))
            all << word;
    };
    QString word, previous;
    bool onlySpaceSincePrevious = true;
    for (QChar c : page + u' ') {
        if (isWordPart(c)) {
            word += c;
            continue;
        }
        if (!word.isEmpty()) {
            // A fragment that starts with a vowel mark was cut off the word before it, which is cut too
            // (pdftotext writes "بِسمِ" as "بِس ِم").
            if (!word.front().isMark() || !onlySpaceSincePrevious)
                keep(previous);
            previous = word;
            word.clear();
            onlySpaceSincePrevious = true;
        }
        onlySpaceSincePrevious = onlySpaceSincePrevious && c.isSpace();
    }
    keep(previous);
    if (all.size() <= WordsPerPage)
        return all;
    QStringList picked;
    for (int k = 0; k < WordsPerPage; ++k)
        picked << all[qsizetype(k) * all.size() / WordsPerPage];
    return picked;
}

// The letters, marks and digits of a text as the matcher folds them, all else left out.
std::u16string lettersOf(const QString &text) {
    std::u16string letters;
    for (char16_t unit : foldForMatching(text.toStdU16String(), false, false).units)
        if (isWordPart(QChar(unit)))
            letters += unit;
    return letters;
}

// The word in the other direction, each character keeping the marks that follow it: a right-to-left word
// as a reading in drawing order holds it. Reversed before folding, so that a ligature (lam-alef) keeps
// its letters in their order.
QString reversedWord(const QString &word) {
    QString reversed;
    for (qsizetype end = word.size(); end > 0;) {
        qsizetype start = end - 1;
        while (start > 0 && (word[start].isMark() || word[start].isLowSurrogate()))
            --start;
        reversed += word.mid(start, end - start);
        end = start;
    }
    return reversed;
}

// Whether a second reading of the page (mutool's) holds the word's letters, in either order. Where it
// does not, poppler and MuPDF decode the glyphs differently (Arabic Type 1 fonts read as Latin, TeX's
// angle brackets as "h" and "i"), and the word measures the reference, not the text model.
bool readAlike(const QString &word, const std::u16string &pageLetters) {
    return pageLetters.find(lettersOf(word)) != std::u16string::npos ||
           pageLetters.find(lettersOf(reversedWord(word))) != std::u16string::npos;
}

// Draws the page as the view does at 100% on a 96-dpi screen.
void renderPage(TPdfDocument &doc, int index) {
    TPdfPage *page = doc.GetPage(index);
    const int width = std::max(1, int(std::lround(page->Width() / 72 * 96)));
    const int height = std::max(1, int(std::lround(page->Height() / 72 * 96)));
    if (qint64(width) * height > 100'000'000)
        return;
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    const TPdfDocumentLock lock(doc);
    page->Draw(painter, 0, 0, width, height);
}

// Whether the view marks the word on the page, as the in-book search marks a page found.
bool marked(TPdfDocument &doc, int index, const QString &word) {
    TPdfPage *page = doc.GetPage(index);
    const TPdfDocumentLock lock(doc);
    int at = 0, count = 0;
    const bool hit =
        page->BeginFind(word, BookSearchMatchCase, BookSearchWholeWord, false) && page->FindNext(at, count);
    page->EndFind();
    return hit;
}

} // namespace

// pdf-corpus FILE REFERENCE [SECOND]: one book checked against a reference text of its pages (pages split by
// form feeds, as pdftotext writes them). Opens the book as the reader does, walks every page's text as the
// in-book search does (timed), draws the first, middle and last page, and looks on each page for words of
// its reference page by the search's rule. With SECOND, a second reading of each page (mutool's, one
// file per page: "%d" in SECOND stands for the page number from 1, as mutool writes them), a reference
// word whose letters that reading of its page lacks is not counted but listed on stderr as "other PAGE
// WORD"; a page without its file has every word counted. Prints "pages N rendered R ltr FOUND WORDS rtl FOUND
// WORDS textms MS unmarked U other LTR RTL" (U: words found whose page the view then does not mark; LTR, RTL:
// words not counted); each missed word goes to stderr as "miss PAGE WORD". A book the engine refuses exits
// with status 3.
int pdfCorpusCommand(const QStringList &args) {
    if (args.size() != 2 && args.size() != 3)
        return 2;
    QFile book(args[0]), reference(args[1]);
    if (!book.open(QIODevice::ReadOnly) || !reference.open(QIODevice::ReadOnly))
        return 1;
    const QStringList referencePages = QString::fromUtf8(reference.readAll()).split(u'\f');
    const QString secondPattern = args.value(2);
    TPdfDocument doc;
    try {
        doc.LoadFromBytes(book.readAll());
    } catch (const EPdfException &error) {
        std::fprintf(stderr, "refused: %s\n", error.what());
        return 3;
    }
    const int pages = doc.PageCount();
    BookText text;
    QElapsedTimer timer;
    timer.start();
    for (int p = 0; p < pages; ++p)
        text.foldedPage(doc, p);
    const qint64 textMs = timer.elapsed();
    const std::set<int> sample{0, pages / 2, pages - 1};
    int rendered = 0;
    for (int p : sample)
        if (p >= 0) {
            renderPage(doc, p);
            ++rendered;
        }
    WordCount ltr, rtl;
    int unmarked = 0;
    for (int p = 0; p < pages && p < referencePages.size(); ++p) {
        const std::u16string &folded = text.foldedPage(doc, p);
        QFile second(QString(secondPattern).replace(QLatin1String("%d"), QString::number(p + 1)));
        const bool secondRead = !secondPattern.isEmpty() && second.open(QIODevice::ReadOnly);
        const std::u16string secondLetters = lettersOf(QString::fromUtf8(secondRead ? second.readAll() : ""));
        for (const QString &word : wordsOf(referencePages[p])) {
            WordCount &count = isRightToLeft(word) ? rtl : ltr;
            if (secondRead && !readAlike(word, secondLetters)) {
                ++count.readOtherwise;
                std::fprintf(stderr, "other %d %s\n", p, word.toUtf8().constData());
                continue;
            }
            ++count.words;
            if (TextMatcher(word.toStdU16String(), BookSearchMatchCase, BookSearchWholeWord)
                    .occursIn(folded)) {
                ++count.found;
                unmarked += marked(doc, p, word) ? 0 : 1;
            } else {
                std::fprintf(stderr, "miss %d %s\n", p, word.toUtf8().constData());
            }
        }
    }
    std::printf("pages %d rendered %d ltr %d %d rtl %d %d textms %lld unmarked %d other %d %d\n", pages,
                rendered, ltr.found, ltr.words, rtl.found, rtl.words, static_cast<long long>(textMs),
                unmarked, ltr.readOtherwise, rtl.readOtherwise);
    return 0;
}
