#include "pdf/BidiOrder.h"

#include <QChar>

#include <algorithm>

namespace {

// The classes the levels are resolved from.
enum class Kind { Left, Right, Number, Neutral };

bool isRightToLeftChar(char16_t c) {
    if (c < 0x0590) // below Hebrew nothing is right to left
        return false;
    const QChar::Direction d = QChar(c).direction();
    return d == QChar::DirR || d == QChar::DirAL;
}

Kind kindOf(char16_t c) {
    if (isRightToLeftChar(c))
        return Kind::Right;
    switch (QChar(c).direction()) {
    case QChar::DirL:
        return Kind::Left;
    case QChar::DirEN:
    case QChar::DirAN:
        return Kind::Number;
    default:
        return Kind::Neutral;
    }
}

std::vector<Kind> kindsOf(std::u16string_view text) {
    std::vector<Kind> kinds;
    kinds.reserve(text.size());
    for (char16_t c : text)
        kinds.push_back(kindOf(c));
    // A separator between two digits ("1,234", "3.5") belongs to the number.
    for (size_t i = 1; i + 1 < text.size(); ++i) {
        const QChar::Direction d = QChar(text[i]).direction();
        if ((d == QChar::DirCS || d == QChar::DirES || d == QChar::DirET) && kinds[i - 1] == Kind::Number &&
            kinds[i + 1] == Kind::Number)
            kinds[i] = Kind::Number;
    }
    return kinds;
}

// The nearest strong direction from `i` stepping by `step`, skipping what `skip` accepts; the line's own
// direction past its end.
template <class Skip> Kind nearest(const std::vector<Kind> &kinds, int i, int step, Kind base, Skip skip) {
    for (i += step; i >= 0 && i < int(kinds.size()); i += step)
        if (!skip(kinds[i]))
            return kinds[i];
    return base;
}

std::vector<int> levelsOf(const std::vector<Kind> &kinds, bool baseRightToLeft) {
    const Kind base = baseRightToLeft ? Kind::Right : Kind::Left;
    const int leftLevel = baseRightToLeft ? 2 : 0;
    const auto isWeak = [](Kind k) { return k == Kind::Number || k == Kind::Neutral; };
    // Numbers take the direction of the strong characters around them: right to left if either side is.
    std::vector<Kind> effective = kinds;
    for (int i = 0; i < int(kinds.size()); ++i)
        if (kinds[i] == Kind::Number)
            effective[i] = nearest(kinds, i, -1, base, isWeak) == Kind::Right ||
                                   nearest(kinds, i, 1, base, isWeak) == Kind::Right
                               ? Kind::Right
                               : Kind::Left;
    std::vector<int> levels(kinds.size());
    const auto isNeutral = [](Kind k) { return k == Kind::Neutral; };
    for (int i = 0; i < int(kinds.size()); ++i) {
        Kind k = effective[i];
        if (kinds[i] == Kind::Neutral) {
            // Between two characters of one direction a neutral takes it, else the line's.
            const Kind before = nearest(effective, i, -1, base, isNeutral);
            k = before == nearest(effective, i, 1, base, isNeutral) ? before : base;
        }
        if (kinds[i] == Kind::Number)
            levels[i] = k == Kind::Right ? 2 : leftLevel;
        else
            levels[i] = k == Kind::Right ? 1 : leftLevel;
    }
    return levels;
}

} // namespace

bool hasRightToLeft(std::u16string_view text) {
    return std::any_of(text.begin(), text.end(), isRightToLeftChar);
}

LogicalLine logicalOrder(std::u16string_view visual) {
    const std::vector<Kind> kinds = kindsOf(visual);
    const auto rightCount = std::count(kinds.begin(), kinds.end(), Kind::Right);
    const auto leftCount = std::count(kinds.begin(), kinds.end(), Kind::Left);
    const std::vector<int> levels = levelsOf(kinds, rightCount > leftCount);
    LogicalLine line;
    for (int i = 0; i < int(visual.size()); ++i)
        line.visualIndex.push_back(i);
    // From the highest level down to the lowest odd one, every run at that level or above is reversed.
    const int highest = levels.empty() ? 0 : *std::max_element(levels.begin(), levels.end());
    for (int level = highest; level >= 1; --level)
        for (size_t start = 0; start < levels.size();) {
            if (levels[line.visualIndex[start]] < level) {
                ++start;
                continue;
            }
            size_t end = start;
            while (end < levels.size() && levels[line.visualIndex[end]] >= level)
                ++end;
            std::reverse(line.visualIndex.begin() + start, line.visualIndex.begin() + end);
            start = end;
        }
    for (int index : line.visualIndex)
        line.rightToLeft.push_back(levels[index] % 2 == 1);
    return line;
}
