#pragma once
#include "browser/DataFolderScope.h"
#include "browser/EngineCertificateTrust.h"
#include "browser/ExternalOpener.h"
#include "browser/ServiceCertificatePolicy.h"
#include <QObject>
#include <QPointer>
#include <vector>

class ChromiumView;
class QWebEngineProfile;
class QWidget;

// The browser engine as the client uses it: one profile shared by all views, the `app` script on
// every page of it, the service's authority trusted by the engine, and the rules every view follows
// (which pages are trusted, where other addresses go, which certificate errors are still accepted).
// Views still alive when the host goes are destroyed with it, before the profile their pages use.
class BrowserHost : public QObject {
    Q_OBJECT
public:
    BrowserHost(const QString &dataFolder, ServiceCertificatePolicy certificates, ExternalOpener opener,
                QObject *parent = nullptr);
    ~BrowserHost() override;

    ChromiumView *createView(QWidget *parent = nullptr);

    QWebEngineProfile *profile() const { return engineProfile; }
    const DataFolderScope &dataFolder() const { return dataFolderPath; }
    const ServiceCertificatePolicy &certificates() const { return serviceCertificates; }
    // Web and mail addresses go to the system browser; anything else (local files, other schemes,
    // which the system might open by starting a program) is dropped.
    void openExternally(const QUrl &url) const;

private:
    DataFolderScope dataFolderPath;
    ServiceCertificatePolicy serviceCertificates;
    EngineCertificateTrust engineTrust;
    ExternalOpener opener;
    QWebEngineProfile *engineProfile;
    std::vector<QPointer<ChromiumView>> views;
};
