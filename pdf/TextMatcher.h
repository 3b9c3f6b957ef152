#pragma once
// The one rule by which a typed phrase matches page text: the in-book search's page walk and the view's
// marking of hits both use it, so a page found is a page with something to mark. Both sides are folded
// before they are compared:
// - compatibility decomposition (NFKD): ligatures, full-width letters and Arabic and Persian presentation
//   forms become the letters a member types ("fi" finds "ﬁ", "بهترت" finds "ﺑﻪﺗﺮﺗ");
// - case folding, unless case matters;
// - a spacing accent drawn as a glyph of its own beside its letter (old TeX fonts draw "k¨afer") joins
//   that letter as its combining mark, so it matches the precomposed letter ("käfer");
// - Arabic vowel marks (harakat), the tatweel and invisible format characters (joiners, direction marks,
//   the soft hyphen) are left out, so a bare word finds its vowelled or stretched form and the reverse.
// The phrase's words match across any run of white space or line breaks in the text, and a break between
// two Arabic letters of the text may stand inside a word of the phrase (Persian compounds are written with a
// space, a zero-width non-joiner or nothing between their parts: "بهترتیب" finds "به ترتیب").

#include <string>
#include <string_view>
#include <vector>

// A text in the form the matcher compares.
struct FoldedText {
    std::u16string units;
    // Per unit, the characters of the original text it comes from, [begin, end); only when asked for.
    std::vector<int> begin;
    std::vector<int> end;
};

FoldedText foldForMatching(std::u16string_view text, bool matchCase, bool keepOrigins);

class TextMatcher {
public:
    TextMatcher(std::u16string_view phrase, bool matchCase, bool wholeWord);

    bool matchCase() const { return caseMatters; }
    bool empty() const { return words.empty(); }
    // The length in folded units of a hit that starts at unit `at` of a folded text; 0 when none does.
    int matchAt(std::u16string_view folded, int at) const;
    // Whether a hit starts anywhere in the folded text.
    bool occursIn(std::u16string_view folded) const;

private:
    int wordEnd(std::u16string_view folded, int position, const std::u16string &word) const;
    bool wholeWordAt(std::u16string_view folded, int at, int length) const;

    std::vector<std::u16string> words;
    bool caseMatters;
    bool wholeWord;
};
