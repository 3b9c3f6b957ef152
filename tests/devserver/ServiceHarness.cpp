#include "ServiceHarness.h"

#include "devserver/SampleContent.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace devserver::testing {

RunningService::RunningService(std::filesystem::path dir, VersionPolicy policy, bool recordEndpoint, int port)
    : dataDir(std::move(dir)) {
    ServerOptions options;
    options.dataDir = dataDir;
    options.port = port;
    options.versionPolicy = policy;
    options.recordEndpoint = recordEndpoint;
    service = std::make_unique<DevServer>(options);
    thread = std::thread([this] { service->serve(); });
    // Wait until the listener accepts connections.
    for (int i = 0; i < 200; ++i) {
        httplib::SSLClient probe("127.0.0.1", service->port());
        probe.enable_server_certificate_verification(false);
        if (probe.Get("/__ready"))
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    throw std::runtime_error("service did not start");
}

RunningService::~RunningService() {
    service->stop();
    thread.join();
}

RunningService &sharedService() {
    static QTemporaryDir dir;
    static RunningService service(dir.path().toStdString() + "/service");
    return service;
}

std::string encodeForm(const Fields &fields) {
    std::string out;
    for (const auto &[name, value] : fields) {
        if (!out.empty())
            out += '&';
        for (const std::string *part : {&name, &value}) {
            for (unsigned char c : *part) {
                if (std::isalnum(c) || c == '*' || c == '-' || c == '.' || c == '_') {
                    out += static_cast<char>(c);
                } else if (c == ' ') {
                    out += '+';
                } else {
                    char escaped[4];
                    std::snprintf(escaped, sizeof escaped, "%%%02X", c);
                    out += escaped;
                }
            }
            if (part == &name)
                out += '=';
        }
    }
    return out;
}

ServiceClient::ServiceClient(RunningService &service)
    : client(std::make_unique<httplib::SSLClient>("127.0.0.1", service.server().port())) {
    client->set_ca_cert_path(service.caFile().c_str());
    client->enable_server_certificate_verification(true);
    client->set_read_timeout(30, 0);
}

Reply ServiceClient::finish(const httplib::Result &result) {
    if (!result)
        throw std::runtime_error("request failed: " + httplib::to_string(result.error()));
    Reply reply;
    reply.status = result->status;
    reply.body = result->body;
    reply.json = Json::parse(reply.body, nullptr, false);
    return reply;
}

Reply ServiceClient::get(const std::string &path, const httplib::Headers &headers) {
    return finish(client->Get(path, headers));
}

Reply ServiceClient::postForm(const std::string &path, const Fields &fields,
                              const httplib::Headers &headers) {
    return postRaw(path, encodeForm(fields), "application/x-www-form-urlencoded", headers);
}

Reply ServiceClient::postRaw(const std::string &path, const std::string &body, const std::string &contentType,
                             const httplib::Headers &headers) {
    return finish(client->Post(path, headers, body, contentType));
}

Reply ServiceClient::postMultipart(const std::string &path, const httplib::MultipartFormDataItems &items,
                                   const httplib::Headers &headers) {
    return finish(client->Post(path, headers, items));
}

httplib::Headers ServiceClient::login(const std::string &user, const std::string &pass,
                                      const std::string &uuid) {
    Reply reply = postForm("/api/wl/executeLogin", {{"user", user}, {"pass", pass}, {"uuid", uuid}},
                           {{"OS", "WIN"}, {"CLIENTID", "338"}, {"UUID", uuid}});
    if (reply.code() != "200")
        return {};
    const Json &data = reply.json["data"];
    return {{"CLIENTID", "338"},
            {"OS", "WIN"},
            {"UUID", uuid},
            {"KEY", data["token"].get<std::string>()},
            {"USERID", data["id_user"].get<std::string>()},
            {"USERLEVEL", data["level"].get<std::string>()}};
}

Json ServiceClient::recorded(long long since) {
    return get("/__requests?since=" + std::to_string(since)).json["data"];
}

httplib::Headers deviceHeaders(const std::string &uuid) {
    return {{"CLIENTID", "338"}, {"OS", "WIN"}, {"UUID", uuid}};
}

} // namespace devserver::testing
