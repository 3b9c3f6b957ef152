#pragma once
// Search of a phrase in a page's text, forwards and backwards from a start, as hits of first character
// index and length. The phrase's words match across any run of white space or line breaks in the text.
// Both sides are compared in their compatibility decomposition (NFKD, then case-folded unless case
// matters), so a typed word finds the presentation forms and ligatures fonts put on pages ("fi" finds
// "ﬁ"); hits are given in the page text's own indexes.

#include <string>
#include <string_view>
#include <vector>

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
    TextHit hit() const { return hit_; }

private:
    bool matchAt(int position, int &length) const;
    bool wholeWordAt(int position, int length) const;
    std::u16string fold(std::u16string_view character) const;
    void take(int position, int length);

    std::u16string text_;        // the folded page text
    std::vector<int> origin_;    // per folded unit, the index of the page character it comes from
    std::vector<int> originEnd_; // per folded unit, the index after that character
    std::vector<std::u16string> words_;
    bool matchCase_;
    bool wholeWord_;
    int nextStart_;
    int prevStart_;
    TextHit hit_;
};
