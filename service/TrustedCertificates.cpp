#include "service/TrustedCertificates.h"

#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>

#include <stdexcept>

namespace {

struct BioFree {
    void operator()(BIO *bio) const { BIO_free(bio); }
};

} // namespace

TrustedCertificates TrustedCertificates::fromFile(const std::string &pemFile) {
    std::unique_ptr<BIO, BioFree> bio(BIO_new_file(pemFile.c_str(), "r"));
    if (!bio)
        throw std::runtime_error("Cannot read certificate file " + pemFile);
    TrustedCertificates trusted;
    while (X509 *certificate = PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr))
        trusted.certificates.emplace_back(certificate);
    ERR_clear_error(); // the read loop ends on an "no start line" error
    if (trusted.certificates.empty())
        throw std::runtime_error("No certificate in " + pemFile);
    return trusted;
}

void TrustedCertificates::addTo(void *sslContext) const {
    X509_STORE *store = SSL_CTX_get_cert_store(static_cast<SSL_CTX *>(sslContext));
    for (const auto &certificate : certificates)
        X509_STORE_add_cert(store, certificate.get()); // a duplicate of a system certificate is harmless
    ERR_clear_error();
}
