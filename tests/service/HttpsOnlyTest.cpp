// Nothing the client sends goes out in clear text: not a call to an http base, not a download
// redirected to http, not a stored-annotation fetch from an http address.
#include "service/BookDownload.h"
#include "service/ReplyEnvelope.h"
#include "tests/service/PlainListener.h"
#include "tests/service/ServiceTestBed.h"

#include <QSignalSpy>
#include <gtest/gtest.h>
#include <openssl/ssl.h>

namespace {

constexpr int hangGuardMs = 90000; // only keeps a broken build from hanging the run

TEST(HttpsOnly, NothingReachesAPlainListenerAndEachRefusalSaysWhy) {
    ServiceTestBed bed;
    PlainListener plain;
    const std::string plainBase = "http://127.0.0.1:" + std::to_string(plain.listeningPort());
    bed.server.setResponder([&plainBase](const RecordedRequest &) {
        CannedReply moved = jsonReply(302, "");
        moved.headers = {{"Location", plainBase + "/pc/rvs/buku.pdf"}, {"Set-Cookie", "rvs=1; Path=/"}};
        return moved;
    });
    bed.lib.checkDataFolder();
    const struct {
        const char *name;
        std::function<std::string()> failure;
        std::string failureStart;
    } cases[] = {
        {"a login to an http base",
         [&] {
             TRuvasaLib clearText(ServiceEndpoint{plainBase, {}});
             return jsonText(*clearText.LoginRequest("ani", "rahasia"), "msg");
         },
         " #387 Only https addresses are allowed"},
        {"a download redirected to http",
         [&] {
             BookDownload download(bed.endpoint);
             QSignalSpy failed(&download, &BookDownload::failed);
             download.start("buku.pdf");
             return failed.wait(hangGuardMs) ? failed[0][0].toString().toStdString() : "no failure";
         },
         "Only https addresses are allowed"},
        {"stored annotations at an http address",
         [&] { return bed.lib.fetchStoredAnnotations(plainBase + "/anotasi/K1.json"); },
         "Not an https address"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const std::string failure = c.failure();
        EXPECT_EQ(failure.rfind(c.failureStart, 0), 0u) << failure;
    }
    plain.stop();
    EXPECT_EQ(plain.connections(), 0);
    EXPECT_EQ(plain.bytesReceived(), 0);
}

TEST(HttpsOnly, AServerOfferingNothingNewerThanTls11IsRefused) {
    TestCertificate certificate;
    for (const int newest : {TLS1_VERSION, TLS1_1_VERSION}) {
        SCOPED_TRACE(newest);
        RecordingHttpsServer server(certificate, newest);
        HttpRequest request;
        request.url = server.baseUrl() + "/api/wl/listBanner";
        request.caFile = certificate.certificateFile();
        const HttpResponse response = performHttp(request);
        EXPECT_FALSE(response.completed());
        EXPECT_TRUE(server.requests().empty()) << "no request may go out over an old protocol";
    }
}

} // namespace
