#include "pdf/TextModel.h"

#include "pdf/BidiOrder.h"
#include "pdf/RepeatedText.h"

#include <QChar>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// A gap wider than this share of the font size between two glyphs reads as a word break.
constexpr float WordGapRatio = 0.135f;
// The same between two Arabic letters that are not joined.
constexpr float ShapedWordGapRatio = 0.1f;

bool isSpace(char32_t c) {
    return c == ' ' || c == '\t' || c == 0xA0 || c == 0x3000;
}
bool isLineBreak(char32_t c) {
    return c == '\r' || c == '\n';
}
bool isLetter(char16_t c) {
    return QChar(c).isLetter();
}

// Arabic presentation forms tell which letters are joined: none joins a letter on its left but an initial
// or medial form, none on its right but a medial or final form (a letter in its base form tells nothing).
bool joinsLeft(char32_t c) {
    const QChar::Decomposition tag = QChar::decompositionTag(c);
    return tag == QChar::Initial || tag == QChar::Medial;
}
bool joinsRight(char32_t c) {
    const QChar::Decomposition tag = QChar::decompositionTag(c);
    return tag == QChar::Medial || tag == QChar::Final;
}
bool isArabicLetter(char32_t c) {
    return QChar::script(c) == QChar::Script_Arabic && QChar::isLetter(c);
}

// Whether two glyphs are Arabic letters joined to each other, whichever of them comes first.
bool areJoined(const GlyphInput &a, const GlyphInput &b) {
    if (!isArabicLetter(a.unicode) || !isArabicLetter(b.unicode))
        return false;
    const bool aLeft = a.left + a.right < b.left + b.right;
    const GlyphInput &left = aLeft ? a : b, &right = aLeft ? b : a;
    return joinsLeft(right.unicode) || joinsRight(left.unicode);
}

// The room between two glyphs of a line, in content order. Right-to-left text is often drawn in reading
// order, each glyph before the previous one along the line: then the room lies on the other side.
float gapBetween(const GlyphInput &previous, const GlyphInput &glyph) {
    return glyph.start >= previous.start ? glyph.start - previous.end : previous.start - glyph.end;
}

// Whether a glyph is a spacing accent drawn within the extent of another along the line, over its letter.
bool isAccentOver(const GlyphInput &glyph, const GlyphInput &base) {
    return QChar::category(glyph.unicode) == QChar::Symbol_Modifier && glyph.start >= base.start &&
           glyph.end <= base.end;
}

// Whether the gap between two glyphs of a line, in content order, breaks a word. Joined Arabic letters
// never part, whatever gap their boxes leave; Arabic letters that are not joined part at a narrower gap
// than other glyphs, as tight Arabic justification leaves little room between words.
bool isWordGap(const GlyphInput &previous, const GlyphInput &glyph) {
    const float gap = gapBetween(previous, glyph);
    const float size = std::max(glyph.fontSize, previous.fontSize);
    if (isArabicLetter(previous.unicode) && isArabicLetter(glyph.unicode))
        return !areJoined(previous, glyph) && gap > ShapedWordGapRatio * size;
    return gap > WordGapRatio * size;
}

bool contains(const TextChar &c, double x, double y) {
    return x >= c.left && x <= c.right && y >= c.bottom && y <= c.top;
}

} // namespace

struct TextModel::Line {
    std::vector<int> fragments;
    float bottom = 0;
    float top = 0;
    bool horizontal = true;

    static std::pair<float, float> extent(const FragmentInput &f) {
        float bottom = f.glyphs.front().bottom, top = f.glyphs.front().top;
        for (const GlyphInput &g : f.glyphs) {
            bottom = std::min(bottom, g.bottom);
            top = std::max(top, g.top);
        }
        return {bottom, top};
    }
    // A fragment continues this line when both run left to right and each one's middle lies within the
    // other: a tall glyph (a bracket whose font reaches far below the baseline) widens the line without
    // pulling in the line below it.
    bool accepts(const FragmentInput &f) const {
        if (!horizontal || !f.horizontal)
            return false;
        const auto [fragmentBottom, fragmentTop] = extent(f);
        const double middle = (fragmentBottom + fragmentTop) / 2, lineMiddle = (bottom + top) / 2;
        return middle >= bottom && middle <= top && lineMiddle >= fragmentBottom && lineMiddle <= fragmentTop;
    }
    void add(const FragmentInput &f, int index) {
        if (fragments.empty()) {
            bottom = f.glyphs.front().bottom;
            top = f.glyphs.front().top;
            horizontal = f.horizontal;
        }
        for (const GlyphInput &g : f.glyphs) {
            bottom = std::min(bottom, g.bottom);
            top = std::max(top, g.top);
        }
        fragments.push_back(index);
    }
};

TextModel::TextModel(const std::vector<FragmentInput> &drawn) {
    std::vector<GlyphInput> kept;
    const std::vector<FragmentInput> fragments = withoutRepeatedText(drawn, kept);
    size_t glyphs = 0;
    for (const FragmentInput &f : fragments)
        glyphs += f.glyphs.size();
    // Room for the glyphs and the spaces and line breaks generated between them.
    pageChars.reserve(glyphs + glyphs / 4 + 2 * fragments.size() + 8);
    pageText.reserve(pageChars.capacity());
    std::vector<Line> lines;
    for (int i = 0; i < int(fragments.size()); ++i) {
        if (fragments[i].glyphs.empty())
            continue;
        if (lines.empty() || !lines.back().accepts(fragments[i]))
            lines.emplace_back();
        lines.back().add(fragments[i], i);
    }
    for (Line &line : lines)
        std::stable_sort(line.fragments.begin(), line.fragments.end(), [&](int a, int b) {
            return fragments[a].glyphs.front().left < fragments[b].glyphs.front().left;
        });
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            breakLine(fragments[lines[i].fragments.front()]);
        const size_t lineStart = pageChars.size();
        emitLine(fragments, lines[i]);
        putInReadingOrder(lineStart, lines[i].horizontal);
    }
}

// A line holding right-to-left script is put in reading order: its characters are taken in the order of
// their boxes from left to right, or along the baseline of a slanted line (pages draw such runs in either
// order), then reordered as the bidirectional algorithm reads them; characters of right-to-left runs take
// their mirrored form, as their glyphs were mirrored for display.
void TextModel::putInReadingOrder(size_t from, bool horizontal) {
    if (!hasRightToLeft(std::u16string_view(pageText).substr(from)))
        return;
    std::vector<TextChar> visual(pageChars.begin() + std::ptrdiff_t(from), pageChars.end());
    std::stable_sort(visual.begin(), visual.end(), [horizontal](const TextChar &a, const TextChar &b) {
        return horizontal ? a.left + a.right < b.left + b.right : a.along < b.along;
    });
    std::u16string visualText;
    for (const TextChar &c : visual)
        visualText += c.unicode;
    const LogicalLine line = logicalOrder(visualText);
    for (size_t i = 0; i < visual.size(); ++i) {
        TextChar c = visual[line.visualIndex[i]];
        if (line.rightToLeft[i])
            c.unicode = QChar(c.unicode).mirroredChar().unicode();
        pageChars[from + i] = c;
        pageText[from + i] = c.unicode;
    }
    keepSurrogatePairs(from);
}

// Reversal leaves the two units of a character beyond the 16-bit range swapped: they are put back.
void TextModel::keepSurrogatePairs(size_t from) {
    for (size_t i = from; i + 1 < pageChars.size(); ++i)
        if (QChar::isLowSurrogate(pageText[i]) && QChar::isHighSurrogate(pageText[i + 1])) {
            std::swap(pageChars[i], pageChars[i + 1]);
            std::swap(pageText[i], pageText[i + 1]);
            ++i;
        }
}

void TextModel::breakLine(const FragmentInput &next) {
    // A hyphen after a letter at the end of a line, with the next line starting at once, wraps a word.
    const size_t n = pageChars.size();
    const char32_t nextFirst = next.glyphs.front().unicode;
    if (n >= 2 && pageChars[n - 1].unicode == u'-' && !pageChars[n - 1].generated &&
        isLetter(pageChars[n - 2].unicode) && !isSpace(nextFirst) && !isLineBreak(nextFirst)) {
        pageChars[n - 1].unicode = WrappedHyphen;
        pageText[n - 1] = WrappedHyphen;
        return;
    }
    emitGenerated(u'\r');
    emitGenerated(u'\n');
}

void TextModel::emitLine(const std::vector<FragmentInput> &fragments, const Line &line) {
    const GlyphInput *previous = nullptr;
    const GlyphInput *lastLetter = nullptr; // the last glyph that is no space
    for (int index : line.fragments) {
        const std::span<const GlyphInput> glyphs = fragments[index].glyphs;
        for (size_t i = 0; i < glyphs.size(); ++i) {
            const GlyphInput &glyph = glyphs[i];
            if (previous && !pageChars.empty()) {
                // An accent drawn over the letter after it (old TeX fonts) is as far from the previous
                // glyph as that letter is.
                const GlyphInput &measured =
                    i + 1 < glyphs.size() && isAccentOver(glyph, glyphs[i + 1]) ? glyphs[i + 1] : glyph;
                if (isWordGap(*previous, measured) && !isSpace(glyph.unicode) &&
                    !isSpace(pageChars.back().unicode))
                    emitWordSpace(*previous, glyph);
            }
            // A space drawn between two joined Arabic letters (some fonts map a joining glyph to it)
            // parts no word.
            if (lastLetter && !pageChars.empty() && pageChars.back().unicode == u' ' &&
                !pageChars.back().generated && areJoined(*lastLetter, glyph)) {
                pageChars.pop_back();
                pageText.pop_back();
            }
            previous = &glyph;
            if (!isSpace(glyph.unicode))
                lastLetter = &glyph;
            // Runs of spaces read as one.
            if (glyph.unicode == ' ' && !pageChars.empty() && pageChars.back().unicode == u' ')
                continue;
            emitGlyph(glyph, index);
        }
    }
}

void TextModel::emitGlyph(const GlyphInput &glyph, int fragment) {
    TextChar c;
    c.left = glyph.left;
    c.bottom = glyph.bottom;
    c.right = glyph.right;
    c.top = glyph.top;
    c.fontSize = glyph.fontSize;
    c.along = (glyph.start + glyph.end) / 2;
    c.fragment = fragment;
    if (glyph.unicode > 0xFFFF) {
        const char32_t v = glyph.unicode - 0x10000;
        c.unicode = char16_t(0xD800 + (v >> 10));
        pageChars.push_back(c);
        pageText += c.unicode;
        c.unicode = char16_t(0xDC00 + (v & 0x3FF));
    } else {
        c.unicode = char16_t(glyph.unicode);
    }
    pageChars.push_back(c);
    pageText += c.unicode;
}

// The space generated at a word gap sits in that gap, on whichever side of the previous glyph it lies, so
// that a line put in reading order by its boxes keeps it between the two words.
void TextModel::emitWordSpace(const GlyphInput &previous, const GlyphInput &glyph) {
    emitGenerated(u' ');
    TextChar &space = pageChars.back();
    if (glyph.start < previous.start) {
        space.left = space.right = previous.left;
        space.along = previous.start;
    } else {
        space.along = previous.end;
    }
}

void TextModel::emitGenerated(char16_t unicode) {
    TextChar c;
    if (!pageChars.empty()) {
        const TextChar &previous = pageChars.back();
        c.left = c.right = previous.right;
        c.bottom = previous.bottom;
        c.top = previous.top;
        c.fontSize = previous.fontSize;
        c.along = previous.along;
    }
    c.unicode = unicode;
    c.generated = true;
    pageChars.push_back(c);
    pageText += unicode;
}

std::vector<PageRect> TextModel::rects(int start, int count) const {
    std::vector<PageRect> result;
    if (start < 0 || start >= this->count())
        return result;
    const int end = count < 0 || count > this->count() - start ? this->count() : start + count;
    int fragment = -1;
    for (int i = start; i < end; ++i) {
        const TextChar &c = pageChars[i];
        if (c.generated)
            continue;
        if (result.empty() || c.fragment != fragment) {
            result.push_back({c.left, c.top, c.right, c.bottom});
            fragment = c.fragment;
            continue;
        }
        PageRect &r = result.back();
        r.left = std::min<double>(r.left, c.left);
        r.right = std::max<double>(r.right, c.right);
        r.top = std::max<double>(r.top, c.top);
        r.bottom = std::min<double>(r.bottom, c.bottom);
    }
    return result;
}

int TextModel::indexAtPos(double x, double y, double xTolerance, double yTolerance) const {
    int nearest = -1;
    double nearestDistance = 10000;
    for (int i = 0; i < count(); ++i) {
        const TextChar &c = pageChars[i];
        if (c.generated)
            continue;
        if (contains(c, x, y))
            return i;
        if (xTolerance <= 0 && yTolerance <= 0)
            continue;
        const bool nearBox = x >= c.left - xTolerance / 2 && x <= c.right + xTolerance / 2 &&
                             y >= c.bottom - yTolerance / 2 && y <= c.top + yTolerance / 2;
        if (!nearBox)
            continue;
        const double dx = std::min(std::fabs(x - c.left), std::fabs(x - c.right));
        const double dy = std::min(std::fabs(y - c.bottom), std::fabs(y - c.top));
        if (dx + dy < nearestDistance) {
            nearestDistance = dx + dy;
            nearest = i;
        }
    }
    return nearest;
}

// What stands between two characters of a bounded text: the generated characters when nothing else
// lies between them, a line break when the skipped stretch crosses one, else nothing.
std::u16string TextModel::separator(int from, int to) const {
    std::u16string generated;
    bool onlyGenerated = true;
    bool lineBreak = false;
    for (int k = from; k < to; ++k) {
        onlyGenerated = onlyGenerated && pageChars[k].generated;
        lineBreak = lineBreak || (pageChars[k].generated && pageChars[k].unicode == u'\n');
        generated += pageChars[k].unicode;
    }
    if (onlyGenerated)
        return generated;
    return lineBreak ? u"\r\n" : u"";
}

std::u16string TextModel::boundedText(double left, double top, double right, double bottom) const {
    if (left > right)
        std::swap(left, right);
    if (bottom > top)
        std::swap(bottom, top);
    std::vector<bool> inside(pageChars.size(), false);
    for (size_t i = 0; i < pageChars.size(); ++i) {
        const TextChar &c = pageChars[i];
        const double cx = (double(c.left) + c.right) / 2, cy = (double(c.bottom) + c.top) / 2;
        inside[i] = !c.generated && cx >= left && cx <= right && cy >= bottom && cy <= top;
    }
    std::u16string result;
    int lastInside = -1;
    for (int i = 0; i < count(); ++i) {
        if (!inside[i])
            continue;
        if (lastInside >= 0)
            result += separator(lastInside + 1, i);
        result += pageChars[i].unicode;
        lastInside = i;
    }
    return result;
}
