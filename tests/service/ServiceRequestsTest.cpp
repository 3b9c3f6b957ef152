#include "service/ReplyEnvelope.h"
#include "tests/service/ServiceTestBed.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

namespace {

enum class Headers { Full, Device, Login, None };

struct EndpointCase {
    const char *name;
    std::function<JsonPtr(TRuvasaLib &)> call;
    const char *verb;
    const char *path;
    std::string body;
    Headers headers;
    const char *failurePrefix;
    const char *contentType;
};

const char *form = "application/x-www-form-urlencoded";
const char *json = "application/json; charset=utf-8";

std::vector<EndpointCase> endpointCases(const std::string &uuid, const std::string &userId) {
    return {
        {"checkAppVersionRequest", [](TRuvasaLib &l) { return l.checkAppVersionRequest(); }, "POST",
         "/api/wl/checkAppVersion", "kode=QMT3074d18&os=WIN&versi=4", Headers::None, "#301 ", form},
        {"getClientJson", [](TRuvasaLib &l) { return l.getClientJson(); }, "GET", "/api/wl/mitra", "",
         Headers::Device, "#355 ", ""},
        {"LoginRequest", [](TRuvasaLib &l) { return l.LoginRequest("a b&c=d", "p\xC3\xA4ss wort"); }, "POST",
         "/api/wl/executeLogin", "user=a+b%26c%3Dd&pass=p%C3%A4ss+wort&uuid=" + uuid, Headers::Login,
         " #387 ", form},
        {"BannerRequest", [](TRuvasaLib &l) { return l.BannerRequest(); }, "GET", "/api/wl/listBanner", "",
         Headers::Full, "#410 ", ""},
        {"CategoryRequest", [](TRuvasaLib &l) { return l.CategoryRequest(); }, "GET", "/api/wl/menu", "",
         Headers::Full, "#431 ", ""},
        {"HomeRequest", [](TRuvasaLib &l) { return l.HomeRequest(3); }, "POST", "/api/wl/listHomepage",
         "page=3&limit=10", Headers::Full, "#457 ", form},
        {"HomeDetailRequest", [](TRuvasaLib &l) { return l.HomeDetailRequest("7"); }, "POST",
         "/api/wl/listHomepageDetail", "id_homepage=7&page=1", Headers::Full, "#484 ", form},
        {"CategoryContentRequest", [](TRuvasaLib &l) { return l.CategoryContentRequest("D1", "K 2"); },
         "POST", "/api/wl/listContentCategory", "id_dept=D1&id_kategori=K+2", Headers::Full, "#512 ", form},
        {"SubCategoryContentRequest", [](TRuvasaLib &l) { return l.SubCategoryContentRequest("D1", "S3"); },
         "POST", "/api/wl/listContentSubCategory", "id_dept=D1&id_sub_kategori=S3", Headers::Full, "#540 ",
         form},
        {"ChartContentRequest topRead", [](TRuvasaLib &l) { return l.ChartContentRequest("topRead", 2); },
         "POST", "/api/wl/listTopRead", "page=2", Headers::Full, "#527 ", form},
        {"ChartContentRequest lastRead", [](TRuvasaLib &l) { return l.ChartContentRequest("lastRead", 1); },
         "POST", "/api/wl/listLastRead", "page=1", Headers::Full, "#527 ", form},
        {"ChartContentRequest lastView", [](TRuvasaLib &l) { return l.ChartContentRequest("lastView", 4); },
         "POST", "/api/wl/listLastView", "page=4", Headers::Full, "#527 ", form},
        {"DetailContentRequest", [](TRuvasaLib &l) { return l.DetailContentRequest("K-9"); }, "POST",
         "/api/wl/detailKonten", "id_konten=K-9", Headers::Full, "", form},
        {"SearchContentRequest",
         [](TRuvasaLib &l) { return l.SearchContentRequest("penulis", "Ani & Budi", 2); }, "POST",
         "/api/wl/searching", "page=2&keyword=Ani+%26+Budi&field=penulis", Headers::Full, "", form},
        {"SearchKalimatRequest", [](TRuvasaLib &l) { return l.SearchKalimatRequest("kata=kunci", 1); },
         "POST", "/api/wl/searchingKalimat", "page=1&keyword=kata%3Dkunci", Headers::Full, "", form},
        {"ReadPermissionRequest", [](TRuvasaLib &l) { return l.ReadPermissionRequest("55"); }, "POST",
         "/api/wl/requestBaca", "id_konten=55", Headers::Full, "", form},
        {"BookReturnRequest", [](TRuvasaLib &l) { return l.BookReturnRequest("B1", "K2", 12); }, "POST",
         "/api/wl/bookReturn", "id_konten=K2&id_baca=B1&page_index=12", Headers::Full, "", form},
        {"SaveAnnotationRequest",
         [](TRuvasaLib &l) {
             return l.SaveAnnotationRequest("{\n  \"id_konten\": \"K2\", \"data\": [\"\xC3\xA9\"]\n}");
         },
         "POST", "/api/wl/saveAnotasi", "{\n  \"id_konten\": \"K2\", \"data\": [\"\xC3\xA9\"]\n}",
         Headers::Full, "", json},
        {"SaveCopyText", [](TRuvasaLib &l) { return l.SaveCopyText(R"({"id_konten":"K2","data":[]})"); },
         "POST", "/api/wl/copyText", R"({"id_konten":"K2","data":[]})", Headers::Full, "", json},
        {"ForgotPasswordRequest", [](TRuvasaLib &l) { return l.ForgotPasswordRequest("ani@x.id"); }, "POST",
         "/api/wl/forgotPassword", "username=ani%40x.id", Headers::Device, "", form},
        {"UpdateReadStatusRequest", [](TRuvasaLib &l) { return l.UpdateReadStatusRequest("B1", 0); }, "POST",
         "/api/wl/updateReadStatus", "id_baca=B1&status=0", Headers::Full, "", form},
        {"Logoutrequest", [](TRuvasaLib &l) { return l.Logoutrequest(); }, "POST", "/api/wl/executeLogout",
         "id_user=" + userId, Headers::Full, "", form},
    };
}

HeaderPairs expectedHeaders(Headers set, const std::string &uuid, const std::string &key,
                            const std::string &userId, const std::string &level) {
    switch (set) {
    case Headers::Full:
        return {{"CLIENTID", "338"}, {"OS", "WIN"},      {"UUID", uuid},
                {"KEY", key},        {"USERID", userId}, {"USERLEVEL", level}};
    case Headers::Device:
        return {{"CLIENTID", "338"}, {"OS", "WIN"}, {"UUID", uuid}};
    case Headers::Login:
        return {{"OS", "WIN"}, {"CLIENTID", "338"}, {"UUID", uuid}};
    case Headers::None:
        break;
    }
    return {};
}

class ServiceRequests : public testing::Test {
protected:
    static void SetUpTestSuite() { bed = new ServiceTestBed; }
    static void TearDownTestSuite() { delete bed; }
    void SetUp() override {
        bed->server.setResponder(nullptr);
        bed->lib.FToken = "";
        bed->lib.FUserId = "";
        bed->lib.FUserLevel = "";
    }

    // Makes every call of the catalogue and checks what reached the server.
    void expectEveryCallAsSent(const std::string &key, const std::string &userId, const std::string &level) {
        TRuvasaLib &lib = bed->lib;
        lib.checkDataFolder(); // another client of this run may have removed the shared data folder
        for (const EndpointCase &c : endpointCases(lib.DevUUID, userId)) {
            SCOPED_TRACE(c.name);
            const size_t before = bed->server.requests().size();
            const JsonPtr reply = c.call(lib);
            ASSERT_TRUE(reply);
            EXPECT_EQ(jsonText(*reply, "code"), "200") << reply->dump();
            const auto sent = bed->requestsAfter(before);
            ASSERT_EQ(sent.size(), 1u);
            EXPECT_EQ(sent[0].method, c.verb);
            EXPECT_EQ(sent[0].target, c.path);
            EXPECT_EQ(sent[0].body, c.body);
            EXPECT_EQ(sent[0].header("Content-Type"), c.contentType);
            EXPECT_EQ(customHeaders(sent[0]), expectedHeaders(c.headers, lib.DevUUID, key, userId, level));
        }
    }

    static ServiceTestBed *bed;
};

ServiceTestBed *ServiceRequests::bed = nullptr;

TEST_F(ServiceRequests, BeforeALoginEveryCallSendsItsRequestWithTheLastThreeHeadersEmpty) {
    expectEveryCallAsSent("", "", "");
}

TEST_F(ServiceRequests, AfterALoginTheSessionHeadersCarryTheSession) {
    bed->lib.FToken = "t0k en";
    bed->lib.FUserId = "U7";
    bed->lib.FUserLevel = "2";
    expectEveryCallAsSent("t0k en", "U7", "2");
}

TEST_F(ServiceRequests, AnUnreachableServiceGivesEachMethodItsMadeUpReply) {
    TRuvasaLib unreachable(ServiceEndpoint{"https://127.0.0.1:" + std::to_string(closedPort()), {}});
    for (const EndpointCase &c : endpointCases(unreachable.DevUUID, "")) {
        SCOPED_TRACE(c.name);
        const JsonPtr reply = c.call(unreachable);
        ASSERT_TRUE(reply);
        EXPECT_EQ(jsonText(*reply, "code"), "500");
        const std::string msg = jsonText(*reply, "msg");
        EXPECT_EQ(msg.rfind(c.failurePrefix, 0), 0u) << msg;
        EXPECT_GT(msg.size(), std::string(c.failurePrefix).size()) << "the failure text follows the prefix";
        if (std::string(c.failurePrefix).empty()) {
            EXPECT_EQ(msg.find('#'), std::string::npos) << msg;
        }
    }
    EXPECT_EQ(jsonText(*unreachable.FClientJson.load(), "msg").rfind("#355 ", 0), 0u);
}

TEST_F(ServiceRequests, ErrorStatusesAndBodiesThatAreNotObjectsBecomeMadeUpReplies) {
    const struct {
        int status;
        std::string body;
        bool passesThrough;
    } cases[] = {
        {500, R"({"code":"200","msg":"OK"})", false},
        {404, "Not here", false},
        {400, R"({"code":"400"})", false},
        {200, "<html><body>Gateway</body></html>", false},
        {200, "[1,2,3]", false},
        {200, "", false},
        {200, "\"text\"", false},
        {200, R"({"code":"200","msg":"OK"} trailing)", false},
        {200, R"({"code":"500","msg":"Auth Failed"})", true},
        {201, R"({"code":"200","data":{"x":1}})", true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.body);
        bed->server.setResponder([&](const RecordedRequest &) { return jsonReply(c.status, c.body); });
        const JsonPtr reply = bed->lib.HomeRequest(1);
        if (c.passesThrough) {
            EXPECT_EQ(*reply, JsonDocument::parse(c.body));
        } else {
            EXPECT_EQ(jsonText(*reply, "code"), "500");
            EXPECT_EQ(jsonText(*reply, "msg").rfind("#457 ", 0), 0u) << reply->dump();
        }
    }
}

TEST_F(ServiceRequests, AnHttpErrorNamesItsStatus) {
    bed->server.setResponder([](const RecordedRequest &) { return jsonReply(503, "{}"); });
    EXPECT_EQ(jsonText(*bed->lib.DetailContentRequest("1"), "msg"), "HTTP error 503");
}

TEST_F(ServiceRequests, RedirectsAreNotFollowed) {
    bed->server.setResponder([](const RecordedRequest &request) {
        CannedReply reply = jsonReply(302, R"({"code":"302","msg":"moved"})");
        if (request.target == "/api/wl/menu")
            reply.headers.emplace_back("Location", "/elsewhere");
        return reply;
    });
    const size_t before = bed->server.requests().size();
    const JsonPtr reply = bed->lib.CategoryRequest();
    EXPECT_EQ(jsonText(*reply, "code"), "302");
    ASSERT_EQ(bed->requestsAfter(before).size(), 1u);
}

TEST_F(ServiceRequests, AnUnknownChartKindSendsNothing) {
    const size_t before = bed->server.requests().size();
    const JsonPtr reply = bed->lib.ChartContentRequest("topread", 1);
    EXPECT_EQ(jsonText(*reply, "code"), "500");
    EXPECT_EQ(jsonText(*reply, "msg"), "#527 Unknown chart type: topread");
    EXPECT_TRUE(bed->requestsAfter(before).empty());
}

TEST_F(ServiceRequests, AnUntrustedCertificateIsAFailedCallThatSaysSo) {
    TRuvasaLib trustingNobody(ServiceEndpoint{bed->server.baseUrl(), {}});
    const size_t before = bed->server.requests().size();
    const JsonPtr reply = trustingNobody.HomeRequest(1);
    EXPECT_EQ(jsonText(*reply, "code"), "500");
    const QString msg = QString::fromStdString(jsonText(*reply, "msg"));
    EXPECT_TRUE(msg.startsWith("#457 ")) << msg.toStdString();
    EXPECT_TRUE(msg.contains("certificate", Qt::CaseInsensitive)) << msg.toStdString();
    EXPECT_TRUE(bed->requestsAfter(before).empty()) << "nothing may be sent over an unverified connection";
}

TEST_F(ServiceRequests, AReplyOverTheSizeLimitIsAFailedCall) {
    bed->server.setResponder([](const RecordedRequest &) {
        return jsonReply(200, "{\"code\":\"200\",\"msg\":\"" + std::string(65 * 1024 * 1024, 'x') + "\"}");
    });
    const JsonPtr reply = bed->lib.HomeRequest(1);
    EXPECT_EQ(jsonText(*reply, "code"), "500");
    EXPECT_EQ(jsonText(*reply, "msg"), "#457 Reply larger than 67108864 bytes");
}

TEST_F(ServiceRequests, TheReplyIsDecodedFromItsDeclaredCharacterSet) {
    bed->server.setResponder([](const RecordedRequest &) {
        CannedReply reply = jsonReply(200, "{\"code\":\"200\",\"msg\":\"Selamat membaca, Andr\xE9\"}");
        reply.headers = {{"Content-Type", "application/json; charset=ISO-8859-1"}};
        return reply;
    });
    EXPECT_EQ(jsonText(*bed->lib.BannerRequest(), "msg"), "Selamat membaca, Andr\xC3\xA9");
}

TEST_F(ServiceRequests, KeysKeepTheServiceOrder) {
    bed->server.setResponder([](const RecordedRequest &) {
        return jsonReply(200, R"({"msg":"m","data":{"z":1,"a":2},"code":"200"})");
    });
    EXPECT_EQ(bed->lib.BannerRequest()->dump(), R"({"msg":"m","data":{"z":1,"a":2},"code":"200"})");
}

// Two members' sessions, every value different, so a mixed set of headers shows.
const SessionValues memberA{"Ani", "ani", "2", "2026-01-31", std::string(200, 'a'), "ani.jpg", "U-ani"};
const SessionValues memberB{"Budi", "budi", "1", "2027-02-28", std::string(300, 'b'), "", "U-budi"};

// Switches the session between the two members until `stop`, as logins in turn would.
std::thread switchingSessions(TRuvasaLib &lib, const std::atomic<bool> &stop) {
    lib.setSession(memberA);
    return std::thread([&lib, &stop] {
        for (int i = 0; !stop; ++i)
            lib.setSession(i % 2 ? memberA : memberB);
    });
}

// The member whose KEY, USERID and USERLEVEL the headers carry, or nullptr for a mixed set.
const SessionValues *headersMember(const HttpRequest &request) {
    for (const SessionValues *member : {&memberA, &memberB})
        if (request.headers[3].second == member->token && request.headers[4].second == member->userId &&
            request.headers[5].second == member->userLevel)
            return member;
    return nullptr;
}

TEST_F(ServiceRequests, RequestsDuringASessionSwitchCarryOneMembersSession) {
    std::atomic<bool> stop{false};
    std::thread logins = switchingSessions(bed->lib, stop);
    for (int i = 0; i < 20000; ++i) {
        HttpRequest request;
        bed->lib.setCustomParams(request);
        ASSERT_EQ(request.headers.size(), 6u);
        const SessionValues copy = bed->lib.session();
        const bool whole = headersMember(request) && (copy == memberA || copy == memberB);
        if (!whole) {
            stop = true;
            logins.join();
            FAIL() << "a request mixed two sessions";
        }
    }
    stop = true;
    logins.join();
}

TEST_F(ServiceRequests, ALogoutDuringASessionSwitchNamesOneMemberInBodyAndHeaders) {
    std::atomic<bool> stop{false};
    std::thread logins = switchingSessions(bed->lib, stop);
    const size_t before = bed->server.requests().size();
    for (int i = 0; i < 50; ++i)
        bed->lib.Logoutrequest();
    stop = true;
    logins.join();
    const auto sent = bed->requestsAfter(before);
    ASSERT_EQ(sent.size(), 50u);
    for (const RecordedRequest &request : sent) {
        const std::string userId = request.header("USERID");
        EXPECT_EQ(request.body, "id_user=" + userId);
        EXPECT_TRUE(userId == memberA.userId || userId == memberB.userId) << userId;
        EXPECT_EQ(request.header("KEY"), userId == memberA.userId ? memberA.token : memberB.token);
    }
}

TEST_F(ServiceRequests, SessionHeadersReadWhileALoginWritesAreWholeValues) {
    const std::string first(200, 'a'), second(300, 'b');
    std::atomic<bool> done{false};
    std::thread login([&] {
        for (int i = 0; i < 20000; ++i)
            bed->lib.FToken = i % 2 ? first : second;
        done = true;
    });
    int reads = 0;
    while (!done || reads == 0) {
        HttpRequest request;
        bed->lib.setCustomParams(request);
        ASSERT_EQ(request.headers.size(), 6u);
        const std::string &key = request.headers[3].second;
        ASSERT_TRUE(key.empty() || key == first || key == second) << key.size();
        ++reads;
    }
    login.join();
}

} // namespace
