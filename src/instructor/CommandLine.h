#pragma once

#include <optional>
#include <string>
#include <vector>

namespace drilbank::instructor {

struct CommandLine {
    std::string command; // check, export, summary or report
    std::string format = "csv";
    bool exact = false; // CSV cells as typed, even those a spreadsheet would run
    std::optional<std::string> output;
    std::optional<std::string> classList;
    std::vector<std::string> due; // each --due as given
    std::vector<std::string> paths;
    bool help = false;
    bool version = false;
};

// Reads the arguments after the program's name; a message in `error` on bad usage.
CommandLine readCommandLine(const std::vector<std::string>& arguments, std::string& error);

extern const char* const usageText;

// Whether this build writes xlsx: a Windows build made without libxlsxwriter's source does not.
bool xlsxAvailable();

} // namespace drilbank::instructor
