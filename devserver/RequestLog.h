#pragma once
#include <string>

namespace httplib {
struct Request;
class Server;
} // namespace httplib

namespace devserver {

class Database;

// Keeps every request (method, path, headers, body) in the database so tests can check what a
// client sent. Passwords are masked before anything is written.
class RequestLog {
public:
    explicit RequestLog(Database &db) : db(db) {}

    void record(const httplib::Request &req);
    // Serves the log as JSON at "/__requests?since=ID" to loopback peers only.
    void addReadEndpoint(httplib::Server &server);

    static std::string maskedBody(const httplib::Request &req);

private:
    Database &db;
};

} // namespace devserver
