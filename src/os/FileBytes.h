#pragma once

#include "os/DurableFiles.h"

#include <cstdint>
#include <functional>
#include <string_view>

namespace drilbank {

// Comparisons and copies between stretches of open files, read a bounded piece at a time so
// that a record file of any size costs no more memory than a piece.

// The one read loop: hands each piece of the stretch to `visit` until it says stop; gives
// whether the whole stretch was there and visited.
bool forEachPiece(DurableFile& file, std::uint64_t at, std::uint64_t length,
                  const std::function<bool(std::string_view piece, std::uint64_t done)>& visit);

// How many bytes from the start the two stretches have in common, up to `length`. A file
// that ends early differs there.
std::uint64_t bytesInCommon(DurableFile& left, std::uint64_t leftAt, DurableFile& right,
                            std::uint64_t rightAt, std::uint64_t length);

// Whether the file holds `bytes` at `at`.
bool holdsAt(DurableFile& file, std::uint64_t at, std::string_view bytes);

// Whether the file holds, from `at` to its end, a first part of `bytes` and nothing else.
bool endsInPartOf(DurableFile& file, std::uint64_t at, std::string_view bytes);

// Whether every byte of the file from `at` to its end is zero.
bool onlyZerosFrom(DurableFile& file, std::uint64_t at);

// Whether the stretch holds a zero byte anywhere.
bool holdsZero(DurableFile& file, std::uint64_t at, std::uint64_t length);

// Appends a stretch of one file to another and flushes it; a stretch that cannot be read
// whole is failure 57.
void copyBytes(DurableFile& from, std::uint64_t at, std::uint64_t length, DurableFile& to);

} // namespace drilbank
