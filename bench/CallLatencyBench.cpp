// Service calls over a slow line: ten catalogue calls a member's clicks make, against the local service
// behind a relay that adds a 50 ms round trip, reported as time per call over the round trip. One round
// trip a call is the floor; a new TCP connection and a full TLS handshake per call cost about three.
#include "bench/BenchService.h"
#include "devserver/TcpRelay.h"
#include "service/ReplyEnvelope.h"
#include "service/RuvasaLib.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>
#include <vector>

namespace {

constexpr std::chrono::milliseconds kOneWay{25};
constexpr double kRoundTripMs = 2.0 * kOneWay.count();

// A member's session through the relay: logged in once, before anything is timed.
struct SlowLineClient {
    devserver::TcpRelay relay{benchService().server().port(), kOneWay};
    TRuvasaLib lib{ServiceEndpoint{"https://127.0.0.1:" + std::to_string(relay.port()),
                                   benchService().endpoint().caFile}};

    SlowLineClient() {
        lib.checkDataFolder();
        logInSampleMember(lib);
    }
};

// Profile, banners, departments, home, a section, a category, a chart, a book, and two searches.
const std::vector<std::function<JsonPtr(TRuvasaLib &)>> &catalogueCalls() {
    static const std::vector<std::function<JsonPtr(TRuvasaLib &)>> calls = {
        [](TRuvasaLib &l) { return l.getClientJson(); },
        [](TRuvasaLib &l) { return l.BannerRequest(); },
        [](TRuvasaLib &l) { return l.CategoryRequest(); },
        [](TRuvasaLib &l) { return l.HomeRequest(1); },
        [](TRuvasaLib &l) { return l.HomeDetailRequest("501"); },
        [](TRuvasaLib &l) { return l.CategoryContentRequest("1", "11"); },
        [](TRuvasaLib &l) { return l.ChartContentRequest("topRead", 1); },
        [](TRuvasaLib &l) { return l.DetailContentRequest("1001"); },
        [](TRuvasaLib &l) { return l.SearchContentRequest("Penulis", "Siregar", 1); },
        [](TRuvasaLib &l) { return l.SearchKalimatRequest("senja di pelabuhan", 1); },
    };
    return calls;
}

void BM_CatalogueCallsOverSlowLine(benchmark::State &state) {
    SlowLineClient client;
    const auto &calls = catalogueCalls();
    const auto started = std::chrono::steady_clock::now();
    for (auto _ : state) {
        for (const auto &call : calls) {
            const JsonPtr reply = call(client.lib);
            if (jsonText(*reply, "code") != "200") {
                state.SkipWithError(("a call failed: " + jsonText(*reply, "msg")).c_str());
                return;
            }
        }
    }
    const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - started;
    const double msPerCall = elapsed.count() / static_cast<double>(state.iterations() * calls.size());
    state.counters["ms_per_call"] = msPerCall;
    state.counters["round_trips_per_call"] = msPerCall / kRoundTripMs;
    state.counters["connections"] = client.relay.connections();
}
BENCHMARK(BM_CatalogueCallsOverSlowLine)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace

int main(int argc, char **argv) {
    QStandardPaths::setTestModeEnabled(true); // keep the member's real data folder out of it
    QCoreApplication app(argc, argv);
    benchService(); // sample content is made before anything is timed
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
