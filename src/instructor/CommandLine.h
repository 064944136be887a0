#pragma once

#include <optional>
#include <string>
#include <vector>

namespace drilbank::instructor {

struct CommandLine {
    std::string command; // check, export or summary
    std::string format = "csv";
    std::optional<std::string> output;
    std::vector<std::string> paths;
    bool help = false;
    bool version = false;
};

// Reads the arguments after the program's name; a message in `error` on bad usage.
CommandLine readCommandLine(const std::vector<std::string>& arguments, std::string& error);

extern const char* const usageText;

} // namespace drilbank::instructor
