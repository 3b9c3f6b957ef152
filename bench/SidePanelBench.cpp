// The reader's side panel on a 1,600-page book with an outline of chapters and sections: opening it to its
// first screen of thumbnails, page turns with it open against turns without it in the same run, and its
// memory with every thumbnail of the book rendered.
#include "devserver/PdfMaker.h"
#include "devserver/Prose.h"
#include "pdf/PageThumbnails.h"
#include "pdfview/PdfControl.h"
#include "reader/BookSidePanel.h"
#include "reader/ThumbnailStrip.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHBoxLayout>
#include <QTextStream>
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numeric>

namespace {

constexpr int PageCount = 1600;
constexpr int ChapterLength = 16;

// Pages of body text with a heading at each chapter and at its middle; the outline lists the chapters
// with their two sections each.
QByteArray makeBook() {
    devserver::Prose prose(1600, "perpustakaan digital");
    std::vector<devserver::PdfPage> pages(PageCount);
    std::vector<devserver::PdfOutlineEntry> outline;
    for (int i = 0; i < PageCount; ++i) {
        devserver::PdfPage &page = pages[std::size_t(i)];
        const int chapter = i / ChapterLength + 1;
        if (i % ChapterLength == 0) {
            page.heading = "Bab " + std::to_string(chapter);
            outline.push_back({page.heading, i, {}});
        }
        if (i % (ChapterLength / 2) == 0) {
            const std::string section =
                std::to_string(chapter) + "." + std::to_string(i % ChapterLength ? 2 : 1);
            outline.back().children.push_back({"Bagian " + section, i, {}});
        }
        page.lines = devserver::wrapText(prose.paragraph(20), 82);
        page.footer = std::to_string(i + 1);
    }
    return QByteArray::fromStdString(devserver::makePdf("Buku Seribu Enam Ratus Halaman", pages, outline));
}

const QByteArray &book() {
    static const QByteArray bytes = makeBook();
    return bytes;
}

// The reader's page area: the side panel left of a book view at the reader's size, the panel following
// the view's page as the reader makes it.
struct ReaderArea {
    QWidget window;
    BookSidePanel *side = new BookSidePanel(&window);
    TPdfControl *control = new TPdfControl(&window);
    std::shared_ptr<SidePanelBook> shownBook;

    explicit ReaderArea(bool withPanel) {
        auto *row = new QHBoxLayout(&window);
        row->setContentsMargins(0, 0, 0, 0);
        row->addWidget(side);
        row->addWidget(control, 1);
        window.resize(1280, 700);
        control->SetScaleMode(TPdfControlScaleMode::smZoom);
        control->LoadFromBytes(book());
        control->OnPageChange = [this](TPdfControl *view) {
            if (shownBook)
                side->showPage(view->PageIndex());
        };
        side->setVisible(false);
        window.show();
        QApplication::processEvents();
        if (withPanel)
            openPanel();
    }
    ~ReaderArea() { closePanel(); }

    void openPanel() {
        shownBook = side->makeBook(*control->Document(), book());
        side->setVisible(true);
        side->showBook(shownBook.get(), control->PageIndex());
    }
    void closePanel() {
        side->showBook(nullptr, -1);
        side->setVisible(false);
        shownBook.reset();
    }
    // Every thumbnail in view is held and the strip has taken the news of it.
    bool firstScreenIn() {
        QApplication::processEvents();
        const auto [first, last] = side->thumbnailStrip->pagesInView();
        for (int page = first; page <= last; ++page)
            if (shownBook->thumbnails->thumbnail(page).isNull())
                return false;
        return first >= 0;
    }
    // Lets the event loop run as while the member reads the page (the view renders the next page ahead,
    // the panel takes in the thumbnails that came), then turns to the next page and paints it; answers the
    // milliseconds the turn took. The panel's own repaint follows from the event loop, after the page.
    double turn() {
        QApplication::processEvents();
        control->WaitForPrefetch();
        QElapsedTimer timer;
        timer.start();
        control->SetPageIndex((control->PageIndex() + 1) % PageCount);
        control->repaint();
        return timer.nsecsElapsed() / 1e6;
    }
};

double median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

double rssMiB() {
    malloc_trim(0);
    QFile file(QStringLiteral("/proc/self/smaps_rollup"));
    if (!file.open(QIODevice::ReadOnly))
        return NAN;
    QTextStream in(&file);
    for (QString line = in.readLine(); !line.isNull(); line = in.readLine()) {
        const QStringList fields = line.split(' ', Qt::SkipEmptyParts);
        if (fields.size() >= 2 && fields[0] == QLatin1String("Rss:"))
            return fields[1].toDouble() / 1024;
    }
    return NAN;
}

// From the press of the button to every thumbnail of the first screen shown in the strip.
void BM_PanelOpenToFirstScreen(benchmark::State &state) {
    ReaderArea area(false);
    area.control->SetPageIndex(800);
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        area.openPanel();
        while (!area.firstScreenIn())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        area.side->repaint();
        state.SetIterationTime(timer.nsecsElapsed() / 1e9);
        area.closePanel();
    }
    state.counters["target_max_ms"] = 100;
}

// Turns in two areas, one with the panel open, interleaved so that both see the same machine; the median
// turn of each and their ratio. The panel's worker is not waited for: it may still be rendering the
// thumbnails the last turn brought into view while the next turn runs.
void BM_PageTurnPanelOpenAgainstClosed(benchmark::State &state) {
    ReaderArea closed(false), open(true);
    for (auto _ : state) {
        std::vector<double> without, with;
        for (int i = 0; i < 200; ++i) {
            // Each turns in its turn first, so that neither gains by the order.
            ReaderArea &first = i % 2 ? open : closed, &second = i % 2 ? closed : open;
            const double firstMs = first.turn();
            const double secondMs = second.turn();
            (i % 2 ? with : without).push_back(firstMs);
            (i % 2 ? without : with).push_back(secondMs);
        }
        const double closedMs = median(without), openMs = median(with);
        state.SetIterationTime(openMs / 1e3);
        state.counters["closed_ms"] = closedMs;
        state.counters["open_ms"] = openMs;
        state.counters["ratio"] = openMs / closedMs;
    }
    state.counters["ratio_target_max"] = 1.1;
}

// The panel's growth of the process once every page of the book has had its thumbnail rendered, in order,
// and what its store holds then.
void BM_PanelMemoryEveryThumbnail(benchmark::State &state) {
    ReaderArea area(false);
    std::vector<int> everyPage(PageCount);
    std::iota(everyPage.begin(), everyPage.end(), 0);
    for (auto _ : state) {
        const double before = rssMiB();
        QElapsedTimer timer;
        timer.start();
        area.openPanel();
        PageThumbnails &thumbnails = *area.shownBook->thumbnails;
        for (int page = 0; page < PageCount; page += 100) {
            thumbnails.request(std::vector<int>(everyPage.begin() + page, everyPage.begin() + page + 100));
            thumbnails.waitUntilIdle();
            QApplication::processEvents();
        }
        state.SetIterationTime(timer.nsecsElapsed() / 1e9);
        state.counters["held_MiB"] = double(thumbnails.heldBytes()) / (1 << 20);
        state.counters["rss_growth_MiB"] = rssMiB() - before;
        area.closePanel();
    }
    state.counters["rss_growth_target_max_MiB"] = 16;
}

} // namespace

BENCHMARK(BM_PanelOpenToFirstScreen)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_PageTurnPanelOpenAgainstClosed)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
BENCHMARK(BM_PanelMemoryEveryThumbnail)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
