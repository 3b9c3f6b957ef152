#include "pdf/TextSearch.h"

#include "pdf/PdfiumLib.h"

#include <algorithm>

TextSearch::TextSearch(const std::u16string &text, const std::u16string &phrase, unsigned long flags,
                       int start)
    : folded(foldForMatching(text, flags & FPDF_MATCHCASE, true)),
      matcher(phrase, flags & FPDF_MATCHCASE, flags & FPDF_MATCHWHOLEWORD) {
    const int size = int(folded.units.size());
    if (start < 0 || start > int(text.size()))
        nextStart = size;
    else
        nextStart =
            int(std::lower_bound(folded.begin.begin(), folded.begin.end(), start) - folded.begin.begin());
    prevStart = nextStart - 1;
}

void TextSearch::take(int position, int length) {
    currentHit = {folded.begin[position], folded.end[position + length - 1] - folded.begin[position]};
    nextStart = position + length;
    prevStart = position - 1;
}

bool TextSearch::findNext() {
    for (int p = nextStart; !matcher.empty() && p < int(folded.units.size()); ++p)
        if (const int length = matcher.matchAt(folded.units, p)) {
            take(p, length);
            return true;
        }
    currentHit = {};
    return false;
}

bool TextSearch::findPrev() {
    for (int p = prevStart; !matcher.empty() && p >= 0; --p)
        if (const int length = matcher.matchAt(folded.units, p)) {
            take(p, length);
            return true;
        }
    currentHit = {};
    return false;
}
