#include "web/AppFunctions.h"
#include "web/AppReceiver.h"
#include <QJsonArray>
#include <gtest/gtest.h>

namespace {
using Args = std::vector<AppCallValue>;
using Out = std::vector<ProcessArgument>;
const AppCallValue none = std::monostate{};

struct CallCase {
    const char *function;
    Args args;
    std::optional<ProcessMessage> expected;
};

ProcessMessage msg(const char *name, Out args) {
    return {name, std::move(args)};
}

class AppCall : public ::testing::TestWithParam<CallCase> {};

TEST_P(AppCall, BecomesItsMessageOrNothing) {
    const CallCase &c = GetParam();
    EXPECT_EQ(appCallMessage(c.function, c.args), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, AppCall,
    ::testing::Values(
        CallCase{"executeLogin", {"ani@x.id", "rahasia"}, msg("login", {"ani@x.id", "rahasia"})},
        CallCase{"forgotPass", {}, msg("forgotPass", {"forgotPass"})},
        CallCase{"forgotPassRequest", {"a@b.c"}, msg("forgotPassRequest", {"a@b.c"})},
        CallCase{"loadMore", {}, msg("loadMore", {})},
        CallCase{"homeDetail", {"12", "Terbaru"}, msg("homeDetail", {"12", "Terbaru"})},
        CallCase{"changeDept", {"3", "Teknik"}, msg("changeDept", {"3", "Teknik"})},
        CallCase{
            "kategoriKonten", {"41", "1", "7", "Fisika"}, msg("kategoriKonten", {"7", "41", "1", "Fisika"})},
        CallCase{"subKategoriKonten",
                 {"88", "1", "7", "Optik"},
                 msg("subKategoriKonten", {"7", "88", "1", "Optik"})},
        CallCase{"detailFromChart", {"5"}, msg("detailFromChart", {"5"})},
        CallCase{"loadMoreChart", {2.0}, msg("loadMoreChart", {2})},
        CallCase{"loadMoreLastRead", {-3.0}, msg("loadMoreLastRead", {-3})},
        CallCase{"loadMoreLastView", {2147483647.0}, msg("loadMoreLastView", {2147483647})},
        CallCase{"searching", {"cahaya", "Kalimat"}, msg("searching", {"cahaya", "Kalimat", 1})},
        CallCase{"searchResult", {"cahaya", "Kalimat", 1.0}, msg("searching", {"cahaya", "Kalimat", 1})},
        CallCase{"searchResult", {"cahaya", "Semua", 4.0}, msg("searching", {"cahaya", "Semua", 4})},
        CallCase{"openBanner", {"https://x.id/promo"}, msg("openBanner", {"https://x.id/promo"})},
        CallCase{"registerPage", {}, msg("register", {})},
        CallCase{"bacaKalimat", {"9", "14"}, msg("bacaKalimat", {"9", "14"})},
        CallCase{"logout", {}, msg("logout", {})},
        // Wrong counts, wrong kinds, out-of-range integers, unknown names: nothing.
        CallCase{"detail", {}, std::nullopt}, CallCase{"detail", {"1", "2"}, std::nullopt},
        CallCase{"back", {"1"}, std::nullopt}, CallCase{"detail", {none}, std::nullopt},
        CallCase{"detail", {5.0}, std::nullopt}, CallCase{"loadMoreChart", {"2"}, std::nullopt},
        CallCase{"loadMoreChart", {2.5}, std::nullopt},
        CallCase{"loadMoreChart", {2147483648.0}, std::nullopt},
        CallCase{"loadMoreChart", {-2147483649.0}, std::nullopt},
        CallCase{"loadMoreChart", {std::numeric_limits<double>::quiet_NaN()}, std::nullopt},
        CallCase{"loadMoreChart", {std::numeric_limits<double>::infinity()}, std::nullopt},
        CallCase{"searchResult", {"k", "Semua", none}, std::nullopt},
        CallCase{"launchMissiles", {}, std::nullopt}, CallCase{"toString", {}, std::nullopt}));

TEST(AppFunctionTable, EveryMessageArgumentComesFromAParameterOrAFixedValue) {
    for (const AppFunction &f : appFunctions()) {
        SCOPED_TRACE(std::string(f.function));
        for (const AppMessageArg &arg : f.args)
            EXPECT_LT(arg.param, static_cast<int>(f.params.size()));
        EXPECT_EQ(std::count_if(appFunctions().begin(), appFunctions().end(),
                                [&](const AppFunction &g) { return g.function == f.function; }),
                  1);
    }
    EXPECT_EQ(appFunctions().size(), 35u);
}

TEST(AppReceiver, EmitsOnlyWhileThePageMayCall) {
    bool allowed = false;
    AppReceiver receiver([&] { return allowed; });
    std::vector<ProcessMessage> received;
    QObject::connect(&receiver, &AppReceiver::messageReceived,
                     [&](const ProcessMessage &m) { received.push_back(m); });

    receiver.call("detail", QJsonArray{"17"});
    EXPECT_TRUE(received.empty());

    allowed = true;
    receiver.call("detail", QJsonArray{"17"});
    receiver.call("loadMoreChart", QJsonArray{2});
    receiver.call("loadMoreChart", QJsonArray{true});
    receiver.call("detail", QJsonArray{QJsonValue::Null});
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0], msg("detail", {"17"}));
    EXPECT_EQ(received[1], msg("loadMoreChart", {2}));
    EXPECT_EQ(received[1].integer(0), 2);
    EXPECT_EQ(received[1].text(0), "");
    EXPECT_EQ(received[0].integer(5), 0);
}
} // namespace
