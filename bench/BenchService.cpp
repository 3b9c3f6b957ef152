#include "bench/BenchService.h"

#include "devserver/SampleContent.h"
#include "service/ReplyValues.h"
#include "service/RuvasaLib.h"

#include <stdexcept>

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

void logInSampleMember(TRuvasaLib &lib) {
    const devserver::SampleMember &member = devserver::sampleMembers().at(0);
    const JsonPtr login = lib.LoginRequest(member.username, member.password);
    if (replyText(login, "code") != "200")
        throw std::runtime_error("the sample member could not log in");
    lib.setSession(loginSession(login));
}
