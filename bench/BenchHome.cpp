#include "bench/BenchHome.h"

#include <QStandardPaths>

BenchHome::BenchHome() {
    qputenv("HOME", home.path().toLocal8Bit());
    QStandardPaths::setTestModeEnabled(true);
}
