#include "devserver/Certificates.h"

#include <cstdio>
#include <memory>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>
#include <stdexcept>
#include <string>
#include <sys/stat.h>

namespace devserver {

namespace {

namespace fs = std::filesystem;

struct KeyFree {
    void operator()(EVP_PKEY *key) const { EVP_PKEY_free(key); }
};
struct CertFree {
    void operator()(X509 *cert) const { X509_free(cert); }
};
struct FileClose {
    void operator()(FILE *f) const { std::fclose(f); }
};
using KeyPtr = std::unique_ptr<EVP_PKEY, KeyFree>;
using CertPtr = std::unique_ptr<X509, CertFree>;
using FilePtr = std::unique_ptr<FILE, FileClose>;

constexpr long kDay = 24L * 60 * 60;

void check(bool ok, const char *what) {
    if (!ok)
        throw std::runtime_error(std::string("certificate creation failed: ") + what);
}

KeyPtr newKey() {
    KeyPtr key(EVP_PKEY_Q_keygen(nullptr, nullptr, "EC", "P-256"));
    check(key != nullptr, "key generation");
    return key;
}

void addExtension(X509 *cert, X509 *issuer, int nid, const char *value) {
    X509V3_CTX ctx;
    X509V3_set_ctx_nodb(&ctx);
    X509V3_set_ctx(&ctx, issuer, cert, nullptr, nullptr, 0);
    X509_EXTENSION *ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value);
    check(ext != nullptr, "extension");
    X509_add_ext(cert, ext, -1);
    X509_EXTENSION_free(ext);
}

CertPtr newCertificate(EVP_PKEY *key, const char *commonName, long days, long serial) {
    CertPtr cert(X509_new());
    check(cert != nullptr, "certificate");
    X509_set_version(cert.get(), 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), serial);
    X509_gmtime_adj(X509_getm_notBefore(cert.get()), -kDay);
    X509_gmtime_adj(X509_getm_notAfter(cert.get()), days * kDay);
    X509_set_pubkey(cert.get(), key);
    X509_NAME *name = X509_get_subject_name(cert.get());
    X509_NAME_add_entry_by_txt(name, "O", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char *>("Kelvara Dev"), -1, -1, 0);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char *>(commonName),
                               -1, -1, 0);
    return cert;
}

FilePtr openPrivate(const fs::path &path) {
    FilePtr file(std::fopen(path.c_str(), "wb"));
    check(file != nullptr, "write file");
    ::chmod(path.c_str(), S_IRUSR | S_IWUSR);
    return file;
}

void writeCert(const fs::path &path, X509 *cert) {
    FilePtr file(std::fopen(path.c_str(), "wb"));
    check(file != nullptr && PEM_write_X509(file.get(), cert) == 1, "write certificate");
}

void writeKey(const fs::path &path, EVP_PKEY *key) {
    FilePtr file = openPrivate(path);
    check(PEM_write_PrivateKey(file.get(), key, nullptr, nullptr, 0, nullptr, nullptr) == 1, "write key");
}

CertPtr readCert(const fs::path &path) {
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return nullptr;
    return CertPtr(PEM_read_X509(file.get(), nullptr, nullptr, nullptr));
}

// The existing pair is usable when both certificates parse, the leaf was issued by the CA and
// neither expires within a day.
bool reusable(const CertificateFiles &files) {
    if (!fs::exists(files.serverKey))
        return false;
    CertPtr ca = readCert(files.caCert);
    CertPtr leaf = readCert(files.serverCert);
    if (!ca || !leaf)
        return false;
    time_t soon = time(nullptr) + kDay;
    return X509_check_issued(ca.get(), leaf.get()) == X509_V_OK &&
           X509_cmp_time(X509_get0_notAfter(ca.get()), &soon) > 0 &&
           X509_cmp_time(X509_get0_notAfter(leaf.get()), &soon) > 0;
}

void create(const CertificateFiles &files, const fs::path &caKeyPath) {
    KeyPtr caKey = newKey();
    CertPtr ca = newCertificate(caKey.get(), "Kelvara Dev Local CA", 3650, 1);
    X509_set_issuer_name(ca.get(), X509_get_subject_name(ca.get()));
    addExtension(ca.get(), ca.get(), NID_basic_constraints, "critical,CA:TRUE");
    addExtension(ca.get(), ca.get(), NID_key_usage, "critical,keyCertSign,cRLSign");
    addExtension(ca.get(), ca.get(), NID_subject_key_identifier, "hash");
    check(X509_sign(ca.get(), caKey.get(), EVP_sha256()) > 0, "sign CA");

    KeyPtr serverKey = newKey();
    CertPtr leaf = newCertificate(serverKey.get(), "127.0.0.1", 800, 2);
    X509_set_issuer_name(leaf.get(), X509_get_subject_name(ca.get()));
    addExtension(leaf.get(), ca.get(), NID_basic_constraints, "critical,CA:FALSE");
    addExtension(leaf.get(), ca.get(), NID_key_usage, "critical,digitalSignature,keyEncipherment");
    addExtension(leaf.get(), ca.get(), NID_ext_key_usage, "serverAuth");
    addExtension(leaf.get(), ca.get(), NID_subject_alt_name, "IP:127.0.0.1,DNS:localhost");
    addExtension(leaf.get(), ca.get(), NID_subject_key_identifier, "hash");
    addExtension(leaf.get(), ca.get(), NID_authority_key_identifier, "keyid:always");
    check(X509_sign(leaf.get(), caKey.get(), EVP_sha256()) > 0, "sign server certificate");

    writeKey(caKeyPath, caKey.get());
    writeKey(files.serverKey, serverKey.get());
    writeCert(files.serverCert, leaf.get());
    writeCert(files.caCert, ca.get());
}

} // namespace

CertificateFiles ensureCertificates(const fs::path &dir) {
    CertificateFiles files{dir / "ca.pem", dir / "server.pem", dir / "server-key.pem"};
    if (!reusable(files))
        create(files, dir / "ca-key.pem");
    return files;
}

} // namespace devserver
