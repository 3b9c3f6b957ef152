// Start of the client to its login page shown, against a bare program that opens seven WebEngine
// views on a local page, both offscreen and in the same run, with the local service running. Targets
// and references are counters and labels named as scripts/bench-table reads them.
#include "app/AppGlobals.h"
#include "app/ClientStartup.h"
#include "app/FormMain.h"
#include "bench/BareSevenViews.h"
#include "bench/BenchPages.h"
#include "bench/BenchService.h"
#include "browser/ChromiumView.h"
#include "browser/EngineSettings.h"
#include "devserver/TcpRelay.h"
#include "prompts/MessageBoxes.h"
#include "service/RuvasaLib.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWebEngineCertificateError>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

// A copy of the client's data folder with its generated login page, made by one warm-up start.
QTemporaryDir &loginPageCopy() {
    static QTemporaryDir copy;
    return copy;
}

// The reference: a window with seven views on one profile, the first showing the same login page.
// `fetchLogo`: the first view accepts the local service's certificate, as the client's views do, so
// the page's logo is fetched rather than refused at once.
void bareSevenViewsToFirstPage(benchmark::State &state, bool fetchLogo) {
    const QUrl page = QUrl::fromLocalFile(loginPageCopy().filePath(QStringLiteral("login.html")));
    for (auto _ : state) {
        auto bare = std::make_unique<BareSevenViews>();
        if (fetchLogo)
            QObject::connect(bare->view(0)->page(), &QWebEnginePage::certificateError,
                             [](QWebEngineCertificateError error) { error.acceptCertificate(); });
        bare->showMaximized();
        bare->view(0)->load(page);
        waitForLoad(bare->view(0), QStringLiteral("login.html"));
        state.PauseTiming();
        bare.reset();
        state.ResumeTiming();
    }
}

void BM_BareSevenViewsToFirstPage(benchmark::State &state) {
    bareSevenViewsToFirstPage(state, false);
}
BENCHMARK(BM_BareSevenViewsToFirstPage)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

// The same, with the page's logo fetched from the service as the client fetches it.
void BM_BareSevenViewsToFirstPageFetchingTheLogo(benchmark::State &state) {
    bareSevenViewsToFirstPage(state, true);
}
BENCHMARK(BM_BareSevenViewsToFirstPageFetchingTheLogo)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

// The client: splash, service client and data folder, version check, main window, institution
// profile, and the login page generated and loaded into the first view.
void startClientToLoginPage(benchmark::State &state, const ServiceEndpoint &endpoint) {
    ScriptedMessageBoxes boxes;
    ScopedMessageBoxes scope(boxes);
    const ClientSetup setup{endpoint, [](const QString &) {}};
    QElapsedTimer clock;
    double startupMs = 0;
    for (auto _ : state) {
        clock.start();
        std::unique_ptr<TFormMain> window = startClient(setup);
        startupMs += clock.nsecsElapsed() / 1e6;
        if (!window) {
            state.SkipWithError("the client did not start");
            break;
        }
        window->showMaximized();
        waitForLoad(window->view(LibraryView::Chromium1), QStringLiteral("login.html"));
        state.PauseTiming();
        window->close();
        window.reset();
        state.ResumeTiming();
    }
    // The part spent before the main window is shown (splash, data folder, version check, window).
    state.counters["to_window_ms"] = benchmark::Counter(startupMs, benchmark::Counter::kAvgIterations);
    if (!boxes.shown.empty())
        state.SkipWithError("a message box was shown");
}

void BM_ClientStartToLoginPage(benchmark::State &state) {
    startClientToLoginPage(state, benchService().endpoint());
    state.counters["target_max_ms"] = 1000;
    state.counters["ratio_target_max"] = 1.15;
    state.SetLabel("reference: BM_BareSevenViewsToFirstPageFetchingTheLogo");
}

BENCHMARK(BM_ClientStartToLoginPage)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

// The same start with a 50 ms round trip between the client and the service (the bare program makes
// no calls): the network's share of the start.
void BM_ClientStartToLoginPageOverSlowLine(benchmark::State &state) {
    devserver::TcpRelay relay(benchService().server().port(), std::chrono::milliseconds(25));
    startClientToLoginPage(
        state, {"https://127.0.0.1:" + std::to_string(relay.port()), benchService().endpoint().caFile});
}
BENCHMARK(BM_ClientStartToLoginPageOverSlowLine)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv) {
    QStandardPaths::setTestModeEnabled(true); // keep the member's real data folder out of it
    configureBrowserEngine(); // the client's, for the bare program as well: they share the process
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    benchService(); // sample content is made before anything is timed
    {
        // One start outside the timing: warms the engine and leaves a copy of the login page.
        ScriptedMessageBoxes boxes;
        ScopedMessageBoxes scope(boxes);
        std::unique_ptr<TFormMain> window = startClient({benchService().endpoint(), [](const QString &) {}});
        if (!window)
            return 1;
        window->showMaximized();
        waitForLoad(window->view(LibraryView::Chromium1), QStringLiteral("login.html"));
        copyFolder(QString::fromStdString(RuvasaLib->FPath), loginPageCopy().path());
        window->close();
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
