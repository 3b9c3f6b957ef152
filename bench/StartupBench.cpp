// Start of the client to its login page shown, against a bare program that opens seven WebEngine
// views on a local page, both offscreen and in the same run, with the local service running.
#include "app/AppGlobals.h"
#include "app/ClientStartup.h"
#include "app/FormMain.h"
#include "browser/ChromiumView.h"
#include "devserver/DevServer.h"
#include "dialogs/MessageBoxes.h"
#include "service/RuvasaLib.h"

#include <QApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <benchmark/benchmark.h>

#include <memory>
#include <thread>
#include <vector>

namespace {

struct Service {
    QTemporaryDir dir;
    std::unique_ptr<devserver::DevServer> server;
    std::thread thread;
    Service()
        : server(std::make_unique<devserver::DevServer>(devserver::ServerOptions{
              dir.path().toStdString(), 0, devserver::VersionPolicy::Current, false})),
          thread([this] { server->serve(); }) {}
    ~Service() {
        server->stop();
        thread.join();
    }
    ServiceEndpoint endpoint() const { return {server->baseUrl(), server->caFile().string()}; }
};

Service &service() {
    static Service instance;
    return instance;
}

// Runs the event loop until `view` has finished loading a page whose file is `fileName`.
void waitForLoad(QWebEngineView *view, const QString &fileName) {
    QEventLoop loop;
    QObject::connect(view, &QWebEngineView::loadFinished, &loop, [&](bool) {
        if (view->url().fileName() == fileName)
            loop.quit();
    });
    loop.exec();
}

// A copy of the client's data folder with its generated login page, made by one warm-up start.
QTemporaryDir &loginPageCopy() {
    static QTemporaryDir copy;
    return copy;
}

void copyFolder(const QString &from, const QString &to) {
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + '/' + QDir(from).relativeFilePath(file);
        QDir().mkpath(QFileInfo(target).path());
        QFile::copy(file, target);
    }
}

// The reference: a window with seven views on one profile, the first showing the same login page.
void BM_BareSevenViewsToFirstPage(benchmark::State &state) {
    const QUrl page = QUrl::fromLocalFile(loginPageCopy().filePath(QStringLiteral("login.html")));
    for (auto _ : state) {
        QWebEngineProfile profile;
        QStackedWidget window;
        std::vector<QWebEngineView *> views;
        for (int i = 0; i < 7; ++i) {
            auto *view = new QWebEngineView(&window);
            view->setPage(new QWebEnginePage(&profile, view));
            window.addWidget(view);
            views.push_back(view);
        }
        window.showMaximized();
        views.front()->load(page);
        waitForLoad(views.front(), QStringLiteral("login.html"));
        state.PauseTiming();
        qDeleteAll(views);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_BareSevenViewsToFirstPage)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

// The client: splash, service client and data folder, version check, main window, institution
// profile, and the login page generated and loaded into the first view.
void BM_ClientStartToLoginPage(benchmark::State &state) {
    ScriptedMessageBoxes boxes;
    ScopedMessageBoxes scope(boxes);
    const ClientSetup setup{service().endpoint(), [](const QString &) {}};
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
BENCHMARK(BM_ClientStartToLoginPage)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv) {
    QStandardPaths::setTestModeEnabled(true); // keep the member's real data folder out of it
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    service(); // sample content is made before anything is timed
    {
        // One start outside the timing: warms the engine and leaves a copy of the login page.
        ScriptedMessageBoxes boxes;
        ScopedMessageBoxes scope(boxes);
        std::unique_ptr<TFormMain> window = startClient({service().endpoint(), [](const QString &) {}});
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
