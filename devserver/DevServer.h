#pragma once
#include "devserver/Faults.h"
#include "devserver/ServiceContext.h"

#include <filesystem>
#include <memory>
#include <string>

namespace httplib {
class SSLServer;
}

namespace devserver {

class Database;
class RequestLog;
class Router;

struct ServerOptions {
    std::filesystem::path dataDir;
    int port = 8443; // 0: any free port
    VersionPolicy versionPolicy = VersionPolicy::Current;
    bool recordEndpoint = false;
};

// The local library service: HTTPS on 127.0.0.1, state in "service.db" under the data folder.
// The constructor prepares the folder (certificates, database, sample content on first start) and
// binds the port; `serve` blocks until `stop` is called from any thread.
class DevServer {
public:
    explicit DevServer(ServerOptions options);
    ~DevServer();
    DevServer(const DevServer &) = delete;
    DevServer &operator=(const DevServer &) = delete;

    int port() const { return boundPort; }
    std::string baseUrl() const { return "https://127.0.0.1:" + std::to_string(boundPort); }
    std::filesystem::path caFile() const;
    Database &database() { return *db; }
    // A raw reply for `path` until cleared (see Faults.h); kept in this process only.
    void setRawFault(const std::string &path, RawReply reply);
    void clearRawFaults();

    void serve();
    void stop();

private:
    ServerOptions options;
    std::unique_ptr<Database> db;
    std::unique_ptr<httplib::SSLServer> server;
    std::unique_ptr<RequestLog> log;
    std::unique_ptr<Router> router;
    std::unique_ptr<ServiceContext> context;
    int boundPort = 0;
};

} // namespace devserver
