#include "annotations/CopiedPhrase.h"

#include "annotations/SelectionRectangles.h"
#include "pdf/PdfiumCtrl.h"
#include "pdf/TextModel.h"

#include <algorithm>

namespace {

constexpr QChar WrapMark(WrappedHyphen);
constexpr QChar SoftHyphen(0x00AD);

bool isHyphen(QChar c) {
    return c == u'-' || c == QChar(0x2010);
}

// Puts what separates a line's text from the next line's at the end of `phrase`.
void breakLine(QString &phrase, const QString &next) {
    const QChar last = phrase.back();
    if (last == WrapMark || last == SoftHyphen) {
        phrase.chop(1);
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
