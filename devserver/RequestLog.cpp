#include "devserver/RequestLog.h"

#include "devserver/Database.h"
#include "devserver/FormBody.h"
#include "devserver/Replies.h"

#include <httplib.h>

namespace devserver {

namespace {

constexpr const char *kMask = "***";

// Headers the HTTP library adds to a request itself; they were not sent by the client.
bool isConnectionDetail(const std::string &name) {
    return name == "REMOTE_ADDR" || name == "REMOTE_PORT" || name == "LOCAL_ADDR" || name == "LOCAL_PORT";
}

bool isSecretName(const std::string &name) {
    return name == "pass" || name == "password";
}

std::string maskForm(const std::string &body) {
    std::string out;
    std::size_t start = 0;
    while (start < body.size()) {
        std::size_t end = body.find('&', start);
        if (end == std::string::npos)
            end = body.size();
        std::string pair = body.substr(start, end - start);
        const std::size_t eq = pair.find('=');
        auto name = percentDecode(pair.substr(0, eq));
        if (eq != std::string::npos && name && isSecretName(*name))
            pair = pair.substr(0, eq + 1) + kMask;
        out += (out.empty() && start == 0 ? "" : "&") + pair;
        start = end + 1;
    }
    return out;
}

std::string maskJson(const std::string &text) {
    Json doc = Json::parse(text, nullptr, false);
    if (doc.is_discarded() || !doc.is_object())
        return text;
    for (auto &[key, value] : doc.items())
        if (isSecretName(key))
            value = kMask;
    return doc.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string describeMultipart(const httplib::Request &req) {
    Json fields = Json::object();
    Json files = Json::array();
    for (const auto &[name, part] : req.files) {
        if (part.filename.empty())
            fields[name] = maskJson(part.content);
        else
            files.push_back({{"name", name},
                             {"filename", part.filename},
                             {"content_type", part.content_type},
                             {"size", part.content.size()}});
    }
    return Json{{"fields", fields}, {"files", files}}.dump(-1, ' ', false,
                                                           nlohmann::json::error_handler_t::replace);
}

} // namespace

std::string RequestLog::maskedBody(const httplib::Request &req) {
    const std::string type = req.get_header_value("Content-Type");
    if (req.is_multipart_form_data())
        return describeMultipart(req);
    if (type.rfind("application/x-www-form-urlencoded", 0) == 0)
        return maskForm(req.body);
    if (type.rfind("application/json", 0) == 0)
        return maskJson(req.body);
    return req.body;
}

void RequestLog::record(const httplib::Request &req) {
    Json headers = Json::object();
    for (const auto &[name, value] : req.headers)
        if (!isConnectionDetail(name) && !headers.contains(name))
            headers[name] = value;
    db.run("INSERT INTO requests (method, path, headers, body) VALUES (?, ?, ?, ?)",
           {req.method, req.target.empty() ? req.path : req.target,
            headers.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace), maskedBody(req)});
}

void RequestLog::addReadEndpoint(httplib::Server &server) {
    server.Get("/__requests", [this](const httplib::Request &req, httplib::Response &res) {
        if (req.remote_addr != "127.0.0.1" && req.remote_addr != "::1") {
            res.status = 403;
            return;
        }
        std::int64_t since = 0;
        try {
            since = req.has_param("since") ? std::stoll(req.get_param_value("since")) : 0;
        } catch (const std::exception &) {
            sendRefusal(res, "400", "since harus berupa angka");
            return;
        }
        Json rows = Json::array();
        for (const SqlRow &row : db.query("SELECT id, received, method, path, headers, body FROM requests "
                                          "WHERE id > ? ORDER BY id",
                                          {since}))
            rows.push_back({{"id", row.integer(0)},
                            {"received", row.text(1)},
                            {"method", row.text(2)},
                            {"path", row.text(3)},
                            {"headers", Json::parse(row.text(4), nullptr, false)},
                            {"body", row.text(5)}});
        Json body = reply("200", "OK");
        body["data"] = rows;
        send(res, body);
    });
}

} // namespace devserver
