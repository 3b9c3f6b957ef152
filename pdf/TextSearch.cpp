#include "pdf/TextSearch.h"

#include "pdf/PdfiumLib.h"

#include <QChar>

namespace {

bool isBreak(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == 0xA0;
}
bool isWordChar(char16_t c) {
    return QChar(c).isLetterOrNumber();
}

} // namespace

TextSearch::TextSearch(const std::u16string &text, const std::u16string &phrase, unsigned long flags,
                       int start)
    : matchCase_(flags & FPDF_MATCHCASE), wholeWord_(flags & FPDF_MATCHWHOLEWORD) {
    for (char16_t c : text)
        text_ += fold(c);
    std::u16string word;
    for (char16_t c : phrase) {
        if (isBreak(c)) {
            if (!word.empty())
                words_.push_back(word);
            word.clear();
        } else {
            word += fold(c);
        }
    }
    if (!word.empty())
        words_.push_back(word);
    const int size = int(text_.size());
    if (start < 0 || start > size) {
        nextStart_ = size;
        prevStart_ = size - 1;
    } else {
        nextStart_ = start;
        prevStart_ = start - 1;
    }
}

char16_t TextSearch::fold(char16_t c) const {
    return matchCase_ ? c : QChar(c).toCaseFolded().unicode();
}

bool TextSearch::matchAt(int position, int &length) const {
    const int size = int(text_.size());
    int at = position;
    for (size_t w = 0; w < words_.size(); ++w) {
        if (w > 0) {
            const int breakStart = at;
            while (at < size && isBreak(text_[at]))
                ++at;
            if (at == breakStart)
                return false;
        }
        const std::u16string &word = words_[w];
        if (text_.compare(at, word.size(), word) != 0)
            return false;
        at += int(word.size());
    }
    length = at - position;
    return !wholeWord_ || wholeWordAt(position, length);
}

bool TextSearch::wholeWordAt(int position, int length) const {
    const bool leftOpen = position == 0 || !isWordChar(text_[position - 1]);
    const int end = position + length;
    const bool rightOpen = end >= int(text_.size()) || !isWordChar(text_[end]);
    return leftOpen && rightOpen;
}

void TextSearch::take(int position, int length) {
    hit_ = {position, length};
    nextStart_ = position + length;
    prevStart_ = position - 1;
}

bool TextSearch::findNext() {
    if (words_.empty())
        return false;
    int length = 0;
    for (int p = nextStart_; p < int(text_.size()); ++p)
        if (matchAt(p, length)) {
            take(p, length);
            return true;
        }
    hit_ = {};
    return false;
}

bool TextSearch::findPrev() {
    if (words_.empty())
        return false;
    int length = 0;
    for (int p = prevStart_; p >= 0; --p)
        if (matchAt(p, length)) {
            take(p, length);
            return true;
        }
    hit_ = {};
    return false;
}
