// One refresh of the process page on a machine with 5,000 processes.
#include <benchmark/benchmark.h>

#include <string>

#include "app/main_form.h"
#include "platform/sim/sim_os.h"
#include "ui/headless/headless_app.h"
#include "common/listing.h"

namespace {

constexpr int kProcesses = 5000;

void fill(sim::SimOs& os, bool nt) {
    os.addProcess(nt ? "[System Process]" : "C:\\WINDOWS\\SYSTEM\\KERNEL32.DLL");
    for (int i = 1; i < kProcesses; ++i) {
        const std::string file = "prog" + std::to_string(i) + ".exe";
        const std::string path = "C:\\Program Files\\App" + std::to_string(i % 97) + "\\" + file;
        os.addProcess(nt ? file : path, path);
    }
}

void BM_ListProcesses(benchmark::State& state) {
    const bool nt = state.range(0) != 0;
    sim::SimOs os(nt ? sim::Family::NT : sim::Family::Win9x);
    fill(os, nt);
    std::size_t lines = 0;
    for (auto _ : state) {
        os.clearCalls();
        auto l = common::listProcesses(os, nt);
        lines = l.lines.size();
        benchmark::DoNotOptimize(l);
    }
    state.counters["lines"] = static_cast<double>(lines);
    state.counters["platform_calls"] = static_cast<double>(os.calls().size());
    state.SetLabel(nt ? "NT" : "9x");
}
BENCHMARK(BM_ListProcesses)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// The whole page refresh: snapshot, both list boxes (one bulk set each) and
// the count, on the in-memory window.
void BM_RefreshProcessList(benchmark::State& state) {
    sim::SimOs os(sim::Family::NT);
    fill(os, true);
    ui::headless::HeadlessApplication app(
        {[&os] { return os.getTickCount(); }, [&os](std::uint32_t ms) { os.advance(ms); }});
    TfrmMain form(app, os);
    form.start();
    for (auto _ : state) {
        os.clearCalls();
        form.process.RefreshProcessList();
    }
    state.counters["lines"] = form.process.List1.count();
    state.counters["platform_calls"] = static_cast<double>(os.calls().size());
}
BENCHMARK(BM_RefreshProcessList)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
