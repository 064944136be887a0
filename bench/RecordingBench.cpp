// A recording click beside its floor: the same bytes written ahead into a log, then appended
// to the same files, each flushed.
#include "BenchRun.h"
#include "PairedTimes.h"
#include "record/EnterResponse.h"
#include "record/SaveAsNotes.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace drilbank::bench {
namespace {

const std::string answer = "The depth falls more slowly as the water drains, so the slope of "
                           "the graph gets less steep.\r\nI forgot the units at first.";

// What one click appends to each of its files.
struct ClickBytes {
    std::vector<std::filesystem::path> files;
    std::vector<std::string> blocks;
};

ClickBytes oneClick(BenchRun& bench, HandlerFunction handler,
                    const std::vector<std::string>& windowsPaths) {
    ClickBytes click;
    std::vector<std::size_t> before;
    for (const std::string& path : windowsPaths) {
        click.files.push_back(bench.local(path));
        before.push_back(std::filesystem::exists(click.files.back())
                             ? std::filesystem::file_size(click.files.back())
                             : 0);
    }
    bench.platform.answer = answer;
    runHandler(bench.run, handler);
    for (std::size_t file = 0; file < click.files.size(); ++file) {
        click.blocks.push_back(readWhole(click.files[file]).substr(before[file]));
    }
    return click;
}

// The floor of a click that must reach every file or none: the blocks written ahead into a
// log and flushed, then each appended and flushed, then the log emptied. It writes to files
// of its own beside the run's, so the two never share a file.
void appendFloor(const ClickBytes& click) {
    const std::filesystem::path log = click.files.front().parent_path() / "floor.log";
    std::string ahead;
    for (const std::string& block : click.blocks) {
        ahead += block;
    }
    appendAndFlush(log, ahead);
    for (std::size_t file = 0; file < click.files.size(); ++file) {
        appendAndFlush(click.files[file].string() + ".floor", click.blocks[file]);
    }
    std::filesystem::resize_file(log, 0);
}

void clickBesideFloor(benchmark::State& state, HandlerFunction handler, bool withNotes) {
    BenchRun bench;
    const RunState& run = bench.run.state;
    std::vector<std::string> files = {run.masterFilePath, run.sendFilePath};
    if (withNotes) {
        files.push_back(run.notesFilePath);
    }
    const ClickBytes click = oneClick(bench, handler, files);
    PairedTimes times;
    for (auto _ : state) {
        bench.platform.answer = answer;
        times.cost([&] { runHandler(bench.run, handler); });
        times.floor([&] { appendFloor(click); });
    }
    times.report(state);
}

void EnterResponseClick(benchmark::State& state) {
    clickBesideFloor(state, &enterResponseClicked, false);
}

void SaveAsNotesClick(benchmark::State& state) {
    clickBesideFloor(state, &saveAsNotesClicked, true);
}

// Appending must not depend on how much the master file already holds: the same click on a
// 100 MB master file beside one on a 1 KB master file.
void EnterResponseOnLargeMaster(benchmark::State& state) {
    BenchRun small;
    BenchRun large;
    growFile(small.local(small.run.state.masterFilePath), 1 << 10);
    growFile(large.local(large.run.state.masterFilePath), 100 << 20);
    PairedTimes times;
    for (auto _ : state) {
        small.platform.answer = answer;
        large.platform.answer = answer;
        times.cost([&] { runHandler(large.run, &enterResponseClicked); });
        times.floor([&] { runHandler(small.run, &enterResponseClicked); });
    }
    times.report(state);
}

BENCHMARK(EnterResponseClick)->Iterations(400);
BENCHMARK(SaveAsNotesClick)->Iterations(400);
BENCHMARK(EnterResponseOnLargeMaster)->Iterations(400);

} // namespace
} // namespace drilbank::bench
