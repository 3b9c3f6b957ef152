#include "service/RegistrationRequests.h"
#include "service/ReplyEnvelope.h"
#include "tests/service/ServiceTestBed.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class Registration : public testing::Test {
protected:
    static void SetUpTestSuite() { bed = new ServiceTestBed; }
    static void TearDownTestSuite() { delete bed; }
    void SetUp() override { bed->server.setResponder(nullptr); }

    std::string writeFile(const QString &name, const QByteArray &bytes) {
        QFile file(folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName().toStdString();
    }

    QTemporaryDir folder;
    static ServiceTestBed *bed;
};

ServiceTestBed *Registration::bed = nullptr;

// Index of `needle` in `text` at or after `from`; fails the test when absent.
size_t at(const std::string &text, const std::string &needle, size_t from = 0) {
    const size_t found = text.find(needle, from);
    EXPECT_NE(found, std::string::npos) << "missing: " << needle;
    return found == std::string::npos ? text.size() : found;
}

TEST_F(Registration, SendsDetailsAndBothPicturesAsOneMultipartForm) {
    const std::string identity = writeFile("ktp saya.JPG", QByteArray("\xFF\xD8\xFF identity", 12));
    const std::string profile = writeFile("me.png", "\x89PNG profile");
    const std::string details = R"({"id_mitra":"338","alamat":"Jl. \"Mawar\"\nNo. 1"})";
    const JsonPtr reply = executeRegister(bed->endpoint, details, identity, profile);
    EXPECT_EQ(jsonText(*reply, "code"), "200");

    const auto sent = bed->server.requests();
    ASSERT_FALSE(sent.empty());
    const RecordedRequest &request = sent.back();
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.target, "/api/wl/executeRegistration");
    EXPECT_EQ(customHeaders(request), (HeaderPairs{{"CLIENTID", "338"}, {"OS", "WIN"}}));
    EXPECT_EQ(request.header("Content-Type").rfind("multipart/form-data; boundary=", 0), 0u);

    const std::string &body = request.body;
    const size_t data = at(body, "Content-Disposition: form-data; name=\"data\"\r\n"
                                 "Content-Type: application/json; charset=utf-8\r\n\r\n" +
                                     details + "\r\n");
    const size_t identityPart = at(body,
                                   "Content-Disposition: form-data; name=\"foto_identitas\"; "
                                   "filename=\"ktp saya.JPG\"\r\nContent-Type: image/jpeg\r\n\r\n"
                                   "\xFF\xD8\xFF identity\r\n",
                                   data);
    at(body,
       "Content-Disposition: form-data; name=\"photo\"; filename=\"me.png\"\r\n"
       "Content-Type: image/png\r\n\r\n\x89PNG profile\r\n",
       identityPart);
}

TEST_F(Registration, AMissingPictureIsAFailedCallWithoutPrefix) {
    const std::string profile = writeFile("me.png", "png");
    const JsonPtr reply =
        executeRegister(bed->endpoint, "{}", folder.filePath("gone.jpg").toStdString(), profile);
    EXPECT_EQ(jsonText(*reply, "code"), "500");
    EXPECT_FALSE(jsonText(*reply, "msg").empty());
    EXPECT_NE(jsonText(*reply, "msg")[0], '#');
}

TEST_F(Registration, RegionLookupsGetTheirPathsWithoutCustomHeaders) {
    bed->server.setResponder([](const RecordedRequest &) {
        return jsonReply(200, R"({"code":"200","data":[{"id":"11","nama":"Aceh"}]})");
    });
    const struct {
        std::function<RegionLookup()> call;
        std::string path;
    } cases[] = {
        {[] { return provinsiRequest(bed->endpoint); }, "/api/generic/provinsi"},
        {[] { return kotaRequest(bed->endpoint, "11"); }, "/api/generic/kota/11"},
        {[] { return kecamatanRequest(bed->endpoint, "11 01"); }, "/api/generic/kecamatan/11%2001"},
        {[] { return kelurahanRequest(bed->endpoint, "..x"); }, "/api/generic/kelurahan/..x"},
        {[] { return kelurahanRequest(bed->endpoint, "a?b#c"); }, "/api/generic/kelurahan/a%3Fb%23c"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path);
        const size_t before = bed->server.requests().size();
        const RegionLookup lookup = c.call();
        EXPECT_EQ(lookup.errorText, "");
        ASSERT_TRUE(lookup.reply);
        EXPECT_EQ((*lookup.reply)["data"][0]["nama"], "Aceh");
        const auto sent = bed->requestsAfter(before);
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(sent[0].method, "GET");
        EXPECT_EQ(sent[0].target, c.path);
        EXPECT_TRUE(customHeaders(sent[0]).empty());
    }
}

TEST_F(Registration, RegionIdsThatCouldClimbThePathAreRefusedWithoutACall) {
    const std::function<RegionLookup(const std::string &)> lookups[] = {
        [](const std::string &id) { return kotaRequest(bed->endpoint, id); },
        [](const std::string &id) { return kecamatanRequest(bed->endpoint, id); },
        [](const std::string &id) { return kelurahanRequest(bed->endpoint, id); },
    };
    for (const auto &lookup : lookups)
        for (const std::string id : {"..", ".", "\\", "..\\..", "../provinsi", "11/..", "/"}) {
            SCOPED_TRACE(id);
            const size_t before = bed->server.requests().size();
            const RegionLookup refused = lookup(id);
            EXPECT_FALSE(refused.reply);
            EXPECT_EQ(refused.errorText.rfind("Request Error : ", 0), 0u) << refused.errorText;
            EXPECT_GT(refused.errorText.size(), std::string("Request Error : ").size());
            EXPECT_TRUE(bed->requestsAfter(before).empty());
        }
}

TEST_F(Registration, FailedLookupsCarryTheirReportPrefix) {
    const ServiceEndpoint closed{"https://127.0.0.1:" + std::to_string(closedPort()), {}};
    EXPECT_EQ(provinsiRequest(closed).errorText.rfind("Request Error #408: Couldn't connect", 0), 0u);
    for (const RegionLookup &lookup :
         {kotaRequest(closed, "1"), kecamatanRequest(closed, "1"), kelurahanRequest(closed, "1")}) {
        EXPECT_EQ(lookup.errorText.rfind("Request Error : Couldn't connect", 0), 0u) << lookup.errorText;
        EXPECT_FALSE(lookup.reply);
    }
    bed->server.setResponder([](const RecordedRequest &) { return jsonReply(200, "<html>"); });
    EXPECT_EQ(provinsiRequest(bed->endpoint).errorText.rfind("Request Error #408: ", 0), 0u);
}

} // namespace
