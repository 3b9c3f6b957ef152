#include "service/HttpCall.h"
#include "tests/service/RecordingHttpsServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
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
    } cases[] = {{"no data for a second", 1, 180000}, {"whole exchange over half a second", 30, 500}};
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

TEST(HttpCall, ADeadlineGrowsWithTheBodyOnlyWhenAskedAndNeverPastTheLargestAcceptedBody) {
    HttpRequest call;
    EXPECT_EQ(allowedDurationMs(call, std::int64_t(1) << 30), allowedDurationMs(call, 0));
    HttpRequest download;
    download.bytesPerExtraSecond = 16 * 1024;
    download.maxBodyBytes = std::size_t(1) << 30;
    EXPECT_EQ(allowedDurationMs(download, 0), download.totalTimeoutMs);
    EXPECT_GT(allowedDurationMs(download, 100 << 20), allowedDurationMs(download, 10 << 20));
    EXPECT_EQ(allowedDurationMs(download, INT64_MAX), allowedDurationMs(download, std::int64_t(1) << 30));
    EXPECT_GT(allowedDurationMs(download, INT64_MAX), 0);
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
