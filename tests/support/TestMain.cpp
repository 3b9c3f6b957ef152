// Shared main of the test programs: a QApplication (offscreen under the runner) and isolated
// standard folders, so no test touches the real data folder of the member.
#include <QApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

int main(int argc, char *argv[]) {
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
