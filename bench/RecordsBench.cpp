// drilbank-records check, export (CSV and xlsx) and summary over a generated class, each
// beside `wc -l` on the same warm files: every byte scanned for line ends, the least a line
// reader does. Times are CPU seconds (user and system): the tool's own, and the child's for
// wc. The class size comes from DRILBANK_BENCH_STUDENTS and DRILBANK_BENCH_MB (megabytes of
// records per student), small by default; a 1 GB class is 100 students of 10 MB:
//   DRILBANK_BENCH_STUDENTS=100 DRILBANK_BENCH_MB=10 scripts/bench.sh --benchmark_filter=Class
// CPU seconds wander on a shared machine; instruction counts do not. For those, and for where
// the time goes, run the tool itself under callgrind on a few files of such a class (one
// student's three files, about 10 MB), and /usr/bin/time -v for its peak memory:
//   valgrind --tool=callgrind build-bench/src/instructor/drilbank-records check <folder>
//   callgrind_annotate --inclusive=no callgrind.out.<pid> | head -40
//
// Measured on a 1.02 GB class (2-core x86-64, 2.3 GHz, shared; wc -l about 0.2 s), CPU
// seconds and times wc -l; instructions per 10 MB are one student's three files (10.5 MB,
// 160,000 lines) under callgrind, start-up (6.8 M) included; wc -l takes 1.9 M there.
//                  lines in one buffer         blocks read whole          per 10 MB
//   check          1.25 s (6.5x)           ->  0.77 s (3.8x)      125 M ->  52 M
//   export CSV     2.67 s (11.5x)          ->  1.98 s (9.5x)      188 M -> 101 M
//   export xlsx   26.1 s (125x)                                  1903 M -> 1813 M
//   summary        2.52 s (12.8x)          ->  1.64 s (8.7x)      187 M ->  88 M
//   report                                                        222 M -> 134 M
// Blocks that stand as the program writes them are now taken from the bytes a whole block at
// a time (reading/WholeBlocks), fixed lines compared whole and the rest scanned sixteen bytes
// at a time for a control byte, each block fingerprinted in one call over four lanes; any
// other goes line by line as before, and the tests and the fuzz target read every input both
// ways and require the same.
//
// A second round, measured by running the tool itself rather than the benchmark (user and
// system CPU seconds, best of three on a loaded machine, before and after taking turns) beside
// wc -l at 0.15 s on a 1.02 GB class; per 10 MB on one student's three files whose names and
// notes are all beyond ASCII, so the first round's figures read higher there than above:
//                  first round             second round            per 10 MB
//   check          0.49 s (3.3x)       ->  0.45 s (3.0x)       51.5 M ->  45.3 M
//   export CSV     1.58 s (10.5x)      ->  1.40 s (9.3x)      113.9 M ->  93.9 M
//   summary        1.21 s (8.1x)       ->  0.95 s (6.3x)      101.5 M ->  81.5 M
//   report                                                    148.0 M -> 128.5 M
// The benchmark itself on such a class afterwards (load average 3 on 2 cores): check 0.50 s
// (2.6x wc -l's 0.19 s), export CSV 1.72 s (9.3x).
// check no longer has the blocks' texts copied (it only counts them); the time and date lines
// are read inline; a whole block is fingerprinted without the streaming carry. Export copies
// each CSV field into its buffer in the same pass that looks for what needs quoting, turns
// Windows-1252 into UTF-8 an ASCII run at a time, converts a run's names once rather than per
// row, and sets what a run's rows share once. Where check's 45 M go now: start-up 7 M; the line
// scan about 7 M; the fingerprints 6 M; the rest of taking a block (fixed lines, time and date
// lines, the closing rule's look-ahead) about 13 M; key lines and headers 4 M; telling joined
// copies 3.5 M. Export CSV's further 49 M: the copy that looks for quoting 13 M, the CSV
// fields 9 M, UTF-8 and the rows' texts 12 M, libc copies 7 M.
// Export's other half is writing about 0.7 bytes for every byte read (0.43 s system time).
//
// A third round. On Linux the files are now mapped rather than copied by read(), a megabyte
// more at a time with the size asked again each time; a page the file no longer has (cut by
// the student's program between two asks), or one the disk or network fails to bring in,
// reads as zeros and is said, never a crash (platform/posix/FileMapping.cpp). A cache line
// per 64 bytes is asked for a page ahead of each block read whole, since the processor does
// not look past a page's end and a mapped file's pages lie anywhere; the time and date lines
// and the look-ahead no longer go through memory in small stores read back whole. Rows view
// the block's texts rather than copying them, the CSV writer puts a row straight into its
// buffer, and Windows-1252 is read into UTF-8 without going through UTF-16.
// Export's floor is now its own writer given the very rows it wrote, made beforehand a
// thousand at a time and written while they are in the cache ("writing"); its "cost" is
// reading the records and making rows of them, held against 3x wc -l. "bytes_writing" is
// putting the output's bytes out alone, a megabyte at a time. The 1 GB class, CPU seconds,
// three runs each on a quiet machine, wc -l 0.20 to 0.21 s; instructions per one student's
// 10.6 MB under callgrind:
//                  second round            third round                     per 10 MB
//   check          0.50 s (2.6x)       ->  0.32 s (1.63x)                  45.3 M -> 41.5 M
//   export CSV     1.72 s in all       ->  0.83 s in all = 0.33 s writing  93.9 M -> 74.6 M
//                                          + 0.49 s beyond (2.45x); beyond
//                                          the bytes alone (0.18 s) 3.24x
//   export xlsx    24.9 s in all       ->  18.5 s in all = 18.4 s writing (8.5 s of it
//                                          deflating) + 0.08 s beyond, within the noise of
//                                          two 18 s times: its reading is CSV's
//   summary        0.95 s              ->  0.65 to 0.75 s (about 3x)
// Peak memory: check 9.8 MB, export 10.7 MB on the class; 20 MB on a file of a 300 MB line.
//
// Peak memory (/usr/bin/time -v), before -> after, on classes built to break a bound:
//   800,000 runs in a 313 MB master file and 1.5 million notes in a 421 MB notes file:
//     check 72 -> 22 MB, summary 380 -> 29 MB, export 380 -> 29 MB, report 487 -> 39 MB
//   1 million different questions (292 MB): summary 235 -> 15 MB, report 601 -> 33 MB
//   500,000 runs of different assignments (196 MB): summary 668 -> 41 MB, export 218 -> 28 MB,
//     report 712 MB after 120 s unfinished -> 42 MB in 1 s
//   a 300 MB line and 300 answer lines of 1 MB: 19 MB either way
//   the 1 GB class: report 365 -> 23 MB; check, summary and export 7 to 9 MB either way.
//
// Grading (a fourth round): check now holds each send file against its master in the same
// pass, summary and report read the class into its students' final answers, runs and cells,
// and export reads the files twice (the final answers, then the rows). Measured by the
// benchmark on a loaded machine (load average 6 to 7 on 2 cores, so every ratio reads about
// twice what it does on a quiet one), CPU seconds beside wc -l, half the class and the whole:
//                  0.5 GB                 1 GB                 peak (tool, /usr/bin/time)
//   check          0.70 s (4.3x)      ->  1.19 s (4.2x)        10.8 MB -> 10.9 MB
//   summary        0.86 s (4.8x)      ->  1.33 s (4.1x)        43.5 MB -> 44.7 MB
//   report         0.99 s (6.0x)      ->  1.72 s (5.2x)        51.2 MB -> 51.2 MB
//   export JSON    1.34 s beyond writing (7.1x)  3.72 s (8.3x)  19.8 MB -> 20.0 MB
// The send file's comparison costs check nothing measurable: the class's masters and its send
// and notes files checked apart take as long as all of them together (1.12 to 1.28 s against
// 1.13 to 1.20 s, wc -l 0.31 to 0.61 s). Beyond check, summary spends about 0.15 s of the
// 1 GB class on its students and runs and report 0.5 s on its cells, mostly the fingerprints
// that tell a question and a click in two files, and the page's budget of texts; past the
// budget a row is counted before anything is made of it. Export's second pass is its reading
// again, its writing as before.
//
// xlsx is written by the spreadsheet library (Debian's libxlsxwriter 1.1.4), and its floor is
// measured as export's: the tool's xlsx writer given the same rows. "deflating" is the part of
// that the zip alone needs: the very sheet XML the tool wrote, deflated at zlib's default level
// as the library does, with the zip's CRC, and written out. Before this round the floor was
// deflating alone: 24.9 s in all = 9.7 s deflating + 15.3 s beyond, almost all of it the
// library's cell writing. Per 10 MB (1924 M instructions then): zlib 887 M (deflate 829 M,
// CRC 58 M); the library's cell writing 835 M; reading the records 160 M, as CSV does; this
// tool's own xlsx code 23 M. The library's cell cost is not ours to lower by how it is called:
// each text goes through a UTF-8 count, a control-character escape (taken for every text: its
// test counts the closing NUL as one), an XML escape, each into a fresh zeroed buffer 5 to 7
// times the text, then a cell name made by snprintf and the cell by fprintf into a temporary
// file, copied once more before it is deflated. No other call writes a text cell for less (a
// rich string makes a temporary file per cell), and without constant memory the library keeps
// every cell. Its cost beyond writing is the difference of two times of some 18 s, so it is
// measured three times, taking turns.
//
// A fourth round: one reading of the format for every file (reading/RecordGrammar), whole or
// damaged, instead of whole blocks taken from the bytes beside a line-by-line reader that
// named what was wrong. Lines are found by the library's memchr; a block looked at past a
// closing rule (to tell that the rule ends its answer) is kept and not read again. Measured by
// running the tool (user and system CPU seconds, best of three, warm cache) on a machine
// shared with other builds (load average about 7 on 2 cores), beside wc -l:
//                      0.5 GB class                  1 GB class
//   wc -l              0.13 s                        0.25 s
//   check              0.71 s (5.5x), 9.6 MB         1.38 s (5.5x), 12.1 MB
//   export json        1.50 s, 0.91 s writing alone  2.99 s, 1.19 s writing alone, 13.6 MB
//   summary            0.85 s (6.5x), 10.3 MB        1.49 s (6.0x), 12.8 MB
// Under the same load the two readers before took 0.85 s for check on the 1 GB class where
// this one takes 1.10 s: about 30% more CPU for one reading. JSON is now written a megabyte
// at a time (it was a stream write per field): 5.0 s -> 3.0 s on the 1 GB class.
//
// A fifth round, on that one reading. Instructions for check on one student's three files
// (10.6 MB) under callgrind, this benchmark's Release build, start-up (6.8 M) included; wc -l
// 1.9 M: the two readers before 41.5 M, the one reading as first merged 57.5 M, now 42.6 M.
// Where the 15 M went: a header after a closing rule was read whole twice (looking past the
// rule, then again), its key line four times; the padded closing rule was made anew, on the
// heap, for every block; the fixed lines went through the library's memcmp at a length
// unknown to the compiler, and a block's lines through a call each. Now a header looked at
// past a rule is kept as a block is, with what is wrong beside it, and taken as it was read;
// the fixed lines and a block's lines are taken inline. The 1 GB class (1.02 GB), CPU
// seconds (user and system), best of three, warm cache, load average 6.6 to 7.3 on 2 cores:
//   wc -l 0.28 to 0.32 s; check: the readers before 1.00 s, first merged 1.34 to 1.37 s, now
//   1.23 to 1.30 s (about 4.2x wc -l).
//
// A sixth round, on a machine of the kind CI runs on (2 cores, 2.1 GHz, a virtual machine),
// quiet: there the mapped reading of the third round, and the two readers of that round
// too, took twice the CPU of reading the same bytes into one buffer: a mapped page is first
// touched by the scan itself, from memory, where read() leaves the bytes in the cache (and
// the page faults of a mapping cost the machine more than the copy). Files are read into the
// buffer again, on both systems, and the mapping is gone. A block's question and its texts
// are fingerprinted once, as it is read, and the send file's blocks are looked for among the
// master's by a search that goes on in time order rather than starting again. CPU seconds,
// the benchmark's medians, 1 GB class:
//                  before          after
//   wc -l          0.21 to 0.25 s
//   check          1.05 s (5.0x)   0.53 to 0.54 s (2.1 to 2.2x)
//   summary        1.35 s (5.3x)   0.77 to 0.87 s (3.5 to 3.7x)
//   report         1.72 s (6.0x)   1.05 to 1.13 s (4.9x)
//   export json    2.4 s beyond    2.0 to 2.1 s beyond writing (8 to 9x): two readings
//   export CSV     3.1 s beyond    1.5 s beyond writing (6x)
// Peak memory: check 8.9 MB, export json 19 MB, summary 44 to 45 MB, report 49 MB, the same
// at 0.5 and 1 GB.
#include "format/RecordFormat.h"
#include "instructor/Commands.h"
#include "instructor/RecordRows.h"
#include "instructor/RowWriter.h"
#include "support/TemporaryFolder.h"
#include "support/ZipMembers.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <vector>

extern char** environ;

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

std::string replaced(std::string bytes, const std::string& from, const std::string& to) {
    for (std::size_t at = 0; (at = bytes.find(from, at)) != std::string::npos; at += to.size()) {
        bytes.replace(at, from.size(), to);
    }
    return bytes;
}

// Names as a class has them: accented, Cyrillic and plain, in the code page in the files and
// in UTF-8 in the file names.
const char* const names[][2] = {
    {"Jos\xE9 N\xFA\xF1"
     "ez",
     "Jos\xC3\xA9_N\xC3\xBA\xC3\xB1"
     "ez"},
    {"&#1040;&#1085;&#1085;&#1072;", "\xD0\x90\xD0\xBD\xD0\xBD\xD0\xB0"},
    {"Student", "Student"},
};

// A class whose every student has master, send and notes files made of the golden session's
// runs over and over, each run in a year of its own so that no run is a copy of another: real
// layouts, every block whole.
class GeneratedClass {
public:
    GeneratedClass(std::size_t students, std::size_t bytesPerStudent) {
        const char* kinds[] = {"masterFile_", "send_0416", "notes_"};
        const std::string golden[] = {goldenFile("masterFile_Ann_Lee_Smith.txt"),
                                      goldenFile("send_0416Ann_Lee_Smith.txt"),
                                      goldenFile("notes_Ann_Lee_Smith.txt")};
        const std::size_t session = golden[0].size() + golden[1].size() + golden[2].size();
        const std::size_t runs = std::min<std::size_t>(7000, bytesPerStudent / session + 1);
        for (std::size_t student = 0; student < students; ++student) {
            const auto& name = names[student % std::size(names)];
            const std::string number = " " + std::to_string(student);
            const std::string inFile = name[0] + number;
            const std::string fileName = name[1] + ("_" + std::to_string(student)) + ".txt";
            for (std::size_t kind = 0; kind < 3; ++kind) {
                const std::filesystem::path path = folder_.path() / (kinds[kind] + fileName);
                // Each student's notes their own, or two notes files would be one file twice.
                const std::string run =
                    replaced(replaced(golden[kind], "Student Name:  Ann Lee Smith",
                                      "Student Name:  " + inFile),
                             notesMarker, notesMarker + inFile + ": ");
                std::ofstream out(path, std::ios::binary);
                for (std::size_t copy = 0; copy < runs; ++copy) {
                    const std::string year = std::to_string(2003 + copy);
                    const std::string bytes = replaced(run, "-2003", "-" + year);
                    out << bytes;
                    bytes_ += bytes.size();
                }
            }
        }
        files_ = instructor::findRecordFiles({folder_.path().string()}).files;
    }

    const std::vector<instructor::RecordFile>& files() const { return files_; }
    std::size_t bytes() const { return bytes_; }
    const std::filesystem::path& folder() const { return folder_.path(); }

    // The floor: wc -l over every file, as a child process.
    void countLines() const {
        std::vector<std::string> arguments{"wc", "-l"};
        for (const instructor::RecordFile& file : files_) {
            arguments.push_back(file.path.string());
        }
        std::vector<char*> argv;
        for (std::string& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        pid_t child = 0;
        if (posix_spawnp(&child, "wc", &actions, nullptr, argv.data(), environ) == 0) {
            int status = 0;
            waitpid(child, &status, 0);
        }
        posix_spawn_file_actions_destroy(&actions);
    }

private:
    testing::TemporaryFolder folder_;
    std::vector<instructor::RecordFile> files_;
    std::size_t bytes_ = 0;
};

double cpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    const auto seconds = [](const timeval& time) { return time.tv_sec + time.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// What writing a command's output costs at least, told after the command has run: `writing`
// is given the class and the output, sets any counters of its own, and gives the CPU seconds
// that "cost" leaves out.
using WritingFloor = std::function<double(
    const GeneratedClass& group, const std::filesystem::path& output, benchmark::State& state)>;

// Argument: the share of the configured class, in eighths, to show growth with size. With
// `writing`, the least that writing the output costs is measured after each run, taking turns
// with it, and "cost" is what the command spends beyond it; the peak is the command's alone.
template <typename Command>
void overClass(benchmark::State& state, Command command, const WritingFloor& writing = {}) {
    const std::size_t students = fromEnvironment("DRILBANK_BENCH_STUDENTS", 20);
    const std::size_t megabytes = fromEnvironment("DRILBANK_BENCH_MB", 1);
    const auto eighths = static_cast<std::size_t>(state.range(0));
    const GeneratedClass group(std::max<std::size_t>(1, students * eighths / 8), megabytes << 20);
    const std::filesystem::path output = group.folder() / ".output";
    group.countLines(); // warm the cache
    double cost = 0;
    double floor = 0;
    double written = 0;
    const long peakBefore = peakKilobytes();
    long peak = peakBefore;
    for (auto _ : state) {
        const double selfBefore = cpuSeconds(RUSAGE_SELF);
        command(group.files(), output);
        cost += cpuSeconds(RUSAGE_SELF) - selfBefore;
        const double childBefore = cpuSeconds(RUSAGE_CHILDREN);
        group.countLines();
        floor += cpuSeconds(RUSAGE_CHILDREN) - childBefore;
        if (written == 0) {
            peak = peakKilobytes(); // before any floor is measured: the runs are alike
        }
        written += writing ? writing(group, output, state) : 0;
    }
    const auto runs = static_cast<double>(state.iterations());
    state.counters["cost"] = (cost - written) / runs; // CPU seconds
    state.counters["writing"] = written / runs;
    state.counters["floor"] = floor / runs; // wc -l's CPU seconds
    state.counters["peak_growth_mb"] = static_cast<double>(peak - peakBefore) / 1024;
    state.counters["class_mb"] = static_cast<double>(group.bytes()) / (1 << 20);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * group.bytes()));
}

// Output goes to a file, as an instructor's would; check's and summary's are small.
int runCommand(const std::string& command, const std::vector<instructor::RecordFile>& files,
               const std::filesystem::path& output, const std::string& format = "csv") {
    std::ofstream out(output, std::ios::binary);
    const instructor::CommandStreams streams{out, out, nullptr};
    if (command == "check") {
        return instructor::checkFiles(files, streams);
    }
    if (command == "summary") {
        return instructor::summarizeFiles(files, streams);
    }
    if (command == "report") {
        return instructor::reportFiles(files, streams);
    }
    return instructor::exportFiles(files, {format, false, output.string() + ".xlsx"}, streams);
}

void CheckClass(benchmark::State& state) {
    overClass(state,
              [](const auto& files, const auto& output) { runCommand("check", files, output); });
}

// CPU seconds of this process, to the nanosecond: for timing many short stretches.
double processCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// Writing an export's output: the export's own writer given the very rows it wrote, made
// beforehand and held in memory, so that what is left of the export's cost is reading the
// records and making rows of them. The rows are made a thousand at a time, untimed, and
// each thousand written while they are still in the cache, as the export writes them.
double rowWritingSeconds(const GeneratedClass& group, const instructor::ExportOptions& options,
                         const std::filesystem::path& output) {
    constexpr std::size_t heldRows = 1000;
    std::vector<instructor::RecordRow> rows;
    rows.reserve(heldRows);
    double seconds = 0;
    const auto timed = [&](const auto& work) {
        const double before = processCpuSeconds();
        work();
        seconds += processCpuSeconds() - before;
    };
    std::ofstream out(output, std::ios::binary);
    std::unique_ptr<instructor::RowWriter> writer;
    timed([&] { writer = makeRowWriter(options, out); });
    const auto writeHeld = [&] {
        timed([&] {
            for (const instructor::RecordRow& row : rows) {
                writer->row(row);
            }
        });
        rows.clear();
    };
    instructor::RecordRows reader;
    for (const instructor::RecordFile& file : group.files()) {
        reader.read(file, [&](const instructor::RecordRow& row) {
            rows.push_back(row);
            if (rows.size() == heldRows) {
                writeHeld();
            }
        });
    }
    writeHeld();
    std::ostringstream messages;
    timed([&] {
        writer->finish(messages);
        writer.reset();
        out.close();
    });
    return seconds;
}

// The bare writing of the output's bytes, a megabyte at a time, to tell apart what making
// them costs.
double byteWritingSeconds(const std::filesystem::path& output) {
    const std::string bytes = (std::ostringstream() << std::ifstream(output).rdbuf()).str();
    const std::filesystem::path copy = output.string() + ".bytes";
    const double before = cpuSeconds(RUSAGE_SELF);
    {
        std::ofstream out(copy, std::ios::binary);
        for (std::size_t at = 0; at < bytes.size(); at += 1 << 20) {
            const std::size_t piece = std::min<std::size_t>(1 << 20, bytes.size() - at);
            out.write(bytes.data() + at, static_cast<std::streamsize>(piece));
        }
    }
    const double seconds = cpuSeconds(RUSAGE_SELF) - before;
    std::filesystem::remove(copy);
    return seconds;
}

// An export in `format` (CSV or JSON), held against 3x wc -l beyond its own writing.
void exportClass(benchmark::State& state, const std::string& format) {
    overClass(
        state,
        [&](const auto& files, const auto& output) { runCommand("export", files, output, format); },
        [&](const GeneratedClass& group, const std::filesystem::path& output,
            benchmark::State& counted) {
            counted.counters["bytes_writing"] = byteWritingSeconds(output);
            return rowWritingSeconds(group, {format, false, {}}, output);
        });
}

void ExportCsvClass(benchmark::State& state) {
    exportClass(state, "csv");
}

void ExportJsonClass(benchmark::State& state) {
    exportClass(state, "json");
}

// The least that writing an xlsx costs: its sheets' XML as the tool wrote it, deflated at
// zlib's default level with the zip's CRC (as the spreadsheet library does, through buffers
// of its sizes) and written out. Unpacking the XML beforehand is not counted; reading it back
// in is, since the library too reads back the sheet it wrote to a temporary file.
double sheetDeflatingSeconds(const std::filesystem::path& xlsx) {
    const std::string sheets = xlsx.string() + ".sheets";
    const std::string deflatedSheets = xlsx.string() + ".deflated";
    {
        std::ofstream out(sheets, std::ios::binary);
        testing::readZipMembers(xlsx, [&](const std::string& name, std::string_view bytes) {
            if (name.starts_with("xl/worksheets/sheet")) {
                out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            }
        });
    }
    const double before = cpuSeconds(RUSAGE_SELF);
    std::FILE* in = std::fopen(sheets.c_str(), "rb");
    std::FILE* out = std::fopen(deflatedSheets.c_str(), "wb");
    z_stream stream{};
    deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::vector<Bytef> input(16 << 10);
    std::vector<Bytef> output(64 << 10);
    uLong crc = crc32(0, nullptr, 0);
    for (int flush = Z_NO_FLUSH; flush != Z_FINISH;) {
        stream.next_in = input.data();
        stream.avail_in = static_cast<uInt>(std::fread(input.data(), 1, input.size(), in));
        crc = crc32(crc, input.data(), stream.avail_in);
        flush = stream.avail_in < input.size() ? Z_FINISH : Z_NO_FLUSH;
        do {
            stream.next_out = output.data();
            stream.avail_out = static_cast<uInt>(output.size());
            deflate(&stream, flush);
            std::fwrite(output.data(), 1, output.size() - stream.avail_out, out);
        } while (stream.avail_out == 0);
    }
    deflateEnd(&stream);
    std::fclose(in);
    std::fclose(out);
    const double seconds = cpuSeconds(RUSAGE_SELF) - before;
    benchmark::DoNotOptimize(crc);
    std::filesystem::remove(sheets);
    std::filesystem::remove(deflatedSheets);
    return seconds;
}

void ExportXlsxClass(benchmark::State& state) {
    overClass(
        state,
        [](const auto& files, const auto& output) { runCommand("export", files, output, "xlsx"); },
        [](const GeneratedClass& group, const std::filesystem::path& output,
           benchmark::State& counted) {
            const std::filesystem::path xlsx = output.string() + ".xlsx";
            counted.counters["deflating"] = sheetDeflatingSeconds(xlsx);
            return rowWritingSeconds(group, {"xlsx", false, xlsx}, output);
        });
}

void SummaryClass(benchmark::State& state) {
    overClass(state,
              [](const auto& files, const auto& output) { runCommand("summary", files, output); });
}

// The report's own writing is its page, at most 16 MB of answers whatever the class: its cost
// is held against wc -l whole.
void ReportClass(benchmark::State& state) {
    overClass(state,
              [](const auto& files, const auto& output) { runCommand("report", files, output); });
}


BENCHMARK(CheckClass)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(ExportCsvClass)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(ExportJsonClass)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond)->Iterations(3);
// Its cost is the difference of two long times, so it takes turns three times, at full size.
BENCHMARK(ExportXlsxClass)->Arg(8)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(SummaryClass)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(ReportClass)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
} // namespace drilbank::bench
