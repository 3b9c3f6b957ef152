#pragma once
#include <QList>
#include <QSslCertificate>
#include <QString>
#include <QUrl>

// Decides whether a certificate the browser engine rejected may still be accepted: only for the
// service's own host and port, and only when the chain verifies, host name included, against the
// PEM file of certificates the service client trusts. Without such a file nothing is accepted.
class ServiceCertificatePolicy {
public:
    ServiceCertificatePolicy(const QUrl &serviceBase, const QString &caFile);

    bool accepts(const QUrl &url, const QList<QSslCertificate> &chain) const;
    const QString &caFile() const { return caFilePath; }

private:
    QUrl serviceBase;
    QString caFilePath;
};
