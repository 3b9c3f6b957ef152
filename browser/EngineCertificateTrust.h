#pragma once
#include <QString>
#include <vector>

struct CERTCertificateStr;

// Makes the browser engine trust the certificates of the service's authority file for as long as
// this object lives, so that the service's pictures load on the first handshake instead of after a
// failed one and the certificate-error callback. The engine verifies with NSS, which knows only the
// system's and the member's authorities; the file's certificates are added to NSS in memory, never
// to the member's NSS database. An empty or unreadable file adds nothing.
class EngineCertificateTrust {
public:
    explicit EngineCertificateTrust(const QString &caFile);
    ~EngineCertificateTrust();
    EngineCertificateTrust(const EngineCertificateTrust &) = delete;
    EngineCertificateTrust &operator=(const EngineCertificateTrust &) = delete;

private:
    std::vector<CERTCertificateStr *> trusted;
};
