#pragma once
#include <string>

namespace devserver {

struct PasswordHash {
    std::string salt; // hex
    std::string hash; // hex
};

// Salted PBKDF2-HMAC-SHA256; only the salt and the derived key are ever stored.
PasswordHash hashPassword(const std::string &password);
bool verifyPassword(const std::string &password, const PasswordHash &stored);

// Unpredictable hex text of the given number of random bytes (session keys, reset links).
std::string randomHex(std::size_t bytes);

} // namespace devserver
