#include "annotations/CopiedPhrase.h"

#include "annotations/AnnotationValues.h"
#include "annotations/SelectionRectangles.h"
#include "pdf/TextModel.h"
#include "pdfview/PdfControl.h"

#include <algorithm>
#include <optional>

namespace {

constexpr QChar WrapMark(WrappedHyphen);
constexpr QChar SoftHyphen(0x00AD);

bool isHyphen(QChar c) {
    return c == u'-' || c == QChar(0x2010);
}

// A word repeated across the wrap ("kunang-" / "kunang", "berlari-" / "lari"): Indonesian writes the
// reduplication with its hyphen, which the text model took for a wrapped word's. Short pieces ("ma-" /
// "ma") are too often one word broken in two to tell.
bool isReduplication(const QString &before, const QString &next) {
    qsizetype start = before.size();
    while (start > 0 && before[start - 1].isLetter())
        --start;
    qsizetype end = 0;
    while (end < next.size() && next[end].isLetter())
        ++end;
    const QStringView word = QStringView(before).mid(start);
    const QStringView repeated = QStringView(next).left(end);
    return repeated.size() >= 3 && word.size() >= repeated.size() &&
           word.endsWith(repeated, Qt::CaseInsensitive);
}

// Puts what separates a line's text from the next line's at the end of `phrase`.
void breakLine(QString &phrase, const QString &next) {
    const QChar last = phrase.back();
    if (last == WrapMark || last == SoftHyphen) {
        phrase.chop(1);
        if (last == WrapMark && isReduplication(phrase, next))
            phrase += u'-';
        return;
    }
    if (last.isSpace() || next.front().isSpace())
        return;
    if (isHyphen(last) && phrase.size() >= 2 && !phrase[phrase.size() - 2].isSpace())
        return;
    phrase += u' ';
}

} // namespace

bool startsLine(const TPdfRect &previous, const TPdfRect &next) {
    const double middle = (next.Top + next.Bottom) / 2;
    return middle < std::min(previous.Top, previous.Bottom) ||
           middle > std::max(previous.Top, previous.Bottom);
}

QString joinSelectionPieces(const std::vector<SelectionPiece> &pieces) {
    QString phrase;
    bool newLine = false;
    for (const SelectionPiece &piece : pieces) {
        newLine = newLine || piece.startsLine;
        if (piece.text.isEmpty())
            continue;
        if (newLine && !phrase.isEmpty())
            breakLine(phrase, piece.text);
        newLine = false;
        phrase += piece.text;
    }
    return phrase.remove(WrapMark);
}

QString selectedPhrase(TPdfControl &view) {
    std::vector<SelectionPiece> pieces;
    const std::vector<TPdfRect> rects = selectionPageRectangles(view);
    if (rects.empty())
        return {};
    TPdfDocumentLock lock(*view.Document()); // the conversions and text reads in one sequence
    for (std::size_t i = 0; i < rects.size(); ++i)
        pieces.push_back(
            {view.GetTextInRect(view.PageToDevice(rects[i])), i > 0 && startsLine(rects[i - 1], rects[i])});
    return joinSelectionPieces(pieces);
}

QString highlightedPhrase(TPdfDocument &document, const JsonDocument &highlight) {
    const int pageIndex = integerAt(highlight, "page");
    TPdfDocumentLock lock(document);
    if (pageIndex < 0 || pageIndex >= document.PageCount())
        return {};
    TPdfPage &page = *document.GetPage(pageIndex);
    std::vector<SelectionPiece> pieces;
    std::optional<TPdfRect> previous;
    for (const JsonDocument &box : memberAt(highlight, "point_data")) {
        const TPdfRect rect{numberAt(box, "left"), numberAt(box, "top"), numberAt(box, "right"),
                            numberAt(box, "bottom")};
        pieces.push_back({page.GetTextAt(rect), previous && startsLine(*previous, rect)});
        previous = rect;
    }
    return joinSelectionPieces(pieces);
}
