#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace drilbank::testing {

// Reads a zip file's members as a spreadsheet program would, inflated a piece at a time so
// that a large file never sits in memory: how the xlsx export's test and benchmark read what
// it wrote. Calls `piece` with each member's name and the next of its bytes; false when the
// file is not a zip of deflated members with their sizes in place (as an xlsx is).
bool readZipMembers(
    const std::filesystem::path& zip,
    const std::function<void(const std::string& name, std::string_view bytes)>& piece);

} // namespace drilbank::testing
