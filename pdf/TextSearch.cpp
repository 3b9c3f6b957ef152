#include "pdf/TextSearch.h"

#include "pdf/PdfiumLib.h"

#include <QChar>
#include <QString>

#include <algorithm>

namespace {

bool isBreak(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == 0xA0;
}
bool isWordChar(char16_t c) {
    return QChar(c).isLetterOrNumber();
}

// The length of the character at `i`: two units for a surrogate pair.
size_t characterLength(std::u16string_view text, size_t i) {
    return i + 1 < text.size() && QChar::isHighSurrogate(text[i]) && QChar::isLowSurrogate(text[i + 1]) ? 2
                                                                                                        : 1;
}

} // namespace

TextSearch::TextSearch(const std::u16string &text, const std::u16string &phrase, unsigned long flags,
                       int start)
    : matchCase_(flags & FPDF_MATCHCASE), wholeWord_(flags & FPDF_MATCHWHOLEWORD) {
    text_.reserve(text.size());
    for (size_t i = 0, length; i < text.size(); i += length) {
        length = characterLength(text, i);
        for (char16_t unit : fold(std::u16string_view(text).substr(i, length))) {
            text_ += unit;
            origin_.push_back(int(i));
            originEnd_.push_back(int(i + length));
        }
    }
    std::u16string word;
    for (size_t i = 0, length; i < phrase.size(); i += length) {
        length = characterLength(phrase, i);
        if (isBreak(phrase[i])) {
            if (!word.empty())
                words_.push_back(word);
            word.clear();
        } else {
            word += fold(std::u16string_view(phrase).substr(i, length));
        }
    }
    if (!word.empty())
        words_.push_back(word);
    const auto folded = [&](int index) {
        return int(std::lower_bound(origin_.begin(), origin_.end(), index) - origin_.begin());
    };
    if (start < 0 || start > int(text.size())) {
        nextStart_ = int(text_.size());
        prevStart_ = nextStart_ - 1;
    } else {
        nextStart_ = folded(start);
        prevStart_ = nextStart_ - 1;
    }
}

std::u16string TextSearch::fold(std::u16string_view character) const {
    if (character.size() == 1 && character[0] < 0x80) // plain ASCII decomposes to itself
        return {char16_t(matchCase_ || character[0] < u'A' || character[0] > u'Z' ? character[0]
                                                                                  : character[0] + 32)};
    QString s = QString::fromUtf16(character.data(), qsizetype(character.size()))
                    .normalized(QString::NormalizationForm_KD);
    if (!matchCase_)
        s = s.toCaseFolded();
    return s.toStdU16String();
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
    hit_ = {origin_[position], originEnd_[position + length - 1] - origin_[position]};
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
