#pragma once
#include "browser/BrowserView.h"
#include "browser/ProcessMessage.h"
#include <QWebEngineView>

class BrowserHost;
class QWebChannel;

// One browser view of the client: loads, reloads and runs script in its main frame, shows no
// context menu, and reports the `app` calls of its trusted pages as process messages, each in its
// own turn of the UI thread's event loop and in the order the page made them.
class ChromiumView : public QWebEngineView, public BrowserView {
    Q_OBJECT
public:
    ChromiumView(BrowserHost &host, QWidget *parent = nullptr);

    void navigate(const std::string &url) override;
    void reload() override;
    void runScript(const std::string &script) override;
    // Runs `script` once the page at `url`, whose load has just been asked for, has loaded. When
    // that load fails or is stopped, or another page's load begins first, the script is dropped.
    void runScriptAfterLoad(const std::string &url, const std::string &script);

signals:
    void processMessageReceived(ChromiumView *browser, const ProcessMessage &message);

private:
    QWebChannel *m_channel;
};
