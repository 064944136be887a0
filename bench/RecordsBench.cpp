// drilbank-records check and export over a generated class, beside reading the same bytes
// raw. The class size comes from DRILBANK_BENCH_STUDENTS and DRILBANK_BENCH_MB (megabytes of
// records per student), small by default; the full size is 500 students of 10 MB.
#include "PairedTimes.h"
#include "instructor/Commands.h"
#include "support/TemporaryFolder.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace drilbank::bench {
namespace {

std::size_t fromEnvironment(const char* name, std::size_t fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && std::atol(value) > 0 ? static_cast<std::size_t>(std::atol(value))
                                                    : fallback;
}

std::string goldenFile(const std::string& name) {
    std::ifstream in(std::string(DRILBANK_TEST_DATA) + "/session/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string forStudent(std::string bytes, const std::string& student) {
    const std::string golden = "Student Name:  Ann Lee Smith";
    for (std::size_t at = 0; (at = bytes.find(golden, at)) != std::string::npos;) {
        bytes.replace(at, golden.size(), "Student Name:  " + student);
    }
    return bytes;
}

// A class whose every student has master, send and notes files made of the golden session's
// runs over and over: real layouts, every block whole.
class GeneratedClass {
public:
    GeneratedClass(std::size_t students, std::size_t bytesPerStudent) {
        const char* kinds[] = {"masterFile_", "send_0416", "notes_"};
        const std::string golden[] = {goldenFile("masterFile_Ann_Lee_Smith.txt"),
                                      goldenFile("send_0416Ann_Lee_Smith.txt"),
                                      goldenFile("notes_Ann_Lee_Smith.txt")};
        const std::size_t session = golden[0].size() + golden[1].size() + golden[2].size();
        const std::size_t runs = std::max<std::size_t>(1, bytesPerStudent / session);
        for (std::size_t student = 0; student < students; ++student) {
            const std::string name = "Student " + std::to_string(student);
            const std::string fileName = "Student_" + std::to_string(student) + ".txt";
            for (std::size_t kind = 0; kind < 3; ++kind) {
                const std::filesystem::path path = folder_.path() / (kinds[kind] + fileName);
                const std::string run = forStudent(golden[kind], name);
                std::ofstream out(path, std::ios::binary);
                for (std::size_t copy = 0; copy < runs; ++copy) {
                    out << run;
                }
                bytes_ += run.size() * runs;
            }
        }
        files_ = instructor::findRecordFiles({folder_.path().string()}).files;
    }

    const std::vector<instructor::RecordFile>& files() const { return files_; }
    std::size_t bytes() const { return bytes_; }

    // The floor: every byte read once, as cat of the folder into /dev/null would.
    void readRaw() const {
        std::vector<char> buffer(1 << 16);
        for (const instructor::RecordFile& file : files_) {
            const int descriptor = ::open(file.path.c_str(), O_RDONLY | O_CLOEXEC);
            while (::read(descriptor, buffer.data(), buffer.size()) > 0) {
            }
            ::close(descriptor);
        }
    }

private:
    testing::TemporaryFolder folder_;
    std::vector<instructor::RecordFile> files_;
    std::size_t bytes_ = 0;
};

long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Argument: the share of the configured class, in eighths, to show growth with size.
template <typename Command> void overClass(benchmark::State& state, Command command) {
    const std::size_t students = fromEnvironment("DRILBANK_BENCH_STUDENTS", 20);
    const std::size_t megabytes = fromEnvironment("DRILBANK_BENCH_MB", 1);
    const auto eighths = static_cast<std::size_t>(state.range(0));
    const GeneratedClass group(std::max<std::size_t>(1, students * eighths / 8), megabytes << 20);
    std::ofstream nowhere("/dev/null");
    PairedTimes times;
    const long peakBefore = peakKilobytes();
    for (auto _ : state) {
        times.cost([&] { command(group.files(), nowhere); });
        times.floor([&] { group.readRaw(); });
    }
    times.report(state);
    state.counters["peak_growth_kb"] = static_cast<double>(peakKilobytes() - peakBefore);
    state.counters["class_mb"] = static_cast<double>(group.bytes()) / (1 << 20);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * group.bytes()));
}

void CheckClass(benchmark::State& state) {
    overClass(state, [](const auto& files, std::ostream& out) {
        instructor::checkFiles(files, out, out);
    });
}

void ExportClass(benchmark::State& state) {
    overClass(state, [](const auto& files, std::ostream& out) {
        instructor::exportFiles(files, "csv", out, out);
    });
}

BENCHMARK(CheckClass)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(ExportClass)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
} // namespace drilbank::bench
