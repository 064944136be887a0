// The whole start-up beside a bare Qt program on the same offscreen platform: time, and peak
// memory of each process. Each start-up is a process of its own, bare and full taking turns.
#include "PairedTimes.h"
#include "Probe.h"
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

// Times (ms) or peak memory (KB) of the whole start-up beside a floor's.
void startUps(benchmark::State& state, const char* floorMode, bool memory,
              const char* costMode = "drilbank") {
    testing::TemporaryFolder drives;
    std::vector<double> full;
    std::vector<double> bare;
    for (auto _ : state) {
        const ProbeResult floor = runProbe({floorMode}, drives.path().string());
        const ProbeResult cost = runProbe({costMode}, drives.path().string());
        if (!floor.ok || !cost.ok) {
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

// The floor a window of these controls cannot beat: the same controls as stock widgets.
void StartUpBesideSameWidgets(benchmark::State& state) {
    startUps(state, "form", false);
}
void PeakMemoryBesideSameWidgets(benchmark::State& state) {
    startUps(state, "form", true);
}

// From the last start-up box's OK to the form painted, each box read for 200 ms first: what
// the student waits for. The goal, 16 ms (one frame), stands as the floor.
void LastBoxToFormPainted(benchmark::State& state) {
    testing::TemporaryFolder drives;
    std::vector<double> waits;
    for (auto _ : state) {
        const ProbeResult read = runProbe({"read", "200"}, drives.path().string());
        if (!read.ok) {
            state.SkipWithError("a reading probe failed");
            return;
        }
        waits.push_back(std::stod(read.output));
    }
    state.counters["cost"] = median(waits);
    state.counters["floor"] = 16;
    state.counters["ratio"] = median(waits) / 16;
}

// Until the first start-up box is up, beside a bare Qt program that shows one input box.
void FirstInputBoxBesideBareQt(benchmark::State& state) {
    startUps(state, "bare-box", false, "first-box");
}

// From the "quit program" click to the end of the process, beside the time a bare Qt
// program takes to end once its window is closed. Neither has a session bus.
void QuitToProcessExit(benchmark::State& state) {
    testing::TemporaryFolder drives;
    std::vector<double> quits;
    std::vector<double> bare;
    for (auto _ : state) {
        const ProbeResult floor = runProbe({"bare-quit"}, drives.path().string());
        const ProbeResult cost = runProbe({"quit"}, drives.path().string());
        if (!floor.ok || !cost.ok) {
            state.SkipWithError("a quit probe failed");
            return;
        }
        bare.push_back(floor.endedAtMs - std::stod(floor.output));
        quits.push_back(cost.endedAtMs - std::stod(cost.output));
    }
    state.counters["cost"] = median(quits);
    state.counters["floor"] = median(bare);
    state.counters["ratio"] = median(quits) / median(bare);
}

BENCHMARK(FirstInputBoxBesideBareQt)->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(QuitToProcessExit)->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(StartUpBesideBareQt)->Iterations(30)->Unit(benchmark::kMillisecond);
BENCHMARK(StartUpBesideQtWithText)->Iterations(30)->Unit(benchmark::kMillisecond);
BENCHMARK(StartUpBesideSameWidgets)->Iterations(30)->Unit(benchmark::kMillisecond);
BENCHMARK(PeakMemoryBesideSameWidgets)->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(LastBoxToFormPainted)->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(PeakMemoryBesideBareQt)->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(PeakMemoryBesideQtWithText)->Iterations(10)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace drilbank::bench
