#pragma once
#include <functional>
#include <string>

namespace httplib {
struct Request;
struct Response;
class Server;
} // namespace httplib

namespace devserver {

class Database;
class RequestLog;

using RouteHandler = std::function<void(const httplib::Request &, httplib::Response &)>;

// Registers routes so that each request is recorded before it is handled, a fault set for its path
// answers instead of the handler, and no exception ever leaves a handler: an unexpected failure becomes
// a "500" reply.
class Router {
public:
    Router(httplib::Server &server, RequestLog &log, Database &db) : server(server), log(log), db(db) {}

    void get(const std::string &pattern, RouteHandler handler);
    void post(const std::string &pattern, RouteHandler handler);

    // Unknown paths, wrong methods, oversized or unparsable requests: a JSON refusal, recorded too.
    void installFallbacks();

private:
    RouteHandler wrap(RouteHandler handler);

    httplib::Server &server;
    RequestLog &log;
    Database &db;
};

} // namespace devserver
