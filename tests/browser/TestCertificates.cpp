#include "TestCertificates.h"
#include <QProcess>
#include <iostream>

bool TestCertificates::openssl(const QStringList &args) {
    QProcess process;
    process.setWorkingDirectory(dir.path());
    process.start(QStringLiteral("openssl"), args);
    if (process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit &&
        process.exitCode() == 0)
        return true;
    std::cerr << process.readAllStandardError().toStdString();
    return false;
}

QStringList TestCertificates::request(const QString &name, const QString &issuer) const {
    QStringList args{"req",    "-x509",       "-days",      "2",  "-subj",    "/CN=" + name,
                     "-out",   name + ".pem", "-newkey",    "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                     "-nodes", "-keyout",     name + ".key"};
    if (!issuer.isEmpty())
        args << "-CA" << issuer + ".pem"
             << "-CAkey" << issuer + ".key";
    return args;
}

bool TestCertificates::makeAuthority(const QString &name, const QString &issuer) {
    return openssl(request(name, issuer) << "-addext"
                                         << "basicConstraints=critical,CA:TRUE");
}

bool TestCertificates::makeLeaf(const QString &name, const QString &issuer, const QString &altNames) {
    return openssl(request(name, issuer) << "-addext"
                                         << "subjectAltName=" + altNames << "-addext"
                                         << "basicConstraints=critical,CA:FALSE");
}
