#include "browser/ChromiumView.h"
#include "bridge/AppReceiver.h"
#include "bridge/AppScript.h"
#include "browser/BrowserHost.h"
#include "browser/ChromiumPage.h"
#include <QWebChannel>

namespace {
// Local files as Qt would name them, so a path with "#", "?" or "%" stays a path.
QUrl toUrl(const std::string &address) {
    const QString text = QString::fromStdString(address);
    const QString filePrefix = QStringLiteral("file://");
    if (text.startsWith(filePrefix))
        return QUrl::fromLocalFile(text.mid(filePrefix.size()));
    return QUrl(text);
}
} // namespace

ChromiumView::ChromiumView(BrowserHost &host, QWidget *parent)
    : QWebEngineView(parent), m_channel(new QWebChannel(this)) {
    setContextMenuPolicy(Qt::PreventContextMenu);
    auto *page = new ChromiumPage(host, this);
    setPage(page);
    auto *receiver = new AppReceiver([&host, page] { return host.dataFolder().contains(page->url()); }, this);
    connect(
        receiver, &AppReceiver::messageReceived, this,
        [this](const ProcessMessage &message) { emit processMessageReceived(this, message); },
        Qt::QueuedConnection);
    m_channel->registerObject(QString::fromLatin1(AppReceiverObjectName), receiver);
    page->setWebChannel(m_channel);
    setUrl(QUrl(QStringLiteral("about:blank")));
}

void ChromiumView::navigate(const std::string &url) {
    setUrl(toUrl(url));
}

void ChromiumView::reload() {
    QWebEngineView::reload();
}

void ChromiumView::runScript(const std::string &script) {
    page()->runJavaScript(QString::fromStdString(script));
}
