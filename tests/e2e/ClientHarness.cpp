#include "ClientHarness.h"

#include "browser/ChromiumView.h"
#include "service/HttpCall.h"
#include "tests/support/PageScript.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QUrl>
#include <QWebEnginePage>

namespace e2e {

RunningService::RunningService(const std::filesystem::path &dir, devserver::VersionPolicy policy, int port)
    : instance(std::make_unique<devserver::DevServer>(devserver::ServerOptions{dir, port, policy, true})),
      thread([this] { instance->serve(); }) {}

RunningService::~RunningService() {
    instance->stop();
    thread.join();
}

ServiceEndpoint RunningService::endpoint() const {
    return {instance->baseUrl(), instance->caFile().string()};
}

const std::filesystem::path &serviceFolder() {
    static const std::filesystem::path folder =
        std::filesystem::path(QStandardPaths::writableLocation(QStandardPaths::TempLocation).toStdString()) /
        ("kelvara-e2e-service-" + std::to_string(QCoreApplication::applicationPid()));
    return folder;
}

RunningService &sharedService() {
    static RunningService service(serviceFolder(), devserver::VersionPolicy::Current);
    return service;
}

bool processUntil(const std::function<bool()> &done, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

QVariant evaluate(ChromiumView *view, const QString &script) {
    return evaluateInPage(view->page(), script);
}

bool waitForPage(ChromiumView *view, const QString &fileName, const QString &condition) {
    const QString check = QStringLiteral("document.readyState === 'complete' && !!(%1)").arg(condition);
    return processUntil([&] { return view->url().fileName() == fileName && evaluate(view, check).toBool(); });
}

nlohmann::json recordedRequests(const ServiceEndpoint &endpoint, long long sinceId) {
    HttpRequest request;
    request.url = endpoint.baseUrl + "/__requests?since=" + std::to_string(sinceId);
    request.caFile = endpoint.caFile;
    HttpResponse response = performHttp(request);
    nlohmann::json reply = nlohmann::json::parse(response.body, nullptr, false);
    return reply.is_object() && reply.contains("data") ? reply["data"] : nlohmann::json::array();
}

long long lastRequestId(const ServiceEndpoint &endpoint) {
    nlohmann::json rows = recordedRequests(endpoint);
    return rows.empty() ? 0 : rows.back().value("id", 0LL);
}

std::vector<std::string> recordedPaths(const ServiceEndpoint &endpoint, long long sinceId) {
    std::vector<std::string> paths;
    for (const nlohmann::json &row : recordedRequests(endpoint, sinceId)) {
        std::string path = row.value("path", "");
        if (path != "/__requests")
            paths.push_back(path);
    }
    return paths;
}

} // namespace e2e
