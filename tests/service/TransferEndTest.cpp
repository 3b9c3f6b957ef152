// Every call and download ends: by its deadline when the server trickles or never answers, and at
// once when the program closes (CancelTransfers).
#include "service/BookDownload.h"
#include "service/ReplyEnvelope.h"
#include "service/TransferCancel.h"
#include "tests/service/PlainListener.h"
#include "tests/service/ServiceTestBed.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <future>

namespace {

using namespace std::chrono_literals;

// Only keeps a broken build from hanging the run; nothing here is a speed target.
constexpr auto hangGuard = 90s;
constexpr int hangGuardMs = 90000;
constexpr long shortDeadlineMs = 2000;

// Makes `call` on a thread of its own and returns its reply once it has ended.
JsonPtr replyOnceEnded(std::function<JsonPtr()> call) {
    auto running = std::async(std::launch::async, std::move(call));
    const bool ended = running.wait_for(hangGuard) == std::future_status::ready;
    EXPECT_TRUE(ended) << "the call did not end";
    if (!ended) {
        const CancelTransfers rescue; // lets the test run go on
        running.wait();
    }
    return running.get();
}

// Two servers that hold a transfer open: one trickles a reply, a byte at a time; one accepts the
// connection and never says a word (not even its part of the TLS handshake).
class HeldTransfers : public testing::Test {
protected:
    void SetUp() override {
        bed.server.setResponder([](const RecordedRequest &) {
            CannedReply reply = jsonReply(200, R"({"code":"200","msg":")" + std::string(5000, 'x') + "\"}");
            reply.trickle = 300ms;
            return reply;
        });
    }

    struct Server {
        const char *name;
        std::string baseUrl;
        std::function<bool()> reached; // the transfer has got through to it
    };
    std::vector<Server> servers() {
        return {
            {"trickles", bed.server.baseUrl(), [this] { return !bed.server.requests().empty(); }},
            {"never answers", "https://127.0.0.1:" + std::to_string(silent.listeningPort()),
             [this] { return silent.connections() > 0; }},
        };
    }
    ServiceEndpoint endpoint(const Server &server, long deadlineMs) const {
        return {server.baseUrl, bed.certificate.certificateFile(), deadlineMs};
    }

    ServiceTestBed bed;
    PlainListener silent;
};

TEST_F(HeldTransfers, ACallEndsByItsDeadlineInItsMadeUpReply) {
    for (const Server &server : servers()) {
        SCOPED_TRACE(server.name);
        TRuvasaLib lib(endpoint(server, shortDeadlineMs));
        const JsonPtr reply = replyOnceEnded([&lib] { return lib.HomeRequest(1); });
        EXPECT_EQ(jsonText(*reply, "code"), "500");
        EXPECT_EQ(jsonText(*reply, "msg").rfind("#457 Timeout was reached", 0), 0u) << reply->dump();
        EXPECT_TRUE(server.reached());
    }
}

TEST_F(HeldTransfers, ADownloadEndsByItsDeadlineAsAFailure) {
    for (const Server &server : servers()) {
        SCOPED_TRACE(server.name);
        BookDownload download(endpoint(server, shortDeadlineMs));
        QSignalSpy failed(&download, &BookDownload::failed);
        download.start("lambat.pdf");
        ASSERT_TRUE(failed.wait(hangGuardMs));
        EXPECT_TRUE(failed[0][0].toString().startsWith("Timeout was reached"))
            << failed[0][0].toString().toStdString();
    }
}

TEST_F(HeldTransfers, ClosingEndsTheCallsInFlightAndThoseStartedWhileItCloses) {
    for (const Server &server : servers()) {
        SCOPED_TRACE(server.name);
        TRuvasaLib lib(endpoint(server, ServiceEndpoint().deadlineMs));
        auto inFlight = std::async(std::launch::async, [&lib] { return lib.HomeRequest(1); });
        ASSERT_TRUE(QTest::qWaitFor(server.reached, hangGuardMs));
        const CancelTransfers closing;
        for (const JsonPtr &reply : {replyOnceEnded([&inFlight] { return inFlight.get(); }),
                                     replyOnceEnded([&lib] { return lib.HomeRequest(2); })})
            EXPECT_EQ(jsonText(*reply, "msg").rfind("#457 Cancelled", 0), 0u) << reply->dump();
    }
}

TEST_F(HeldTransfers, ClosingEndsADownloadInFlight) {
    for (const Server &server : servers()) {
        SCOPED_TRACE(server.name);
        BookDownload download(endpoint(server, ServiceEndpoint().deadlineMs));
        QSignalSpy failed(&download, &BookDownload::failed);
        download.start("lambat.pdf");
        ASSERT_TRUE(QTest::qWaitFor(server.reached, hangGuardMs));
        const CancelTransfers closing;
        ASSERT_TRUE(failed.wait(hangGuardMs));
        EXPECT_TRUE(failed[0][0].toString().startsWith("Cancelled")) << failed[0][0].toString().toStdString();
    }
}

TEST_F(HeldTransfers, OnceClosedCallsWorkAgain) {
    bed.server.setResponder(nullptr);
    { const CancelTransfers closing; }
    EXPECT_EQ(jsonText(*bed.lib.BannerRequest(), "code"), "200");
}

} // namespace
