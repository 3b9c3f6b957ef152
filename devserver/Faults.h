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

// How a reply written on purpose reaches the client.
enum class Delivery {
    Whole, // status, content type and body as they are
    Cut,   // half the body under the whole body's length, then the connection drops
    Never, // nothing at all until the service stops
};

// A reply that is no reply of the service's: an HTML page, a body that is not what the call expects, a
// transfer cut off or one that never comes. Set by a test in the same process (`DevServer::setRawFault`).
struct RawReply {
    Delivery delivery = Delivery::Whole;
    int status = 200;
    std::string contentType = "application/json; charset=utf-8";
    std::string body;
};

} // namespace devserver
