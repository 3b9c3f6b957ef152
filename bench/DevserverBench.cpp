// The local service's first start (certificates aside): the sample catalogue with its generated
// books, the 400-page book alone, and a sentence search over every page of every book.
#include "devserver/Database.h"
#include "devserver/PdfMaker.h"
#include "devserver/Prose.h"
#include "devserver/SampleContent.h"
#include "devserver/Schema.h"
#include "devserver/SentenceSearch.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace devserver;

static void BM_MakeFourHundredPagePdf(benchmark::State &state) {
    Prose prose(7, "pulau-pulau");
    std::vector<PdfPage> pages;
    for (int i = 0; i < 424; ++i)
        pages.push_back({i % 8 == 0 ? "Bab" : "", wrapText(prose.paragraph(22), 82), std::to_string(i + 1)});
    for (auto _ : state)
        benchmark::DoNotOptimize(makePdf("Ensiklopedia", pages));
}
BENCHMARK(BM_MakeFourHundredPagePdf)->Unit(benchmark::kMillisecond);

static void BM_CreateSampleContent(benchmark::State &state) {
    for (auto _ : state) {
        QTemporaryDir dir;
        Database db(dir.filePath("service.db").toStdString());
        createSchema(db);
        createSampleContent(db, dir.filePath("public").toStdString());
    }
}
BENCHMARK(BM_CreateSampleContent)->Unit(benchmark::kMillisecond)->Iterations(3);

static void BM_SentenceSearchAllPages(benchmark::State &state) {
    QTemporaryDir dir;
    Database db(dir.filePath("service.db").toStdString());
    createSchema(db);
    createSampleContent(db, dir.filePath("public").toStdString());
    for (auto _ : state)
        benchmark::DoNotOptimize(searchSentences(db, "perpustakaan desa", 1, 10));
}
BENCHMARK(BM_SentenceSearchAllPages)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv) {
    // The covers are drawn with text, which needs a GUI application object (never shown).
    int qtArgc = 3;
    char platformFlag[] = "-platform", platform[] = "offscreen";
    char *qtArgv[] = {argv[0], platformFlag, platform, nullptr};
    QGuiApplication app(qtArgc, qtArgv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
