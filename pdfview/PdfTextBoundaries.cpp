#include "pdfview/PdfTextBoundaries.h"

#include <QChar>

namespace {

bool isWhiteSpace(char16_t c) {
    return QChar(c).isSpace();
}
bool isLineBreak(char16_t c) {
    return c == u'\n' || c == u'\r';
}

template <typename Stop> TPdfTextRange extend(std::u16string_view text, int index, Stop stop) {
    TPdfTextRange range{index, index};
    while (range.First > 0 && !stop(text[range.First - 1]))
        --range.First;
    while (range.Last + 1 < static_cast<int>(text.size()) && !stop(text[range.Last + 1]))
        ++range.Last;
    return range;
}

} // namespace

bool findWordAt(std::u16string_view text, int index, TPdfTextRange &word) {
    const int count = static_cast<int>(text.size());
    if (index < 0 || index >= count)
        return false;
    while (index < count && isWhiteSpace(text[index]))
        ++index;
    if (index >= count)
        return false;
    word = extend(text, index, isWhiteSpace);
    return true;
}

bool findLineAt(std::u16string_view text, int index, TPdfTextRange &line) {
    if (index < 0 || index >= static_cast<int>(text.size()))
        return false;
    line = extend(text, index, isLineBreak);
    return true;
}
