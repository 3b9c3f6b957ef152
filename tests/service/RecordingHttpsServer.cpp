#include "tests/service/RecordingHttpsServer.h"

#include <openssl/ssl.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <stdexcept>
#include <strings.h>

namespace {

bool readMore(SSL *ssl, std::string &buffer) {
    char chunk[16384];
    const int n = SSL_read(ssl, chunk, sizeof chunk);
    if (n <= 0)
        return false;
    buffer.append(chunk, n);
    return true;
}

// Parses the request head; false when it is malformed.
bool parseHead(const std::string &head, RecordedRequest &request) {
    size_t lineEnd = head.find("\r\n");
    const std::string requestLine = head.substr(0, lineEnd);
    const size_t space1 = requestLine.find(' ');
    const size_t space2 = requestLine.find(' ', space1 + 1);
    if (space1 == std::string::npos || space2 == std::string::npos)
        return false;
    request.method = requestLine.substr(0, space1);
    request.target = requestLine.substr(space1 + 1, space2 - space1 - 1);
    for (size_t start = lineEnd + 2; start < head.size(); start = lineEnd + 2) {
        lineEnd = head.find("\r\n", start);
        if (lineEnd == std::string::npos)
            lineEnd = head.size();
        const std::string line = head.substr(start, lineEnd - start);
        const size_t colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        const size_t valueStart = line.find_first_not_of(' ', colon + 1);
        request.headers.emplace_back(line.substr(0, colon),
                                     valueStart == std::string::npos ? "" : line.substr(valueStart));
    }
    return true;
}

std::string headBytes(const CannedReply &reply) {
    std::string bytes =
        "HTTP/1.1 " + std::to_string(reply.status) + (reply.status < 400 ? " OK" : " Error") + "\r\n";
    for (const auto &[name, value] : reply.headers)
        bytes += name + ": " + value + "\r\n";
    return bytes + "Content-Length: " + std::to_string(reply.body.size()) + "\r\nConnection: close\r\n\r\n";
}

bool sendBytes(SSL *ssl, const std::string &bytes) {
    return SSL_write(ssl, bytes.data(), static_cast<int>(bytes.size())) > 0;
}

} // namespace

std::string RecordedRequest::header(const std::string &name) const {
    for (const auto &[key, value] : headers)
        if (strcasecmp(key.c_str(), name.c_str()) == 0)
            return value;
    return {};
}

bool RecordedRequest::hasHeader(const std::string &name) const {
    return std::any_of(headers.begin(), headers.end(),
                       [&](const auto &h) { return strcasecmp(h.first.c_str(), name.c_str()) == 0; });
}

void RecordingHttpsServer::SslContextFree::operator()(ssl_ctx_st *c) const {
    SSL_CTX_free(c);
}

RecordingHttpsServer::RecordingHttpsServer(const TestCertificate &certificate, int newestTls)
    : context(SSL_CTX_new(TLS_server_method())) {
    std::signal(SIGPIPE, SIG_IGN); // a client that hangs up mid-reply must not end the test run
    if (!context ||
        SSL_CTX_use_certificate_file(context.get(), certificate.certificateFile().c_str(),
                                     SSL_FILETYPE_PEM) != 1 ||
        SSL_CTX_use_PrivateKey_file(context.get(), certificate.keyFile().c_str(), SSL_FILETYPE_PEM) != 1)
        throw std::runtime_error("Cannot set up the test server's TLS");
    if (newestTls > 0) {
        SSL_CTX_set_security_level(context.get(), 0);
        SSL_CTX_set_min_proto_version(context.get(), TLS1_VERSION);
        SSL_CTX_set_max_proto_version(context.get(), newestTls);
    }
    listener = loopbackSocket(port);
    listen(listener, 16);
    worker = std::thread([this] { serve(); });
}

RecordingHttpsServer::~RecordingHttpsServer() {
    stopping = true;
    worker.join();
    close(listener);
}

void RecordingHttpsServer::setResponder(Responder next) {
    std::lock_guard guard(lock);
    responder = std::move(next);
}

std::vector<RecordedRequest> RecordingHttpsServer::requests() const {
    std::lock_guard guard(lock);
    return recorded;
}

void RecordingHttpsServer::serve() {
    while (!stopping) {
        pollfd waiting{listener, POLLIN, 0};
        if (poll(&waiting, 1, 50) <= 0)
            continue;
        const int connection = accept(listener, nullptr, nullptr);
        if (connection < 0)
            continue;
        timeval limit{5, 0};
        setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
        handle(connection);
        close(connection);
    }
}

void RecordingHttpsServer::handle(int connection) {
    SSL *ssl = SSL_new(context.get());
    SSL_set_fd(ssl, connection);
    std::string buffer;
    size_t headEnd = std::string::npos;
    RecordedRequest request;
    if (SSL_accept(ssl) == 1) {
        while ((headEnd = buffer.find("\r\n\r\n")) == std::string::npos && readMore(ssl, buffer)) {
        }
    }
    if (headEnd != std::string::npos && parseHead(buffer.substr(0, headEnd), request)) {
        const size_t length = std::strtoul(request.header("Content-Length").c_str(), nullptr, 10);
        request.body = buffer.substr(headEnd + 4);
        while (request.body.size() < length && readMore(ssl, request.body)) {
        }
        Responder answer;
        {
            std::lock_guard guard(lock);
            recorded.push_back(request);
            answer = responder;
        }
        send(ssl, answer ? answer(request) : CannedReply());
        SSL_shutdown(ssl);
    }
    SSL_free(ssl);
}

void RecordingHttpsServer::send(SSL *ssl, const CannedReply &reply) const {
    if (reply.trickle.count() == 0) {
        sendBytes(ssl, headBytes(reply) + reply.body);
        return;
    }
    // Ends when the client hangs up or the server stops.
    bool open = sendBytes(ssl, headBytes(reply));
    for (size_t sent = 0; open && sent < reply.body.size() && !stopping; ++sent) {
        std::this_thread::sleep_for(reply.trickle);
        open = sendBytes(ssl, reply.body.substr(sent, 1));
    }
}

int loopbackSocket(int &port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr *>(&address), size) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr *>(&address), &size) != 0)
        throw std::runtime_error("Cannot open a loopback socket");
    port = ntohs(address.sin_port);
    return fd;
}

int closedPort() {
    int port = 0;
    close(loopbackSocket(port));
    return port;
}
