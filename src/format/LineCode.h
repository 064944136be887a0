#pragma once

#include "format/RecordFormat.h"
#include "os/RandomSource.h"

#include <optional>
#include <string>
#include <string_view>

namespace drilbank {

// The coding step every record line passes through: it returns the line unchanged.
std::string code(std::string_view aLine, float codeNbr);

// The key line that carries the coding number: for each of codeNbr iterations, with
// probability one in ten a filler character (66..116), then a key character (118..255).
std::string makeCodeLine(float codeNbr, RandomSource& random);

// The coding number a key line carries, its count of key characters; nothing when the line
// is not one that makeCodeLine makes (each key character led by at most one filler).
std::optional<int> keyLineCodingNumber(std::string_view line);

// Per-character decoding; a computed code outside 0..255 is failure 5 and no result.
std::string decode(std::string_view aLine, float codeNbr);

} // namespace drilbank
