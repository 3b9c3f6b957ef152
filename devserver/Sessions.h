#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace httplib {
struct Request;
struct Response;
} // namespace httplib

namespace devserver {

class Database;

inline constexpr const char *kClientId = "338";

struct Session {
    std::int64_t userId = 0;
    std::string token;
};

// The "CLIENTID" check of the calls made before or outside a session; answers the refusal itself.
bool requireClient(const httplib::Request &req, httplib::Response &res);

// The full header set: "CLIENTID" of this institution and a live session whose "KEY" was issued to
// this "UUID" (and, when sent, "USERID"). Anything else is answered {"code":"500","msg":"Auth Failed"}.
std::optional<Session> requireSession(Database &db, const httplib::Request &req, httplib::Response &res);

// Opens a session for a member on a device. Every earlier session of the member ends, and so do the
// loans those sessions left open (the reader that held them is gone).
std::string openSession(Database &db, std::int64_t userId, const std::string &uuid);
void endSession(Database &db, const std::string &token);

} // namespace devserver
