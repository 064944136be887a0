#include "files/DriveMap.h"

#include "encoding/Cp1252.h"
#include "os/DurableFiles.h"
#include "os/Failure.h"
#include "os/SystemDrives.h"
#include "texts/FailureTexts.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <stdexcept>
#include <system_error>

namespace drilbank {
namespace {

// A Windows file or folder name holds at most 255 UTF-16 units.
constexpr std::size_t maximumNameLength = 255;

bool isReservedDeviceName(std::string_view component) {
    std::string base(component.substr(0, component.find('.')));
    std::transform(base.begin(), base.end(), base.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    static const std::array<std::string_view, 4> plain{"CON", "PRN", "AUX", "NUL"};
    if (std::find(plain.begin(), plain.end(), base) != plain.end()) {
        return true;
    }
    // The digits 1 to 9 and the superscripts one, two and three (Windows-1252 B9, B2, B3).
    const std::string_view portNumbers = "123456789\xB9\xB2\xB3";
    return base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) &&
           portNumbers.find(base[3]) != std::string_view::npos;
}

void checkComponent(std::string_view component) {
    const bool forbiddenCharacter = std::any_of(component.begin(), component.end(), [](char c) {
        const auto code = static_cast<unsigned char>(c);
        return code < 32 || std::string_view("<>:\"/|?*").find(c) != std::string_view::npos;
    });
    // Windows silently drops a trailing blank or full stop, which would alias another file.
    if (component.empty() || component == "." || component == ".." || forbiddenCharacter ||
        component.back() == ' ' || component.back() == '.' || isReservedDeviceName(component)) {
        throw Failure(failure::BadFileName, notAWindowsNameText(std::string(component)));
    }
    if (cp1252ToUnicode(component, true).size() > maximumNameLength) {
        throw Failure(failure::BadFileName, nameTooLongText(std::string(component)));
    }
}

// Makes the folder and any missing folder above it, each flushed into its parent, so that
// none of them is lost with a power cut.
void makeFolders(const std::filesystem::path& folder) {
    std::error_code error;
    if (std::filesystem::is_directory(folder, error) || folder == folder.parent_path()) {
        return;
    }
    makeFolders(folder.parent_path());
    systemFiles().createFolder(folder);
}

} // namespace

std::string describePlace(std::string_view windowsPath, const std::filesystem::path& localPath) {
    return placeText(std::string(windowsPath), cp1252FromUtf8(utf8Of(localPath)));
}

DriveMap::DriveMap(std::filesystem::path root) : root_(std::move(root)) {}

DriveMap DriveMap::fromEnvironment() {
    const char* drives = std::getenv("DRILBANK_DRIVES");
    if (drives == nullptr || *drives == '\0') {
        return DriveMap(defaultDrivesRoot());
    }
    const std::filesystem::path root = pathFromUtf8(drives);
    if (!root.is_absolute()) {
        throw std::invalid_argument(drivesNotAbsoluteText(drives));
    }
    return DriveMap(root);
}

std::filesystem::path DriveMap::toLocal(std::string_view windowsPath) const {
    if (windowsPath.size() < 2 || !std::isalpha(static_cast<unsigned char>(windowsPath[0])) ||
        windowsPath[1] != ':') {
        throw Failure(failure::BadFileName, noDriveLetterText(std::string(windowsPath)));
    }
    const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(windowsPath[0])));
    const std::filesystem::path drive = driveFolder(root_, letter);
    std::error_code error;
    if (!std::filesystem::is_directory(drive, error)) {
        // A local disk is always there; any other drive is there only where it was made or linked.
        if (letter != 'c') {
            throw Failure(failure::PathNotFound,
                          driveMissingText(letter, cp1252FromUtf8(utf8Of(drive))));
        }
        try {
            makeFolders(drive);
        } catch (const Failure& fault) {
            throw Failure(fault.number(), fault.detail() + ": " + cp1252FromUtf8(utf8Of(drive)));
        }
    }

    std::string_view rest = windowsPath.substr(2);
    if (rest.starts_with('\\')) {
        rest.remove_prefix(1);
    }
    std::filesystem::path local = drive;
    while (!rest.empty()) {
        const std::size_t slash = rest.find('\\');
        const std::string_view component = rest.substr(0, slash);
        checkComponent(component);
        local = entryIgnoringCase(local, cp1252ToUtf8(component));
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
        if (slash != std::string_view::npos && rest.empty()) {
            throw Failure(failure::BadFileName,
                          "\"" + std::string(windowsPath) + "\" ends with a backslash");
        }
    }
    return local;
}

} // namespace drilbank
