#pragma once
#include <openssl/x509.h>

#include <memory>
#include <string>
#include <vector>

// Certificates trusted in addition to the system store, read from one PEM file.
class TrustedCertificates {
public:
    // Reads every certificate of `pemFile`. Throws std::runtime_error when the file cannot be read
    // or holds no certificate.
    static TrustedCertificates fromFile(const std::string &pemFile);

    // Adds the certificates to a TLS context's trust store (an OpenSSL SSL_CTX).
    void addTo(void *sslContext) const;

private:
    struct X509Free {
        void operator()(X509 *certificate) const { X509_free(certificate); }
    };
    std::vector<std::unique_ptr<X509, X509Free>> certificates;
};
