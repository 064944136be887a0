#include "instructor/CommandLine.h"

namespace drilbank::instructor {

const char* const usageText =
    "Usage: drilbank-records COMMAND [OPTIONS] PATH...\n"
    "Reads the record files drilbank leaves (masterFile_*.txt, send_*.txt, notes_*.txt);\n"
    "a PATH is a record file or a folder searched through for them.\n"
    "\n"
    "Commands:\n"
    "  check     report every problem with file, line and byte offset; exit status 0 when\n"
    "            every file is whole and clean, 1 when a problem was found\n"
    "  export    one row per recorded response or note, as CSV (UTF-8) or JSON\n"
    "  summary   one line per student and assignment\n"
    "\n"
    "Options:\n"
    "  --format csv|json   the form of export (csv by default)\n"
    "  --output FILE       write to FILE instead of standard output\n"
    "  --help              show this text\n"
    "  --version           show the version\n"
    "\n"
    "Exit status: 0 when all went well, 1 when a file has problems (export and summary still\n"
    "give what the files hold), 2 on bad usage or a path that cannot be read.\n";

CommandLine readCommandLine(const std::vector<std::string>& arguments, std::string& error) {
    CommandLine line;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        const bool hasValue = index + 1 < arguments.size();
        if (argument == "--help" || argument == "-h") {
            line.help = true;
        } else if (argument == "--version") {
            line.version = true;
        } else if (argument == "--format" || argument == "--output") {
            if (!hasValue) {
                error = argument + " needs a value";
                return line;
            }
            (argument == "--format" ? line.format : line.output.emplace()) = arguments[++index];
        } else if (argument.starts_with("--format=")) {
            line.format = argument.substr(9);
        } else if (argument.starts_with("--output=")) {
            line.output = argument.substr(9);
        } else if (argument == "--") {
            line.paths.insert(line.paths.end(), arguments.begin() + static_cast<long>(index) + 1,
                              arguments.end());
            break;
        } else if (argument.starts_with("-") && argument.size() > 1) {
            error = "unknown option " + argument;
            return line;
        } else if (line.command.empty()) {
            line.command = argument;
        } else {
            line.paths.push_back(argument);
        }
    }
    if (line.help || line.version) {
        return line;
    }
    if (line.command != "check" && line.command != "export" && line.command != "summary") {
        error = line.command.empty() ? "no command given" : "unknown command " + line.command;
    } else if (line.format != "csv" && line.format != "json") {
        error = "--format must be csv or json";
    } else if (line.format != "csv" && line.command != "export") {
        error = "--format applies to export only";
    } else if (line.paths.empty()) {
        error = "no PATH given";
    }
    return line;
}

} // namespace drilbank::instructor
