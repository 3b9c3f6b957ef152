// Loading documents in every form, the failures each ends in, the page cache and closing.
#include "pdf/PdfiumCore.h"
#include "tests/pdf/CorePdfBuilder.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <random>

namespace {

std::string threePages() {
    std::vector<FixturePage> pages(3);
    for (int i = 0; i < 3; ++i)
        pages[i].content = fixtureText(72, 700, 12, "Halaman " + std::to_string(i + 1));
    return buildFixturePdf(pages);
}

QString firstText(TPdfDocument &doc, int index) {
    TPdfPage *page = doc.GetPage(index);
    return page->ReadText(0, page->GetCharCount());
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const std::string &bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), qint64(bytes.size()));
    return path;
}

template <class E> std::string messageOf(const std::function<void()> &action) {
    try {
        action();
    } catch (const E &error) {
        return error.what();
    } catch (const std::exception &other) {
        return std::string("other exception: ") + other.what();
    }
    return "no exception";
}

TEST(CoreDocument, EveryLoadFormOpensTheSameDocument) {
    const std::string pdf = threePages();
    QTemporaryDir dir;
    const QString path = writeFile(dir, "book.pdf", pdf);
    QByteArray bytes = QByteArray::fromStdString(pdf);
    QByteArray padded = "garbage" + bytes + "tail";
    QBuffer stream(&bytes);
    stream.open(QIODevice::ReadOnly);
    int customReads = 0;
    struct Custom {
        const QByteArray *bytes;
        int *reads;
    } custom{&bytes, &customReads};
    auto read = [](void *param, quint64 position, void *buffer, quint64 size) {
        auto *c = static_cast<Custom *>(param);
        ++*c->reads;
        if (position + size > quint64(c->bytes->size()))
            return false;
        std::memcpy(buffer, c->bytes->constData() + position, size);
        return true;
    };
    // `whole`: the engine reads a byte array the document holds, which it gives for a second document.
    const struct {
        const char *name;
        std::function<void(TPdfDocument &)> load;
        bool whole;
    } forms[] = {
        {"stream", [&](TPdfDocument &d) { stream.seek(0), d.LoadFromStream(&stream); }, true},
        {"file", [&](TPdfDocument &d) { d.LoadFromFile(path); }, true},
        {"mapped file", [&](TPdfDocument &d) { d.LoadFromFile(path, {}, dloMMF); }, false},
        {"file on demand", [&](TPdfDocument &d) { d.LoadFromFile(path, {}, dloOnDemand); }, false},
        {"active stream", [&](TPdfDocument &d) { d.LoadFromActiveStream(&stream); }, false},
        {"custom", [&](TPdfDocument &d) { d.LoadFromCustom(read, quint64(bytes.size()), &custom); }, false},
        {"active buffer", [&](TPdfDocument &d) { d.LoadFromActiveBuffer(bytes.constData(), bytes.size()); },
         false},
        {"bytes", [&](TPdfDocument &d) { d.LoadFromBytes(bytes); }, true},
        {"byte range", [&](TPdfDocument &d) { d.LoadFromBytes(padded, 7, bytes.size()); }, false},
    };
    for (const auto &form : forms) {
        SCOPED_TRACE(form.name);
        TPdfDocument doc;
        form.load(doc);
        EXPECT_TRUE(doc.GetActive());
        EXPECT_EQ(doc.GetPageCount(), 3);
        EXPECT_EQ(firstText(doc, 2), "Halaman 3");
        EXPECT_EQ(doc.Bytes(), form.whole ? bytes : QByteArray());
        doc.Close();
        EXPECT_TRUE(doc.Bytes().isEmpty());
    }
    EXPECT_GT(customReads, 0);
}

TEST(CoreDocument, FileNameIsKeptWhileOpen) {
    QTemporaryDir dir;
    const QString path = writeFile(dir, "book.pdf", threePages());
    TPdfDocument doc;
    doc.LoadFromFile(path);
    EXPECT_EQ(doc.FileName(), path);
    doc.Close();
    EXPECT_EQ(doc.FileName(), "");
    EXPECT_FALSE(doc.GetActive());
    EXPECT_EQ(doc.GetPageCount(), 0);
}

TEST(CoreDocument, EmptyInputLoadsNothingWithoutError) {
    QByteArray empty;
    QBuffer stream(&empty);
    stream.open(QIODevice::ReadOnly);
    TPdfDocument doc;
    doc.LoadFromBytes(QByteArray::fromStdString(threePages()));
    doc.LoadFromStream(&stream);
    EXPECT_FALSE(doc.GetActive());
    EXPECT_EQ(doc.GetPageCount(), 0);
    doc.LoadFromBytes(empty);
    EXPECT_FALSE(doc.GetActive());
    doc.LoadFromActiveStream(nullptr);
    EXPECT_FALSE(doc.GetActive());
    EXPECT_EQ(messageOf<EPdfException>([&] { doc.GetPage(0); }), "PDF document is not open");
}

TEST(CoreDocument, EngineErrorsBecomeTheirMessages) {
    const std::string pdf = threePages();
    const std::string locked = encryptFixturePdf(pdf, "rahasia");
    struct Case {
        const char *name;
        std::string bytes;
        QByteArray password;
        std::string expected;
    } cases[] = {
        {"not a PDF", std::string(2000, 'x'), {}, "File is not a PDF document or is corrupted"},
        {"cut after the header",
         pdf.substr(0, pdf.find("1 0 obj")),
         {},
         "File is not a PDF document or is corrupted"},
        {"cut before the first page",
         pdf.substr(0, pdf.find("3 0 obj")),
         {},
         "File is not a PDF document or is corrupted"},
        {"a page tree without pages", buildFixturePdf({}), {}, "File is not a PDF document or is corrupted"},
        {"no password", locked, {}, "Password required oder invalid password"},
        {"wrong password", locked, "salah", "Password required oder invalid password"},
        {"right password", locked, "rahasia", "no exception"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TPdfDocument doc;
        EXPECT_EQ(messageOf<EPdfException>(
                      [&] { doc.LoadFromBytes(QByteArray::fromStdString(c.bytes), c.password); }),
                  c.expected);
        EXPECT_EQ(doc.GetActive(), c.expected == "no exception")
            << "a failed load leaves the document closed";
    }
    TPdfDocument doc;
    doc.LoadFromBytes(QByteArray::fromStdString(locked), "rahasia");
    EXPECT_EQ(firstText(doc, 0), "Halaman 1");
}

TEST(CoreDocument, TruncatedOrCorruptDocumentsFailCleanly) {
    const std::string pdf = threePages();
    for (size_t cut : {pdf.size() / 4, pdf.size() / 2, pdf.size() - 40}) {
        SCOPED_TRACE(cut);
        std::string damaged = pdf.substr(0, cut);
        TPdfDocument doc;
        try {
            doc.LoadFromBytes(QByteArray::fromStdString(damaged));
            for (int i = 0; i < doc.GetPageCount(); ++i) {
                try {
                    firstText(doc, i);
                } catch (const EPdfException &error) {
                    EXPECT_STREQ(error.what(), "Page does not exist or data error");
                }
            }
        } catch (const EPdfException &error) {
            EXPECT_FALSE(doc.GetActive());
        }
    }
}

// Damaged files: whatever the damage, every operation ends normally or in an EPdfException.
TEST(CoreDocument, MutatedDocumentsFailOnlyWithPdfExceptions) {
    FixturePage page;
    page.content = fixtureText(72, 700, 12, "Kunjungi www.kelvara.id untuk buku-") +
                   fixtureText(72, 686, 12, "buku baru");
    page.annots.push_back("<< /Type /Annot /Subtype /Link /Rect [0 0 10 10] >>");
    const std::string pdf = buildFixturePdf({page, page});
    std::mt19937 random(2024);
    QImage image(60, 80, QImage::Format_RGB32);
    int opened = 0;
    for (int round = 0; round < 150; ++round) {
        std::string damaged = pdf;
        for (int i = 0; i < 12; ++i)
            damaged[random() % damaged.size()] = char(random() % 256);
        TPdfDocument doc;
        try {
            doc.LoadFromBytes(QByteArray::fromStdString(damaged));
            ++opened;
            for (int p = 0; p < doc.GetPageCount(); ++p) {
                try {
                    TPdfPage *pg = doc.GetPage(p);
                    QPainter painter(&image);
                    pg->Draw(painter, 0, 0, 60, 80, TPdfPageRotation(round % 4), proAnnotations);
                    pg->ReadText(0, pg->GetCharCount());
                    pg->GetWebLinkCount();
                    int index = 0, count = 0;
                    if (pg->BeginFind("buku", false, true, round % 2))
                        while (pg->FindNext(index, count)) {
                        }
                } catch (const EPdfException &) {
                }
            }
        } catch (const EPdfException &) {
            EXPECT_FALSE(doc.GetActive());
        }
    }
    EXPECT_GT(opened, 0);
}

TEST(CoreDocument, FileFailures) {
    QTemporaryDir dir;
    TPdfDocument doc;
    const std::string missing =
        messageOf<std::runtime_error>([&] { doc.LoadFromFile(dir.filePath("missing.pdf")); });
    EXPECT_NE(missing.find("missing.pdf"), std::string::npos) << missing;
    EXPECT_EQ(messageOf<EPdfException>([&] { doc.LoadFromFile(dir.filePath("missing.pdf")); }),
              "other exception: " + missing)
        << "an operating-system error is raised as such";
    // A sparse file claiming 4 GiB is refused before anything is read.
    const QString big = dir.filePath("besar.pdf");
    {
        QFile file(big);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(qint64(1) << 32));
    }
    for (TPdfDocumentLoadOption option : {dloNormal, dloMMF, dloOnDemand})
        EXPECT_EQ(messageOf<EPdfException>([&] { doc.LoadFromFile(big, {}, option); }),
                  "PDF file \"besar.pdf\" is too large");
    EXPECT_FALSE(doc.GetActive());
}

TEST(CoreDocument, ByteRangeArguments) {
    const QByteArray bytes = QByteArray::fromStdString(threePages());
    TPdfDocument doc;
    struct Case {
        qint64 index, count;
        std::string expected;
    } cases[] = {
        {bytes.size(), 1, "Functions argument \"Index\" out of range"},
        {-1, 10, "Functions argument \"Index\" out of range"},
        {1, bytes.size(), "Functions argument \"Count\" out of range"},
        {0, -1, "Functions argument \"Count\" out of range"},
        {0, bytes.size(), "no exception"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(messageOf<EPdfArgumentOutOfRange>([&] { doc.LoadFromBytes(bytes, c.index, c.count); }),
                  c.expected)
            << c.index << "+" << c.count;
}

TEST(CoreDocument, StreamClaimingMoreThanItHolds) {
    // A device that says it holds 4 GiB but delivers only the document.
    class Liar : public QBuffer {
    public:
        using QBuffer::QBuffer;
        qint64 size() const override { return qint64(1) << 32; }
    };
    QByteArray bytes = QByteArray::fromStdString(threePages());
    Liar stream(&bytes);
    stream.open(QIODevice::ReadOnly);
    TPdfDocument doc;
    doc.LoadFromStream(&stream);
    EXPECT_EQ(doc.GetPageCount(), 3);
}

TEST(CoreDocument, PageCacheAndPageClose) {
    TPdfDocument doc;
    doc.LoadFromBytes(QByteArray::fromStdString(threePages()));
    TPdfPage *page = doc.GetPage(1);
    EXPECT_EQ(doc.GetPage(1), page);
    EXPECT_TRUE(page->IsLoaded());
    page->Close();
    EXPECT_FALSE(page->IsLoaded());
    EXPECT_EQ(page->ReadText(0, 100), "Halaman 2") << "a closed page reopens on use";
    EXPECT_TRUE(page->IsLoaded());
    EXPECT_EQ(doc.GetPage(1), page);
    for (int index : {-1, 3})
        EXPECT_EQ(messageOf<EPdfException>([&] { doc.GetPage(index); }), "Page does not exist or data error");
}

TEST(CoreDocument, ReadPageTextReleasesOnlyPagesItLoaded) {
    TPdfDocument doc;
    doc.LoadFromBytes(QByteArray::fromStdString(threePages()));
    TPdfPage *shown = doc.GetPage(0);
    EXPECT_EQ(doc.ReadPageText(0), "Halaman 1");
    EXPECT_TRUE(shown->IsLoaded()) << "a page loaded before the read stays loaded";
    for (int index : {1, 2}) {
        EXPECT_EQ(doc.ReadPageText(index), QString("Halaman %1").arg(index + 1));
        EXPECT_FALSE(doc.GetPage(index)->IsLoaded()) << index;
    }
    EXPECT_EQ(doc.ReadPageText(1), "Halaman 2") << "a released page reads again";
    for (int index : {-1, 3})
        EXPECT_EQ(messageOf<EPdfException>([&] { doc.ReadPageText(index); }),
                  "Page does not exist or data error");
    doc.Close();
    EXPECT_EQ(messageOf<EPdfException>([&] { doc.ReadPageText(0); }), "PDF document is not open");
}

TEST(CoreDocument, UnsupportedFeaturesAreRaised) {
    FixturePage withSound;
    withSound.annots.push_back("<< /Type /Annot /Subtype /Sound /Rect [0 0 10 10] >>");
    FixturePage plain;
    const std::string pageFeature = buildFixturePdf({plain, withSound});
    const std::string docFeature =
        buildFixturePdf({plain}, "/Names << /EmbeddedFiles << /Names [(a.txt) << /Type /Filespec >>] >> >>");
    TPdfDocument doc;
    EXPECT_EQ(messageOf<EPdfUnsupportedFeatureException>(
                  [&] { doc.LoadFromBytes(QByteArray::fromStdString(docFeature)); }),
              "Function Attachment not supported");
    EXPECT_FALSE(doc.GetActive());
    doc.LoadFromBytes(QByteArray::fromStdString(pageFeature));
    EXPECT_EQ(firstText(doc, 0), "");
    EXPECT_EQ(messageOf<EPdfUnsupportedFeatureException>([&] { doc.GetPage(1); }),
              "Function Sound not supported");
    EXPECT_TRUE(doc.GetActive());
}

TEST(CoreDocument, DocumentProperties) {
    QByteArray written;
    {
        QBuffer out(&written);
        out.open(QIODevice::WriteOnly);
        QPdfWriter writer(&out);
        writer.setTitle("Sejarah Nusantara");
        writer.setCreator("Kelvara");
        QPainter painter(&writer);
        painter.drawText(100, 100, "x");
    }
    TPdfDocument doc;
    EXPECT_EQ(messageOf<EPdfException>([&] { doc.GetMetaText("Title"); }), "PDF document is not open");
    doc.LoadFromBytes(written);
    EXPECT_EQ(doc.GetMetaText("Title"), "Sejarah Nusantara");
    EXPECT_EQ(doc.GetMetaText("Creator"), "Kelvara");
    EXPECT_EQ(doc.GetMetaText("Keywords"), "");
    EXPECT_EQ(doc.GetPermissions(), 0xFFFFFFFFu);
    EXPECT_EQ(doc.GetSecurityHandlerRevision(), -1);
    EXPECT_TRUE(doc.GetPrintScaling());
    EXPECT_EQ(doc.GetNumberOfCopies(), 1);

    FixturePage upright, turned;
    turned.rotate = 270;
    const std::string pdf =
        buildFixturePdf({upright, turned}, "/ViewerPreferences << /PrintScaling /None /NumCopies 3 >>");
    doc.LoadFromBytes(QByteArray::fromStdString(encryptFixturePdf(pdf, "kunci")), "kunci");
    EXPECT_EQ(doc.GetFileVersion(), 17);
    EXPECT_NE(doc.GetSecurityHandlerRevision(), -1);
    EXPECT_FALSE(doc.GetPrintScaling());
    EXPECT_EQ(doc.GetNumberOfCopies(), 3);
    EXPECT_EQ(doc.GetPageSize(0), (TPdfPoint{612, 792}));
    EXPECT_EQ(doc.GetPageSize(1), (TPdfPoint{792, 612}));
    EXPECT_EQ(messageOf<EPdfException>([&] { doc.GetPageSize(2); }), "Page does not exist or data error");
}

// A page tree whose /Count claims far more pages than the file could hold is counted leaf by leaf, so a
// claim of billions makes no page table of billions; a tree that lists itself among its kids is not
// followed round.
TEST(CoreDocument, APageCountBeyondTheFileIsCountedInstead) {
    const std::string page = " 0 obj << /Type /Page /Parent 2 0 R /MediaBox [0 0 300 400] >> endobj\n";
    const struct {
        const char *name;
        std::string header;
        std::string kids;
        int pages;
    } cases[] = {
        {"two pages", "%PDF-1.4", "3 0 R 4 0 R", 2},
        {"a cycle", "%PDF-1.4", "3 0 R 2 0 R 4 0 R", 2},
        {"one page", "%PDF-1.4", "3 0 R", 1},
        {"a broken header, repaired", "%PDFDF-1.4", "3 0 R", 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const std::string pdf = c.header +
                                "\n1 0 obj << /Type /Catalog /Pages 2 0 R >> endobj\n"
                                "2 0 obj << /Type /Pages /Kids [" +
                                c.kids + "] /Count 2000000000 >> endobj\n3" + page + "4" + page +
                                "trailer << /Size 5 /Root 1 0 R >>\n%%EOF\n";
        TPdfDocument doc;
        doc.LoadFromBytes(QByteArray::fromStdString(pdf));
        EXPECT_EQ(doc.PageCount(), c.pages);
        EXPECT_EQ(doc.GetPageSize(0), (TPdfPoint{300, 400}));
    }
}

TEST(CoreDocument, ZeroSizedPage) {
    FixturePage zero;
    zero.width = 0;
    zero.height = 0;
    zero.content = fixtureText(0, 0, 12, "x");
    TPdfDocument doc;
    doc.LoadFromBytes(QByteArray::fromStdString(buildFixturePdf({zero})));
    TPdfPage *page = doc.GetPage(0);
    EXPECT_GE(page->Width(), 0);
    const QPoint p = page->PageToDevice(0, 0, 100, 100, 5, 5);
    const TPdfPoint back = page->DeviceToPage(0, 0, 100, 100, p.x(), p.y());
    EXPECT_TRUE(std::isfinite(back.X) && std::isfinite(back.Y));
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    page->Draw(painter, 0, 0, 10, 10);
}

} // namespace
