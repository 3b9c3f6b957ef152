// The in-book search over a 1,600-page book without a hit: the first walk, which reads the text of every
// page, beside `mutool draw -F txt` of the same book in the same run; the process's memory growth over
// that walk; and a second search for another phrase, answered from the page text kept by the first.
// Targets and references are counters named as scripts/bench-table reads them.
#include "pdf/BookText.h"
#include "pdf/PdfiumCore.h"
#include "tests/pdf/CorePdfBuilder.h"

#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <iterator>

#include <malloc.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int BookPages = 1600;
// Phrases of words the book never uses.
const char *const MissingPhrases[] = {"tidak ada di buku", "kamus tebal", "sampul merah"};

// The book, written once into a temporary folder for the whole run.
class BookFile {
public:
    BookFile() {
        const std::string pdf = buildBookPdf(BookPages);
        QFile out(path());
        if (!out.open(QIODevice::WriteOnly) ||
            out.write(pdf.data(), qint64(pdf.size())) != qint64(pdf.size()))
            qFatal("cannot write the benchmark book");
    }
    QString path() const { return FDir.filePath("book.pdf"); }

private:
    QTemporaryDir FDir;
};

const BookFile &book() {
    static const BookFile file;
    return file;
}

// The process's resident and proportional set sizes in MiB, after the heap's free memory went back to the
// system, so memory freed before a measure is not taken up again unseen.
struct Memory {
    double Rss = 0;
    double Pss = 0;
};

Memory memoryNow() {
    malloc_trim(0);
    QFile file("/proc/self/smaps_rollup");
    Memory memory;
    if (!file.open(QIODevice::ReadOnly))
        return {NAN, NAN};
    QTextStream in(&file);
    for (QString line = in.readLine(); !line.isNull(); line = in.readLine()) {
        const QStringList fields = line.split(' ', Qt::SkipEmptyParts);
        if (fields.size() >= 2 && fields[0] == "Rss:")
            memory.Rss = fields[1].toDouble() / 1024;
        else if (fields.size() >= 2 && fields[0] == "Pss:")
            memory.Pss = fields[1].toDouble() / 1024;
    }
    return memory;
}

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Seconds `mutool draw` takes to extract the text of every page, process start included.
double mutoolTextSeconds(const QString &file) {
    QProcess mutool;
    const auto start = Clock::now();
    mutool.start("mutool", {"draw", "-q", "-F", "txt", "-o", "/dev/null", file});
    if (!mutool.waitForFinished(300000) || mutool.exitCode() != 0)
        return NAN;
    return secondsSince(start);
}

bool neverCancelled() {
    return false;
}

BookSearchOutcome searchWholeBook(TPdfDocument &doc, BookText &text, const char *phrase) {
    return searchBook(doc, text, QString::fromUtf8(phrase), -1, 1, neverCancelled);
}

void FirstSearchWithoutHit(benchmark::State &state) {
    double reference = 0, rssGrowth = 0, pssGrowth = 0;
    for (auto _ : state) {
        TPdfDocument doc;
        doc.LoadFromFile(book().path());
        BookText text;
        const Memory before = memoryNow();
        const auto start = Clock::now();
        const BookSearchOutcome outcome = searchWholeBook(doc, text, MissingPhrases[0]);
        const double seconds = secondsSince(start);
        const Memory after = memoryNow();
        if (outcome.result != BookSearchResult::NotFound)
            state.SkipWithError("the walk did not end with NotFound");
        state.SetIterationTime(seconds);
        reference += mutoolTextSeconds(book().path());
        // The first walk of the run grows the heap most; later ones reuse what it freed.
        rssGrowth = std::max(rssGrowth, after.Rss - before.Rss);
        pssGrowth = std::max(pssGrowth, after.Pss - before.Pss);
    }
    const double runs = double(state.iterations());
    state.counters["reference_s"] = reference / runs;
    state.counters["target_max_s"] = 2;
    state.counters["rss_growth_MiB"] = rssGrowth;
    state.counters["pss_growth_MiB"] = pssGrowth;
    state.counters["pss_growth_target_max_MiB"] = 50;
}
BENCHMARK(FirstSearchWithoutHit)->UseManualTime()->Iterations(3)->Unit(benchmark::kSecond);

void SecondSearchFromKeptText(benchmark::State &state) {
    TPdfDocument doc;
    doc.LoadFromFile(book().path());
    BookText text;
    searchWholeBook(doc, text, MissingPhrases[0]);
    size_t round = 0;
    for (auto _ : state) {
        const char *phrase = MissingPhrases[1 + round++ % (std::size(MissingPhrases) - 1)];
        if (searchWholeBook(doc, text, phrase).result != BookSearchResult::NotFound)
            state.SkipWithError("the walk did not end with NotFound");
    }
    state.counters["target_max_ms"] = 100;
}
BENCHMARK(SecondSearchFromKeptText)->Iterations(20)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    book();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
