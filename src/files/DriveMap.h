#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace drilbank {

// Maps the Windows paths the program works with ("c:\drilbank\...") onto this machine:
// drive X is the folder <root>/x. The folder for drive c is made on demand, as a local
// disk is always there; any other drive exists only where the user made or linked it.
// A path that a Windows file name cannot hold, or that would climb out of its drive, is
// refused with the bad-file-name failure, so nothing is ever written outside the drive.
// A Windows path as the student knows it, followed by where it lives on this machine:
// "c:\drilbank (on this computer: /home/ann/.local/share/drilbank/drives/c/drilbank)", in
// Windows-1252 bytes ready for a message.
std::string describePlace(std::string_view windowsPath, const std::filesystem::path& localPath);

class DriveMap {
public:
    explicit DriveMap(std::filesystem::path root);

    // $DRILBANK_DRIVES, or ~/.local/share/drilbank/drives when it is not set (the home from
    // the password database when HOME is not set). A DRILBANK_DRIVES that is not an absolute
    // path is std::invalid_argument with a message for the user, never a folder relative to
    // wherever the program happened to start.
    static DriveMap fromEnvironment();

    std::filesystem::path toLocal(std::string_view windowsPath) const;
    const std::filesystem::path& root() const { return root_; }

private:
    std::filesystem::path root_;
};

} // namespace drilbank
