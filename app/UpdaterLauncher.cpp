#include "app/UpdaterLauncher.h"

#include <QCoreApplication>
#include <QProcess>

void startUpdater(const QString &updateUrl) {
    // The outcome is not checked: what the updater does lies outside the client.
    QProcess::startDetached(QCoreApplication::applicationDirPath() + QStringLiteral("/updater"), {updateUrl});
}
