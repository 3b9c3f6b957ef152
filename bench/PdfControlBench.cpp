// Turning pages in the view control at 100% on a 96-dpi screen: render + paint on the spot, and a paint
// of a page rendered ahead on a pool thread. `mutool draw` of the same pages is the reference. Targets
// and references are counters and labels named as scripts/bench-table reads them.
#include "pdfview/PdfControl.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QFont>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int PageCount = 24;

// Letter pages full of text, like a book's body pages.
QByteArray bookPdf() {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(72);
    writer.setPageSize(QPageSize(QSizeF(612, 792), QPageSize::Point));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&writer);
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPointSizeF(11);
    painter.setFont(font);
    const QString line =
        QStringLiteral("Perpustakaan digital menyimpan buku yang dipinjam anggota dan dibaca di layar. %1");
    for (int page = 0; page < PageCount; ++page) {
        if (page > 0)
            writer.newPage();
        for (int row = 0; row < 48; ++row)
            painter.drawText(QPointF(60, 60 + row * 14.5), line.arg(page * 100 + row));
    }
    painter.end();
    return bytes;
}

const QByteArray &book() {
    static const QByteArray bytes = bookPdf();
    return bytes;
}

struct ShownControl {
    TPdfControl control;
    explicit ShownControl(bool prefetch) {
        control.resize(1000, 1200);
        control.SetScaleMode(TPdfControlScaleMode::smZoom);
        control.SetPrefetchNextPage(prefetch);
        control.LoadFromBytes(book());
        control.show();
        QApplication::processEvents();
        control.repaint();
    }
    // Turns to the next page (after the last, back to the first) and paints it; answers the seconds taken.
    double turn() {
        QElapsedTimer timer;
        timer.start();
        control.SetPageIndex((control.PageIndex() + 1) % PageCount);
        control.repaint();
        return timer.nsecsElapsed() / 1e9;
    }
};

// The controls live across repetitions and go before the application does.
std::unique_ptr<ShownControl> plainControl;
std::unique_ptr<ShownControl> prefetchingControl;

ShownControl &shownControl(std::unique_ptr<ShownControl> &slot, bool prefetch) {
    if (!slot)
        slot = std::make_unique<ShownControl>(prefetch);
    return *slot;
}

// One turn per repetition, so the aggregates give the median turn.
void BM_PageTurnRenderAndPaint(benchmark::State &state) {
    ShownControl &shown = shownControl(plainControl, false);
    for (auto _ : state) {
        QApplication::processEvents();
        state.SetIterationTime(shown.turn());
    }
    state.counters["target_max_ms"] = 8;
    state.counters["ratio_target_max"] = 1.2;
    state.SetLabel("reference: BM_MutoolDrawPerPage");
}

void BM_PageTurnPrefetched(benchmark::State &state) {
    ShownControl &shown = shownControl(prefetchingControl, true);
    for (auto _ : state) {
        if (shown.control.PageIndex() == PageCount - 1)
            shown.turn();                // wrapping to the first page is not a turn to the next one
        QApplication::processEvents();   // the rendering ahead starts from the event loop
        shown.control.WaitForPrefetch(); // the member reads a while before turning
        state.SetIterationTime(shown.turn());
    }
    state.counters["target_max_ms"] = 2;
}

// Reference: mutool renders the same pages at 96 dpi without writing them; time per page.
void BM_MutoolDrawPerPage(benchmark::State &state) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("book.pdf"));
    QFile out(file);
    out.open(QIODevice::WriteOnly);
    out.write(book());
    out.close();
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        QProcess::execute(QStringLiteral("mutool"),
                          {QStringLiteral("draw"), QStringLiteral("-q"), QStringLiteral("-r"),
                           QStringLiteral("96"), file, QStringLiteral("1-%1").arg(PageCount)});
        state.SetIterationTime(timer.nsecsElapsed() / 1e9 / PageCount);
    }
}

} // namespace

BENCHMARK(BM_PageTurnRenderAndPaint)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(60)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_PageTurnPrefetched)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(60)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_MutoolDrawPerPage)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    plainControl.reset();
    prefetchingControl.reset();
    return 0;
}
