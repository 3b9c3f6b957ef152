// kelvara-devserver: the local library service the client is run and tested against.
#include "devserver/DevServer.h"
#include "devserver/SampleContent.h"

#include <QGuiApplication>
#include <QStandardPaths>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <thread>

namespace {

void usage() {
    std::fprintf(stderr,
                 "usage: kelvara-devserver [--port N] [--data DIR] [--version-policy current|update|refuse] "
                 "[--record-endpoint]\n");
}

std::optional<devserver::ServerOptions> parseOptions(int argc, char **argv) {
    devserver::ServerOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--port" && hasValue) {
            const std::string value = argv[++i];
            if (value.empty() || value.size() > 5 ||
                value.find_first_not_of("0123456789") != std::string::npos)
                return std::nullopt;
            options.port = std::stoi(value);
            if (options.port > 65535)
                return std::nullopt;
        } else if (arg == "--data" && hasValue) {
            options.dataDir = argv[++i];
        } else if (arg == "--version-policy" && hasValue) {
            const std::string policy = argv[++i];
            if (policy == "current")
                options.versionPolicy = devserver::VersionPolicy::Current;
            else if (policy == "update")
                options.versionPolicy = devserver::VersionPolicy::Update;
            else if (policy == "refuse")
                options.versionPolicy = devserver::VersionPolicy::Refuse;
            else
                return std::nullopt;
        } else if (arg == "--record-endpoint") {
            options.recordEndpoint = true;
        } else {
            return std::nullopt;
        }
    }
    return options;
}

// Waits for SIGINT or SIGTERM on a thread of its own, then stops the server, so the shutdown runs
// outside a signal handler.
std::thread stopOnSignal(devserver::DevServer &server, sigset_t stopSignals) {
    return std::thread([&server, stopSignals] {
        int received = 0;
        sigwait(&stopSignals, &received);
        server.stop();
    });
}

} // namespace

int main(int argc, char **argv) {
    auto options = parseOptions(argc, argv);
    if (!options) {
        usage();
        return 2;
    }
    // Blocked in every thread (those Qt starts included) and taken by the watcher thread alone.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    // Pictures of the sample content are drawn with fonts, which need a GUI application object;
    // the service never shows a window.
    int qtArgc = 3;
    char platformFlag[] = "-platform", platform[] = "offscreen";
    char *qtArgv[] = {argv[0], platformFlag, platform, nullptr};
    QGuiApplication app(qtArgc, qtArgv);
    if (options->dataDir.empty())
        options->dataDir =
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString() +
            "/kelvara-devserver";

    try {
        devserver::DevServer server(*options);
        const auto &member = devserver::sampleMembers().front();
        std::printf("Kelvara local library service\n");
        std::printf("  base URL : %s\n", server.baseUrl().c_str());
        std::printf("  CA file  : %s\n", server.caFile().c_str());
        std::printf("  sign in  : %s / %s\n", member.username.c_str(), member.password.c_str());
        std::fflush(stdout);
        std::thread watcher = stopOnSignal(server, stopSignals);
        server.serve();
        // serve() also returns when the listening socket fails; wake the watcher so it can end.
        pthread_kill(watcher.native_handle(), SIGTERM);
        watcher.join();
        std::printf("stopped\n");
    } catch (const std::exception &e) {
        std::fprintf(stderr, "kelvara-devserver: %s\n", e.what());
        return 1;
    }
    return 0;
}
