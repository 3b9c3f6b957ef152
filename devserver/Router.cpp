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
            if (auto forced = faultReply(db, req.path))
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
