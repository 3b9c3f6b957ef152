// NSS's headers come first: Qt's `slots` keyword would clash with a member of that name in them.
#include <cert.h>
#include <certdb.h>
#include <nss.h>

#include "browser/EngineCertificateTrust.h"
#include <QDir>
#include <QFile>
#include <QSslCertificate>

namespace {

// The engine starts NSS only when it first verifies a certificate, with the member's database
// "sql:~/.pki/nssdb", and verifies at once: there is no moment to add trust in between. So NSS is
// started here first, on the same database but read-only (nothing can be written to it), or without
// a database when there is none; the engine's own start then finds NSS running and keeps it so.
bool nssRunning() {
    if (NSS_IsInitialized())
        return true;
    const QByteArray database = "sql:" + QFile::encodeName(QDir::homePath() + QStringLiteral("/.pki/nssdb"));
    return NSS_Init(database.constData()) == SECSuccess || NSS_NoDB_Init(nullptr) == SECSuccess;
}

// The certificate as a temporary one of NSS, trusted as an authority for servers; nullptr when NSS
// refuses it or already holds it in a database (its trust there is the member's, and is left alone).
CERTCertificate *trustedForServers(const QSslCertificate &certificate) {
    QByteArray der = certificate.toDer();
    SECItem item{siDERCertBuffer, reinterpret_cast<unsigned char *>(der.data()),
                 static_cast<unsigned>(der.size())};
    CERTCertificate *temporary =
        CERT_NewTempCertificate(CERT_GetDefaultCertDB(), &item, nullptr, PR_FALSE, PR_TRUE);
    if (!temporary)
        return nullptr;
    CERTCertTrust trust;
    if (temporary->isperm || CERT_DecodeTrustString(&trust, "C,,") != SECSuccess ||
        CERT_ChangeCertTrust(CERT_GetDefaultCertDB(), temporary, &trust) != SECSuccess) {
        CERT_DestroyCertificate(temporary);
        return nullptr;
    }
    return temporary;
}

} // namespace

EngineCertificateTrust::EngineCertificateTrust(const QString &caFile) {
    if (caFile.isEmpty())
        return;
    const QList<QSslCertificate> certificates = QSslCertificate::fromPath(caFile);
    if (certificates.isEmpty() || !nssRunning())
        return;
    for (const QSslCertificate &certificate : certificates)
        if (CERTCertificate *added = trustedForServers(certificate))
            trusted.push_back(added);
}

// A temporary certificate, and its trust, go when the last reference to it does.
EngineCertificateTrust::~EngineCertificateTrust() {
    for (CERTCertificate *certificate : trusted)
        CERT_DestroyCertificate(certificate);
}
