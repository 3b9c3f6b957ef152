#include "bench/BenchService.h"

BenchService::BenchService()
    : service(std::make_unique<devserver::DevServer>(
          devserver::ServerOptions{dir.path().toStdString(), 0, devserver::VersionPolicy::Current, false})),
      thread([this] { service->serve(); }) {}

BenchService::~BenchService() {
    service->stop();
    thread.join();
}

ServiceEndpoint BenchService::endpoint() const {
    return {service->baseUrl(), service->caFile().string()};
}

BenchService &benchService() {
    static BenchService instance;
    return instance;
}
