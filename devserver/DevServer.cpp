#include "devserver/DevServer.h"

#include "devserver/Certificates.h"
#include "devserver/Database.h"
#include "devserver/RequestLog.h"
#include "devserver/Router.h"
#include "devserver/Routes.h"
#include "devserver/SampleContent.h"
#include "devserver/Schema.h"

#include <httplib.h>
#include <stdexcept>
#include <sys/stat.h>

namespace devserver {

namespace {

constexpr std::size_t kMaxRequestBytes = 16 * 1024 * 1024;
// The client's pages load many covers at once over kept-alive connections, and its service calls
// reuse theirs: enough workers, and idle connections released quickly (a stop waits for them), keep
// calls from waiting behind them. A connection serves as many requests as a real service's would.
constexpr std::size_t kWorkers = 16;
constexpr time_t kKeepAliveSeconds = 1;
constexpr std::size_t kRequestsPerConnection = 1000;

} // namespace

DevServer::DevServer(ServerOptions opts) : options(std::move(opts)) {
    namespace fs = std::filesystem;
    fs::create_directories(options.dataDir);
    ::chmod(options.dataDir.c_str(), S_IRWXU);
    const CertificateFiles certs = ensureCertificates(options.dataDir);
    fs::create_directories(options.dataDir / "uploads");

    db = std::make_unique<Database>((options.dataDir / "service.db").string());
    createSchema(*db);
    if (!hasSampleContent(*db))
        createSampleContent(*db, options.dataDir / "public");

    server = std::make_unique<httplib::SSLServer>(certs.serverCert.c_str(), certs.serverKey.c_str());
    if (!server->is_valid())
        throw std::runtime_error("cannot load the server certificate");
    server->set_payload_max_length(kMaxRequestBytes);
    server->set_keep_alive_timeout(kKeepAliveSeconds);
    server->set_keep_alive_max_count(kRequestsPerConnection);
    // Replies go out as written, as a real service's do: with Nagle's algorithm on, a reply written in
    // two pieces (headers, then a file) waited for the client's delayed acknowledgement, 40 ms.
    server->set_tcp_nodelay(true);
    server->new_task_queue = [] { return new httplib::ThreadPool(kWorkers); };
    context = std::make_unique<ServiceContext>(ServiceContext{
        *db, options.dataDir / "public", options.dataDir / "uploads", options.versionPolicy, 0});
    log = std::make_unique<RequestLog>(*db);
    router = std::make_unique<Router>(*server, *log, *db);
    addSessionRoutes(*router, *context);
    addCatalogueRoutes(*router, *context);
    addLoanRoutes(*router, *context);
    addRegistrationRoutes(*router, *context);
    addStaticRoutes(*router, *context);
    if (options.recordEndpoint)
        log->addReadEndpoint(*server);
    router->installFallbacks();

    if (options.port == 0)
        boundPort = server->bind_to_any_port("127.0.0.1");
    else if (server->bind_to_port("127.0.0.1", options.port))
        boundPort = options.port;
    if (boundPort <= 0)
        throw std::runtime_error("cannot listen on 127.0.0.1:" + std::to_string(options.port));
    context->port = boundPort;
}

DevServer::~DevServer() {
    stop();
}

std::filesystem::path DevServer::caFile() const {
    return options.dataDir / "ca.pem";
}

void DevServer::serve() {
    server->listen_after_bind();
}

void DevServer::stop() {
    if (router)
        router->releaseHeldReplies(); // the server's workers end before it stops
    if (server)
        server->stop();
}

void DevServer::setRawFault(const std::string &path, RawReply reply) {
    router->setRawFault(path, std::move(reply));
}

void DevServer::clearRawFaults() {
    router->clearRawFaults();
}

} // namespace devserver
