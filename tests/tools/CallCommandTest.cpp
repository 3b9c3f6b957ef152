// `kelvara-devtool call` against a recording server: how it prints replies and takes over a login.
#include "tests/service/RecordingHttpsServer.h"
#include "tests/tools/DevtoolRun.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

class DevtoolCall : public testing::Test {
protected:
    ToolRun call(QStringList args) {
        return runDevtool(QStringList{"call"} + args +
                          QStringList{"--base", QString::fromStdString(server.baseUrl()), "--cafile",
                                      QString::fromStdString(certificate.certificateFile())});
    }
    void answerEveryRequestWith(const std::string &body) {
        server.setResponder([body](const RecordedRequest &) {
            CannedReply reply;
            reply.body = body;
            return reply;
        });
    }

    TestCertificate certificate;
    RecordingHttpsServer server{certificate};
};

std::string nested(int depth) {
    return R"({"code":"200","data":)" + std::string(depth, '[') + std::string(depth, ']') + "}";
}

// A reply nested far deeper than the client reads is refused by the service client, like a reply that is
// no JSON object: the tool prints the client's made-up failure reply.
TEST_F(DevtoolCall, PrintsADeepReplyOrTheRefusalOfAnExcessiveOne) {
    const struct {
        int depth;
        bool printed;
    } cases[] = {{100, true}, {100000, false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.depth);
        answerEveryRequestWith(nested(c.depth));
        const ToolRun run = call({"BannerRequest"});
        ASSERT_FALSE(run.crashed);
        if (c.printed) {
            EXPECT_EQ(run.exitCode, 0);
            EXPECT_EQ(nlohmann::json::parse(run.out, nullptr, false), nlohmann::json::parse(nested(c.depth)));
        } else {
            EXPECT_EQ(run.exitCode, 1);
            const nlohmann::json printed = nlohmann::json::parse(run.out, nullptr, false);
            EXPECT_EQ(printed.value("code", ""), "500") << run.out;
            EXPECT_NE(printed.value("msg", "").find("not a JSON object"), std::string::npos) << run.out;
        }
    }
}

TEST_F(DevtoolCall, ALoginReplyIsTakenOverLikeTheClientDoes) {
    const struct {
        const char *name;
        std::string loginReply;
        std::string key, userId, level;
    } cases[] = {
        {"a session", R"({"code":"200","data":{"id_user":"U7","token":"tok","level":2}})", "tok", "U7", "2"},
        {"no data", R"({"code":"200","msg":"OK"})", "", "", ""},
        {"data not an object", R"({"code":"200","data":"U7"})", "", "", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const std::string loginReply = c.loginReply;
        server.setResponder([loginReply](const RecordedRequest &request) {
            CannedReply reply;
            if (request.target == "/api/wl/executeLogin")
                reply.body = loginReply;
            return reply;
        });
        const size_t before = server.requests().size();
        const ToolRun run = call({"BannerRequest", "--login", "ani", "rahasia"});
        ASSERT_FALSE(run.crashed) << run.err;
        EXPECT_EQ(run.exitCode, 0) << run.err;
        const auto sent = server.requests();
        ASSERT_EQ(sent.size(), before + 2);
        const RecordedRequest &banner = sent.back();
        EXPECT_EQ(banner.target, "/api/wl/listBanner");
        EXPECT_EQ(banner.header("KEY"), c.key);
        EXPECT_EQ(banner.header("USERID"), c.userId);
        EXPECT_EQ(banner.header("USERLEVEL"), c.level);
    }
}

} // namespace
