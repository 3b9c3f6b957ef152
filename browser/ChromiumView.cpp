#include "browser/ChromiumView.h"
#include "browser/BrowserHost.h"
#include "browser/ChromiumPage.h"
#include "web/AppReceiver.h"
#include "web/AppScript.h"
#include <QWebChannel>
#include <QWebEngineLoadingInfo>

#include <memory>
#include <utility>

namespace {
// Addresses arrive as URL text (pages of the data folder through pageUrl, already encoded).
QUrl toUrl(const std::string &address) {
    return QUrl(QString::fromStdString(address));
}
} // namespace

ChromiumView::ChromiumView(BrowserHost &host, QWidget *parent)
    : QWebEngineView(parent), channel(new QWebChannel(this)) {
    setContextMenuPolicy(Qt::PreventContextMenu);
    auto *page = new ChromiumPage(host, this);
    setPage(page);
    auto *receiver = new AppReceiver([&host, page] { return host.dataFolder().contains(page->url()); }, this);
    connect(
        receiver, &AppReceiver::messageReceived, this,
        [this](const ProcessMessage &message) { emit processMessageReceived(this, message); },
        Qt::QueuedConnection);
    channel->registerObject(QString::fromLatin1(AppReceiverObjectName), receiver);
    page->setWebChannel(channel);
    connect(page, &QWebEnginePage::lifecycleStateChanged, this, [this](QWebEnginePage::LifecycleState state) {
        if (state == QWebEnginePage::LifecycleState::Discarded)
            keepScriptsAtNextLoad = true;
    });
    connect(this, &QWebEngineView::loadStarted, this, [this] {
        if (!std::exchange(keepScriptsAtNextLoad, false))
            scriptsSinceLoad.clear();
    });
    // The new page already shows the engine's blank initial document, "about:blank". Loading it
    // explicitly in every view made the shared renderer set up seven frames before the first page
    // could load, a quarter of the start.
}

void ChromiumView::navigate(const std::string &url) {
    keepScriptsAtNextLoad = false;
    emit navigationRequested();
    setUrl(toUrl(url));
}

void ChromiumView::reload() {
    keepScriptsAtNextLoad = false;
    emit navigationRequested();
    QWebEngineView::reload();
}

// A discarded page has no document to run in: the script is kept and runs when the page is back.
void ChromiumView::runScript(const std::string &script) {
    scriptsSinceLoad.push_back(script);
    if (page()->lifecycleState() != QWebEnginePage::LifecycleState::Discarded)
        page()->runJavaScript(QString::fromStdString(script));
}

void ChromiumView::runScriptsAgain() {
    for (const std::string &script : scriptsSinceLoad)
        page()->runJavaScript(QString::fromStdString(script));
}

void ChromiumView::runScriptAfterLoad(const std::string &url, const std::string &script) {
    const QUrl awaited = toUrl(url);
    auto hook = std::make_shared<QMetaObject::Connection>();
    *hook = connect(page(), &QWebEnginePage::loadingChanged, this,
                    [this, awaited, script, hook](const QWebEngineLoadingInfo &load) {
                        const bool started = load.status() == QWebEngineLoadingInfo::LoadStartedStatus;
                        if (load.url() != awaited) {
                            // Another page's load began: the awaited one is not coming. The end of
                            // a load the awaited page cut short is passed over.
                            if (started)
                                QObject::disconnect(*hook);
                            return;
                        }
                        if (started)
                            return;
                        QObject::disconnect(*hook);
                        if (load.status() == QWebEngineLoadingInfo::LoadSucceededStatus)
                            runScript(script);
                    });
}
