#pragma once
// Search of a phrase in a page's text, forwards and backwards from a start, as hits of first character
// index and length, by the rule of TextMatcher; hits are given in the page text's own indexes.

#include "pdf/TextMatcher.h"

#include <string>

struct TextHit {
    int index = 0;
    int count = 0;
};

class TextSearch {
public:
    // flags: 1 match case, 2 whole words only. start: first character to look at, -1 for the page's end.
    TextSearch(const std::u16string &text, const std::u16string &phrase, unsigned long flags, int start);

    bool findNext();
    bool findPrev();
    TextHit hit() const { return currentHit; }

private:
    void take(int position, int length);

    FoldedText folded; // the folded page text with the page characters of each unit
    TextMatcher matcher;
    int nextStart;
    int prevStart;
    TextHit currentHit;
};
