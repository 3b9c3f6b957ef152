#include "pdf/TextSearch.h"

#include "pdf/PdfiumLib.h"

#include <algorithm>

TextSearch::TextSearch(const std::u16string &text, const std::u16string &phrase, unsigned long flags,
                       int start)
    : text_(foldForMatching(text, flags & FPDF_MATCHCASE, true)),
      matcher_(phrase, flags & FPDF_MATCHCASE, flags & FPDF_MATCHWHOLEWORD) {
    const int size = int(text_.units.size());
    if (start < 0 || start > int(text.size()))
        nextStart_ = size;
    else
        nextStart_ =
            int(std::lower_bound(text_.begin.begin(), text_.begin.end(), start) - text_.begin.begin());
    prevStart_ = nextStart_ - 1;
}

void TextSearch::take(int position, int length) {
    hit_ = {text_.begin[position], text_.end[position + length - 1] - text_.begin[position]};
    nextStart_ = position + length;
    prevStart_ = position - 1;
}

bool TextSearch::findNext() {
    for (int p = nextStart_; !matcher_.empty() && p < int(text_.units.size()); ++p)
        if (const int length = matcher_.matchAt(text_.units, p)) {
            take(p, length);
            return true;
        }
    hit_ = {};
    return false;
}

bool TextSearch::findPrev() {
    for (int p = prevStart_; !matcher_.empty() && p >= 0; --p)
        if (const int length = matcher_.matchAt(text_.units, p)) {
            take(p, length);
            return true;
        }
    hit_ = {};
    return false;
}
