#pragma once
#include "app/UpdaterLauncher.h"
#include "service/ServiceEndpoint.h"

#include <memory>

class TFormMain;

struct ClientSetup {
    ServiceEndpoint endpoint = ServiceEndpoint::builtIn();
    UpdaterLauncher launchUpdater = startUpdater;
};

// The start of the client after the application object exists: shows the splash (which creates
// the service client and starts the version check), creates the windows, waits for the check and
// hides the splash. Returns the main window, to be shown, or null when the program is to end.
std::unique_ptr<TFormMain> startClient(const ClientSetup &setup = {});
