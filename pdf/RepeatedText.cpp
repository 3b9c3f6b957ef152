#include "pdf/RepeatedText.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace {

// A glyph this share of the font size or less from where another drew the same character repeats it.
constexpr float RepeatShiftRatio = 0.1f;
// The longest run looked back over for the one being repeated.
constexpr size_t LongestRepeatedRun = 512;

bool repeats(const GlyphInput &earlier, const GlyphInput &later) {
    const float near = RepeatShiftRatio * std::max(earlier.fontSize, later.fontSize);
    return earlier.unicode == later.unicode && std::fabs(earlier.left - later.left) <= near &&
           std::fabs(earlier.bottom - later.bottom) <= near;
}

constexpr size_t None = size_t(-1);

// Per glyph, the index of the last glyph before it with the same character (None when there is none):
// only those can be the glyph it repeats, so the look back skips all others.
std::vector<size_t> previousSameCharacter(const std::vector<const GlyphInput *> &glyphs) {
    std::vector<size_t> previous(glyphs.size(), None);
    std::unordered_map<char32_t, size_t> last;
    for (size_t i = 0; i < glyphs.size(); ++i) {
        const auto [seen, first] = last.try_emplace(glyphs[i]->unicode, i);
        if (!first) {
            previous[i] = seen->second;
            seen->second = i;
        }
    }
    return previous;
}

// The length of the run that the glyphs from `at` repeat (the run ending just before `at`); 0 for none.
// The nearest earlier glyph that `at` repeats decides the length.
size_t repeatedRunAt(const std::vector<const GlyphInput *> &glyphs, const std::vector<size_t> &previousSame,
                     size_t at) {
    for (size_t earlier = previousSame[at]; earlier != None && at - earlier <= LongestRepeatedRun;
         earlier = previousSame[earlier]) {
        if (!repeats(*glyphs[earlier], *glyphs[at]))
            continue;
        const size_t length = at - earlier;
        if (at + length > glyphs.size())
            return 0;
        for (size_t k = 1; k < length; ++k)
            if (!repeats(*glyphs[earlier + k], *glyphs[at + k]))
                return 0;
        return length;
    }
    return 0;
}

} // namespace

std::vector<FragmentInput> withoutRepeatedText(const std::vector<FragmentInput> &fragments,
                                               std::vector<GlyphInput> &storage) {
    std::vector<const GlyphInput *> glyphs; // in content order, over all fragments
    for (const FragmentInput &f : fragments)
        for (const GlyphInput &g : f.glyphs)
            glyphs.push_back(&g);
    const std::vector<size_t> previousSame = previousSameCharacter(glyphs);
    std::vector<bool> repeated(glyphs.size(), false);
    bool any = false;
    for (size_t at = 1; at < glyphs.size();) {
        const size_t length = repeatedRunAt(glyphs, previousSame, at);
        if (length == 0) {
            ++at;
            continue;
        }
        std::fill_n(repeated.begin() + std::ptrdiff_t(at), length, true);
        any = true;
        at += length;
    }
    if (!any)
        return fragments;
    storage.clear();
    storage.reserve(glyphs.size()); // no reallocation: the fragments view it
    std::vector<FragmentInput> result;
    size_t index = 0;
    for (const FragmentInput &f : fragments) {
        const size_t first = storage.size();
        for (const GlyphInput &g : f.glyphs)
            if (!repeated[index++])
                storage.push_back(g);
        result.push_back(
            {std::span<const GlyphInput>(storage.data() + first, storage.size() - first), f.horizontal});
    }
    return result;
}
