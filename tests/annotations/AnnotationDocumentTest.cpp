// The annotation documents without a window: the stored file, the hit test, page labels, copied texts
// and painting onto an image.
#include "annotations/AnnotationHistory.h"
#include "annotations/AnnotationHitTest.h"
#include "annotations/AnnotationPainter.h"
#include "annotations/BookDocuments.h"
#include "annotations/CitationCopy.h"
#include "annotations/CopiedPhrase.h"
#include "annotations/PageLabel.h"
#include "reader/ReaderRecords.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Page space to device space as a view at 100% would map a 1000-point-high page scrolled to the top.
QPoint toDevice(double x, double y) {
    return QPoint(static_cast<int>(x), static_cast<int>(1000 - y));
}

JsonDocument entry(const char *type, int page, double left, double top, double right, double bottom) {
    return {{"page", page},
            {"type", type},
            {"color", 255},
            {"point", {{"left", left}, {"top", top}, {"right", right}, {"bottom", bottom}}}};
}

JsonDocument document(std::initializer_list<JsonDocument> entries) {
    JsonDocument doc = emptyBookDocument("K1");
    for (const JsonDocument &e : entries)
        doc["data"].push_back(e);
    return doc;
}

TEST(StoredAnnotations, TheFileIsDecodedByItsMarkTakenOverUnchangedAndDeleted) {
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("tempAnnot.json")).toStdString();
    const QString text =
        QStringLiteral(R"({"id_konten":"lain","data":[{"type":"NOTES","text":"Catatan é"}]})");
    auto utf16 = [&](QStringConverter::Encoding encoding) {
        QStringEncoder encode(encoding, QStringEncoder::Flag::WriteBom);
        return QByteArray(encode(text));
    };
    const std::pair<const char *, QByteArray> files[] = {
        {"UTF-8 without a mark", text.toUtf8()},
        {"UTF-8 with a mark", "\xEF\xBB\xBF" + text.toUtf8()},
        {"UTF-16 LE", utf16(QStringConverter::Utf16LE)},
        {"UTF-16 BE", utf16(QStringConverter::Utf16BE)},
    };
    for (const auto &[label, bytes] : files) {
        SCOPED_TRACE(label);
        QFile file(QString::fromStdString(path));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        const std::optional<JsonDocument> taken = takeStoredAnnotations(path);
        ASSERT_TRUE(taken);
        EXPECT_EQ(taken->dump(), text.toStdString());
        EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
    }
    EXPECT_FALSE(takeStoredAnnotations(path)) << "no file, nothing taken";

    for (const char *bad : {"{\"id_konten\":", "[1,2]", "\"text\""}) {
        SCOPED_TRACE(bad);
        QFile file(QString::fromStdString(path));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bad);
        file.close();
        EXPECT_THROW(takeStoredAnnotations(path), std::exception);
        EXPECT_TRUE(QFile::exists(QString::fromStdString(path))) << "an unreadable file is kept";
    }
}

// A document nested far deeper than annotations nest is refused like one that is no JSON object: written
// out again at the return it would overflow the stack.
TEST(StoredAnnotations, ADocumentNestedTooDeepIsRefusedAndKept) {
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("tempAnnot.json")).toStdString();
    const auto nested = [](int depth) {
        return R"({"id_konten":"1","data":)" + std::string(size_t(depth), '[') +
               std::string(size_t(depth), ']') + "}";
    };
    const struct {
        int depth;
        bool taken;
    } cases[] = {{100'000, false}, {300, false}, {200, true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.depth);
        QFile file(QString::fromStdString(path));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::fromStdString(nested(c.depth)));
        file.close();
        if (c.taken) {
            const std::optional<JsonDocument> taken = takeStoredAnnotations(path);
            ASSERT_TRUE(taken);
            EXPECT_EQ(taken->dump(), nested(c.depth));
        } else {
            EXPECT_THROW(takeStoredAnnotations(path), std::runtime_error);
        }
        EXPECT_EQ(QFile::exists(QString::fromStdString(path)), !c.taken);
    }
}

TEST(StoredAnnotations, ANewDocumentHoldsTheBookAndNoEntries) {
    EXPECT_EQ(emptyBookDocument("1001").dump(), R"({"id_konten":"1001","data":[]})");
}

TEST(AnnotationHitTest, TheFirstEntryWhoseBoxHoldsThePointOnThisPageWins) {
    // On screen: box from (100, 100) to (200, 150).
    const JsonDocument box = entry("RECTANGLE", 2, 100, 900, 200, 850);
    const JsonDocument reversed = entry("RECTANGLE", 2, 200, 850, 100, 900); // dragged up-left
    const JsonDocument later = entry("HIGHLIGHT", 2, 90, 910, 210, 840);
    const JsonDocument doc = document({entry("INK", 1, 0, 1000, 1000, 0), box, later, reversed});
    struct Case {
        QPoint at;
        int page;
        int expected;
    };
    const Case cases[] = {
        {{150, 120}, 2, 1},                                           // inside both: the earlier one
        {{95, 95}, 2, 2},                                             // only inside the wider later one
        {{205, 145}, 2, 2},  {{250, 120}, 2, -1}, {{150, 120}, 1, 0}, // another page: only its own entries
        {{150, 120}, 3, -1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.at.x() << "," << c.at.y() << " page " << c.page);
        EXPECT_EQ(annotationAt(doc, c.page, c.at, toDevice), c.expected);
    }
    EXPECT_EQ(annotationAt(document({reversed}), 2, {150, 120}, toDevice), -1)
        << "reversed corners never hit";

    JsonDocument shifted = doc;
    shifted["data"].erase(1);
    EXPECT_EQ(annotationAt(shifted, 2, {150, 120}, toDevice), 1) << "positions move down after a removal";
    // Missing numbers are 0: the box shrinks to the one point (0, 0) of the page.
    const JsonDocument pointless = document({{{"type", "INK"}}});
    EXPECT_EQ(annotationAt(pointless, 0, {0, 1000}, toDevice), 0);
    EXPECT_EQ(annotationAt(pointless, 0, {1, 1000}, toDevice), -1);
    EXPECT_EQ(annotationAt(pointless, 0, {0, 999}, toDevice), -1);
}

TEST(AnnotationHitTest, EveryEdgeOfAnInkStrokesBoxPicksIt) {
    // On screen: box from (100, 100) to (200, 150).
    const JsonDocument doc = document({entry("INK", 0, 100, 900, 200, 850)});
    struct Case {
        const char *edge;
        QPoint on, beyond;
    };
    const Case cases[] = {
        {"left", {100, 120}, {99, 120}},
        {"top", {150, 100}, {150, 99}},
        {"right", {200, 120}, {201, 120}},
        {"bottom", {150, 150}, {150, 151}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.edge);
        EXPECT_EQ(annotationAt(doc, 0, c.on, toDevice), 0) << "on the edge";
        EXPECT_EQ(annotationAt(doc, 0, c.beyond, toDevice), -1) << "one pixel beyond it";
    }
    for (const QPoint corner : {QPoint(100, 100), QPoint(200, 100), QPoint(100, 150), QPoint(200, 150)})
        EXPECT_EQ(annotationAt(doc, 0, corner, toDevice), 0) << corner.x() << "," << corner.y();
}

TEST(PageLabel, FrontMatterInRomanNumeralsThenDecimals) {
    struct Case {
        int index, roman;
        const char *label;
    };
    const Case cases[] = {
        {0, 4, "I"}, {1, 4, "II"}, {3, 4, "IV"},    {4, 4, "1"},      {10, 4, "7"},
        {0, 0, "1"}, {8, 9, "IX"}, {13, 14, "XIV"}, {48, 49, "XLIX"}, {1993, 2000, "MCMXCIV"}};
    for (const Case &c : cases)
        EXPECT_EQ(printedPageLabel(c.index, c.roman), c.label) << c.index << " of " << c.roman;
}

TEST(PageLabel, TypedPagesAreNumbersAsTheBoxShowsThemOrFrontMatterLabels) {
    struct Case {
        const char *typed;
        int roman, count;
        std::optional<int> index;
    };
    const Case cases[] = {
        {"1", 4, 10, 0},
        {"10", 4, 10, 9},
        {" 7 ", 0, 10, 6},
        {"3/10", 0, 10, 2},
        {"iii", 4, 10, 2},
        {"IV", 4, 10, 3},
        {"Ii", 4, 10, 1},
        {"v", 4, 10, std::nullopt},
        {"iii", 0, 10, std::nullopt},
        {"0", 4, 10, std::nullopt},
        {"11", 4, 10, std::nullopt},
        {"", 4, 10, std::nullopt},
        {"-2", 4, 10, std::nullopt},
        {"2a", 4, 10, std::nullopt},
        {"99999999999", 0, 10, std::nullopt},
        {"ii", 4, 1, std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(pageIndexOfTyped(c.typed, c.roman, c.count), c.index)
            << '"' << c.typed << "\" with " << c.roman << " roman of " << c.count;
}

// The document's entries as "id colour" pairs, "1y,2r"; empty without entries.
std::string entriesOf(const JsonDocument &doc) {
    std::string out;
    for (const JsonDocument &entry : doc["data"])
        out += (out.empty() ? "" : ",") + std::to_string(entry["id"].get<int>()) +
               entry["color"].get<std::string>();
    return out;
}

// Steps: 'a' adds an entry, 'd' deletes the first, 'c' turns the first red, 's' records without a
// change; 'u' undoes and 'r' redoes. Each step gives whether it did something and the entries after it.
TEST(AnnotationHistory, UndoAndRedoWalkTheChangesBackToTheStateAtBorrowing) {
    struct Step {
        char op;
        bool done;
        const char *entries;
    };
    struct Case {
        const char *label;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"adds undone one by one, then refused at borrowing",
         {{'a', true, "1y,2y"},
          {'a', true, "1y,2y,3y"},
          {'u', true, "1y,2y"},
          {'u', true, "1y"},
          {'u', false, "1y"}}},
        {"redo puts back what undo took, until nothing is left to redo",
         {{'a', true, "1y,2y"}, {'u', true, "1y"}, {'r', true, "1y,2y"}, {'r', false, "1y,2y"}}},
        {"a new change clears what could be redone",
         {{'a', true, "1y,2y"},
          {'u', true, "1y"},
          {'a', true, "1y,3y"},
          {'r', false, "1y,3y"},
          {'u', true, "1y"}}},
        {"delete and colour change go back the same way",
         {{'d', true, ""},
          {'u', true, "1y"},
          {'c', true, "1r"},
          {'u', true, "1y"},
          {'r', true, "1r"},
          {'u', true, "1y"}}},
        {"a gesture that changed nothing leaves nothing to undo", {{'s', false, "1y"}, {'u', false, "1y"}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.label);
        JsonDocument doc = emptyBookDocument("7");
        doc["data"].push_back({{"id", 1}, {"color", "y"}});
        AnnotationHistory history;
        history.start(doc);
        int next = 2;
        for (const Step &step : c.steps) {
            bool done = false;
            switch (step.op) {
            case 'a':
                doc["data"].push_back({{"id", next++}, {"color", "y"}});
                done = history.record(doc);
                break;
            case 'd':
                doc["data"].erase(0);
                done = history.record(doc);
                break;
            case 'c':
                doc["data"][0]["color"] = "r";
                done = history.record(doc);
                break;
            case 's':
                done = history.record(doc);
                break;
            case 'u':
                done = history.undo(doc);
                break;
            case 'r':
                done = history.redo(doc);
                break;
            }
            EXPECT_EQ(done, step.done) << step.op;
            EXPECT_EQ(entriesOf(doc), step.entries) << step.op;
        }
    }
}

TEST(CopiedText, TheCitationBlockAndOneRecordPerPageAndPhrase) {
    TDetailBook book;
    book.judul = "Hikayat";
    book.penulis = "Andrea";
    book.penerbit = "Pustaka";
    book.tahun_terbit = "2020";
    EXPECT_EQ(
        citationBlock(book, "IV", QStringLiteral("frasa ini")),
        QStringLiteral("Judul : Hikayat\r\nPenulis : Andrea\r\nPenerbit : Pustaka\r\nTahun Terbit : 2020\r\n"
                       "Halaman : IV\r\nFrase : frasa ini"));

    JsonDocument copies = emptyBookDocument("1001");
    EXPECT_TRUE(recordCopiedText(copies, "3", "frasa"));
    EXPECT_FALSE(recordCopiedText(copies, "3", "frasa"));
    EXPECT_TRUE(recordCopiedText(copies, "4", "frasa"));
    EXPECT_TRUE(recordCopiedText(copies, "4", ""));
    EXPECT_EQ(copies.dump(), R"({"id_konten":"1001","data":[{"page":"3","text":"frasa"},{"page":"4","text":)"
                             R"("frasa"},{"page":"4","text":""}]})");
}

TEST(CopiedText, LinesAreJoinedByOneSpaceAndWrappedWordsClosedUp) {
    struct Case {
        const char *what;
        std::vector<SelectionPiece> pieces;
        QString phrase;
    };
    const QString wrap(QChar(0xFFFE));
    const Case cases[] = {
        {"three lines",
         {{"di pelabuhan", false}, {"di tepi danau", true}, {"yang tenang", true}},
         "di pelabuhan di tepi danau yang tenang"},
        {"a wrapped word", {{"yang te" + wrap, false}, {"nang", true}}, "yang tenang"},
        {"a reduplicated word keeps its hyphen",
         {{"cahaya kunang" + wrap, false}, {"kunang itu", true}},
         "cahaya kunang-kunang itu"},
        {"so does a partly repeated one", {{"Berlari" + wrap, false}, {"lari.", true}}, "Berlari-lari."},
        {"a short repeat is a broken word", {{"ma" + wrap, false}, {"ma", true}}, "mama"},
        {"a soft hyphen", {{QStringLiteral("yang te\u00AD"), false}, {"nang", true}}, "yang tenang"},
        {"a hyphen after a digit stays", {{"halaman 2-", false}, {"3", true}}, "halaman 2-3"},
        {"a hyphen after a letter stays", {{"buku-", false}, {"buku", true}}, "buku-buku"},
        {"a dash after a space", {{"kata -", false}, {"lain", true}}, "kata - lain"},
        {"a space ending the line", {{"kata ", false}, {"lain", true}}, "kata lain"},
        {"a space starting the line", {{"kata", false}, {" lain", true}}, "kata lain"},
        {"a line break ending the line", {{"kata\r\n", false}, {"lain", true}}, "kata\r\nlain"},
        {"pieces of one line", {{"Split", false}, {"word", false}}, "Splitword"},
        {"an empty piece keeps the line break", {{"a", false}, {"", true}, {"b", false}}, "a b"},
        {"a wrap mark ending the passage", {{"exam" + wrap, false}}, "exam"},
        {"nothing", {}, ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(joinSelectionPieces(c.pieces), c.phrase) << c.what;
}

TEST(CopiedText, APieceStartsALineWhenItsMiddleIsOutsideThePreviousPiecesHeight) {
    const TPdfRect line{72, 700, 300, 676}; // page space: top above bottom
    EXPECT_FALSE(startsLine(line, {310, 698, 400, 678})) << "further along the same line";
    EXPECT_FALSE(startsLine(line, {310, 705, 400, 680})) << "a taller piece on the same line";
    EXPECT_TRUE(startsLine(line, {72, 660, 300, 636})) << "the line below";
    EXPECT_TRUE(startsLine(line, {320, 760, 500, 736})) << "the top of the next column";
}

class Painting : public testing::Test {
protected:
    QImage image{400, 1000, QImage::Format_RGB32};
    QImage icon{48, 48, QImage::Format_ARGB32};
    void paint(const JsonDocument &doc, int page) {
        image.fill(Qt::white);
        icon.fill(Qt::blue);
        QPainter painter(&image);
        paintAnnotations(painter, doc, page, toDevice, icon);
    }
    QColor at(int x, int y) const { return image.pixelColor(x, y); }
};

TEST_F(Painting, EachKindIsPaintedInItsOwnColourOnItsOwnPage) {
    JsonDocument highlight{{"page", 0}, {"type", "HIGHLIGHT"}, {"color", 0xffff}};
    highlight["point_data"].push_back({{"left", 100}, {"top", 900}, {"right", 200}, {"bottom", 880}});
    JsonDocument ink{{"page", 0}, {"type", "INK"}, {"color", 0xff0000}, {"point", {{"x", 10}, {"y", 500}}}};
    ink["draw_data"].push_back({{"x", 60}, {"y", 500}});
    JsonDocument note{{"page", 0}, {"type", "NOTES"}, {"point", {{"left", 300}, {"top", 300}}}};
    paint(document({highlight, entry("RECTANGLE", 0, 200, 700, 100, 600), ink, note,
                    entry("RECTANGLE", 1, 0, 1000, 400, 0)}),
          0);

    const QColor band = at(150, 110);
    EXPECT_GT(band.red(), 200);
    EXPECT_GT(band.green(), 200);
    EXPECT_LT(band.blue(), 200) << "yellow blended over white";
    EXPECT_EQ(at(150, 300), QColor(Qt::red)) << "a reversed rectangle is framed all the same";
    EXPECT_EQ(at(150, 350), QColor(Qt::white)) << "a frame has no fill";
    EXPECT_EQ(at(35, 500), QColor(Qt::blue)) << "ink from the pen-down point through draw_data";
    EXPECT_EQ(at(320, 720), QColor(Qt::blue)) << "the note icon at its upper-left corner";
    EXPECT_EQ(at(5, 5), QColor(Qt::white)) << "another page's entry is not painted";
}

TEST_F(Painting, EntriesWithoutPointsPaintNothing) {
    paint(document({{{"page", 0}, {"type", "HIGHLIGHT"}, {"color", 255}},
                    {{"page", 0}, {"type", "INK"}, {"color", 255}},
                    {{"page", 0}, {"type", "CIRCLE"}, {"color", 255}},
                    {{"page", 0}, {"type", "highlight"}, {"color", 255}}}),
          0);
    for (int y = 0; y < image.height(); y += 10)
        for (int x = 0; x < image.width(); x += 10)
            ASSERT_EQ(at(x, y), QColor(Qt::white)) << x << "," << y;
}

} // namespace
