// Generated books and the pieces of text handling the service relies on.
#include "ServiceHarness.h"

#include "devserver/FormBody.h"
#include "devserver/PdfMaker.h"
#include "devserver/SampleBooks.h"
#include "devserver/SampleContent.h"
#include "devserver/SentenceSearch.h"

#include <QBuffer>
#include <QPdfDocument>
#include <QTemporaryFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace devserver;
using namespace devserver::testing;

namespace {

// Loads PDF bytes into Qt's PDF engine, an independent reader.
struct LoadedPdf {
    explicit LoadedPdf(const std::string &bytes) : data(QByteArray::fromStdString(bytes)), buffer(&data) {
        buffer.open(QIODevice::ReadOnly);
        doc.load(&buffer);
    }
    QByteArray data;
    QBuffer buffer;
    QPdfDocument doc;
};

} // namespace

TEST(DevServerContent, GeneratedPdfHasItsPagesAndExtractableText) {
    std::vector<PdfPage> pages = {
        {"Judul & <Buku>", {"Baris pertama (dengan kurung) dan \\ garis miring.", "Café crème, señor."}, "I"},
        {"", {"Halaman kedua."}, "1"},
    };
    LoadedPdf pdf(makePdf("Judul", pages));
    ASSERT_EQ(pdf.doc.status(), QPdfDocument::Status::Ready);
    ASSERT_EQ(pdf.doc.pageCount(), 2);
    const QString first = pdf.doc.getAllText(0).text();
    EXPECT_TRUE(first.contains("Judul & <Buku>")) << first.toStdString();
    EXPECT_TRUE(first.contains("(dengan kurung)")) << first.toStdString();
    EXPECT_TRUE(first.contains("\\ garis")) << first.toStdString();
    EXPECT_TRUE(first.contains(QString::fromUtf8("Café crème, señor."))) << first.toStdString();
    EXPECT_TRUE(pdf.doc.getAllText(1).text().contains("Halaman kedua."));
}

TEST(DevServerContent, SampleBooksAreRealPdfsWithTheirPageCount) {
    RunningService &service = sharedService();
    ServiceClient client(service);
    const SampleMember &m = sampleMembers().at(0);
    httplib::Headers session = client.login(m.username, m.password, "C0117E47");
    for (const char *id : {kBookLong, "1001", "1031"}) {
        Json detail = client.postForm("/api/wl/detailKonten", {{"id_konten", id}}, session).json["data"];
        Reply file = client.get("/pc/rvs/" + detail["nama_pc_file"].get<std::string>());
        ASSERT_EQ(file.status, 200) << id;
        LoadedPdf pdf(file.body);
        ASSERT_EQ(pdf.doc.status(), QPdfDocument::Status::Ready) << id;
        EXPECT_EQ(pdf.doc.pageCount(), detail["halaman_total"].get<int>()) << id;
        EXPECT_TRUE(pdf.doc.getAllText(0).text().contains(QString::fromStdString(detail["judul"])));
    }
    // The sample sentence stands on the page the sentence search reports.
    Json detail = client.postForm("/api/wl/detailKonten", {{"id_konten", kBookLong}}, session).json["data"];
    LoadedPdf pdf(client.get("/pc/rvs/" + detail["nama_pc_file"].get<std::string>()).body);
    EXPECT_TRUE(pdf.doc.getAllText(400).text().contains("kunang-kunang"));
    EXPECT_FALSE(pdf.doc.getAllText(401).text().contains("kunang-kunang"));
    EXPECT_TRUE(pdf.doc.getAllText(400).text().contains("389")); // printed label after 12 Roman pages
}

TEST(DevServerContent, PageLabelsUseRomanNumeralsForTheFrontMatter) {
    struct Case {
        int index, roman;
        std::string label;
    };
    for (const Case &c :
         {Case{0, 0, "1"}, Case{0, 4, "I"}, Case{3, 4, "IV"}, Case{4, 4, "1"}, Case{10, 4, "7"},
          Case{8, 12, "IX"}, Case{13, 14, "XIV"}, Case{39, 40, "XL"}, Case{400, 12, "389"}})
        EXPECT_EQ(pageLabel(c.index, c.roman), c.label) << c.index << "/" << c.roman;
}

TEST(DevServerContent, SentenceAroundAHitIsEscapedAndHighlighted) {
    const std::string text = "Awal cerita. Si <Kancil> & buaya BERTEMU di sungai. Akhir.";
    const std::string out = highlightedSentence(text, "bertemu");
    EXPECT_EQ(out,
              "Si &lt;Kancil&gt; &amp; buaya <span class=\"highlight\" style=\"background-color:#ffeb3b\">"
              "BERTEMU</span> di sungai.");
    EXPECT_EQ(highlightedSentence(text, "tidak ada"), "");
    EXPECT_EQ(highlightedSentence("Tanpa titik akhir", "titik"),
              "Tanpa <span class=\"highlight\" style=\"background-color:#ffeb3b\">titik</span> akhir");
}

TEST(DevServerContent, FormBodiesDecodeAsTheClientEncodes) {
    auto form = parseForm(encodeForm({{"keyword", "a b&c=d"}, {"judul", "Café \"Crème\""}, {"empty", ""}}));
    ASSERT_TRUE(form);
    EXPECT_EQ(form->at("keyword"), "a b&c=d");
    EXPECT_EQ(form->at("judul"), "Café \"Crème\"");
    EXPECT_EQ(form->at("empty"), "");
    for (const char *bad : {"a=%", "a=%4", "a=%GG", "novalue", "a=1&b"})
        EXPECT_FALSE(parseForm(bad)) << bad;
    EXPECT_TRUE(parseForm("")->empty());
}

TEST(DevServerContent, WrappedLinesStayWithinTheWidth) {
    const auto lines = wrapText("satu dua tiga empat lima enam tujuh delapan sembilan sepuluh", 12);
    ASSERT_FALSE(lines.empty());
    std::string joined;
    for (const std::string &line : lines) {
        EXPECT_LE(line.size(), 12u) << line;
        joined += (joined.empty() ? "" : " ") + line;
    }
    EXPECT_EQ(joined, "satu dua tiga empat lima enam tujuh delapan sembilan sepuluh");
}

TEST(DevServerContent, PrivateKeysAreReadableByTheOwnerOnly) {
    const auto dir = sharedService().dir();
    for (const char *key : {"ca-key.pem", "server-key.pem"}) {
        struct stat info {};
        ASSERT_EQ(::stat((dir / key).c_str(), &info), 0) << key;
        EXPECT_EQ(info.st_mode & 077, 0u) << key;
    }
}
