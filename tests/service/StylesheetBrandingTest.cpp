#include "service/StylesheetBranding.h"
#include "service/ReplyEnvelope.h"
#include "tests/service/ServiceTestBed.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

const JsonDocument profile = JsonDocument::parse(
    R"({"code":"200","data":{"warna_button_login":"#123456","warna_hover_button_login":"#abcdef"}})");

TEST(Branding, ReplacesExactPlaceholdersInLinesThatContainThemInAnyCase) {
    const struct {
        std::string in;
        std::string out;
    } cases[] = {
        {"a{color:[WARNA_BUTTON_LOGIN];}", "a{color:#123456;}"},
        {"[WARNA_BUTTON_LOGIN] [WARNA_BUTTON_LOGIN]", "#123456 #123456"},
        {"b:[WARNA_HOVER_BUTTON_LOGIN]", "b:#abcdef"},
        {"[WARNA_BUTTON_LOGIN]/[WARNA_HOVER_BUTTON_LOGIN]", "#123456/#abcdef"},
        {"[warna_button_login] only in lower case", "[warna_button_login] only in lower case"},
        {"[Warna_Button_Login] and [WARNA_BUTTON_LOGIN]", "[Warna_Button_Login] and #123456"},
        {"line one [WARNA_BUTTON_LOGIN]\r\nline two\n", "line one #123456\r\nline two\n"},
        {"", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(brandedStylesheet(c.in, profile), c.out) << c.in;
}

TEST(Branding, AProfileWithoutColoursEmptiesThePlaceholders) {
    EXPECT_EQ(brandedStylesheet("x:[WARNA_BUTTON_LOGIN];", JsonDocument::parse(R"({"code":"200"})")), "x:;");
    EXPECT_EQ(
        brandedStylesheet("x:[WARNA_BUTTON_LOGIN];", JsonDocument::parse(R"({"code":"200","data":[]})")),
        "x:;");
}

class ClientProfile : public testing::Test {
protected:
    void SetUp() override { bed.lib.checkDataFolder(); }
    QByteArray stylesheet() const {
        QFile file(QString::fromStdString(bed.lib.FPath + "/css/style.css"));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }
    void answerWith(const std::string &code) {
        bed.server.setResponder([code](const RecordedRequest &) {
            return jsonReply(200, R"({"code":")" + code +
                                      R"(","msg":"m","data":{"warna_button_login":"#0a0b0c",)"
                                      R"("warna_hover_button_login":"#0d0e0f"}})");
        });
    }
    ServiceTestBed bed;
};

TEST_F(ClientProfile, AProfileWithCode500LeavesTheStylesheetUntouched) {
    const QByteArray before = stylesheet();
    ASSERT_TRUE(before.contains("[WARNA_BUTTON_LOGIN]"));
    answerWith("500");
    const JsonPtr reply = bed.lib.getClientJson();
    EXPECT_EQ(stylesheet(), before);
    EXPECT_EQ(jsonText(*reply, "msg"), "m");
    EXPECT_EQ(bed.lib.FClientJson.load(), reply);
}

TEST_F(ClientProfile, AnyOtherCodeAppliesTheColours) {
    for (const std::string code : {"200", "401"}) {
        bed.lib.checkDataFolder();
        answerWith(code);
        const JsonPtr reply = bed.lib.getClientJson();
        const QByteArray after = stylesheet();
        EXPECT_FALSE(after.contains("[WARNA_BUTTON_LOGIN]")) << code;
        EXPECT_FALSE(after.contains("[WARNA_HOVER_BUTTON_LOGIN]")) << code;
        EXPECT_TRUE(after.contains("#0a0b0c")) << code;
        EXPECT_TRUE(after.contains("#0d0e0f")) << code;
        EXPECT_EQ(jsonText(*reply, "code"), code);
        EXPECT_EQ(bed.lib.FClientJson.load(), reply);
    }
}

TEST_F(ClientProfile, AMissingStylesheetMakesTheMadeUpReply) {
    ASSERT_TRUE(QFile::remove(QString::fromStdString(bed.lib.FPath + "/css/style.css")));
    answerWith("200");
    const JsonPtr reply = bed.lib.getClientJson();
    EXPECT_EQ(jsonText(*reply, "code"), "500");
    EXPECT_EQ(jsonText(*reply, "msg").rfind("#355 Cannot read ", 0), 0u) << reply->dump();
    EXPECT_EQ(bed.lib.FClientJson.load(), reply);
}

} // namespace
