#include "browser/ServiceCertificatePolicy.h"
#include <QHostAddress>
#include <memory>
#include <openssl/x509.h>
#include <openssl/x509_vfy.h>
#include <openssl/x509v3.h>

namespace {
using X509Ptr = std::unique_ptr<X509, decltype(&X509_free)>;

X509Ptr toX509(const QSslCertificate &certificate) {
    const QByteArray der = certificate.toDer();
    const auto *bytes = reinterpret_cast<const unsigned char *>(der.constData());
    return X509Ptr(d2i_X509(nullptr, &bytes, der.size()), X509_free);
}

struct UntrustedStack {
    STACK_OF(X509) *certificates = sk_X509_new_null();
    ~UntrustedStack() { sk_X509_pop_free(certificates, X509_free); }
    bool add(const QSslCertificate &certificate) {
        X509Ptr x509 = toX509(certificate);
        if (!x509 || !certificates || !sk_X509_push(certificates, x509.get()))
            return false;
        x509.release();
        return true;
    }
};

bool expectHost(X509_VERIFY_PARAM *param, const QString &host) {
    const QByteArray name = host.toUtf8();
    if (QHostAddress().setAddress(host))
        return X509_VERIFY_PARAM_set1_ip_asc(param, name.constData()) == 1;
    return X509_VERIFY_PARAM_set1_host(param, name.constData(), static_cast<size_t>(name.size())) == 1;
}

bool chainVerifies(const QList<QSslCertificate> &chain, const QString &caFile, const QString &host) {
    std::unique_ptr<X509_STORE, decltype(&X509_STORE_free)> store(X509_STORE_new(), X509_STORE_free);
    if (!store || X509_STORE_load_file(store.get(), caFile.toLocal8Bit().constData()) != 1)
        return false;
    const X509Ptr leaf = toX509(chain.first());
    UntrustedStack intermediates;
    for (qsizetype i = 1; i < chain.size(); ++i)
        if (!intermediates.add(chain[i]))
            return false;
    std::unique_ptr<X509_STORE_CTX, decltype(&X509_STORE_CTX_free)> context(X509_STORE_CTX_new(),
                                                                            X509_STORE_CTX_free);
    if (!leaf || !context ||
        X509_STORE_CTX_init(context.get(), store.get(), leaf.get(), intermediates.certificates) != 1)
        return false;
    X509_STORE_CTX_set_purpose(context.get(), X509_PURPOSE_SSL_SERVER);
    return expectHost(X509_STORE_CTX_get0_param(context.get()), host) && X509_verify_cert(context.get()) == 1;
}
} // namespace

ServiceCertificatePolicy::ServiceCertificatePolicy(const QUrl &serviceBase, const QString &caFile)
    : serviceBase(serviceBase), caFilePath(caFile) {}

bool ServiceCertificatePolicy::accepts(const QUrl &url, const QList<QSslCertificate> &chain) const {
    if (caFilePath.isEmpty() || chain.isEmpty() || url.scheme() != QLatin1String("https") ||
        serviceBase.scheme() != QLatin1String("https"))
        return false;
    if (url.host().compare(serviceBase.host(), Qt::CaseInsensitive) != 0 ||
        url.port(443) != serviceBase.port(443))
        return false;
    return chainVerifies(chain, caFilePath, url.host());
}
