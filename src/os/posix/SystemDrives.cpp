#include "os/SystemDrives.h"

#include "os/DurableFiles.h"

#include <cstdlib>
#include <pwd.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unistd.h>

namespace drilbank {
namespace {

// Full Unicode case folding, as Windows matches names: "JOSÉ NÚÑEZ" is "José Núñez".
icu::UnicodeString folded(std::string_view utf8) {
    icu::UnicodeString text = icu::UnicodeString::fromUTF8(
        icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
    return text.foldCase(U_FOLD_CASE_DEFAULT);
}

} // namespace

std::filesystem::path defaultDrivesRoot() {
    // A session without HOME (a service, su without -l) still belongs to a user with a home.
    const char* home = std::getenv("HOME");
    std::filesystem::path base;
    if (home != nullptr && *home == '/') {
        base = home;
    } else if (const passwd* user = ::getpwuid(::getuid());
               user != nullptr && user->pw_dir != nullptr) {
        base = user->pw_dir;
    } else {
        base = "/";
    }
    return base / ".local/share/drilbank/drives";
}

std::filesystem::path driveFolder(const std::filesystem::path& root, char letter) {
    return root / std::string(1, letter);
}

bool sameNameIgnoringCase(std::string_view first, std::string_view second) {
    return first == second || folded(first) == folded(second);
}

std::filesystem::path entryIgnoringCase(const std::filesystem::path& folder,
                                        std::string_view name) {
    const std::filesystem::path exact = folder / pathFromUtf8(name);
    std::error_code error;
    if (std::filesystem::exists(std::filesystem::symlink_status(exact, error)) ||
        !std::filesystem::is_directory(folder, error)) {
        return exact;
    }
    const icu::UnicodeString wanted = folded(name);
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (folded(utf8Of(entry.path().filename())) == wanted) {
            return entry.path();
        }
    }
    return exact;
}

} // namespace drilbank
