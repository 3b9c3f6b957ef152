#pragma once
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// Certificates and keys made with the openssl tool in a temporary folder, as NAME.pem and NAME.key.
class TestCertificates {
public:
    bool isValid() const { return dir.isValid(); }
    QString path(const QString &file) const { return dir.filePath(file); }

    // An authority, self-signed or signed by issuer.
    bool makeAuthority(const QString &name, const QString &issuer = QString());
    // A server certificate for the given subject alternative names ("IP:127.0.0.1,DNS:localhost").
    bool makeLeaf(const QString &name, const QString &issuer, const QString &altNames);

private:
    bool openssl(const QStringList &args);
    QStringList request(const QString &name, const QString &issuer) const;

    QTemporaryDir dir;
};
