#include "dialogs/AnsiText.h"

#include <array>

namespace {

// The characters of Windows-1252's bytes 0x80 to 0x9F; 0 where the code page has none.
constexpr std::array<char32_t, 32> HighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char ansiByte(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t i = 0; i < HighControls.size(); ++i)
        if (HighControls[i] != 0 && HighControls[i] == c)
            return static_cast<char>(0x80 + i);
    return '?';
}

} // namespace

std::string toAnsiText(const QString &text) {
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (char32_t c : text.toStdU32String())
        out += ansiByte(c);
    return out;
}
