// Program entry: start-up behind the splash, then the main window's message loop.
#include "app/ClientStartup.h"
#include "app/FormMain.h"
#include "browser/EngineSettings.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    configureBrowserEngine();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    std::unique_ptr<TFormMain> window = startClient();
    if (!window)
        return 0;
    window->showMaximized();
    return app.exec();
}
