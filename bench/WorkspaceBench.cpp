// Rebuilding the data folder from the embedded asset archive, as every start does.
#include "service/RuvasaLib.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

static void BM_RebuildDataFolder(benchmark::State &state) {
    QTemporaryDir root;
    const std::string folder = root.filePath("QMT3074d18").toStdString();
    layOutWorkspace(folder); // a stale folder to replace, as after a crashed run
    for (auto _ : state)
        layOutWorkspace(folder);
}
BENCHMARK(BM_RebuildDataFolder)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
