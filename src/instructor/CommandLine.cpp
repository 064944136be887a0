#include "instructor/CommandLine.h"

namespace drilbank::instructor {

const char* const usageText =
    "Usage: drilbank-records COMMAND [OPTIONS] PATH...\n"
    "Reads the record files drilbank leaves (masterFile_*.txt, send_*.txt, notes_*.txt, in any\n"
    "capitals); a PATH is a record file or a folder searched through for them. The files are\n"
    "only read, never changed.\n"
    "\n"
    "Commands:\n"
    "  check     report every problem with file, line and byte offset; exit status 0 when\n"
    "            every file is whole and clean, 1 when a problem was found. Each send file\n"
    "            is also held against the master file beside it: a block the master lacks\n"
    "            or holds otherwise, and one of that day the send file lacks\n"
    "  export    one row per recorded response or note, as xlsx, CSV (UTF-8) or JSON,\n"
    "            each marked final or not and late or not; xlsx has a second sheet, the\n"
    "            grid of final answers\n"
    "  summary   per student and assignment, the questions answered and missing, late\n"
    "            answers, notes and runs; per question, answered by how many of the class;\n"
    "            per run, its first and last click and the questions answered\n"
    "  report    one HTML page: per assignment a grid of students by questions, each\n"
    "            cell the final answer with the earlier ones folded, the problems under\n"
    "            the student (needs --output)\n"
    "\n"
    "Options:\n"
    "  --format xlsx|csv|json  the form of export (csv by default). xlsx is best for a\n"
    "                          spreadsheet: every cell is text exactly as typed (needs\n"
    "                          --output)\n"
    "  --exact             CSV only: keep cells that begin with = + - @, a tab or a carriage\n"
    "                      return as typed; by default a ' goes before them so that no\n"
    "                      spreadsheet runs them as a formula\n"
    "  --output FILE       write to FILE (made anew) instead of standard output; never a\n"
    "                      record file\n"
    "  --class-list FILE   summary, report and export: the class, one student a line, the\n"
    "                      full name as typed at start-up and optionally a comma and the\n"
    "                      initials (UTF-8 text or CSV; a first line name,initials is a\n"
    "                      header; # starts a comment). Every listed student is shown, one\n"
    "                      with no records as such; a student not on it is marked, and one\n"
    "                      whose name differs only in capitals, accents, blanks or initials\n"
    "                      is named as possibly that student, never merged\n"
    "  --due WHEN          summary, report and export: YYYY-MM-DDTHH:MM for every\n"
    "                      assignment, or NNN=YYYY-MM-DDTHH:MM for assignment NNN (give it\n"
    "                      again for others); what was recorded after that minute is late\n"
    "  --help              show this text\n"
    "  --version           show the version\n"
    "\n"
    "Exit status: 0 when all went well, 1 when a file has problems (export, summary and report\n"
    "still give what the files hold), 2 on bad usage or a path that cannot be read.\n";

bool xlsxAvailable() {
#ifdef DRILBANK_XLSX
    return true;
#else
    return false;
#endif
}

CommandLine readCommandLine(const std::vector<std::string>& arguments, std::string& error) {
    CommandLine line;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        const bool hasValue = index + 1 < arguments.size();
        if (argument == "--help" || argument == "-h") {
            line.help = true;
        } else if (argument == "--version") {
            line.version = true;
        } else if (argument == "--exact") {
            line.exact = true;
        } else if (argument == "--format" || argument == "--output" || argument == "--class-list" ||
                   argument == "--due") {
            if (!hasValue) {
                error = argument + " needs a value";
                return line;
            }
            const std::string& value = arguments[++index];
            if (argument == "--format") {
                line.format = value;
            } else if (argument == "--output") {
                line.output = value;
            } else if (argument == "--class-list") {
                line.classList = value;
            } else {
                line.due.push_back(value);
            }
        } else if (argument.starts_with("--format=")) {
            line.format = argument.substr(9);
        } else if (argument.starts_with("--output=")) {
            line.output = argument.substr(9);
        } else if (argument.starts_with("--class-list=")) {
            line.classList = argument.substr(13);
        } else if (argument.starts_with("--due=")) {
            line.due.push_back(argument.substr(6));
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
    const bool exporting = line.command == "export";
    if (!exporting && line.command != "check" && line.command != "summary" &&
        line.command != "report") {
        error = line.command.empty() ? "no command given" : "unknown command " + line.command;
    } else if (line.format != "csv" && line.format != "json" && line.format != "xlsx") {
        error = "--format must be xlsx, csv or json";
    } else if ((line.format != "csv" || line.exact) && !exporting) {
        error = std::string(line.exact ? "--exact" : "--format") + " applies to export only";
    } else if ((line.classList || !line.due.empty()) && line.command == "check") {
        error = std::string(line.classList ? "--class-list" : "--due") +
                " applies to summary, report and export";
    } else if (line.exact && line.format != "csv") {
        error = "--exact applies to CSV only (xlsx and JSON are always exact)";
    } else if (line.format == "xlsx" && !xlsxAvailable()) {
        error = "xlsx is not available in this build (it was made without libxlsxwriter); "
                "use --format csv or json";
    } else if ((line.format == "xlsx" || line.command == "report") && !line.output) {
        error = line.command == "report" ? "report needs --output FILE.html"
                                         : "--format xlsx needs --output FILE.xlsx";
    } else if (line.paths.empty()) {
        error = "no PATH given";
    }
    return line;
}

} // namespace drilbank::instructor
