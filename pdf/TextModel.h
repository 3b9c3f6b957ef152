#pragma once
// The character model of one page: characters in reading order (right-to-left runs too, whatever order
// the page draws them in) with the spaces and line breaks the engine generates, their boxes in page space,
// and the queries on it (line rectangles of a range, the character at a point, the text inside a rectangle).
// Text drawn again over itself at nearly the same place (fake bold, a shadow) is read once.

#include <span>
#include <string>
#include <vector>

struct PageRect {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

// One glyph as extracted, in page space. start/end are its extent along the baseline direction.
struct GlyphInput {
    char32_t unicode = 0;
    float left = 0, bottom = 0, right = 0, top = 0;
    float start = 0, end = 0;
    float fontSize = 0;
};

// A run of glyphs drawn along one baseline, in content order (a view into the extracted glyphs).
struct FragmentInput {
    std::span<const GlyphInput> glyphs;
    bool horizontal = true; // baseline runs left to right in page space
};

struct TextChar {
    char16_t unicode = 0;
    bool generated = false;
    int fragment = -1; // index of the source fragment; -1 for generated characters
    float left = 0, bottom = 0, right = 0, top = 0;
    float fontSize = 0;
    float along = 0; // the middle along the line's baseline: orders a line that is not horizontal
};

// The unit a line-end hyphen that wraps a word is reported as.
constexpr char16_t WrappedHyphen = 0xFFFE;

class TextModel {
public:
    explicit TextModel(const std::vector<FragmentInput> &drawn);

    const std::vector<TextChar> &chars() const { return pageChars; }
    const std::u16string &text() const { return pageText; }
    int count() const { return int(pageChars.size()); }

    // One rectangle per fragment piece of the range, generated characters left out.
    std::vector<PageRect> rects(int start, int count) const;
    // The character whose box holds the point, else the nearest within the tolerances, else -1.
    int indexAtPos(double x, double y, double xTolerance, double yTolerance) const;
    // The characters whose box centres lie in the rectangle, with the generated ones between them.
    std::u16string boundedText(double left, double top, double right, double bottom) const;

private:
    struct Line;
    void emitLine(const std::vector<FragmentInput> &fragments, const Line &line);
    void emitGlyph(const GlyphInput &glyph, int fragment);
    void emitWordSpace(const GlyphInput &previous, const GlyphInput &glyph);
    void emitGenerated(char16_t unicode);
    void breakLine(const FragmentInput &nextFirst);
    void putInReadingOrder(size_t from, bool horizontal);
    void keepSurrogatePairs(size_t from);
    std::u16string separator(int from, int to) const;

    std::vector<TextChar> pageChars;
    std::u16string pageText;
};
