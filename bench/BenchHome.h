#pragma once
// A home folder of the benchmark's own, with Qt's standard folders in test mode under it, so the
// client's data folder is neither the member's real one nor one another program running beside it
// (a test, another benchmark) rebuilds or removes. Made before the application object.
#include <QTemporaryDir>

class BenchHome {
public:
    BenchHome();
    BenchHome(const BenchHome &) = delete;
    BenchHome &operator=(const BenchHome &) = delete;

private:
    QTemporaryDir home;
};
