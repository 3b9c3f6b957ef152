#include "devserver/Passwords.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>
#include <stdexcept>
#include <vector>

namespace devserver {

namespace {

constexpr int kIterations = 50000;
constexpr std::size_t kKeyLength = 32;

std::string toHex(const unsigned char *data, std::size_t size) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(size * 2);
    for (std::size_t i = 0; i < size; ++i) {
        out += digits[data[i] >> 4];
        out += digits[data[i] & 0x0f];
    }
    return out;
}

std::string derive(const std::string &password, const std::string &salt) {
    unsigned char key[kKeyLength];
    if (PKCS5_PBKDF2_HMAC(password.data(), static_cast<int>(password.size()),
                          reinterpret_cast<const unsigned char *>(salt.data()), static_cast<int>(salt.size()),
                          kIterations, EVP_sha256(), sizeof key, key) != 1)
        throw std::runtime_error("password hashing failed");
    return toHex(key, sizeof key);
}

} // namespace

std::string randomHex(std::size_t bytes) {
    std::vector<unsigned char> buffer(bytes);
    if (RAND_bytes(buffer.data(), static_cast<int>(buffer.size())) != 1)
        throw std::runtime_error("no random bytes available");
    return toHex(buffer.data(), buffer.size());
}

PasswordHash hashPassword(const std::string &password) {
    PasswordHash result;
    result.salt = randomHex(16);
    result.hash = derive(password, result.salt);
    return result;
}

bool verifyPassword(const std::string &password, const PasswordHash &stored) {
    std::string candidate = derive(password, stored.salt);
    return candidate.size() == stored.hash.size() &&
           CRYPTO_memcmp(candidate.data(), stored.hash.data(), candidate.size()) == 0;
}

} // namespace devserver
