#pragma once
#include <filesystem>

namespace devserver {

struct CertificateFiles {
    std::filesystem::path caCert;     // "ca.pem": what a client trusts
    std::filesystem::path serverCert; // leaf certificate for 127.0.0.1 and localhost
    std::filesystem::path serverKey;
};

// Makes a private CA and a server certificate signed by it in `dir`, unless usable ones are already
// there (then they are reused, so a client built against ca.pem keeps working across restarts).
CertificateFiles ensureCertificates(const std::filesystem::path &dir);

} // namespace devserver
