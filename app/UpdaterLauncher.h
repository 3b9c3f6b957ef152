#pragma once
#include <QString>

#include <functional>

// Hands the update location to the separate updater program.
using UpdaterLauncher = std::function<void(const QString &updateUrl)>;

// Starts the program "updater" beside the executable, detached, with `updateUrl` as its one argument.
void startUpdater(const QString &updateUrl);
