#include "tests/service/ServiceTestBed.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

const std::string annotations = "\xEF\xBB\xBF{\"id_konten\":\"K1\",\"data\":[{\"type\":\"NOTES\"}]}";

class StoredAnnotations : public testing::Test {
protected:
    void SetUp() override {
        bed.lib.checkDataFolder();
        bed.lib.FToken = "tok";
        bed.lib.FUserId = "U1";
        bed.lib.FUserLevel = "1";
        bed.server.setResponder([](const RecordedRequest &request) {
            if (request.target == "/anotasi/K1.json")
                return jsonReply(200, annotations);
            if (request.target == "/anotasi/refused.json")
                return jsonReply(200, R"({"code":"404","msg":"Anotasi tidak ditemukan","data":[]})");
            return jsonReply(404, "missing");
        });
    }
    QString target() const { return QString::fromStdString(bed.lib.FPath + "/tempAnnot.json"); }
    QByteArray stored() const {
        QFile file(target());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<no file>");
    }
    void leaveStaleFile() const {
        QFile file(target());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("{\"stale\":true}");
    }
    ServiceTestBed bed;
};

TEST_F(StoredAnnotations, AnAddressOnTheServiceIsFetchedWithTheSessionHeaders) {
    for (const std::string &address :
         {bed.server.baseUrl() + "/anotasi/K1.json", std::string("/anotasi/K1.json")}) {
        SCOPED_TRACE(address);
        leaveStaleFile();
        const size_t before = bed.server.requests().size();
        EXPECT_EQ(bed.lib.fetchStoredAnnotations(address), "");
        EXPECT_EQ(stored().toStdString(), annotations)
            << "the bytes are kept as sent, byte-order mark included";
        const auto sent = bed.requestsAfter(before);
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(sent[0].method, "GET");
        const HeaderPairs session = {{"CLIENTID", "338"}, {"OS", "WIN"},    {"UUID", bed.lib.DevUUID},
                                     {"KEY", "tok"},      {"USERID", "U1"}, {"USERLEVEL", "1"}};
        EXPECT_EQ(customHeaders(sent[0]), session);
    }
}

TEST_F(StoredAnnotations, AnotherHostGetsNoSessionHeaders) {
    const std::string elsewhere =
        "https://localhost:" + std::to_string(bed.server.listeningPort()) + "/anotasi/K1.json";
    const size_t before = bed.server.requests().size();
    EXPECT_EQ(bed.lib.fetchStoredAnnotations(elsewhere), "");
    const auto sent = bed.requestsAfter(before);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_TRUE(customHeaders(sent[0]).empty());
    EXPECT_EQ(stored().toStdString(), annotations);
}

TEST_F(StoredAnnotations, AFailedFetchLeavesNoFileBehind) {
    const struct {
        std::string address;
        std::string failureStart;
    } cases[] = {
        {"/anotasi/none.json", "HTTP error 404"},
        {"/anotasi/refused.json", "Refused: Anotasi tidak ditemukan"},
        {"file:///etc/passwd", "Not an https address"},
        {"FILE:///etc/passwd", "Not an https address"},
        {"ftp://127.0.0.1/x", "Not an https address"},
        {"../tempAnnot.json", "Not an https address"},
        {"//evil.example/x", "Not an https address"},
        {"0", "Not an https address"},
        {"https://127.0.0.1:" + std::to_string(closedPort()) + "/a.json", "Couldn't connect"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.address);
        leaveStaleFile();
        const size_t before = bed.server.requests().size();
        const std::string failure = bed.lib.fetchStoredAnnotations(c.address);
        EXPECT_EQ(failure.rfind(c.failureStart, 0), 0u) << failure;
        EXPECT_FALSE(QFile::exists(target()));
        if (c.failureStart == "Not an https address") {
            EXPECT_EQ(bed.server.requests().size(), before);
        }
    }
}

} // namespace
