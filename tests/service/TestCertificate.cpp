#include "tests/service/TestCertificate.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509v3.h>

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace {

template <auto Free> struct Deleter {
    template <typename T> void operator()(T *p) const { Free(p); }
};
using Key = std::unique_ptr<EVP_PKEY, Deleter<EVP_PKEY_free>>;
using Certificate = std::unique_ptr<X509, Deleter<X509_free>>;

void addExtension(X509 *certificate, int nid, const char *value) {
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, certificate, certificate, nullptr, nullptr, 0);
    X509_EXTENSION *extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value);
    if (!extension)
        throw std::runtime_error("Cannot make a certificate extension");
    X509_add_ext(certificate, extension, -1);
    X509_EXTENSION_free(extension);
}

Certificate selfSigned(EVP_PKEY *key) {
    Certificate certificate(X509_new());
    X509_set_version(certificate.get(), 2);
    ASN1_INTEGER_set(X509_get_serialNumber(certificate.get()), 1);
    X509_gmtime_adj(X509_getm_notBefore(certificate.get()), -3600);
    X509_gmtime_adj(X509_getm_notAfter(certificate.get()), 7 * 24 * 3600);
    X509_set_pubkey(certificate.get(), key);
    X509_NAME *name = X509_get_subject_name(certificate.get());
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char *>("127.0.0.1"),
                               -1, -1, 0);
    X509_set_issuer_name(certificate.get(), name);
    addExtension(certificate.get(), NID_basic_constraints, "critical,CA:TRUE");
    addExtension(certificate.get(), NID_subject_alt_name, "IP:127.0.0.1,DNS:localhost");
    if (X509_sign(certificate.get(), key, EVP_sha256()) == 0)
        throw std::runtime_error("Cannot sign the test certificate");
    return certificate;
}

template <typename Write> void writePem(const std::string &path, Write write) {
    FILE *file = std::fopen(path.c_str(), "w");
    if (!file)
        throw std::runtime_error("Cannot write " + path);
    const int ok = write(file);
    std::fclose(file);
    if (!ok)
        throw std::runtime_error("Cannot write " + path);
}

} // namespace

TestCertificate::TestCertificate() {
    if (!folder.isValid())
        throw std::runtime_error("No temporary folder");
    certificatePath = folder.filePath("certificate.pem").toStdString();
    keyPath = folder.filePath("key.pem").toStdString();
    Key key(EVP_EC_gen("P-256"));
    if (!key)
        throw std::runtime_error("Cannot make a key");
    const Certificate certificate = selfSigned(key.get());
    writePem(keyPath, [&](FILE *f) {
        return PEM_write_PrivateKey(f, key.get(), nullptr, nullptr, 0, nullptr, nullptr);
    });
    writePem(certificatePath, [&](FILE *f) { return PEM_write_X509(f, certificate.get()); });
}
