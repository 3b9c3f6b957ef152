// Program entry: the service client (and with it the data folder) lives as long as the window.
#include "service/RuvasaLib.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    TRuvasaLib ruvasaLib;
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("PERPUS KELVARA"));
    window.showMaximized();
    return app.exec();
}
