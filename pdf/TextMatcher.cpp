#include "pdf/TextMatcher.h"

#include <QChar>
#include <QString>

namespace {

bool isBreak(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == 0xA0;
}

bool isArabicLetter(char16_t c) {
    const QChar q(c);
    return q.script() == QChar::Script_Arabic && q.isLetter();
}

// A mark continues the word of the letter it sits on.
bool isWordChar(char16_t c) {
    const QChar q(c);
    return q.isLetterOrNumber() || q.isMark();
}

// Arabic vowel marks and Quranic signs, the tatweel, and characters that only steer joining, direction or
// hyphenation: none of them changes which word is written.
bool isIgnored(char16_t c) {
    return c == 0x0640 || (c >= 0x064B && c <= 0x065F) || c == 0x0670 || (c >= 0x06D6 && c <= 0x06DC) ||
           (c >= 0x06DF && c <= 0x06E4) || c == 0x06E7 || c == 0x06E8 || (c >= 0x06EA && c <= 0x06ED) ||
           c == 0x00AD || (c >= 0x200C && c <= 0x200F) || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069) || c == 0xFEFF;
}

// The combining mark a spacing accent glyph stands for, for the accents without a compatibility
// decomposition of their own; 0 for any other character.
char16_t combiningMarkOf(char32_t c) {
    switch (c) {
    case 0x0060:
        return 0x0300;
    case 0x02C6:
        return 0x0302;
    case 0x02C9:
        return 0x0304;
    case 0x02C7:
        return 0x030C;
    default:
        return 0;
    }
}

char32_t codePointAt(std::u16string_view text, size_t i, size_t &length) {
    if (i + 1 < text.size() && QChar::isHighSurrogate(text[i]) && QChar::isLowSurrogate(text[i + 1])) {
        length = 2;
        return QChar::surrogateToUcs4(text[i], text[i + 1]);
    }
    length = 1;
    return text[i];
}

std::u16string canonicalOrder(const std::u16string &cluster) {
    return QString::fromStdU16String(cluster).normalized(QString::NormalizationForm_D).toStdU16String();
}

// Folds a text character by character, joining spacing accents to their letters.
class Folder {
public:
    Folder(bool matchCase, bool keepOrigins) : caseMatters(matchCase), keepOrigins(keepOrigins) {}

    void add(std::u16string_view character, char32_t code, int begin, int end, bool nextIsLetter);
    FoldedText take() { return std::move(out); }

private:
    std::u16string decompose(std::u16string_view character) const;
    std::u16string accentMarks(std::u16string_view character, char32_t code) const;
    void append(const std::u16string &units, int begin, int end);
    void joinLastLetter(const std::u16string &marks, int end);
    void coverWithLast(int end);

    bool caseMatters;
    bool keepOrigins;
    FoldedText out;
    std::u16string pendingMarks; // an accent's marks waiting for the letter after it
    int pendingBegin = -1;
    int letterUnit = -1; // the first unit of the last character emitted when it was a letter, else -1
    int letterBegin = 0;
};

// A decimal digit of any script as the ASCII digit of the same value: a year printed in Arabic-Indic or
// Persian digits is found by the digits a member types.
char16_t asciiDigit(QChar c) {
    return c.category() == QChar::Number_DecimalDigit ? char16_t(u'0' + c.digitValue()) : c.unicode();
}

// NFKD, case folded unless case matters, digits as ASCII digits, ignored characters left out.
std::u16string Folder::decompose(std::u16string_view character) const {
    if (character.size() == 1 && character[0] < 0x80) // plain ASCII decomposes to itself
        return {char16_t(caseMatters || character[0] < u'A' || character[0] > u'Z' ? character[0]
                                                                                   : character[0] + 32)};
    QString s = QString::fromUtf16(character.data(), qsizetype(character.size()))
                    .normalized(QString::NormalizationForm_KD);
    if (!caseMatters)
        s = s.toCaseFolded();
    std::u16string units;
    for (QChar c : std::as_const(s))
        if (!isIgnored(c.unicode()))
            units += asciiDigit(c);
    return units;
}

// The combining marks a spacing accent stands for (ignored ones left out); empty for other characters.
// Most accents decompose to a space and their mark; a few have no decomposition and are looked up.
std::u16string Folder::accentMarks(std::u16string_view character, char32_t code) const {
    if (const char16_t mark = combiningMarkOf(code))
        return {mark};
    if (code < 0xA0)
        return {};
    const QString d = QString::fromUtf16(character.data(), qsizetype(character.size()))
                          .normalized(QString::NormalizationForm_KD);
    if (d.size() < 2 || d[0] != u' ')
        return {};
    std::u16string marks;
    for (qsizetype i = 1; i < d.size(); ++i) {
        if (!d[i].isMark())
            return {};
        marks += d[i].unicode();
    }
    return marks;
}

void Folder::add(std::u16string_view character, char32_t code, int begin, int end, bool nextIsLetter) {
    std::u16string marks = accentMarks(character, code);
    if (!marks.empty()) {
        std::erase_if(marks, isIgnored);
        if (marks.empty()) { // the spacing form of an Arabic vowel mark
            coverWithLast(end);
            return;
        }
        if (nextIsLetter) {
            pendingMarks += marks;
            if (pendingBegin < 0)
                pendingBegin = begin;
            return;
        }
        if (letterUnit >= 0) {
            joinLastLetter(marks, end);
            return;
        }
    }
    std::u16string units = decompose(character);
    if (!pendingMarks.empty()) {
        units = canonicalOrder(units + pendingMarks);
        begin = pendingBegin;
        pendingMarks.clear();
        pendingBegin = -1;
    }
    if (units.empty()) {
        coverWithLast(end);
        return;
    }
    const bool letter = QChar::isLetter(code);
    letterUnit = letter ? int(out.units.size()) : -1;
    letterBegin = begin;
    append(units, begin, end);
}

void Folder::append(const std::u16string &units, int begin, int end) {
    out.units += units;
    if (keepOrigins) {
        out.begin.insert(out.begin.end(), units.size(), begin);
        out.end.insert(out.end.end(), units.size(), end);
    }
}

// A character left out belongs to the hit of the character before it (the vowel mark on a letter).
void Folder::coverWithLast(int end) {
    if (keepOrigins && !out.end.empty())
        out.end.back() = end;
}

// An accent after its letter: its marks join the letter's units, which now cover the accent too.
void Folder::joinLastLetter(const std::u16string &marks, int end) {
    const std::u16string cluster = canonicalOrder(out.units.substr(size_t(letterUnit)) + marks);
    out.units.resize(size_t(letterUnit));
    if (keepOrigins) {
        out.begin.resize(size_t(letterUnit));
        out.end.resize(size_t(letterUnit));
    }
    append(cluster, letterBegin, end);
}

} // namespace

FoldedText foldForMatching(std::u16string_view text, bool matchCase, bool keepOrigins) {
    Folder folder(matchCase, keepOrigins);
    size_t length = 0;
    char32_t code = text.empty() ? 0 : codePointAt(text, 0, length);
    for (size_t i = 0; i < text.size();) {
        const size_t next = i + length;
        size_t nextLength = 0;
        const char32_t nextCode = next < text.size() ? codePointAt(text, next, nextLength) : 0;
        folder.add(text.substr(i, length), code, int(i), int(next), nextCode && QChar::isLetter(nextCode));
        i = next;
        code = nextCode;
        length = nextLength;
    }
    return folder.take();
}

TextMatcher::TextMatcher(std::u16string_view phrase, bool matchCase, bool wholeWord)
    : caseMatters(matchCase), wholeWord(wholeWord) {
    const std::u16string folded = foldForMatching(phrase, matchCase, false).units;
    std::u16string word;
    for (char16_t c : folded) {
        if (!isBreak(c)) {
            word += c;
            continue;
        }
        if (!word.empty())
            words.push_back(word);
        word.clear();
    }
    if (!word.empty())
        words.push_back(word);
}

int TextMatcher::matchAt(std::u16string_view folded, int at) const {
    if (words.empty())
        return 0;
    const int size = int(folded.size());
    int position = at;
    for (size_t w = 0; w < words.size(); ++w) {
        if (w > 0) {
            const int breakStart = position;
            while (position < size && isBreak(folded[position]))
                ++position;
            if (position == breakStart)
                return 0;
        }
        position = wordEnd(folded, position, words[w]);
        if (position < 0)
            return 0;
    }
    const int length = position - at;
    return !wholeWord || wholeWordAt(folded, at, length) ? length : 0;
}

// Where one phrase word that starts at `position` ends in the folded text; -1 when it does not start there.
// Persian compounds are written with a space, a zero-width non-joiner or nothing between their parts, so a
// break between two Arabic letters of the text may stand where the word has none.
int TextMatcher::wordEnd(std::u16string_view folded, int position, const std::u16string &word) const {
    const int size = int(folded.size());
    for (size_t k = 0; k < word.size(); ++k) {
        if (position < size && folded[position] == word[k]) {
            ++position;
            continue;
        }
        if (k == 0 || !isArabicLetter(word[k - 1]) || !isArabicLetter(word[k]))
            return -1;
        int after = position;
        while (after < size && isBreak(folded[after]))
            ++after;
        if (after == position || after >= size || folded[after] != word[k])
            return -1;
        position = after + 1;
    }
    return position;
}

bool TextMatcher::wholeWordAt(std::u16string_view folded, int at, int length) const {
    const bool leftOpen = at == 0 || !isWordChar(folded[at - 1]);
    const int end = at + length;
    const bool rightOpen = end >= int(folded.size()) || !isWordChar(folded[end]);
    return leftOpen && rightOpen;
}

bool TextMatcher::occursIn(std::u16string_view folded) const {
    if (words.empty())
        return false;
    const char16_t first = words.front().front();
    for (size_t p = folded.find(first); p != std::u16string_view::npos; p = folded.find(first, p + 1))
        if (matchAt(folded, int(p)) > 0)
            return true;
    return false;
}
