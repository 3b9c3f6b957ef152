// Cost of the client's browser host over plain Qt WebEngine views, and of one `app` call.
#include "browser/BrowserHost.h"
#include "browser/ChromiumView.h"
#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

namespace {
constexpr int ViewCount = 7;

struct Folder {
    QTemporaryDir dir;
    QUrl page;
    Folder() {
        QFile file(dir.filePath("page.html"));
        file.open(QIODevice::WriteOnly);
        file.write("<!DOCTYPE html><html><body><p>Memuat...</p></body></html>");
        page = QUrl::fromLocalFile(file.fileName());
    }
};

Folder &folder() {
    static Folder instance;
    return instance;
}

// Loads the page into every view and returns when all have finished.
void loadAll(const std::vector<QWebEngineView *> &views) {
    std::size_t finished = 0;
    std::vector<QMetaObject::Connection> connections;
    for (QWebEngineView *view : views) {
        connections.push_back(
            QObject::connect(view, &QWebEngineView::loadFinished, [&finished] { ++finished; }));
        view->load(folder().page);
    }
    QEventLoop loop;
    for (QWebEngineView *view : views)
        connections.push_back(QObject::connect(view, &QWebEngineView::loadFinished, &loop, [&] {
            if (finished == views.size())
                loop.quit();
        }));
    loop.exec();
    for (const auto &connection : connections)
        QObject::disconnect(connection);
}

void BM_SevenPlainViewsToFirstPage(benchmark::State &state) {
    for (auto _ : state) {
        QWebEngineProfile profile;
        std::vector<std::unique_ptr<QWebEngineView>> owned;
        std::vector<QWebEngineView *> views;
        for (int i = 0; i < ViewCount; ++i) {
            owned.push_back(std::make_unique<QWebEngineView>());
            owned.back()->setPage(new QWebEnginePage(&profile, owned.back().get()));
            views.push_back(owned.back().get());
        }
        loadAll(views);
    }
}
BENCHMARK(BM_SevenPlainViewsToFirstPage)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

void BM_SevenHostViewsToFirstPage(benchmark::State &state) {
    for (auto _ : state) {
        BrowserHost host(folder().dir.path(), ServiceCertificatePolicy(QUrl(), QString()),
                         [](const QUrl &) {});
        std::vector<QWebEngineView *> views;
        for (int i = 0; i < ViewCount; ++i)
            views.push_back(host.createView());
        loadAll(views);
    }
    state.SetLabel("reference: BM_SevenPlainViewsToFirstPage");
}
BENCHMARK(BM_SevenHostViewsToFirstPage)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

// From running a call in the page to its message on the UI thread.
void BM_AppCallToMessage(benchmark::State &state) {
    BrowserHost host(folder().dir.path(), ServiceCertificatePolicy(QUrl(), QString()), [](const QUrl &) {});
    std::unique_ptr<ChromiumView> view(host.createView());
    loadAll({view.get()});
    QEventLoop loop;
    QObject::connect(view.get(), &ChromiumView::processMessageReceived, &loop, &QEventLoop::quit);
    for (auto _ : state) {
        view->runScript("app.kategoriKonten('41', '1', '7', 'Fisika')");
        loop.exec();
    }
}
BENCHMARK(BM_AppCallToMessage)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(2.0);
} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    {
        // Start the engine once, so that no benchmark pays for it.
        QWebEngineView warmUp;
        loadAll({&warmUp});
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
