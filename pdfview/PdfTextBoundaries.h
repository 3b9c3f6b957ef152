#pragma once
#include <string_view>

// Word and line extents inside a page's text (UTF-16 units, as the engine counts characters).
struct TPdfTextRange {
    int First = 0;
    int Last = 0; // inclusive
};

// The word at or after `index`: skips white space forwards, then extends to the nearest white space on
// each side. False for an index outside the text or when only white space follows.
bool findWordAt(std::u16string_view text, int index, TPdfTextRange &word);

// The line holding `index`: extends to the nearest line feed or carriage return on each side.
// False for an index outside the text.
bool findLineAt(std::u16string_view text, int index, TPdfTextRange &line);
