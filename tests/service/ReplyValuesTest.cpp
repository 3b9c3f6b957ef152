// Reading numbers out of the service's replies: whatever the service sends, an int comes out.
#include "service/ReplyValues.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr int Most = std::numeric_limits<int>::max();
constexpr int Least = std::numeric_limits<int>::min();

TEST(ReplyNumbers, BecomeIntsWithoutOverflowWhateverTheirSizeKindOrText) {
    const struct {
        const char *json; // the value of "count" in a reply
        int expected;
    } cases[] = {
        {"12", 12},
        {"-3", -3},
        {"0", 0},
        {"2147483647", Most},
        {"2147483648", Most},
        {"-2147483649", Least},
        {"1e10", Most},
        {"-1e300", Least},
        {"18446744073709551615", Most},
        {"-9223372036854775808", Least},
        {"12.7", 12},
        {"-12.7", -12},
        {"2147483647.9", Most},
        {"0.5", 0},
        {"\"42\"", 42},
        {"\"-42\"", -42},
        {"\"12.7\"", 12},
        {"\"1e10\"", Most},
        {"\"99999999999999999999\"", Most},
        {"\"-99999999999999999999\"", Least},
        {"\"1e999\"", Most},
        {"\"-1e999\"", Least},
        {"\"1e-999\"", 0},
        {"\"7 buku\"", 7},
        {"\"banyak\"", 0},
        {"\"\"", 0},
        {"null", 0},
        {"true", 0},
        {"[5]", 0},
        {"{\"n\":5}", 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.json);
        const JsonPtr reply = std::make_shared<const JsonDocument>(
            JsonDocument::parse(std::string(R"({"count":)") + c.json + "}"));
        EXPECT_EQ(replyInt(reply, "count"), c.expected);
    }
}

TEST(ReplyNumbers, AMissingKeyOrDocumentReadsAsZero) {
    const JsonPtr reply = std::make_shared<const JsonDocument>(JsonDocument::parse(R"({"total":3})"));
    EXPECT_EQ(replyInt(reply, "count"), 0);
    EXPECT_EQ(replyInt(JsonPtr(), "count"), 0);
    EXPECT_EQ(replyInt(reply, "total"), 3);
}

// A refusal whose "msg" says nothing is still shown in words, with its code; a success keeps its own.
TEST(ReplyMessage, ARefusalWithoutWordsSaysSoAndGivesItsCode) {
    const struct {
        const char *json;
        const char *expected;
    } cases[] = {
        {R"({"code":"500","msg":"Buku tidak tersedia"})", "Buku tidak tersedia"},
        {R"({"code":"401","msg":null})", "Balasan layanan tidak memuat \"msg\" (kode 401)"},
        {R"({"code":"500"})", "Balasan layanan tidak memuat \"msg\" (kode 500)"},
        {R"({"code":"500","msg":"  "})", "Balasan layanan tidak memuat \"msg\" (kode 500)"},
        {R"({"code":403,"msg":""})", "Balasan layanan tidak memuat \"msg\" (kode 403)"},
        {R"({"code":"200","msg":null})", ""},
        {R"({"code":"200","msg":"Buku dikembalikan"})", "Buku dikembalikan"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.json);
        const JsonPtr reply = std::make_shared<const JsonDocument>(JsonDocument::parse(c.json));
        EXPECT_EQ(replyMessage(reply), QString::fromUtf8(c.expected));
    }
}

} // namespace
