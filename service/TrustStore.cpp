#include "service/TrustStore.h"

#include "service/CurlHandles.h"

#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>

#include <stdexcept>

namespace {

struct BioFree {
    void operator()(BIO *bio) const { BIO_free(bio); }
};

// The system's certificates, from the bundle file and folder libcurl was built to use.
void addSystemCertificates(X509_STORE *store) {
    const CurlEasy probe = newCurlHandle();
    const char *bundle = nullptr;
    const char *folder = nullptr;
    if (probe) {
        curl_easy_getinfo(probe.get(), CURLINFO_CAINFO, &bundle);
        curl_easy_getinfo(probe.get(), CURLINFO_CAPATH, &folder);
    }
    if (bundle)
        X509_STORE_load_file(store, bundle);
    if (folder)
        X509_STORE_load_path(store, folder);
    if (!bundle && !folder)
        X509_STORE_set_default_paths(store);
}

void addFileCertificates(X509_STORE *store, const std::string &pemFile) {
    std::unique_ptr<BIO, BioFree> bio(BIO_new_file(pemFile.c_str(), "r"));
    if (!bio)
        throw std::runtime_error("Cannot read certificate file " + pemFile);
    int added = 0;
    while (X509 *certificate = PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr)) {
        X509_STORE_add_cert(store, certificate); // a duplicate of a system certificate is harmless
        X509_free(certificate);
        ++added;
    }
    if (added == 0)
        throw std::runtime_error("No certificate in " + pemFile);
}

} // namespace

TrustStore::TrustStore(const std::string &extraPemFile) : store(X509_STORE_new()) {
    if (!store)
        throw std::runtime_error("Out of memory");
    addSystemCertificates(store.get());
    if (!extraPemFile.empty())
        addFileCertificates(store.get(), extraPemFile);
    // As libcurl sets on the stores it makes: an intermediate certificate in the store is an anchor.
    X509_STORE_set_flags(store.get(), X509_V_FLAG_PARTIAL_CHAIN | X509_V_FLAG_TRUSTED_FIRST);
    ERR_clear_error(); // loops and duplicates leave errors behind that no one should read later
}

void TrustStore::installIn(void *sslContext) const {
    SSL_CTX_set1_cert_store(static_cast<SSL_CTX *>(sslContext), store.get());
}
