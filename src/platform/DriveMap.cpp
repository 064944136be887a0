#include "platform/DriveMap.h"

#include "platform/Cp1252.h"
#include "platform/Failure.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <system_error>

namespace drilbank {
namespace {

bool isReservedDeviceName(std::string_view component) {
    std::string base(component.substr(0, component.find('.')));
    std::transform(base.begin(), base.end(), base.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    static const std::array<std::string_view, 4> plain{"CON", "PRN", "AUX", "NUL"};
    if (std::find(plain.begin(), plain.end(), base) != plain.end()) {
        return true;
    }
    return base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) &&
           base[3] >= '1' && base[3] <= '9';
}

void checkComponent(std::string_view component) {
    const bool forbiddenCharacter = std::any_of(component.begin(), component.end(), [](char c) {
        const auto code = static_cast<unsigned char>(c);
        return code < 32 || std::string_view("<>:\"/|?*").find(c) != std::string_view::npos;
    });
    // Windows silently drops a trailing blank or full stop, which would alias another file.
    if (component.empty() || component == "." || component == ".." || forbiddenCharacter ||
        component.back() == ' ' || component.back() == '.' || isReservedDeviceName(component)) {
        throw Failure(failure::BadFileName);
    }
}

bool sameIgnoringCase(std::string_view left, std::string_view right) {
    return left.size() == right.size() &&
           std::equal(left.begin(), left.end(), right.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

// Windows names ignore case: a student who types the name in other capitals on another day
// must reach the same record files, not start new ones beside them.
std::filesystem::path entryIgnoringCase(const std::filesystem::path& folder,
                                        const std::string& name) {
    std::error_code error;
    std::filesystem::path exact = folder / name;
    if (std::filesystem::exists(std::filesystem::symlink_status(exact, error)) ||
        !std::filesystem::is_directory(folder, error)) {
        return exact;
    }
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (sameIgnoringCase(entry.path().filename().string(), name)) {
            return entry.path();
        }
    }
    return exact;
}

} // namespace

DriveMap::DriveMap(std::filesystem::path root) : root_(std::move(root)) {}

DriveMap DriveMap::fromEnvironment() {
    if (const char* drives = std::getenv("DRILBANK_DRIVES"); drives != nullptr && *drives) {
        return DriveMap(drives);
    }
    const char* home = std::getenv("HOME");
    const std::filesystem::path base = home != nullptr && *home ? home : ".";
    return DriveMap(base / ".local/share/drilbank/drives");
}

std::filesystem::path DriveMap::toLocal(std::string_view windowsPath) const {
    if (windowsPath.size() < 2 || !std::isalpha(static_cast<unsigned char>(windowsPath[0])) ||
        windowsPath[1] != ':') {
        throw Failure(failure::BadFileName);
    }
    const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(windowsPath[0])));
    const std::filesystem::path drive = root_ / std::string(1, letter);
    std::error_code error;
    if (!std::filesystem::is_directory(drive, error) &&
        !(letter == 'c' && std::filesystem::create_directories(drive, error))) {
        throw Failure(failure::PathNotFound);
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
            throw Failure(failure::BadFileName);
        }
    }
    return local;
}

} // namespace drilbank
