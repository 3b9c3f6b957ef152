// Calls share connections: one TCP connection (and one TLS handshake) serves a run of calls, a
// connection the service closed is replaced without a failed call, and what one exchange kept
// (cookies) never goes out with another.
#include "devserver/TcpRelay.h"
#include "service/BookDownload.h"
#include "service/ReplyEnvelope.h"
#include "service/RuvasaLib.h"
#include "tests/devserver/ServiceHarness.h"
#include "tests/service/ServiceTestBed.h"
#include "tests/support/EventLoop.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using devserver::TcpRelay;
using devserver::testing::RunningService;

ServiceEndpoint endpointThrough(const TcpRelay &relay, const RunningService &service) {
    return {"https://127.0.0.1:" + std::to_string(relay.port()), service.caFile().string()};
}

std::string profileCode(TRuvasaLib &lib) {
    return jsonText(*lib.getClientJson(), "code");
}

TEST(ConnectionReuse, ARunOfCallsTravelsOnOneConnection) {
    QTemporaryDir dir;
    RunningService service(dir.path().toStdString());
    TcpRelay relay(service.server().port(), std::chrono::milliseconds(0));
    TRuvasaLib lib(endpointThrough(relay, service));
    lib.checkDataFolder();
    for (int call = 0; call < 4; ++call) {
        ASSERT_EQ(profileCode(lib), "200") << "call " << call;
        ASSERT_EQ(jsonText(*lib.checkAppVersionRequest(), "code"), "200") << "call " << call;
    }
    EXPECT_EQ(relay.connections(), 1);
}

TEST(ConnectionReuse, AServiceRestartedBetweenTwoCallsIsNotAFailedCall) {
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    auto service = std::make_unique<RunningService>(folder);
    const int port = service->server().port();
    const ServiceEndpoint endpoint{service->base(), service->caFile().string()};
    TRuvasaLib lib(endpoint);
    lib.checkDataFolder();
    ASSERT_EQ(profileCode(lib), "200");

    service.reset(); // closes the connection the first call left open
    service = std::make_unique<RunningService>(folder, devserver::VersionPolicy::Current, true, port);

    EXPECT_EQ(profileCode(lib), "200");
    EXPECT_EQ(jsonText(*lib.checkAppVersionRequest(), "code"), "200");
}

TEST(ConnectionReuse, ADownloadsCookiesDoNotGoOutWithALaterCall) {
    ServiceTestBed bed;
    bed.server.setResponder([](const RecordedRequest &request) {
        CannedReply reply;
        if (request.target.find(".pdf") != std::string::npos) {
            reply.headers = {{"Content-Type", "application/pdf"}, {"Set-Cookie", "rvs=secret; Path=/"}};
            reply.body = "%PDF-1.4\n";
        }
        return reply;
    });
    bed.lib.checkDataFolder();
    for (int round = 0; round < 3; ++round) {
        BookDownload download(bed.endpoint);
        QSignalSpy finished(&download, &BookDownload::completed);
        download.start("buku.pdf");
        ASSERT_TRUE(processUntil([&] { return finished.count() > 0; }, 30000));
        bed.lib.getClientJson();
    }
    for (const RecordedRequest &request : bed.server.requests()) {
        if (request.target == "/api/wl/mitra") {
            EXPECT_FALSE(request.hasHeader("Cookie")) << request.header("Cookie");
        }
    }
}

} // namespace
