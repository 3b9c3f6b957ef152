#include "browser/BrowserHost.h"
#include "web/AppScript.h"
#include "browser/ChromiumView.h"
#include "browser/LocalFileGuard.h"
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
    : QObject(parent), m_dataFolder(dataFolder), m_certificates(std::move(certificates)),
      m_engineTrust(m_certificates.caFile()), m_opener(std::move(opener)),
      m_profile(new QWebEngineProfile(this)) {
    configure(m_profile->settings());
    m_profile->scripts()->insert(appScript());
    m_profile->setUrlRequestInterceptor(new LocalFileGuard(m_dataFolder, m_profile));
}

BrowserHost::~BrowserHost() {
    for (const QPointer<ChromiumView> &view : m_views)
        delete view.data();
}

ChromiumView *BrowserHost::createView(QWidget *parent) {
    auto *view = new ChromiumView(*this, parent);
    m_views.emplace_back(view);
    return view;
}

void BrowserHost::openExternally(const QUrl &url) const {
    static const QStringList outward{QStringLiteral("http"), QStringLiteral("https"),
                                     QStringLiteral("mailto")};
    if (outward.contains(url.scheme()))
        m_opener(url);
}
