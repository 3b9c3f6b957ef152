#pragma once
// Runs the local library service in-process on a free loopback port and talks to it over HTTPS,
// trusting only the CA the service generated.
#include "devserver/DevServer.h"

#include <QTemporaryDir>
#include <httplib.h>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace devserver::testing {

using Json = nlohmann::ordered_json;
using Fields = std::vector<std::pair<std::string, std::string>>;

class RunningService {
public:
    // `port` 0: any free port.
    explicit RunningService(std::filesystem::path dir, VersionPolicy policy = VersionPolicy::Current,
                            bool recordEndpoint = true, int port = 0);
    ~RunningService();

    DevServer &server() { return *service; }
    std::string base() const { return service->baseUrl(); }
    std::filesystem::path caFile() const { return service->caFile(); }
    std::filesystem::path dir() const { return dataDir; }

private:
    std::filesystem::path dataDir;
    std::unique_ptr<DevServer> service;
    std::thread thread;
};

// One service with the sample content for the whole test program (generating it takes seconds).
RunningService &sharedService();

struct Reply {
    int status = 0;
    std::string body;
    Json json; // discarded when the body is not JSON
    std::string code() const { return json.is_object() ? json.value("code", "") : ""; }
    std::string msg() const { return json.is_object() ? json.value("msg", "") : ""; }
};

// Form fields encoded as the client encodes them: UTF-8 percent escapes, space as "+".
std::string encodeForm(const Fields &fields);

class ServiceClient {
public:
    explicit ServiceClient(RunningService &service);

    Reply get(const std::string &path, const httplib::Headers &headers = {});
    Reply postForm(const std::string &path, const Fields &fields, const httplib::Headers &headers = {});
    Reply postRaw(const std::string &path, const std::string &body, const std::string &contentType,
                  const httplib::Headers &headers = {});
    Reply postMultipart(const std::string &path, const httplib::MultipartFormDataItems &items,
                        const httplib::Headers &headers = {});

    // Logs a member in from a device; returns the full header set of the session (empty on failure).
    httplib::Headers login(const std::string &user, const std::string &pass, const std::string &uuid);
    // The requests recorded after `since`.
    Json recorded(long long since = 0);

private:
    Reply finish(const httplib::Result &result);
    std::unique_ptr<httplib::SSLClient> client;
};

httplib::Headers deviceHeaders(const std::string &uuid);

} // namespace devserver::testing
