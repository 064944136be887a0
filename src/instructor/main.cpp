// drilbank-records: the instructor's reader of a class's record files.
#include "instructor/ClassList.h"
#include "instructor/CommandLine.h"
#include "instructor/Commands.h"
#include "instructor/DueTimes.h"
#include "instructor/OutputFile.h"
#include "os/DurableFiles.h"

#include <cstdio>
#include <iostream>
#include <optional>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

using namespace drilbank::instructor;

constexpr int badUsage = 2;

bool errorsGoToATerminal() {
#ifdef _WIN32
    return _isatty(_fileno(stderr)) != 0;
#else
    return ::isatty(STDERR_FILENO) != 0;
#endif
}

int runCommand(const CommandLine& line, const std::vector<RecordFile>& files,
               const CommandStreams& streams, const std::filesystem::path& file,
               const Grading& grading) {
    if (line.command == "check") {
        return checkFiles(files, streams);
    }
    if (line.command == "export") {
        return exportFiles(files, {line.format, line.exact, file}, streams, grading);
    }
    if (line.command == "report") {
        return reportFiles(files, streams, grading);
    }
    return summarizeFiles(files, streams, grading);
}

int runTool(const std::vector<std::string>& arguments) {
    std::string error;
    const CommandLine line = readCommandLine(arguments, error);
    if (!error.empty()) {
        std::cerr << "drilbank-records: " << error << "\n\n" << usageText;
        return badUsage;
    }
    if (line.help) {
        std::cout << usageText;
        return 0;
    }
    if (line.version) {
        std::cout << "drilbank-records " << DRILBANK_VERSION << '\n';
        return 0;
    }
    const std::optional<DueTimes> due = DueTimes::parse(line.due, error);
    std::optional<ClassList> classList;
    if (due && line.classList) {
        std::vector<std::string> warnings;
        classList = ClassList::read(drilbank::pathFromUtf8(*line.classList), error, warnings);
        for (const std::string& warning : warnings) {
            std::cerr << "drilbank-records: " << warning << '\n';
        }
    }
    if (!error.empty()) {
        std::cerr << "drilbank-records: " << error << '\n';
        return badUsage;
    }
    const Grading grading{classList ? &*classList : nullptr, due->empty() ? nullptr : &*due};
    const SearchResult found = findRecordFiles(line.paths);
    for (const std::string& message : found.errors) {
        std::cerr << "drilbank-records: " << message << '\n';
    }
    if (found.files.empty()) {
        return badUsage;
    }
    std::optional<OutputFile> output;
    if (line.output) {
        const std::filesystem::path target = drilbank::pathFromUtf8(*line.output);
        if (const auto refused = OutputFile::refusal(target, found.files)) {
            std::cerr << "drilbank-records: " << *refused << '\n';
            return badUsage;
        }
        std::error_code same;
        if (line.classList &&
            std::filesystem::equivalent(target, drilbank::pathFromUtf8(*line.classList), same)) {
            std::cerr << "drilbank-records: --output " << *line.output
                      << " is the class list; it is only read, never written\n";
            return badUsage;
        }
        output.emplace(target);
        if (line.format != "xlsx" && !output->stream()) {
            std::cerr << "drilbank-records: " << *line.output << ": cannot be written\n";
            return badUsage;
        }
    }
    std::ostream& out = output ? output->stream() : std::cout;
    const CommandStreams streams{out, std::cerr, errorsGoToATerminal() ? &std::cerr : nullptr};
    const int status =
        runCommand(line, found.files, streams, output ? output->partialPath() : "", grading);
    out.flush();
    if (status == badUsage) {
        return badUsage; // the command said why; nothing was put in place
    }
    if (!out || (output && !output->commit(error))) {
        std::cerr << "drilbank-records: "
                  << (error.empty() ? "the output could not be written" : error) << '\n';
        return badUsage;
    }
    return found.errors.empty() ? status : badUsage;
}

} // namespace

#ifdef _WIN32
// Arguments as UTF-16, so that a folder named in any script is found; output in UTF-8, which
// the console is told to show as such.
int wmain(int argc, wchar_t** argv) {
    SetConsoleOutputCP(CP_UTF8);
    std::vector<std::string> arguments;
    for (int index = 1; index < argc; ++index) {
        arguments.push_back(drilbank::utf8Of(std::filesystem::path(argv[index])));
    }
    return runTool(arguments);
}
#else
int main(int argc, char** argv) {
    return runTool(std::vector<std::string>(argv + 1, argv + argc));
}
#endif
