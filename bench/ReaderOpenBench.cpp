// Opening a borrowed book: from its last downloaded byte to its first page painted in the reader, for
// the 400-page sample book of the local service. The reference, in the same run, is the PDF view alone
// loading the same bytes and painting page 0 at the same size.
#include "bench/BenchHome.h"
#include "bench/BenchService.h"
#include "bridge/LibraryController.h"
#include "bridge/ProgramState.h"
#include "devserver/Database.h"
#include "devserver/SampleContent.h"
#include "pdfview/PdfControl.h"
#include "prompts/MessageBoxes.h"
#include "reader/ReaderController.h"
#include "reader/ReaderPanel.h"
#include "service/HttpCall.h"
#include "service/ReplyValues.h"
#include "service/RuvasaLib.h"
#include "tasks/BackgroundTask.h"
#include "tests/app/RecordingLibraryWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <stdexcept>

namespace {

const std::string LongBook = devserver::kBookLong;

// Runs the event loop until `done` holds. It sleeps between events rather than spinning, so the
// service's and the pool's threads keep both cores; a short timer wakes it to check `done`.
bool processUntil(const std::function<bool()> &done, int timeoutMs = 30000) {
    QTimer wake;
    wake.start(2);
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    return done();
}

// Makes `control` call `painted` at the end of each of its paint passes that showed a page.
void watchPaints(TPdfControl &control, std::function<void()> painted) {
    control.OnPaint = [painted = std::move(painted)](TPdfControl *sender) {
        if (sender->IsPageValid())
            painted();
    };
}

// Logs `lib` in as the first sample member and answers the long book's detail reply.
JsonPtr longBookDetail(TRuvasaLib &lib) {
    logInSampleMember(lib);
    JsonPtr detail = lib.DetailContentRequest(LongBook);
    if (replyText(detail, "code") != "200")
        throw std::runtime_error("no detail reply for the long book");
    return detail;
}

// The size the reader gives a book's view; the reference paints at the same size.
QSize readerViewSize(1000, 700);

// Times one opening in the reader. The reader's `downloadEnded` (the first thing it does with the
// downloaded bytes) starts it; the first child added to a reader page marks the book's view created
// (the loan was granted); the first paint of that view with its page ends it.
class OpenClock : public QObject {
public:
    OpenClock(TReaderController &reader, ReaderPanel &panel) : panel(panel) {
        connect(&reader, &TReaderController::downloadEnded, this, [this] { start(); });
        qApp->installEventFilter(this);
    }
    ~OpenClock() override { qApp->removeEventFilter(this); }

    bool painted() const { return paintedNs >= 0; }
    double totalMs() const { return paintedNs / 1e6; }
    double loanMs() const { return createdNs / 1e6; }
    double viewMs() const { return (paintedNs - createdNs) / 1e6; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (!running)
            return false;
        if (event->type() == QEvent::ChildAdded && createdNs < 0 && isReaderPage(watched))
            createdNs = clock.nsecsElapsed();
        if (event->type() == QEvent::Paint && !hooked)
            if (auto *view = qobject_cast<TPdfControl *>(watched)) {
                hooked = true;
                watchPaints(*view, [this] { notePaint(); });
            }
        return false;
    }

private:
    void start() {
        createdNs = paintedNs = -1;
        hooked = false;
        running = true;
        clock.start();
    }
    void notePaint() {
        if (running) {
            paintedNs = clock.nsecsElapsed();
            running = false;
        }
    }
    bool isReaderPage(QObject *object) const {
        for (int slot = 0; slot < ReaderPanel::SlotCount; ++slot)
            if (panel.sheet(slot) == object)
                return true;
        return false;
    }

    ReaderPanel &panel;
    QElapsedTimer clock;
    bool running = false;
    bool hooked = false;
    qint64 createdNs = -1;
    qint64 paintedNs = -1;
};

// The reader as the main window holds it, over a recording library window: the reader's area in a
// stacked widget shown offscreen, and a logged-in service client with the long book's detail reply.
struct ReaderRig {
    devserver::Database &db = benchService().server().database();
    ScriptedMessageBoxes boxes;
    ScopedMessageBoxes scope{boxes};
    TRuvasaLib lib{benchService().endpoint()};
    RecordingLibraryWindow window;
    ProgramState state;
    TLibraryController library{window, lib, state};
    QStackedWidget areas;
    ReaderPanel *panel = new ReaderPanel(&areas);
    TReaderController reader{window, library, *panel, lib};
    OpenClock clock{reader, *panel};
    JsonPtr detail;

    ReaderRig() {
        areas.addWidget(new QWidget(&areas)); // the library area
        areas.addWidget(panel);
        areas.resize(1000, 800);
        areas.show();
        detail = longBookDetail(lib);
    }
    ~ReaderRig() {
        reader.releaseAll();
        BackgroundTask::waitForAll();
        QCoreApplication::processEvents();
    }

    // Borrows the long book as its detail page's "baca" does; true once its first page is painted.
    bool open() {
        lib.FDetailContentJson.store(detail);
        const std::size_t shown = boxes.shown.size();
        reader.startBookDownload(BorrowRequest::from(detail));
        return processUntil([&] { return clock.painted() || boxes.shown.size() != shown; }) &&
               clock.painted();
    }
    // Returns the book in front with a scripted Yes, and leaves the service as before the first loan:
    // no loan, no last page, no stored annotations, so every opening is a first borrowing.
    void returnBook() {
        boxes.answers.push_back(MsgAnswer::Yes);
        reader.btnReturnClick();
        BackgroundTask::waitForAll();
        QCoreApplication::processEvents();
        db.run("UPDATE loans SET ended = datetime('now'), end_reason = 'bench' WHERE ended IS NULL");
        db.run("DELETE FROM reading_progress");
        db.run("DELETE FROM annotations");
    }
};

void BM_ReaderDownloadedBookToFirstPaint(benchmark::State &state) {
    ReaderRig rig;
    for (auto _ : state) {
        if (!rig.open()) {
            state.SkipWithError("the book did not open");
            break;
        }
        state.SetIterationTime(rig.clock.totalMs() / 1e3);
        // Where the time goes: the loan request up to the view's creation, then the view up to its paint.
        state.counters["loan_ms"] = rig.clock.loanMs();
        state.counters["view_ms"] = rig.clock.viewMs();
        readerViewSize = rig.reader.activeView()->size();
        rig.returnBook();
    }
    state.SetLabel("reference: BM_PdfViewBytesToFirstPaint");
}
BENCHMARK(BM_ReaderDownloadedBookToFirstPaint)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

// The long book's bytes, downloaded once as the reader's download would fetch them.
const QByteArray &longBookBytes() {
    static const QByteArray bytes = [] {
        const ServiceEndpoint endpoint = benchService().endpoint();
        TRuvasaLib lib{endpoint};
        HttpRequest request;
        request.url =
            bookAddress(endpoint.baseUrl, replyText(replyData(longBookDetail(lib)), "nama_pc_file"));
        request.caFile = endpoint.caFile;
        request.maxBodyBytes = std::size_t(1) << 30;
        const HttpResponse response = performHttp(request);
        if (response.status != 200)
            throw std::runtime_error("the long book could not be downloaded");
        return QByteArray::fromStdString(response.body);
    }();
    return bytes;
}

// The reference: a view put into a shown page as the reader does, loading the same bytes at 100%.
void BM_PdfViewBytesToFirstPaint(benchmark::State &state) {
    const QByteArray &bytes = longBookBytes();
    QWidget page;
    auto *layout = new QVBoxLayout(&page);
    layout->setContentsMargins(0, 0, 0, 0);
    page.resize(readerViewSize);
    page.show();
    for (auto _ : state) {
        QElapsedTimer clock;
        qint64 paintedNs = -1;
        clock.start();
        auto view = std::make_unique<TPdfControl>(&page);
        watchPaints(*view, [&] {
            if (paintedNs < 0)
                paintedNs = clock.nsecsElapsed();
        });
        layout->addWidget(view.get());
        view->LoadFromBytes(bytes);
        view->SetScaleMode(TPdfControlScaleMode::smZoom);
        view->SetZoomPercentage(100);
        if (!processUntil([&] { return paintedNs >= 0; })) {
            state.SkipWithError("the page was not painted");
            break;
        }
        state.SetIterationTime(paintedNs / 1e9);
    }
}
BENCHMARK(BM_PdfViewBytesToFirstPaint)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv) {
    const BenchHome home;
    QApplication app(argc, argv);
    benchService(); // sample content is made before anything is timed
    longBookBytes();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
