#include "bench/MemoryPrograms.h"
#include "bench/ProcessTreePss.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <unistd.h>

namespace memory {

namespace {
constexpr int SettleMs = 1500;
} // namespace

void reportSettledTree(const char *name) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < SettleMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    std::printf("%s %s_MiB %.1f\n", FigureTag, name, processTreePssKiB(getpid()) / 1024.0);
    std::printf("%s %s_own_MiB %.1f\n", FigureTag, name, processPssKiB(getpid()) / 1024.0);
    std::fflush(stdout);
}

void reportFigure(const char *name, double value) {
    std::printf("%s %s %.1f\n", FigureTag, name, value);
    std::fflush(stdout);
}

void reportPage(const QString &relativePath) {
    std::printf("%s %s\n", PageTag, relativePath.toUtf8().constData());
    std::fflush(stdout);
}

} // namespace memory
