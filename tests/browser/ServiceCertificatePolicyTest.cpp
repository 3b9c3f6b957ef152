#include "browser/ServiceCertificatePolicy.h"
#include "TestCertificates.h"
#include <gtest/gtest.h>

namespace {
class ServiceCertificatePolicyTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        certificates = new TestCertificates;
        ASSERT_TRUE(certificates->isValid());
        ASSERT_TRUE(certificates->makeAuthority("ca1"));
        ASSERT_TRUE(certificates->makeAuthority("ca2"));
        ASSERT_TRUE(certificates->makeLeaf("service", "ca1", "IP:127.0.0.1,DNS:localhost"));
        ASSERT_TRUE(certificates->makeLeaf("foreign", "ca2", "IP:127.0.0.1,DNS:localhost"));
        ASSERT_TRUE(certificates->makeLeaf("elsewhere", "ca1", "IP:127.0.0.2"));
        ASSERT_TRUE(certificates->makeAuthority("root"));
        ASSERT_TRUE(certificates->makeAuthority("intermediate", "root"));
        ASSERT_TRUE(certificates->makeLeaf("deep", "intermediate", "IP:127.0.0.1"));
    }
    static void TearDownTestSuite() { delete certificates; }

    static QList<QSslCertificate> chain(const QString &name) {
        return QSslCertificate::fromPath(certificates->path(name + ".pem"));
    }
    static QString path(const QString &name) { return certificates->path(name); }

    static inline TestCertificates *certificates = nullptr;
};

TEST_F(ServiceCertificatePolicyTest, AcceptsOnlyTheServiceHostWithAChainFromTheBuiltInAuthority) {
    struct Case {
        const char *base;
        QString caFile;
        const char *url;
        const char *leaf;
        bool accepted;
    };
    const Case cases[] = {
        {"https://127.0.0.1:8443", path("ca1.pem"), "https://127.0.0.1:8443/prod/img/a.jpg", "service", true},
        {"https://localhost:8443", path("ca1.pem"), "https://LOCALHOST:8443/logo.png", "service", true},
        {"https://127.0.0.1:8443", path("ca1.pem"), "https://127.0.0.1:9443/a.jpg", "service", false},
        {"https://127.0.0.1:8443", path("ca1.pem"), "https://localhost:8443/a.jpg", "service", false},
        {"https://127.0.0.1:8443", path("ca1.pem"), "https://127.0.0.1:8443/a.jpg", "foreign", false},
        {"https://127.0.0.2:8443", path("ca1.pem"), "https://127.0.0.2:8443/a.jpg", "service", false},
        {"https://127.0.0.2:8443", path("ca1.pem"), "https://127.0.0.2:8443/a.jpg", "elsewhere", true},
        {"https://127.0.0.1:8443", path("ca2.pem"), "https://127.0.0.1:8443/a.jpg", "service", false},
        {"https://127.0.0.1:8443", QString(), "https://127.0.0.1:8443/a.jpg", "service", false},
        {"https://127.0.0.1:8443", path("missing.pem"), "https://127.0.0.1:8443/a.jpg", "service", false},
        {"http://127.0.0.1:8443", path("ca1.pem"), "http://127.0.0.1:8443/a.jpg", "service", false},
    };
    for (const Case &c : cases) {
        const ServiceCertificatePolicy policy(QUrl(c.base), c.caFile);
        EXPECT_EQ(policy.accepts(QUrl(c.url), chain(c.leaf)), c.accepted)
            << c.base << " " << c.url << " " << c.leaf;
    }
    EXPECT_FALSE(ServiceCertificatePolicy(QUrl("https://127.0.0.1:8443"), path("ca1.pem"))
                     .accepts(QUrl("https://127.0.0.1:8443/a.jpg"), {}));
}

TEST_F(ServiceCertificatePolicyTest, AnIntermediateInTheChainIsUsedButNotTrusted) {
    const QList<QSslCertificate> leafOnly = chain("deep");
    const QList<QSslCertificate> full = leafOnly + chain("intermediate");
    const QUrl url("https://127.0.0.1:8443/a.jpg");
    const QUrl base("https://127.0.0.1:8443");

    EXPECT_TRUE(ServiceCertificatePolicy(base, path("root.pem")).accepts(url, full));
    EXPECT_FALSE(ServiceCertificatePolicy(base, path("root.pem")).accepts(url, leafOnly));
    EXPECT_FALSE(ServiceCertificatePolicy(base, path("intermediate.pem")).accepts(url, chain("service")));
    EXPECT_FALSE(ServiceCertificatePolicy(base, path("ca1.pem")).accepts(url, full));
}
} // namespace
