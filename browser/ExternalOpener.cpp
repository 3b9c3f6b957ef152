#include "browser/ExternalOpener.h"
#include <QDesktopServices>

ExternalOpener systemBrowserOpener() {
    return [](const QUrl &url) { QDesktopServices::openUrl(url); };
}
