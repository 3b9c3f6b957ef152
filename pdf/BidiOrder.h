#pragma once
// The reading (logical) order of one line of text given in its order on the page (visual, left to right):
// runs of right-to-left script are reversed back, numbers and left-to-right words inside them keep their
// own order, following the levels of the Unicode bidirectional algorithm in a simplified form (no explicit
// embeddings; the line's direction is that of most of its strong characters).

#include <string_view>
#include <vector>

struct LogicalLine {
    std::vector<int> visualIndex;  // per reading position, the index of its character in the visual line
    std::vector<bool> rightToLeft; // per reading position, whether it lies in a right-to-left run (mirrored)
};

// Whether the text holds a character of a right-to-left script.
bool hasRightToLeft(std::u16string_view text);

LogicalLine logicalOrder(std::u16string_view visual);
