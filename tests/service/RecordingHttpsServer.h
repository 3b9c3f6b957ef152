#pragma once
#include "tests/service/TestCertificate.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

using HeaderPairs = std::vector<std::pair<std::string, std::string>>;

// One request as it arrived on the wire: headers in their order and case.
struct RecordedRequest {
    std::string method;
    std::string target;
    HeaderPairs headers;
    std::string body;

    // The value of the first header named `name` (any case); "" when absent.
    std::string header(const std::string &name) const;
    bool hasHeader(const std::string &name) const;
};

struct CannedReply {
    int status = 200;
    HeaderPairs headers = {{"Content-Type", "application/json"}};
    std::string body = R"({"code":"200","msg":"OK","data":[]})";
    // > 0: after the head, the body goes out one byte per interval (a server that trickles).
    std::chrono::milliseconds trickle{0};
};

// An HTTPS server on a loopback port that records every request and answers from a responder. It
// reads requests byte for byte, so tests can check header order, which common server libraries lose.
// Serves one connection at a time on its own thread.
class RecordingHttpsServer {
public:
    using Responder = std::function<CannedReply(const RecordedRequest &)>;

    // `newestTls` > 0 (an OpenSSL version such as TLS1_1_VERSION): the server offers nothing newer,
    // and accepts old versions the system configuration would refuse.
    explicit RecordingHttpsServer(const TestCertificate &certificate, int newestTls = 0);
    ~RecordingHttpsServer();
    RecordingHttpsServer(const RecordingHttpsServer &) = delete;
    RecordingHttpsServer &operator=(const RecordingHttpsServer &) = delete;

    std::string baseUrl() const { return "https://127.0.0.1:" + std::to_string(port); }
    int listeningPort() const { return port; }
    void setResponder(Responder next);
    std::vector<RecordedRequest> requests() const;

private:
    struct SslContextFree {
        void operator()(struct ssl_ctx_st *context) const;
    };
    void serve();
    void handle(int connection);
    void send(struct ssl_st *ssl, const CannedReply &reply) const;

    std::unique_ptr<struct ssl_ctx_st, SslContextFree> context;
    int listener = -1;
    int port = 0;
    std::atomic<bool> stopping{false};
    mutable std::mutex lock;
    Responder responder;
    std::vector<RecordedRequest> recorded;
    std::thread worker;
};

// A socket bound to a free loopback port, which is stored in `port`; not yet listening.
int loopbackSocket(int &port);
// A loopback port on which nothing listens.
int closedPort();
