#pragma once
// The local library service, started in the benchmark's own process on a free loopback port with its
// sample content in a temporary folder that goes with it.
#include "devserver/DevServer.h"
#include "service/ServiceEndpoint.h"

#include <QTemporaryDir>

#include <memory>
#include <thread>

class BenchService {
public:
    BenchService();
    ~BenchService();
    BenchService(const BenchService &) = delete;
    BenchService &operator=(const BenchService &) = delete;

    ServiceEndpoint endpoint() const;
    devserver::DevServer &server() { return *service; }

private:
    QTemporaryDir dir;
    std::unique_ptr<devserver::DevServer> service;
    std::thread thread;
};

// The service of the whole benchmark program, made on first use (sample content takes seconds).
BenchService &benchService();

class TRuvasaLib;
// Logs `lib` in as the first sample member and keeps the session, as the client does after a login.
// Throws when the service refuses.
void logInSampleMember(TRuvasaLib &lib);
