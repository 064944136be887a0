#pragma once

#include <filesystem>
#include <string>

namespace drilbank {

// A path as Windows takes it whole: beyond the old limit of 259 characters only in the
// "\\?\" form, which Windows takes as it stands, so it is made plain here first (backslashes, no
// "." or ".." parts; the drive mapping has already refused the names that form would let
// through). A path past the limit of that form is failure 52.
std::wstring systemPath(const std::filesystem::path& path);

} // namespace drilbank
