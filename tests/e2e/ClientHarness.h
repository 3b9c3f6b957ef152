#pragma once
// Drives the real client against the local library service running in this process: the service
// on a free loopback port, the client's start-up, and pages clicked through script in the views.
#include "devserver/DevServer.h"
#include "service/ServiceEndpoint.h"

#include <QString>
#include <QVariant>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class ChromiumView;

namespace e2e {

class RunningService {
public:
    // `port` 0: any free port.
    RunningService(const std::filesystem::path &dir, devserver::VersionPolicy policy, int port = 0);
    ~RunningService();
    ServiceEndpoint endpoint() const;
    devserver::DevServer &server() { return *instance; }

private:
    std::unique_ptr<devserver::DevServer> instance;
    std::thread thread;
};

// The folder every service of the test program shares (its sample content is made once).
const std::filesystem::path &serviceFolder();
// The service with the version policy "current", for the whole test program.
RunningService &sharedService();

// Processes UI events until `done` holds; false after `timeoutMs`.
bool processUntil(const std::function<bool()> &done, int timeoutMs = 30000);
// Runs script in the view's page and returns its value.
QVariant evaluate(ChromiumView *view, const QString &script);
// True once the view shows the data folder's page `fileName`, fully loaded, and `condition` holds.
bool waitForPage(ChromiumView *view, const QString &fileName,
                 const QString &condition = QStringLiteral("true"));

// The service's record of requests after `sinceId` (objects with "id", "method", "path", "headers").
nlohmann::json recordedRequests(const ServiceEndpoint &endpoint, long long sinceId = 0);
long long lastRequestId(const ServiceEndpoint &endpoint);
std::vector<std::string> recordedPaths(const ServiceEndpoint &endpoint, long long sinceId);

} // namespace e2e
