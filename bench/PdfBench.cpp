// PDF engine figures: drawing a page at 100% on a 96-dpi screen against `mutool draw` in the same run, and
// opening a 400-page book from memory up to its first page drawn. The in-book search has its own benchmark
// (BookSearchBench). Targets and references are counters named as scripts/bench-table reads them.
#include "pdf/PdfiumCore.h"
#include "tests/pdf/CorePdfBuilder.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>

namespace {

using Clock = std::chrono::steady_clock;

int screenPixels(double points) {
    return int(std::lround(points / 72 * 96));
}

double drawPage(TPdfDocument &doc, int index, QImage &image) {
    const auto start = Clock::now();
    TPdfPage *page = doc.GetPage(index);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        page->Draw(painter, 0, 0, image.width(), image.height());
    }
    page->Close();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Seconds per page of `mutool draw` at 96 dpi over the given pages, process start included.
double mutoolSecondsPerPage(const QString &file, int pages) {
    QProcess mutool;
    const auto start = Clock::now();
    mutool.start("mutool", {"draw", "-q", "-r", "96", "-F", "pnm", "-o", "/dev/null", file,
                            QString("1-%1").arg(pages)});
    if (!mutool.waitForFinished(120000) || mutool.exitCode() != 0)
        return NAN;
    return std::chrono::duration<double>(Clock::now() - start).count() / pages;
}

void RenderPageVsMutool(benchmark::State &state) {
    constexpr int Pages = 60;
    QTemporaryDir dir;
    const QString file = dir.filePath("book.pdf");
    const std::string pdf = buildBookPdf(Pages);
    {
        QFile out(file);
        out.open(QIODevice::WriteOnly);
        out.write(pdf.data(), qint64(pdf.size()));
    }
    TPdfDocument doc;
    doc.LoadFromFile(file);
    QImage image(screenPixels(612), screenPixels(792), QImage::Format_RGB32);
    double reference = 0;
    for (auto _ : state) {
        double total = 0;
        for (int i = 0; i < Pages; ++i)
            total += drawPage(doc, i, image);
        reference += mutoolSecondsPerPage(file, Pages);
        state.SetIterationTime(total / Pages); // the benchmark's time is ours per page
    }
    state.counters["reference_ms"] = reference * 1e3 / double(state.iterations());
    state.counters["ratio_target_max"] = 1.2;
}
BENCHMARK(RenderPageVsMutool)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

void OpenBookToFirstPage(benchmark::State &state) {
    QByteArray bytes = QByteArray::fromStdString(buildBookPdf(400));
    QImage image(screenPixels(612), screenPixels(792), QImage::Format_RGB32);
    for (auto _ : state) {
        QBuffer stream(&bytes);
        stream.open(QIODevice::ReadOnly);
        TPdfDocument doc;
        doc.LoadFromStream(&stream);
        drawPage(doc, 0, image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["target_max_ms"] = 100;
}
BENCHMARK(OpenBookToFirstPage)->Iterations(10)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
