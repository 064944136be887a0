// The whole start-up beside a bare Qt program on the same offscreen platform: time, and peak
// memory of each process. Each start-up is a process of its own, bare and full taking turns.
#include "PairedTimes.h"
#include "support/TemporaryFolder.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace drilbank::bench {
namespace {

struct ProbeResult {
    double milliseconds = 0;
    double peakKilobytes = 0;
};

ProbeResult runProbe(const char* mode, const std::string& drives) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ::setenv("DRILBANK_DRIVES", drives.c_str(), 1);
        ::execl(DRILBANK_STARTUP_PROBE, DRILBANK_STARTUP_PROBE, mode, static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || ::wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        return {};
    }
    const std::chrono::duration<double, std::milli> spent =
        std::chrono::steady_clock::now() - start;
    return {spent.count(), static_cast<double>(usage.ru_maxrss)};
}

double median(std::vector<double> samples) {
    std::nth_element(samples.begin(), samples.begin() + samples.size() / 2, samples.end());
    return samples[samples.size() / 2];
}

// Times (ms) or peak memory (KB) of the whole start-up beside a floor's.
void startUps(benchmark::State& state, const char* floorMode, bool memory) {
    testing::TemporaryFolder drives;
    std::vector<double> full;
    std::vector<double> bare;
    for (auto _ : state) {
        const ProbeResult floor = runProbe(floorMode, drives.path().string());
        const ProbeResult cost = runProbe("drilbank", drives.path().string());
        if (floor.milliseconds == 0 || cost.milliseconds == 0) {
            state.SkipWithError("a start-up probe failed");
            return;
        }
        bare.push_back(memory ? floor.peakKilobytes : floor.milliseconds);
        full.push_back(memory ? cost.peakKilobytes : cost.milliseconds);
    }
    state.counters["cost"] = median(full);
    state.counters["floor"] = median(bare);
    state.counters["ratio"] = median(full) / median(bare);
}

void StartUpBesideBareQt(benchmark::State& state) {
    startUps(state, "bare", false);
}
void PeakMemoryBesideBareQt(benchmark::State& state) {
    startUps(state, "bare", true);
}
// A window that shows any text at all makes Qt read the system's font configuration, which
// the empty window never does; this floor pays that too.
void StartUpBesideQtWithText(benchmark::State& state) {
    startUps(state, "text", false);
}
void PeakMemoryBesideQtWithText(benchmark::State& state) {
    startUps(state, "text", true);
}

BENCHMARK(StartUpBesideBareQt)->Iterations(30)->Unit(benchmark::kMillisecond);
BENCHMARK(StartUpBesideQtWithText)->Iterations(30)->Unit(benchmark::kMillisecond);
BENCHMARK(PeakMemoryBesideBareQt)->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(PeakMemoryBesideQtWithText)->Iterations(10)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace drilbank::bench
