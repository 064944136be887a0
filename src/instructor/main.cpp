// drilbank-records: the instructor's reader of a class's record files.
#include "instructor/CommandLine.h"
#include "instructor/Commands.h"

#include <fstream>
#include <iostream>

namespace {

using namespace drilbank::instructor;

constexpr int badUsage = 2;

int runCommand(const CommandLine& line, const std::vector<RecordFile>& files, std::ostream& out) {
    if (line.command == "check") {
        return checkFiles(files, out, std::cerr);
    }
    if (line.command == "export") {
        return exportFiles(files, line.format, out, std::cerr);
    }
    return summarizeFiles(files, out, std::cerr);
}

} // namespace

int main(int argc, char** argv) {
    std::string error;
    const CommandLine line =
        readCommandLine(std::vector<std::string>(argv + 1, argv + argc), error);
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
    const SearchResult found = findRecordFiles(line.paths);
    for (const std::string& message : found.errors) {
        std::cerr << "drilbank-records: " << message << '\n';
    }
    if (found.files.empty()) {
        return badUsage;
    }
    std::ofstream file;
    if (line.output) {
        file.open(*line.output, std::ios::binary | std::ios::trunc);
        if (!file) {
            std::cerr << "drilbank-records: " << *line.output << ": cannot be written\n";
            return badUsage;
        }
    }
    std::ostream& out = line.output ? file : std::cout;
    const int status = runCommand(line, found.files, out);
    out.flush();
    if (!out) {
        std::cerr << "drilbank-records: the output could not be written\n";
        return badUsage;
    }
    return found.errors.empty() ? status : badUsage;
}
