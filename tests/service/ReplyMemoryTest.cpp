// Decoding a reply holds no more than the decoded text beside the body it is given (a program of
// its own, as it counts every allocation through operator new).
#include "service/ReplyText.h"
#include "tests/service/AllocationPeak.h"

#include <gtest/gtest.h>

namespace {

TEST(ReplyTextMemory, DecodingHoldsAtMostTheDecodedTextBesideTheBody) {
    constexpr std::size_t size = std::size_t(16) << 20;
    constexpr std::size_t slack = std::size_t(1) << 20; // the converter and its chunk buffer
    const struct {
        const char *name;
        std::string start;
        char byte;
        std::string contentType;
        std::string decoded; // what one `byte` becomes
        bool newText;        // the decoded text needs a buffer of its own
    } cases[] = {
        {"UTF-8", "", 'a', "application/json; charset=utf-8", "a", false},
        {"UTF-8 after a byte-order mark", "\xEF\xBB\xBF", 'a', "application/json", "a", false},
        {"Latin-1", "", '\xE9', "application/json; charset=ISO-8859-1", "\xC3\xA9", true},
        {"Windows-1252", "", '\x80', "application/json; charset=windows-1252", "\xE2\x82\xAC", true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        std::string body = c.start + std::string(size, c.byte);
        const AllocationPeak watch;
        const std::string text = replyTextAsUtf8(std::move(body), c.contentType);
        const std::size_t held = watch.bytesAboveStart();
        ASSERT_EQ(text.size(), size * c.decoded.size());
        EXPECT_EQ(text.substr(0, c.decoded.size()), c.decoded);
        EXPECT_LE(held, (c.newText ? text.size() : 0) + slack);
    }
}

} // namespace
