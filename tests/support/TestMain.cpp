// Shared main of the test programs: a QApplication (offscreen under the runner) and standard
// folders of the test program's own, so no test touches the member's real data folder and test
// programs run side by side (ctest -j) never remove each other's data folder. The browser engine is
// set up as the client sets it up.
#include "browser/EngineSettings.h"

#include <QApplication>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char *argv[]) {
    QTemporaryDir home;
    if (!home.isValid())
        return 1;
    qputenv("HOME", home.path().toLocal8Bit());
    QStandardPaths::setTestModeEnabled(true);
    configureBrowserEngine();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
