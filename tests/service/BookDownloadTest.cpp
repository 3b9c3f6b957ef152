#include "service/BookDownload.h"
#include "tests/service/ServiceTestBed.h"

#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>

namespace {

class BookDownloads : public testing::Test {
protected:
    void SetUp() override {
        bed.server.setResponder([](const RecordedRequest &request) {
            CannedReply reply;
            reply.headers = {{"Content-Type", "application/pdf"}, {"Set-Cookie", "rvs=1; Path=/"}};
            if (request.target == "/pc/rvs/lama.pdf") {
                reply.status = 302;
                reply.headers.emplace_back("Location", "/pc/rvs/Buku%20Baru.pdf");
                reply.body.clear();
            } else if (request.target == "/pc/rvs/Buku%20Baru.pdf") {
                reply.body = "%PDF-1.4 " + std::string(300000, 'b');
            } else {
                reply.status = 404;
                reply.body = "no such book";
            }
            return reply;
        });
    }
    ServiceTestBed bed;
};

TEST_F(BookDownloads, CompletesOnTheUiThreadWithStatusAndBody) {
    BookDownload download(bed.endpoint);
    QSignalSpy completed(&download, &BookDownload::completed);
    QSignalSpy progress(&download, &BookDownload::progress);
    QThread *completedOn = nullptr;
    QObject::connect(&download, &BookDownload::completed, [&] { completedOn = QThread::currentThread(); });
    download.start("Buku Baru.pdf");
    ASSERT_TRUE(completed.wait(20000));
    EXPECT_EQ(completedOn, QThread::currentThread());
    EXPECT_EQ(completed[0][0].toInt(), 200);
    const QByteArray body = completed[0][1].toByteArray();
    EXPECT_EQ(body.size(), 9 + 300000);
    EXPECT_TRUE(body.startsWith("%PDF-1.4 "));
    ASSERT_FALSE(progress.isEmpty());
    EXPECT_EQ(progress.last()[0].toLongLong(), body.size());
    const auto sent = bed.server.requests();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].method, "GET");
    EXPECT_TRUE(customHeaders(sent[0]).empty()) << "a book is fetched without custom headers";
}

TEST_F(BookDownloads, FollowsRedirectsCarryingCookies) {
    BookDownload download(bed.endpoint);
    QSignalSpy completed(&download, &BookDownload::completed);
    download.start("lama.pdf");
    ASSERT_TRUE(completed.wait(20000));
    EXPECT_EQ(completed[0][0].toInt(), 200);
    const auto sent = bed.server.requests();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1].target, "/pc/rvs/Buku%20Baru.pdf");
    EXPECT_EQ(sent[1].header("Cookie"), "rvs=1");
}

TEST_F(BookDownloads, AnErrorStatusStillCompletesWithThatStatus) {
    BookDownload download(bed.endpoint);
    QSignalSpy completed(&download, &BookDownload::completed);
    download.start("hilang.pdf");
    ASSERT_TRUE(completed.wait(20000));
    EXPECT_EQ(completed[0][0].toInt(), 404);
}

TEST_F(BookDownloads, FailuresArriveAsErrors) {
    const struct {
        ServiceEndpoint endpoint;
        std::string name;
        QString errorStart;
    } cases[] = {
        {bed.endpoint, "../../etc/passwd", "Invalid book file name: ../../etc/passwd"},
        {bed.endpoint, "file:///etc/passwd", "Invalid book file name"},
        {{"https://127.0.0.1:" + std::to_string(closedPort()), {}}, "a.pdf", "Couldn't connect"},
        {{bed.server.baseUrl(), {}}, "Buku Baru.pdf", "SSL peer certificate"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        BookDownload download(c.endpoint);
        QSignalSpy failed(&download, &BookDownload::failed);
        QSignalSpy completed(&download, &BookDownload::completed);
        download.start(c.name);
        ASSERT_TRUE(failed.wait(20000));
        EXPECT_TRUE(failed[0][0].toString().startsWith(c.errorStart))
            << failed[0][0].toString().toStdString();
        EXPECT_TRUE(completed.isEmpty());
    }
    EXPECT_TRUE(bed.server.requests().empty());
}

TEST_F(BookDownloads, ANewStartAbandonsTheRunningDownload) {
    BookDownload download(bed.endpoint);
    QSignalSpy completed(&download, &BookDownload::completed);
    download.start("hilang.pdf");
    download.start("Buku Baru.pdf");
    ASSERT_TRUE(completed.wait(20000));
    QTest::qWait(300); // a late answer of the first download would arrive now
    ASSERT_EQ(completed.size(), 1);
    EXPECT_EQ(completed[0][0].toInt(), 200);
}

} // namespace
