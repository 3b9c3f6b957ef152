// Version check, institution profile, login sessions bound to a device, logout, password reset.
#include "ServiceHarness.h"

#include "devserver/Database.h"
#include "devserver/SampleContent.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace devserver;
using namespace devserver::testing;

namespace {

const SampleMember &member(std::size_t i) {
    return sampleMembers().at(i);
}

Fields versionForm(const std::string &kode = "QMT3074d18") {
    return {{"kode", kode}, {"os", "WIN"}, {"versi", "4"}};
}

} // namespace

TEST(DevServerSession, VersionPolicyChosenAtStartDecidesTheReply) {
    QTemporaryDir dir;
    struct Case {
        VersionPolicy policy;
        std::string code;
    };
    for (const Case &c : {Case{VersionPolicy::Current, "200"}, Case{VersionPolicy::Update, "300"},
                          Case{VersionPolicy::Refuse, "400"}}) {
        RunningService service(dir.path().toStdString(), c.policy, false);
        ServiceClient client(service);
        Reply reply = client.postForm("/api/wl/checkAppVersion", versionForm());
        EXPECT_EQ(reply.code(), c.code);
        EXPECT_FALSE(reply.msg().empty());
        if (c.policy == VersionPolicy::Update)
            EXPECT_EQ(reply.json.value("url", "").rfind(service.base() + "/", 0), 0u) << reply.body;
        else
            EXPECT_FALSE(reply.json.contains("url"));
    }
}

TEST(DevServerSession, VersionCheckOfAnUnknownApplicationIsRefused) {
    ServiceClient client(sharedService());
    Reply reply = client.postForm("/api/wl/checkAppVersion", versionForm("OTHERAPP"));
    EXPECT_NE(reply.code(), "200");
    EXPECT_NE(reply.code(), "300");
    EXPECT_FALSE(reply.msg().empty());
}

TEST(DevServerSession, InstitutionProfileCarriesBrandingForThisTenantOnly) {
    ServiceClient client(sharedService());
    Reply reply = client.get("/api/wl/mitra", deviceHeaders("0A0B0C0D"));
    ASSERT_EQ(reply.code(), "200") << reply.body;
    const Json &data = reply.json["data"];
    for (const char *key :
         {"warna_button_login", "warna_hover_button_login", "warna_header", "warna_hover_baca", "logo_login",
          "logo", "nama", "keterangan_intro", "daftar_pekerjaan"})
        EXPECT_FALSE(data.value(key, "").empty()) << key;
    EXPECT_EQ(data["foto_intro"].get<std::string>().rfind(sharedService().base() + "/prod/img/banner/", 0),
              0u);
    EXPECT_NE(client.get("/prod/img/logo/" + data["logo"].get<std::string>()).status, 404);

    Reply foreign = client.get("/api/wl/mitra", {{"CLIENTID", "999"}, {"OS", "WIN"}, {"UUID", "0A0B0C0D"}});
    EXPECT_NE(foreign.code(), "200");
}

TEST(DevServerSession, LoginReturnsTheSessionFieldsTheClientReads) {
    ServiceClient client(sharedService());
    Reply reply =
        client.postForm("/api/wl/executeLogin",
                        {{"user", member(0).username}, {"pass", member(0).password}, {"uuid", "11112222"}},
                        {{"OS", "WIN"}, {"CLIENTID", "338"}, {"UUID", "11112222"}});
    ASSERT_EQ(reply.code(), "200") << reply.body;
    const Json &data = reply.json["data"];
    EXPECT_EQ(data["username"], member(0).username);
    EXPECT_EQ(data["nama"], member(0).nama);
    for (const char *key : {"id_user", "level", "tgl_berakhir", "token", "photo"})
        EXPECT_FALSE(data.value(key, "").empty()) << key;
}

TEST(DevServerSession, WrongCredentialsAreRefusedWithAMessage) {
    ServiceClient client(sharedService());
    const Fields cases[] = {
        {{"user", member(0).username}, {"pass", "Salah12345"}, {"uuid", "11112222"}},
        {{"user", "nobody@kelvara.test"}, {"pass", member(0).password}, {"uuid", "11112222"}},
        {{"user", member(0).username}, {"pass", ""}, {"uuid", "11112222"}},
        {{"user", member(0).username + "' OR '1'='1"}, {"pass", "' OR '1'='1"}, {"uuid", "11112222"}},
    };
    for (const Fields &form : cases) {
        Reply reply = client.postForm("/api/wl/executeLogin", form, deviceHeaders("11112222"));
        EXPECT_NE(reply.code(), "200") << form[0].second << " / " << form[1].second;
        EXPECT_FALSE(reply.msg().empty());
        EXPECT_FALSE(reply.json.contains("data") && reply.json["data"].contains("token"));
    }
}

TEST(DevServerSession, LoginOnAnotherDeviceEndsTheFirstSession) {
    ServiceClient client(sharedService());
    httplib::Headers first = client.login(member(1).username, member(1).password, "AAAA0001");
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(client.get("/api/wl/listBanner", first).code(), "200");

    httplib::Headers second = client.login(member(1).username, member(1).password, "BBBB0002");
    ASSERT_FALSE(second.empty());
    Reply stale = client.get("/api/wl/listBanner", first);
    EXPECT_EQ(stale.code(), "500");
    EXPECT_EQ(stale.msg(), "Auth Failed");
    EXPECT_EQ(client.postForm("/api/wl/detailKonten", {{"id_konten", "1001"}}, first).msg(), "Auth Failed");
    EXPECT_EQ(client.get("/api/wl/listBanner", second).code(), "200");
}

TEST(DevServerSession, CallsWithoutAValidSessionAnswerAuthFailed) {
    ServiceClient client(sharedService());
    httplib::Headers good = client.login(member(2).username, member(2).password, "CCCC0003");
    ASSERT_FALSE(good.empty());
    auto with = [&](const std::string &name, const std::string &value) {
        httplib::Headers h = good;
        h.erase(name);
        h.emplace(name, value);
        return h;
    };
    const httplib::Headers cases[] = {
        with("KEY", ""),            // before any login
        with("KEY", "not-a-token"), // made-up key
        with("UUID", "DDDD0004"),   // key of another device
        with("CLIENTID", "339"),    // another tenant
        with("USERID", "999"),      // another member
        with("KEY", "' OR 1=1 --"), // SQL in the header
    };
    for (const httplib::Headers &headers : cases) {
        Reply reply = client.get("/api/wl/menu", headers);
        EXPECT_EQ(reply.code(), "500");
        EXPECT_EQ(reply.msg(), "Auth Failed");
    }
    EXPECT_EQ(client.get("/api/wl/menu", good).code(), "200");
}

TEST(DevServerSession, LogoutEndsTheSession) {
    ServiceClient client(sharedService());
    httplib::Headers session = client.login(member(2).username, member(2).password, "EEEE0005");
    ASSERT_FALSE(session.empty());
    const std::string userId = session.find("USERID")->second;
    EXPECT_NE(client.postForm("/api/wl/executeLogout", {{"id_user", "999"}}, session).code(), "200");
    EXPECT_EQ(client.postForm("/api/wl/executeLogout", {{"id_user", userId}}, session).code(), "200");
    EXPECT_EQ(client.get("/api/wl/listBanner", session).msg(), "Auth Failed");
}

TEST(DevServerSession, PasswordResetIsSentToTheOutboxOfKnownMembersOnly) {
    RunningService &service = sharedService();
    ServiceClient client(service);
    auto outboxFor = [&](const std::string &who) {
        return service.server()
            .database()
            .queryOne("SELECT COUNT(*) FROM outbox WHERE recipient = ? AND "
                      "subject = 'Reset Kata Sandi'",
                      {who})
            ->integer(0);
    };
    const auto before = outboxFor(member(0).username);
    Reply ok =
        client.postForm("/api/wl/forgotPassword", {{"username", member(0).username}}, deviceHeaders("01"));
    EXPECT_EQ(ok.code(), "200");
    EXPECT_EQ(outboxFor(member(0).username), before + 1);

    Reply unknown =
        client.postForm("/api/wl/forgotPassword", {{"username", "ghost@kelvara.test"}}, deviceHeaders("01"));
    EXPECT_NE(unknown.code(), "200");
    EXPECT_FALSE(unknown.msg().empty());
    EXPECT_EQ(outboxFor("ghost@kelvara.test"), 0);
}
