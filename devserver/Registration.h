#pragma once
#include "devserver/Replies.h"

#include <string>

namespace httplib {
struct MultipartFormData;
}

namespace devserver {

class Database;

// A registration after its checks: the member's fields, and the two pictures with the file
// extension their content shows.
struct RegistrationForm {
    std::string username, password, nama;
    Json details; // every sent field but the password
    std::string identity, identityExtension;
    std::string photo, photoExtension;
};

// Checks the "data" JSON text and the two picture parts. Returns the refusal text, or empty when
// everything is in order (then `out` is filled).
std::string readRegistration(const std::string &dataText, const httplib::MultipartFormData &identity,
                             const httplib::MultipartFormData &photo, Database &db, RegistrationForm &out);

} // namespace devserver
