#pragma once
#include <filesystem>
#include <string>

namespace httplib {
struct Request;
}

namespace devserver {

class Database;

enum class VersionPolicy { Current, Update, Refuse };

// What every route needs: the store, where files live, and how the service was started.
struct ServiceContext {
    Database &db;
    std::filesystem::path publicDir; // served under "/prod/img/..." and "/pc/rvs/"
    std::filesystem::path uploadDir; // identity photos of registrations, never served
    VersionPolicy versionPolicy = VersionPolicy::Current;
    int port = 0;

    // "https://host:port" as the client addressed this service (127.0.0.1 or localhost), so the
    // addresses handed out in replies match the certificate and the client's base.
    std::string baseUrl(const httplib::Request &req) const;
};

} // namespace devserver
