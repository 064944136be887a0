#pragma once

#include <filesystem>
#include <string_view>

namespace drilbank {

// What drives and file names are on the system the program was built for.

// Where drive folders are when DRILBANK_DRIVES does not say.
std::filesystem::path defaultDrivesRoot();

// The folder that stands for drive `letter` (a lower-case letter).
std::filesystem::path driveFolder(const std::filesystem::path& root, char letter);

// The entry of `folder` whose name matches the UTF-8 `name` as Windows matches names,
// ignoring case; `folder / name` when there is none.
std::filesystem::path entryIgnoringCase(const std::filesystem::path& folder, std::string_view name);

// Whether two UTF-8 names are one name to Windows, that is equal but for capitals.
bool sameNameIgnoringCase(std::string_view first, std::string_view second);

} // namespace drilbank
