// The reader over a full store, and the line code per megabyte.
#include "format/LineCode.h"
#include "os/RunRandom.h"
#include "script/ScriptReader.h"
#include "support/FakePlatform.h"

#include <benchmark/benchmark.h>

namespace drilbank::bench {
namespace {

void ReaderOverFiveThousandLines(benchmark::State& state) {
    testing::FakePlatform platform;
    drilbank::Run run(platform);
    run.state.questionSeparator = " <-<-<-<-  Q/A:   ";
    run.state.presentationMode = 1;
    for (int slot = 1; slot <= lastScriptSlot; ++slot) {
        run.state.scriptLines[static_cast<std::size_t>(slot)] =
            slot % 2 == 0 ? std::string()
                          : "Question " + std::to_string(slot) + ": " + std::string(280, 'q');
    }
    std::int64_t lines = 0;
    for (auto _ : state) {
        run.state.scriptIndex = 0;
        run.state.cumulativeText.clear();
        while (run.state.scriptIndex < lastScriptSlot - 1) {
            readNextQuestion(run);
            ++lines;
        }
    }
    state.SetItemsProcessed(lines);
}

void MakeCodeLinePerMegabyte(benchmark::State& state) {
    RunRandom random;
    random.seed(1.0f);
    const float iterations = 1 << 20; // about 1.1 MB of key line
    std::int64_t bytes = 0;
    for (auto _ : state) {
        const std::string line = makeCodeLine(iterations, random);
        bytes += static_cast<std::int64_t>(line.size());
        benchmark::DoNotOptimize(line.data());
    }
    state.SetBytesProcessed(bytes);
}

void DecodePerMegabyte(benchmark::State& state) {
    RunRandom random;
    random.seed(2.0f);
    std::string line(1 << 20, ' ');
    for (char& c : line) {
        c = static_cast<char>(random.next() * 256.0f);
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(decode(line, 19));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(line.size()));
}

BENCHMARK(ReaderOverFiveThousandLines)->Unit(benchmark::kMillisecond);
BENCHMARK(MakeCodeLinePerMegabyte)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodePerMegabyte)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace drilbank::bench
