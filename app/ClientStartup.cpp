#include "app/ClientStartup.h"

#include "app/AppGlobals.h"
#include "app/FormMain.h"
#include "app/FormSplash.h"

#include <QCoreApplication>

std::unique_ptr<TFormMain> startClient(const ClientSetup &setup) {
    SignalUpdate = false;
    UpdateURL.clear();
    FormSplash = new TFormSplash(setup.endpoint);
    FormSplash->show(); // its show handler creates RuvasaLib and starts the check
    FormSplash->repaint();

    auto main = std::make_unique<TFormMain>(*RuvasaLib, setup.launchUpdater);
    while (!FormSplash->completed)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    FormSplash->hide();
    if (main->createFailed) {
        main->close(); // runs the close query, which releases the splash and the service client
        return nullptr;
    }
    if (FormSplash->terminateRequested) {
        delete FormSplash;
        return nullptr;
    }
    return main;
}
