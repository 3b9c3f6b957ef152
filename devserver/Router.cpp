#include "devserver/Router.h"

#include "devserver/Faults.h"
#include "devserver/Replies.h"
#include "devserver/RequestLog.h"

#include <cstdio>
#include <httplib.h>

namespace devserver {

namespace {

// The routed request whose error reply is on its way to the fallback, which must not record it again.
thread_local const httplib::Request *recordedRequest = nullptr;

} // namespace

RouteHandler Router::wrap(RouteHandler handler) {
    return [this, handler = std::move(handler)](const httplib::Request &req, httplib::Response &res) {
        recordedRequest = &req;
        try {
            log.record(req);
            if (auto raw = rawFault(req.path))
                sendRaw(*raw, res);
            else if (auto forced = faultReply(db, req.path))
                send(res, *forced);
            else
                handler(req, res);
        } catch (const std::exception &e) {
            std::fprintf(stderr, "kelvara-devserver: %s %s failed: %s\n", req.method.c_str(),
                         req.path.c_str(), e.what());
            res = httplib::Response();
            sendRefusal(res, "500", "Terjadi kesalahan pada server");
        }
        // Only an error status reaches the fallback, which then knows this request is recorded.
        if (res.status < 400)
            recordedRequest = nullptr;
    };
}

void Router::setRawFault(const std::string &path, RawReply reply) {
    std::lock_guard guard(rawLock);
    rawFaults[path] = std::move(reply);
}

void Router::clearRawFaults() {
    std::lock_guard guard(rawLock);
    rawFaults.clear();
}

void Router::releaseHeldReplies() {
    {
        std::lock_guard guard(rawLock);
        stopping = true;
    }
    released.notify_all();
}

std::optional<RawReply> Router::rawFault(const std::string &path) {
    std::lock_guard guard(rawLock);
    auto found = rawFaults.find(path);
    return found == rawFaults.end() ? std::nullopt : std::optional<RawReply>(found->second);
}

void Router::sendRaw(const RawReply &raw, httplib::Response &res) {
    switch (raw.delivery) {
    case Delivery::Whole:
        res.status = raw.status;
        res.set_content(raw.body, raw.contentType.c_str());
        return;
    case Delivery::Cut:
        res.status = raw.status;
        // The provider returns false after writing half: the server then drops the connection.
        res.set_content_provider(raw.body.size(), raw.contentType.c_str(),
                                 [body = raw.body](size_t, size_t, httplib::DataSink &sink) {
                                     sink.write(body.data(), body.size() / 2);
                                     return false;
                                 });
        return;
    case Delivery::Never: {
        std::unique_lock guard(rawLock);
        released.wait(guard, [this] { return stopping; });
        res.status = 503;
        return;
    }
    }
}

void Router::get(const std::string &pattern, RouteHandler handler) {
    server.Get(pattern, wrap(std::move(handler)));
}

void Router::post(const std::string &pattern, RouteHandler handler) {
    server.Post(pattern, wrap(std::move(handler)));
}

void Router::installFallbacks() {
    server.set_error_handler([this](const httplib::Request &req, httplib::Response &res) {
        if (recordedRequest != &req) {
            try {
                log.record(req);
            } catch (const std::exception &) {
            }
        }
        recordedRequest = nullptr;
        if (!res.body.empty())
            return;
        const char *msg = res.status == 404   ? "Alamat tidak dikenal"
                          : res.status == 413 ? "Permintaan terlalu besar"
                                              : "Permintaan tidak valid";
        res.set_content(reply(std::to_string(res.status), msg).dump(), "application/json; charset=utf-8");
    });
    server.set_exception_handler([](const httplib::Request &, httplib::Response &res, std::exception_ptr) {
        res.status = 500;
        res.set_content(reply("500", "Terjadi kesalahan pada server").dump(),
                        "application/json; charset=utf-8");
    });
}

} // namespace devserver
