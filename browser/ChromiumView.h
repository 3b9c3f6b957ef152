#pragma once
#include "web/BrowserView.h"
#include "web/ProcessMessage.h"
#include <QWebEngineView>

#include <string>
#include <vector>

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
    // Runs again, in order, the scripts the client ran in the page shown now: what they changed is not
    // in the page's file, so a page discarded and loaded again from it needs them again.
    void runScriptsAgain();

signals:
    void processMessageReceived(ChromiumView *browser, const ProcessMessage &message);
    // The client asked for a page to be loaded or reloaded.
    void navigationRequested();

private:
    QWebChannel *channel;
    std::vector<std::string> scriptsSinceLoad;
    // The next load brings back a discarded page: the client's scripts still belong to it.
    bool keepScriptsAtNextLoad = false;
};
