#include "service/HttpCall.h"
#include "tests/service/RecordingHttpsServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

// A hung service must end a call through the time-outs, never hang it.
TEST(HttpCall, AServiceThatStopsAnsweringEndsTheCallWithATimeOut) {
    TestCertificate certificate;
    RecordingHttpsServer server(certificate);
    server.setResponder([](const RecordedRequest &) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2500));
        return CannedReply();
    });
    const struct {
        const char *name;
        long stallSeconds;
        long totalMs;
    } cases[] = {{"no data for a second", 1, 0}, {"whole exchange over half a second", 30, 500}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        HttpRequest request;
        request.url = server.baseUrl() + "/api/wl/listBanner";
        request.caFile = certificate.certificateFile();
        request.stallTimeoutSeconds = c.stallSeconds;
        request.totalTimeoutMs = c.totalMs;
        const HttpResponse response = performHttp(request);
        EXPECT_EQ(response.error.rfind("Timeout was reached", 0), 0u) << response.error;
        EXPECT_FALSE(response.completed());
    }
}

TEST(HttpCall, AnUnreadableTrustFileIsAFailedCall) {
    HttpRequest request;
    request.url = "https://127.0.0.1:" + std::to_string(closedPort());
    for (const char *file : {"/nonexistent/ca.pem", "/etc/hostname"}) {
        request.caFile = file;
        const HttpResponse response = performHttp(request);
        EXPECT_FALSE(response.completed());
        EXPECT_NE(response.error.find(file), std::string::npos) << response.error;
    }
}

} // namespace
