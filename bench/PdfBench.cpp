// PDF engine figures: drawing a page at 100% on a 96-dpi screen against `mutool draw` in the same run,
// the in-book search's walk over the text of a 1,600-page book, and opening a 400-page book from memory
// up to its first page drawn.
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
#include <random>

namespace {

using Clock = std::chrono::steady_clock;

// A book page: 46 lines of 10-pt text in two fonts, a rule and a running head.
std::string bookPdf(int pages) {
    static const char *words[] = {
        "perpustakaan", "buku",   "membaca", "pengetahuan", "sejarah",    "bahasa",     "dan",        "yang",
        "untuk",        "dengan", "adalah",  "dalam",       "penelitian", "masyarakat", "pendidikan", "ini",
        "itu",          "kota",   "negara",  "ilmu",        "teknologi",  "data"};
    std::mt19937 random(7);
    std::vector<FixturePage> book(pages);
    for (int p = 0; p < pages; ++p) {
        std::string &c = book[p].content;
        c += fixtureText(72, 750, 9,
                         "Bab " + std::to_string(p / 20 + 1) + " - Halaman " + std::to_string(p + 1), "F2");
        c += "0.5 w 72 742 m 540 742 l S\n";
        for (int line = 0; line < 46; ++line) {
            std::string text;
            while (text.size() < 92)
                text += std::string(words[random() % std::size(words)]) + " ";
            c += fixtureText(72, 720 - line * 14.5, 10, text);
        }
    }
    return buildFixturePdf(book);
}

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
    const std::string pdf = bookPdf(Pages);
    {
        QFile out(file);
        out.open(QIODevice::WriteOnly);
        out.write(pdf.data(), qint64(pdf.size()));
    }
    TPdfDocument doc;
    doc.LoadFromFile(file);
    QImage image(screenPixels(612), screenPixels(792), QImage::Format_RGB32);
    double ours = 0, reference = 0;
    for (auto _ : state) {
        double total = 0;
        for (int i = 0; i < Pages; ++i)
            total += drawPage(doc, i, image);
        ours = total / Pages;
        reference = mutoolSecondsPerPage(file, Pages);
        state.SetIterationTime(ours);
    }
    state.counters["ours_ms_per_page"] = ours * 1e3;
    state.counters["mutool_ms_per_page"] = reference * 1e3;
    state.counters["ratio_max_1.2"] = ours / reference;
}
BENCHMARK(RenderPageVsMutool)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

// The in-book search's work per page: the page's whole text, upper-cased, tested for the phrase.
void TextWalkWithoutHit(benchmark::State &state) {
    const QByteArray bytes = QByteArray::fromStdString(bookPdf(1600));
    TPdfDocument doc;
    doc.LoadFromBytes(bytes);
    const QString phrase = QString("tidak ada di buku").toUpper();
    for (auto _ : state) {
        bool found = false;
        for (int p = 0; p < doc.GetPageCount() && !found; ++p) {
            TPdfPage *page = doc.GetPage(p);
            found = page->ReadText(0, page->GetCharCount()).toUpper().contains(phrase);
            page->Close();
        }
        benchmark::DoNotOptimize(found);
    }
    state.counters["target_max_s"] = 2;
}
BENCHMARK(TextWalkWithoutHit)->Iterations(2)->Unit(benchmark::kSecond);

void OpenBookToFirstPage(benchmark::State &state) {
    QByteArray bytes = QByteArray::fromStdString(bookPdf(400));
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
