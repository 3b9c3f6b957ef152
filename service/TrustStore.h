#pragma once
#include <openssl/x509_vfy.h>

#include <memory>
#include <string>

// The certificates a call trusts: the system's store (where libcurl would read it) and, when given,
// every certificate of one more PEM file. Read once, then shared read-only by every TLS context made
// afterwards, so that a new connection does not parse the system's bundle again.
class TrustStore {
public:
    // Throws std::runtime_error when `extraPemFile` is given and cannot be read or holds no certificate.
    explicit TrustStore(const std::string &extraPemFile);

    // Makes this store the trust store of a TLS context (an OpenSSL SSL_CTX).
    void installIn(void *sslContext) const;

private:
    struct StoreFree {
        void operator()(X509_STORE *store) const { X509_STORE_free(store); }
    };
    std::unique_ptr<X509_STORE, StoreFree> store;
};
