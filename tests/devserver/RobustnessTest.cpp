// Bad input never crashes the service or damages its store; concurrent requests lose nothing;
// state survives a restart; requests are recorded with passwords masked.
#include "ServiceHarness.h"

#include "devserver/Database.h"
#include "devserver/SampleContent.h"

#include <QTemporaryDir>
#include <atomic>
#include <curl/curl.h>
#include <fstream>
#include <gtest/gtest.h>

using namespace devserver;
using namespace devserver::testing;

namespace {

httplib::Headers loginFirstMember(ServiceClient &client, const std::string &uuid) {
    const SampleMember &m = sampleMembers().at(0);
    return client.login(m.username, m.password, uuid);
}

std::string readFile(const std::filesystem::path &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

TEST(DevServerRobustness, MalformedRequestsGetAClearRefusal) {
    ServiceClient client(sharedService());
    httplib::Headers session = loginFirstMember(client, "B0D10001");
    ASSERT_FALSE(session.empty());
    struct Case {
        std::string name;
        Reply reply;
    };
    const Case cases[] = {
        {"broken escape", client.postRaw("/api/wl/detailKonten", "id_konten=%zz",
                                         "application/x-www-form-urlencoded", session)},
        {"cut escape", client.postRaw("/api/wl/searching", "page=1&keyword=%4",
                                      "application/x-www-form-urlencoded", session)},
        {"field without value",
         client.postRaw("/api/wl/requestBaca", "id_konten", "application/x-www-form-urlencoded", session)},
        {"unknown path", client.get("/api/wl/doesNotExist", session)},
        {"wrong method", client.get("/api/wl/executeLogin")},
        {"path escape", client.get("/pc/rvs/..%2F..%2Fservice.db")},
        {"oversized body", client.postRaw("/api/wl/saveAnotasi", std::string(17 * 1024 * 1024, 'x'),
                                          "application/json", session)},
    };
    for (const Case &c : cases) {
        EXPECT_NE(c.reply.code(), "200") << c.name << ": " << c.reply.body.substr(0, 200);
        EXPECT_FALSE(c.reply.body.find("SQLite") != std::string::npos) << c.name;
    }
    EXPECT_EQ(cases[3].reply.status, 404);
    EXPECT_EQ(cases[3].reply.code(), "404");
    EXPECT_EQ(cases[6].reply.status, 413);
    EXPECT_EQ(client.get("/api/wl/menu", session).code(), "200");
}

TEST(DevServerRobustness, SqlMetacharactersInEveryFieldAreJustText) {
    RunningService &service = sharedService();
    ServiceClient client(service);
    httplib::Headers session = loginFirstMember(client, "B0D10002");
    const auto books = service.server().database().queryOne("SELECT COUNT(*) FROM books")->integer(0);
    const std::string nasty = "1001' OR '1'='1\"; DROP TABLE books; -- %_\\";
    const std::pair<const char *, Fields> calls[] = {
        {"/api/wl/listHomepage", {{"page", nasty}, {"limit", nasty}}},
        {"/api/wl/listHomepageDetail", {{"id_homepage", nasty}, {"page", "1"}}},
        {"/api/wl/listContentCategory", {{"id_dept", nasty}, {"id_kategori", nasty}}},
        {"/api/wl/listContentSubCategory", {{"id_dept", nasty}, {"id_sub_kategori", nasty}}},
        {"/api/wl/listTopRead", {{"page", nasty}}},
        {"/api/wl/detailKonten", {{"id_konten", nasty}}},
        {"/api/wl/searching", {{"page", "1"}, {"keyword", nasty}, {"field", nasty}}},
        {"/api/wl/searchingKalimat", {{"page", "1"}, {"keyword", nasty}}},
        {"/api/wl/requestBaca", {{"id_konten", nasty}}},
        {"/api/wl/bookReturn", {{"id_konten", nasty}, {"id_baca", nasty}, {"page_index", nasty}}},
        {"/api/wl/updateReadStatus", {{"id_baca", nasty}, {"status", nasty}}},
        {"/api/wl/forgotPassword", {{"username", nasty}}},
        {"/api/wl/executeLogout", {{"id_user", nasty}}},
    };
    for (const auto &[path, fields] : calls) {
        Reply reply = client.postForm(path, fields, session);
        EXPECT_TRUE(reply.json.is_object()) << path;
        EXPECT_NE(reply.code(), "500") << path << ": " << reply.body;
    }
    EXPECT_EQ(service.server().database().queryOne("SELECT COUNT(*) FROM books")->integer(0), books);
    EXPECT_EQ(client.get("/api/wl/menu", session).code(), "200");
}

TEST(DevServerRobustness, ABurstOfConcurrentLoansLosesNothing) {
    RunningService &service = sharedService();
    Database &db = service.server().database();
    const std::string book = "1035";
    const auto stockBefore = db.queryOne("SELECT stok FROM books WHERE id = ?", {book})->integer(0);
    const auto loansBefore = db.queryOne("SELECT COUNT(*) FROM loans WHERE book_id = ?", {book})->integer(0);
    const auto requestsBefore = db.queryOne("SELECT MAX(id) FROM requests")->integer(0);

    // Three members race for the book's copies many times over; each success is returned at once.
    constexpr int kRounds = 12;
    std::atomic<int> granted{0}, refused{0}, failures{0};
    std::vector<std::thread> threads;
    for (std::size_t m = 0; m < sampleMembers().size(); ++m)
        threads.emplace_back([&, m] {
            ServiceClient client(service);
            const SampleMember &member = sampleMembers()[m];
            httplib::Headers session =
                client.login(member.username, member.password, "C0C0000" + std::to_string(m));
            for (int round = 0; round < kRounds; ++round) {
                Reply loan = client.postForm("/api/wl/requestBaca", {{"id_konten", book}}, session);
                Reply back = client.postForm("/api/wl/bookReturn",
                                             {{"id_konten", book},
                                              {"id_baca", loan.json.value("id_baca", "")},
                                              {"page_index", std::to_string(round)}},
                                             session);
                if (loan.code() == "200")
                    (back.code() == "200" ? granted : failures)++;
                else
                    refused++;
            }
        });
    for (std::thread &t : threads)
        t.join();

    EXPECT_EQ(failures.load(), 0);
    EXPECT_EQ(granted + refused, static_cast<int>(sampleMembers().size()) * kRounds);
    EXPECT_EQ(db.queryOne("SELECT stok FROM books WHERE id = ?", {book})->integer(0), stockBefore);
    EXPECT_EQ(db.queryOne("SELECT COUNT(*) FROM loans WHERE book_id = ?", {book})->integer(0),
              loansBefore + granted);
    EXPECT_EQ(
        db.queryOne("SELECT COUNT(*) FROM loans WHERE book_id = ? AND ended IS NULL", {book})->integer(0), 0);
    // Every request of the burst was recorded: a login plus two calls per round and member.
    const auto recorded = db.queryOne("SELECT COUNT(*) FROM requests WHERE id > ? AND path IN "
                                      "('/api/wl/executeLogin', '/api/wl/requestBaca', '/api/wl/bookReturn')",
                                      {requestsBefore})
                              ->integer(0);
    EXPECT_EQ(recorded, static_cast<std::int64_t>(sampleMembers().size()) * (1 + 2 * kRounds));
}

TEST(DevServerRobustness, RequestsAreRecordedWithPasswordsMasked) {
    ServiceClient client(sharedService());
    const long long since = client.recorded().back()["id"].get<long long>();
    const SampleMember &m = sampleMembers().at(0);
    httplib::Headers session = client.login(m.username, m.password, "5EC00001");
    client.postRaw("/api/wl/copyText", R"({"id_konten":"1001","data":[]})", "application/json; charset=utf-8",
                   session);
    client.postMultipart(
        "/api/wl/executeRegistration",
        {{"data", R"({"username":"x@y.test","password":"Geheim123"})", "", "application/json"},
         {"photo", "abc", "p.png", "image/png"}},
        {{"CLIENTID", "338"}, {"OS", "WIN"}});

    const Json log = client.recorded(since);
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[0]["method"], "POST");
    EXPECT_EQ(log[0]["path"], "/api/wl/executeLogin");
    EXPECT_EQ(log[0]["headers"]["UUID"], "5EC00001");
    EXPECT_EQ(log[0]["headers"]["CLIENTID"], "338");
    const std::string loginBody = log[0]["body"];
    EXPECT_NE(loginBody.find("pass=***"), std::string::npos) << loginBody;
    EXPECT_EQ(loginBody.find(encodeForm({{"p", m.password}}).substr(2)), std::string::npos);
    EXPECT_NE(loginBody.find("uuid=5EC00001"), std::string::npos);

    EXPECT_EQ(log[1]["path"], "/api/wl/copyText");
    EXPECT_EQ(Json::parse(log[1]["body"].get<std::string>())["id_konten"], "1001");
    EXPECT_EQ(log[1]["headers"]["KEY"], session.find("KEY")->second);

    EXPECT_FALSE(log[0]["headers"].contains("REMOTE_ADDR"));
    const std::string multipart = log[2]["body"];
    EXPECT_EQ(multipart.find("Geheim123"), std::string::npos) << multipart;
    EXPECT_NE(multipart.find("p.png"), std::string::npos);
}

TEST(DevServerRobustness, EveryRequestIsRecordedOnceWhateverItsOutcome) {
    ServiceClient client(sharedService());
    const long long since = client.recorded().back()["id"].get<long long>();
    const std::string paths[] = {"/api/wl/notThere", "/prod/img/cover/missing.png", "/api/wl/listBanner",
                                 "/prod/img/logo/logo.png", "/api/wl/notThere"};
    for (const std::string &path : paths)
        client.get(path);
    std::vector<std::string> recorded;
    for (const Json &entry : client.recorded(since))
        recorded.push_back(entry["path"]);
    EXPECT_EQ(recorded, std::vector<std::string>(std::begin(paths), std::end(paths)));
}

TEST(DevServerRobustness, RecordReadingIsOffUnlessAskedFor) {
    QTemporaryDir dir;
    RunningService service(dir.path().toStdString(), VersionPolicy::Current, false);
    ServiceClient client(service);
    EXPECT_EQ(client.get("/__requests").status, 404);
}

TEST(DevServerRobustness, StateSurvivesARestartAndTheCertificateIsKept) {
    QTemporaryDir dir;
    const std::filesystem::path path = dir.path().toStdString();
    const SampleMember &m = sampleMembers().at(2);
    httplib::Headers session;
    std::string loanId;
    std::int64_t stockBefore = 0;
    std::string ca;
    {
        RunningService service(path);
        ServiceClient client(service);
        session = client.login(m.username, m.password, "AE570001");
        stockBefore =
            service.server().database().queryOne("SELECT stok FROM books WHERE id = '1002'")->integer(0);
        Reply loan = client.postForm("/api/wl/requestBaca", {{"id_konten", "1002"}}, session);
        ASSERT_EQ(loan.code(), "200");
        loanId = loan.json["id_baca"];
        ca = readFile(service.caFile());
    }
    RunningService again(path);
    EXPECT_EQ(readFile(again.caFile()), ca);
    ServiceClient client(again);
    EXPECT_EQ(again.server().database().queryOne("SELECT stok FROM books WHERE id = '1002'")->integer(0),
              stockBefore - 1);
    EXPECT_EQ(again.server().database().queryOne("SELECT COUNT(*) FROM books")->integer(0), 40);
    // The session and the open loan are still there.
    EXPECT_EQ(client
                  .postForm("/api/wl/bookReturn",
                            {{"id_konten", "1002"}, {"id_baca", loanId}, {"page_index", "5"}}, session)
                  .code(),
              "200");
    Reply next = client.postForm("/api/wl/requestBaca", {{"id_konten", "1002"}}, session);
    EXPECT_EQ(next.json["page_index"], 5);
}

TEST(DevServerRobustness, LibcurlTrustsTheGeneratedCaForBothHostNames) {
    RunningService &service = sharedService();
    for (const std::string host : {"127.0.0.1", "localhost"}) {
        CURL *curl = curl_easy_init();
        ASSERT_NE(curl, nullptr);
        const std::string url =
            "https://" + host + ":" + std::to_string(service.server().port()) + "/api/wl/mitra";
        curl_slist *headers = curl_slist_append(nullptr, "CLIENTID: 338");
        std::string body;
        curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
        curl_easy_setopt(curl, CURLOPT_CAINFO, service.caFile().c_str());
        curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
        curl_easy_setopt(
            curl, CURLOPT_WRITEFUNCTION, +[](char *data, size_t size, size_t n, void *out) {
                static_cast<std::string *>(out)->append(data, size * n);
                return size * n;
            });
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
        const CURLcode rc = curl_easy_perform(curl);
        curl_slist_free_all(headers);
        curl_easy_cleanup(curl);
        EXPECT_EQ(rc, CURLE_OK) << host << ": " << curl_easy_strerror(rc);
        EXPECT_EQ(Json::parse(body, nullptr, false).value("code", ""), "200") << host;
        if (host == "localhost") {
            EXPECT_NE(body.find("https://localhost:"), std::string::npos); // addresses follow the host used
        }
    }
}

// Raw replies stand in for a service gone wrong: each is recorded like any request and sent as set, and
// the path answers normally again once they are cleared.
TEST(DevServerRobustness, RawFaultsSendWhatTheyAreSetTo) {
    RunningService &service = sharedService();
    const std::string path = "/prod/img/logo/logo.png";
    const std::string page = "<html><body>Bad Gateway</body></html>";
    service.server().setRawFault(path, {Delivery::Whole, 200, "text/html", page});
    ServiceClient client(service);
    Reply html = client.get(path);
    EXPECT_EQ(html.status, 200);
    EXPECT_EQ(html.body, page);

    service.server().setRawFault(path, {Delivery::Cut, 200, "application/pdf", std::string(64 * 1024, 'x')});
    httplib::SSLClient raw("127.0.0.1", service.server().port());
    raw.set_ca_cert_path(service.caFile().c_str());
    raw.enable_server_certificate_verification(true);
    raw.set_read_timeout(0, 300000);
    httplib::Result cut = raw.Get(path.c_str());
    EXPECT_FALSE(cut && cut->status == 200 && cut->body.size() == 64 * 1024); // never a whole reply

    service.server().setRawFault(path, {Delivery::Never, 200, "", ""});
    const long long since = client.recorded().back()["id"].get<long long>();
    httplib::Result never = raw.Get(path.c_str());
    EXPECT_FALSE(never);
    EXPECT_EQ(never.error(), httplib::Error::Read);
    EXPECT_EQ(client.recorded(since).front()["path"], path);

    service.server().clearRawFaults();
    Reply served = client.get(path);
    EXPECT_EQ(served.status, 200);
    EXPECT_NE(served.body, page);
}

TEST(DevServerRobustness, AStopReleasesARequestHeldWithoutAnswer) {
    QTemporaryDir dir;
    auto service = std::make_unique<RunningService>(dir.path().toStdString());
    service->server().setRawFault("/api/wl/mitra", {Delivery::Never, 200, "", ""});
    httplib::SSLClient raw("127.0.0.1", service->server().port());
    raw.set_ca_cert_path(service->caFile().c_str());
    raw.enable_server_certificate_verification(true);
    std::thread caller([&raw] { raw.Get("/api/wl/mitra"); });
    const long long held = [&] {
        ServiceClient client(*service);
        Json recorded;
        while (recorded.empty() || recorded.back()["path"] != "/api/wl/mitra")
            recorded = client.recorded();
        return recorded.back()["id"].get<long long>();
    }();
    EXPECT_GT(held, 0);
    service.reset(); // returns only once the held request's worker has ended
    caller.join();
}
