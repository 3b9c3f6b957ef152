#pragma once
#include <QWebEnginePage>

class BrowserHost;

// A page that stays inside the data folder: addresses elsewhere, and new windows, are handed to
// the system browser (see BrowserHost::openExternally) and never shown in the client.
class ChromiumPage : public QWebEnginePage {
    Q_OBJECT
public:
    ChromiumPage(const BrowserHost &host, QObject *parent = nullptr);

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;

private:
    const BrowserHost &host;
};
