#pragma once
#include "devserver/Replies.h"

#include <optional>
#include <string>

namespace devserver {

class Database;

// Faults set on purpose, so that a client can be tried against a service that refuses: while a fault is
// set for a path, every request to it is recorded and answered {"code": code, "msg": msg} instead of
// being handled. Kept in the service's database, so a test or a developer sets and clears them from
// outside the running service.
void setFault(Database &db, const std::string &path, const std::string &code, const std::string &msg);
void clearFaults(Database &db);
// The forced reply for `path`, if a fault is set for it.
std::optional<Json> faultReply(Database &db, const std::string &path);

} // namespace devserver
