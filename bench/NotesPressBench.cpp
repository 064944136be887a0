// "display notes" through the real window on growing notes files: ten presses each, the
// slowest press beside the time to read the whole notes file once.
#include "Probe.h"
#include "support/TemporaryFolder.h"

#include <benchmark/benchmark.h>

#include <sstream>

namespace drilbank::bench {
namespace {

void DisplayNotesSlowestOfTenPresses(benchmark::State& state) {
    const std::string bytes = std::to_string(state.range(0));
    std::vector<double> slowest;
    std::vector<double> reads;
    for (auto _ : state) {
        testing::TemporaryFolder drives;
        const ProbeResult probe = runProbe({"notes", bytes}, drives.path().string());
        double press = 0;
        double read = 0;
        if (!probe.ok || !(std::istringstream(probe.output) >> press >> read)) {
            state.SkipWithError("the notes probe failed");
            return;
        }
        slowest.push_back(press);
        reads.push_back(read);
    }
    state.counters["cost"] = median(slowest);
    state.counters["floor"] = median(reads);
    state.counters["ratio"] = median(slowest) / median(reads);
}

BENCHMARK(DisplayNotesSlowestOfTenPresses)
    ->Arg(1 << 20)
    ->Arg(10 << 20)
    ->Arg(100 << 20)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace drilbank::bench
