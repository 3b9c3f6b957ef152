// The memory of the client's whole process tree (the PSS of the program and of its Qt WebEngine helper
// processes) at the login page, at the home page, with the seven catalogue views loaded and with three
// books open in the reader; beside it, in the same run, the bare program showing the same seven pages
// in seven WebEngine views.
//
// Each program runs in a child process of its own (this benchmark re-executes itself with "--client"
// or "--bare") and reads its own tree: the local service runs in the parent, outside both trees, and
// neither program is counted in the other's figures. The bare program starts after the client has
// ended and loads copies of the seven pages the client generated.
#include "bench/BenchHome.h"
#include "bench/BenchService.h"
#include "bench/MemoryPrograms.h"
#include "browser/EngineSettings.h"

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace {

// What a child program printed: its figures and the pages it named.
struct ChildRun {
    std::map<std::string, double> figures;
    QStringList pages;
    bool complete = false;
};

ChildRun runChild(const QStringList &arguments) {
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), arguments);
    ChildRun run;
    if (!child.waitForFinished(10 * 60 * 1000))
        return run;
    for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> words = line.trimmed().split(' ');
        if (words.size() == 3 && words[0] == memory::FigureTag)
            run.figures[words[1].toStdString()] = words[2].toDouble();
        else if (words.size() == 2 && words[0] == memory::PageTag)
            run.pages.append(QString::fromUtf8(words[1]));
    }
    run.complete = child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0;
    return run;
}

// Where the client leaves copies of its seven pages for the bare program.
QTemporaryDir &pagesCopy() {
    static QTemporaryDir folder;
    return folder;
}

ChildRun clientRun() {
    const ServiceEndpoint endpoint = benchService().endpoint();
    return runChild({QString::fromLatin1(memory::ClientMode), QString::fromStdString(endpoint.baseUrl),
                     QString::fromStdString(endpoint.caFile), pagesCopy().path()});
}

// The reference: seven bare views showing copies of the client's seven pages.
ChildRun bareRun(const ChildRun &client) {
    return runChild(QStringList{QString::fromLatin1(memory::BareMode), pagesCopy().path()} + client.pages);
}

void reportFigures(benchmark::State &state, const ChildRun &run) {
    for (const auto &[name, value] : run.figures)
        state.counters[name] = value;
}

// The client: login page, home page, seven views, three books; the books' growth is the last step.
// Then the bare program, whose whole tree is the reference of the client's with its seven views.
// Targets and the reference are counters named as scripts/bench-table reads them.
void BM_ClientProcessTreePss(benchmark::State &state) {
    for (auto _ : state) {
        const ChildRun run = clientRun();
        if (!run.complete || run.pages.size() != 7) {
            state.SkipWithError("the client did not get through its steps");
            break;
        }
        const ChildRun bare = bareRun(run);
        if (!bare.complete) {
            state.SkipWithError("the bare program did not load its pages");
            break;
        }
        reportFigures(state, run);
        reportFigures(state, bare);
        state.counters["books_growth_MiB"] = run.figures.at("books_MiB") - run.figures.at("views_MiB");
        state.counters["views_reference_MiB"] = bare.figures.at("bare_MiB");
        state.counters["views_target_max_MiB"] = 450;
        state.counters["books_target_max_MiB"] = 400;
        state.counters["return_max_target_max_ms"] = 500;
    }
}
BENCHMARK(BM_ClientProcessTreePss)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

int runBenchmarks(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    benchService(); // sample content is made before any program runs
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

int runChildProgram(int argc, char **argv) {
    if (std::string(argv[1]) == memory::ClientMode)
        configureBrowserEngine(); // the bare program keeps the engine's defaults
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    const QString mode = arguments.takeFirst();
    if (mode == QLatin1String(memory::ClientMode) && arguments.size() == 3)
        return memory::runClient({arguments[0].toStdString(), arguments[1].toStdString()}, arguments[2]);
    if (mode == QLatin1String(memory::BareMode) && arguments.size() == 8)
        return memory::runBare(arguments[0], arguments.mid(1));
    return 2;
}

} // namespace

int main(int argc, char **argv) {
    const BenchHome home;
    const bool child =
        argc > 1 && (std::string(argv[1]) == memory::ClientMode || std::string(argv[1]) == memory::BareMode);
    return child ? runChildProgram(argc, argv) : runBenchmarks(argc, argv);
}
