#include "service/ReplyEnvelope.h"
#include "service/ReplyText.h"
#include "service/ServiceCall.h"

#include <gtest/gtest.h>

TEST(MadeUpReply, CarriesPrefixAndFailureAndSurvivesAWriteAndReadBack) {
    const std::string failures[] = {"plain",
                                    "said \"no\"",
                                    "line one\nline two\r\n",
                                    "back\\slash\ttab",
                                    std::string("nul\0byte", 8),
                                    "bad utf-8 \xC3\x28"};
    for (const std::string &failure : failures) {
        const JsonPtr reply = madeUpReply("#457 ", failure);
        const JsonDocument back = JsonDocument::parse(reply->dump());
        EXPECT_EQ(back["code"], "500");
        const std::string msg = back["msg"];
        EXPECT_EQ(msg.rfind("#457 ", 0), 0u) << msg;
        if (failure.find('\xC3') == std::string::npos) {
            EXPECT_EQ(msg, "#457 " + failure);
        }
        EXPECT_EQ(back.begin().key(), "code"); // "code" first, then "msg"
    }
}

// Which exchanges give a usable reply: a completed one below status 400 whose body is a JSON object nested
// no deeper than the client reads (one nested far deeper could not be written out again).
TEST(ReplyFailure, OnlyAJsonObjectOfAFinishedExchangeIsAReply) {
    const auto nested = [](int depth) {
        return R"({"code":"200","data":)" + std::string(size_t(depth), '[') +
               std::string(size_t(depth), ']') + "}";
    };
    const struct {
        const char *name;
        HttpResponse response;
        bool usable;
    } cases[] = {
        {"an object", {"", 200, R"({"code":"200"})", "application/json"}, true},
        {"nested as deep as read", {"", 200, nested(200), "application/json"}, true},
        {"nested far deeper", {"", 200, nested(100'000), "application/json"}, false},
        {"an array", {"", 200, "[1]", "application/json"}, false},
        {"an HTML page", {"", 200, "<html></html>", "text/html"}, false},
        {"status 500", {"", 500, R"({"code":"200"})", "application/json"}, false},
        {"no exchange", {"time-out", 0, "", ""}, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        JsonDocument parsed;
        const std::string failure = replyFailure(c.response, parsed);
        EXPECT_EQ(failure.empty(), c.usable) << failure;
        if (c.usable) {
            EXPECT_TRUE(parsed.is_object());
        }
    }
}

TEST(ReplyEnvelope, ReadsMissingAndOddValuesLeniently) {
    const JsonDocument reply = JsonDocument::parse(
        R"({"code":200,"s":"12","f":1.5,"n":null,"a":[1],"o":{"x":1},"t":true,"bad":"12x","big":1e300})");
    EXPECT_EQ(jsonText(reply, "code"), "200");
    EXPECT_TRUE(isSuccessReply(reply)); // a numeric 200 reads as the text "200"
    EXPECT_EQ(jsonText(reply, "missing"), "");
    EXPECT_EQ(jsonText(reply, "n"), "");
    EXPECT_EQ(jsonText(reply, "a"), "");
    EXPECT_EQ(jsonText(reply, "o"), "");
    EXPECT_EQ(jsonText(reply, "t"), "true");
    EXPECT_EQ(jsonText(reply, "f"), "1.5");
    EXPECT_EQ(jsonInt(reply, "s"), 12);
    EXPECT_EQ(jsonInt(reply, "code"), 200);
    EXPECT_EQ(jsonInt(reply, "bad"), 0);
    EXPECT_EQ(jsonInt(reply, "missing"), 0);
    EXPECT_EQ(jsonInt(reply, "big"), 0);
    EXPECT_EQ(jsonText(JsonDocument::array(), "code"), "");
}

TEST(ReplyEnvelope, OnlyExactly200Succeeds) {
    for (const char *code : {R"("200 ")", R"("2000")", R"("300")", R"("500")", "null", R"("")"})
        EXPECT_FALSE(isSuccessReply(JsonDocument::parse(std::string(R"({"code":)") + code + "}"))) << code;
    EXPECT_FALSE(isSuccessReply(JsonDocument::parse("{}")));
    EXPECT_TRUE(isSuccessReply(JsonDocument::parse(R"({"code":"200"})")));
}

TEST(ReplyText, DecodesTheDeclaredCharacterSet) {
    EXPECT_EQ(declaredCharset("application/json; Charset=\"ISO-8859-1\"; x=y"), "iso-8859-1");
    EXPECT_EQ(declaredCharset("application/json"), "");
    EXPECT_EQ(replyTextAsUtf8("caf\xE9", "text/plain; charset=iso-8859-1"), "caf\xC3\xA9");
    EXPECT_EQ(replyTextAsUtf8("caf\xC3\xA9", "application/json; charset=utf-8"), "caf\xC3\xA9");
    EXPECT_EQ(replyTextAsUtf8("\xEF\xBB\xBF{}", "application/json"), "{}");
    EXPECT_EQ(replyTextAsUtf8("{}", "application/json; charset=no-such-set"), "{}");
}
