#include "browser/BrowserHost.h"
#include "browser/ChromiumView.h"
#include "browser/LocalFileGuard.h"
#include "web/AppScript.h"
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>

namespace {
void configure(QWebEngineSettings *settings) {
    settings->setAttribute(QWebEngineSettings::JavascriptEnabled, true);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, true);
    // Covers, logos and banners come from the service into local pages.
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    // Needed for the pages' own style sheets, scripts and images; LocalFileGuard limits what it allows.
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
}

QWebEngineScript appScript() {
    QWebEngineScript script;
    script.setName(QStringLiteral("app"));
    script.setSourceCode(appScriptSource());
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::MainWorld);
    script.setRunsOnSubFrames(false);
    return script;
}
} // namespace

BrowserHost::BrowserHost(const QString &dataFolder, ServiceCertificatePolicy certificates,
                         ExternalOpener opener, QObject *parent)
    : QObject(parent), dataFolderPath(dataFolder), serviceCertificates(std::move(certificates)),
      engineTrust(serviceCertificates.caFile()), opener(std::move(opener)),
      engineProfile(new QWebEngineProfile(this)) {
    configure(engineProfile->settings());
    engineProfile->scripts()->insert(appScript());
    engineProfile->setUrlRequestInterceptor(new LocalFileGuard(dataFolderPath, engineProfile));
}

BrowserHost::~BrowserHost() {
    for (const QPointer<ChromiumView> &view : views)
        delete view.data();
}

ChromiumView *BrowserHost::createView(QWidget *parent) {
    auto *view = new ChromiumView(*this, parent);
    views.emplace_back(view);
    return view;
}

void BrowserHost::openExternally(const QUrl &url) const {
    static const QStringList outward{QStringLiteral("http"), QStringLiteral("https"),
                                     QStringLiteral("mailto")};
    if (outward.contains(url.scheme()))
        opener(url);
}
