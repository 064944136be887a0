// display notes beside reading the notes file raw, over growing notes files.
#include "BenchRun.h"
#include "PairedTimes.h"
#include "record/ReviewDisplays.h"

#include <benchmark/benchmark.h>

namespace drilbank::bench {
namespace {

void DisplayNotesBesideRawRead(benchmark::State& state) {
    BenchRun bench;
    const auto notes = bench.local(bench.run.state.notesFilePath);
    growFile(notes, static_cast<std::size_t>(state.range(0)));
    PairedTimes times;
    for (auto _ : state) {
        // Each press adds the whole file to workText and the box; start every press afresh.
        bench.run.state.workText.clear();
        bench.platform.question.clear();
        times.cost([&] { runHandler(bench.run, &displayNotesClicked); });
        times.floor([&] { benchmark::DoNotOptimize(readWhole(notes)); });
    }
    times.report(state);
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

BENCHMARK(DisplayNotesBesideRawRead)->Arg(10 << 10)->Arg(1 << 20)->Arg(10 << 20);

} // namespace
} // namespace drilbank::bench
