#include "browser/ChromiumPage.h"
#include "browser/BrowserHost.h"
#include <QWebEngineCertificateError>
#include <QWebEngineNewWindowRequest>

ChromiumPage::ChromiumPage(const BrowserHost &host, QObject *parent)
    : QWebEnginePage(host.profile(), parent), host(host) {
    connect(this, &QWebEnginePage::newWindowRequested, this,
            [&host](QWebEngineNewWindowRequest &request) { host.openExternally(request.requestedUrl()); });
    connect(this, &QWebEnginePage::certificateError, this, [&host](QWebEngineCertificateError error) {
        if (host.certificates().accepts(error.url(), error.certificateChain()))
            error.acceptCertificate();
        else
            error.rejectCertificate();
    });
}

bool ChromiumPage::acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) {
    // The catalogue's menu items are links with an empty address whose onClick asks the client to
    // act; following the address too would reload the page over what the client shows next (the
    // login page after "Keluar"). The click has done its work: stay.
    if (type == NavigationTypeLinkClicked && isMainFrame && !url.hasFragment() && url == this->url())
        return false;
    if (host.dataFolder().contains(url) || url == QUrl(QStringLiteral("about:blank")))
        return true;
    // Frames inside a page (an embedded player in a synopsis) are simply not loaded.
    if (isMainFrame)
        host.openExternally(url);
    return false;
}
