// `kelvara-devtool pdf-corpus`: the figures scripts/corpus adds up, the missed words it lists, the words of
// the reference it does not count, and a book the engine refuses.
#include "tests/pdf/CorePdfBuilder.h"
#include "tests/tools/DevtoolRun.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <sstream>
#include <vector>

namespace {

class DevtoolPdfCorpus : public testing::Test {
protected:
    QString write(const QString &name, const std::string &bytes) {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), qint64(bytes.size()));
        return path;
    }
    QTemporaryDir dir;
};

std::string twoPageBook() {
    FixturePage first, second;
    first.content = fixtureText(72, 700, 12, "buku kota baru");
    second.content = fixtureText(72, 700, 12, "halaman kedua");
    return buildFixturePdf({first, second});
}

// The printed figures, keyed by their names: "pages 2 rendered 2 ltr 4 5 ..." gives pages -> {2}, ltr -> {4,
// 5}.
std::map<std::string, std::vector<long>> figures(const std::string &line) {
    std::map<std::string, std::vector<long>> result;
    std::istringstream in(line);
    std::string word, key;
    while (in >> word) {
        if (std::isalpha(static_cast<unsigned char>(word[0])))
            key = word;
        else
            result[key].push_back(std::stol(word));
    }
    return result;
}

// Words the reference cut out of joined Arabic words (starting with a vowel mark, the word such a fragment
// was cut from, or with a tatweel at an end) are not counted; a whole Arabic word the page lacks is a
// right-to-left miss.
TEST_F(DevtoolPdfCorpus, CountsFoundAndMissedWordsPerScript) {
    const QString book = write("book.pdf", twoPageBook());
    const QString reference =
        write("reference.txt",
              "buku kota hilang \u0640\u0628\u0640 \u064E\u064A\u062A\u064A \u0643\u062A\u0627\u0628 "
              "\u0628\u0650\u0633 \u0650\u0645\n"
              "\fhalaman kedua\n");
    const ToolRun run = runDevtool({"pdf-corpus", book, reference});
    ASSERT_FALSE(run.crashed);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    auto printed = figures(run.out);
    EXPECT_EQ(printed["pages"], std::vector<long>{2});
    EXPECT_EQ(printed["rendered"], std::vector<long>{2});
    EXPECT_EQ(printed["ltr"], (std::vector<long>{4, 5}));
    EXPECT_EQ(printed["rtl"], (std::vector<long>{0, 1}));
    EXPECT_EQ(printed["unmarked"], std::vector<long>{0});
    EXPECT_EQ(printed["other"], (std::vector<long>{0, 0}));
    EXPECT_EQ(run.err, "miss 0 hilang\nmiss 0 \u0643\u062A\u0627\u0628\n");
}

// With mutool's reading beside the reference, a word whose letters that reading lacks is listed as read
// otherwise and left out of the figures, found or not; a right-to-left word it holds in drawing order (a
// lam-alef ligature keeping its letters' order), and a Latin one it holds without the spaces, count as usual.
TEST_F(DevtoolPdfCorpus, WordsTheSecondReadingLacksAreNotCounted) {
    const QString book = write("book.pdf", twoPageBook());
    const QString reference = write(
        "reference.txt", "buku HmJ kota \u0643\u062A\u0627\u0628 \uFEFB\uFE97\uFB8F\n\fhalaman kedua\n");
    // A form feed inside a page's text (a picture font's glyph) must not shift the pages that follow.
    write("second-1.txt", "b u k u\n\u0628\u0627\u062A\u0643 \f\f\uFB8F\uFE97\uFEFB\n");
    write("second-2.txt", "\nhalaman\n");
    const ToolRun run = runDevtool({"pdf-corpus", book, reference, dir.filePath("second-%d.txt")});
    ASSERT_FALSE(run.crashed);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    auto printed = figures(run.out);
    EXPECT_EQ(printed["ltr"], (std::vector<long>{2, 2}));
    EXPECT_EQ(printed["rtl"], (std::vector<long>{0, 2}));
    EXPECT_EQ(printed["other"], (std::vector<long>{3, 0}));
    EXPECT_EQ(run.err, "other 0 HmJ\nother 0 kota\nmiss 0 \u0643\u062A\u0627\u0628\nmiss 0 "
                       "\uFEFB\uFE97\uFB8F\nother 1 kedua\n");
}

TEST_F(DevtoolPdfCorpus, RefusedBooksAndMissingArgumentsEndWithTheirOwnStatus) {
    const QString reference = write("reference.txt", "buku\n");
    const struct {
        const char *name;
        QStringList args;
        int exitCode;
    } cases[] = {
        {"not a PDF", {"pdf-corpus", write("book.pdf", "<html>no book</html>"), reference}, 3},
        {"a missing file", {"pdf-corpus", dir.filePath("none.pdf"), reference}, 1},
        {"no reference", {"pdf-corpus", write("other.pdf", twoPageBook())}, 2},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const ToolRun run = runDevtool(c.args);
        ASSERT_FALSE(run.crashed);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        EXPECT_TRUE(run.out.empty()) << run.out;
    }
}

} // namespace
