// The e-mail and password tests of the account windows, as tables of accepted and refused texts.
#include "dialogs/InputPatterns.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char *text;
    bool accepted;
};

TEST(InputPatterns, EmailAddresses) {
    const Case cases[] = {
        {"anggota@kelvara.test", true},
        {"Rina.ONeil+buku@perpus.example.co.id", true},
        {"a!#$%&'*+-/=?^_`{|}~z@kelvara.id", true},
        {R"("rina oneil"@kelvara.id)", true},
        {R"("tanda \"kutip\""@kelvara.id)", true},
        {"anggota@[192.168.0.1]", true},
        {"anggota@[255.255.255.255]", true},
        {"anggota@[IPv6:2001:db8::1]", true},
        {"Rina O <rina@kelvara.id>", true},
        {"<rina@kelvara.id>", true},
        {"", false},
        {"tanpa-domain", false},
        {"rina@", false},
        {"rina@kelvara", false},     // no top-level domain
        {"rina@kelvara.i", false},   // top-level domain of one letter
        {" rina@kelvara.id", false}, // surrounding spaces
        {"rina@kelvara.id ", false},
        {"rina@kelvara.id\n", false},        // a line break after the address
        {".rina@kelvara.id", false},         // dot first
        {"rina..oneil@kelvara.id", false},   // two dots
        {"rina@-kelvara.id", false},         // label starting with a hyphen
        {"rina@kelvara-.id", false},         // label ending with a hyphen
        {"rina@[256.1.1.1]", false},         // octet out of range
        {"rina@[1.2.3]", false},             // three octets
        {"Rina <rina@kelvara.id", false},    // unclosed angle bracket
        {"rina@kelvara.id>", false},         // closing bracket without opening
        {"\"tanpa tutup@kelvara.id", false}, // unclosed quote
        {"rïna@kelvara.id", false},          // not ASCII
        {"rina@kelvara.id@lain.id", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(isEmailAddress(QString::fromUtf8(c.text)), c.accepted) << c.text;
}

TEST(InputPatterns, Passwords) {
    const Case cases[] = {
        {"Rahasia123", true},
        {"abcdefg1", true}, // eight, the shortest
        {"1ABCDEFG", true}, // letters of either case
        {"a1b2c3d4e5f6g7h8i9", true},
        {"12345678", false},    // digits only
        {"abcdefgh", false},    // letters only
        {"abc1234", false},     // seven
        {"Rahasia 123", false}, // a space
        {"Rahasia-123", false}, // punctuation
        {"Rahasia123!", false},
        {"Rahäsia123", false},    // a letter outside ASCII
        {"Raſasia123", false},    // one that folds to an ASCII letter
        {"abc\nabcd1234", false}, // a good line after a bad one
        {"abcd1234\n!!", false},  // a good line before a bad one
        {"", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(isStrongPassword(QString::fromUtf8(c.text)), c.accepted) << c.text;
}

} // namespace
