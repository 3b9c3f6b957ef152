// Citation text in the ANSI code page: what it can represent is kept, the rest becomes "?".
#include "dialogs/AnsiText.h"

#include <gtest/gtest.h>

namespace {

TEST(AnsiText, EachCharacterBecomesOneByteOrAQuestionMark) {
    const struct {
        const char *utf8;
        std::string ansi;
    } cases[] = {
        {"Pustaka, 2019.", "Pustaka, 2019."},
        {"<i>Café</i> à Ü ÿ", "<i>Caf\xE9</i> \xE0 \xDC \xFF"},
        {"\u20AC \u201Ckutip\u201D \u2014 \u2026 \u0160 \u2122", "\x80 \x93kutip\x94 \x97 \x85 \x8A \x99"},
        {"\u0101 \u4E66 \U0001F4D6 .", "? ? ? ."}, // outside the code page, also beyond 16 bits
        {"\u0081", "?"},                           // a byte value the code page leaves unassigned
    };
    for (const auto &c : cases)
        EXPECT_EQ(toAnsiText(QString::fromUtf8(c.utf8)), c.ansi) << c.utf8;
}

} // namespace
