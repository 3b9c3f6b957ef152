#pragma once
#include "devserver/Faults.h"

#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
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
// (a raw reply first, then a refusal) answers instead of the handler, and no exception ever leaves a
// handler: an unexpected failure becomes a "500" reply.
class Router {
public:
    Router(httplib::Server &server, RequestLog &log, Database &db) : server(server), log(log), db(db) {}

    void get(const std::string &pattern, RouteHandler handler);
    void post(const std::string &pattern, RouteHandler handler);

    // Unknown paths, wrong methods, oversized or unparsable requests: a JSON refusal, recorded too.
    void installFallbacks();

    void setRawFault(const std::string &path, RawReply reply);
    void clearRawFaults();
    // Lets every reply held back by `Delivery::Never` go: the service is stopping.
    void releaseHeldReplies();

private:
    RouteHandler wrap(RouteHandler handler);
    std::optional<RawReply> rawFault(const std::string &path);
    void sendRaw(const RawReply &raw, httplib::Response &res);

    httplib::Server &server;
    RequestLog &log;
    Database &db;
    std::mutex rawLock;
    std::condition_variable released;
    bool stopping = false;
    std::map<std::string, RawReply> rawFaults;
};

} // namespace devserver
