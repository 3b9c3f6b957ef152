#pragma once
// Search of a phrase in a page's text, forwards and backwards from a start, as hits of first character
// index and length. The phrase's words match across any run of white space or line breaks in the text.

#include <string>
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
    char16_t fold(char16_t c) const;
    void take(int position, int length);

    std::u16string text_;
    std::vector<std::u16string> words_;
    bool matchCase_;
    bool wholeWord_;
    int nextStart_;
    int prevStart_;
    TextHit hit_;
};
