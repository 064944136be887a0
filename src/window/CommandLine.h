#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace drilbank {

// Answers --help and --version on standard output and gives the exit status 0. Any other
// argument is an error said on standard error, naming --help, with the exit status 2; only the
// options the window toolkit takes itself, with their values, are let through, and nothing
// is given for them: the program then starts.
std::optional<int> answerCommandLine(int argc, char** argv,
                                     std::span<const std::string_view> toolkitOptions = {});

} // namespace drilbank
