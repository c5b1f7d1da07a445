// The read exchange (24 acknowledged requests) against a module that answers at once, on
// loopback, beside the 310 ms of pauses that the exchange itself prescribes.
#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include "core/netcfg/conversations.h"
#include "core/netcfg/exchanges.h"
#include "core/netcfg/netcfg_session.h"
#include "module_model.h"
#include "module_server.h"

static void BM_ReadExchange(benchmark::State& state) {
    modulesim::ModuleModel model(
        modulesim::DefaultModuleSettings("00-0E-C6-00-00-01", "127.0.0.1", "u", "d"));
    modulesim::ModuleServer server(model);
    if (!server.Listen(QHostAddress::LocalHost, 0)) {
        state.SkipWithError("cannot bind");
        return;
    }
    netcfg::NetcfgSession session;
    session.OpenConfigEndpoint();
    session.ConfigEndpoint().SetDestination(QStringLiteral("127.0.0.1"), server.Port());
    int acknowledged = 0;
    for (auto _ : state) {
        acknowledged = netcfg::RunReadExchange(session.ConfigEndpoint(), session.Reply(),
                                               session.Settings(), session.Timing())
                           .acknowledged;
    }
    state.counters["acknowledged"] = acknowledged;
    state.counters["pauses_ms"] = netcfg::TotalPauseMs(netcfg::ReadExchangePlan());
}
BENCHMARK(BM_ReadExchange)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
