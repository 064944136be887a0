#include "os/SystemDrives.h"

#include "os/DurableFiles.h"

#include <windows.h>

namespace drilbank {

// Windows has drive letters of its own: without a root of drive folders, the path the program
// builds is the path used, and a missing campus drive is simply a missing path.
std::filesystem::path defaultDrivesRoot() {
    return {};
}

std::filesystem::path driveFolder(const std::filesystem::path& root, char letter) {
    return root.empty() ? std::filesystem::path(std::string{letter, ':', '\\'})
                        : root / std::string(1, letter);
}

bool sameNameIgnoringCase(std::string_view first, std::string_view second) {
    const std::wstring a = pathFromUtf8(first).wstring();
    const std::wstring b = pathFromUtf8(second).wstring();
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// Windows itself matches names as Windows does.
std::filesystem::path entryIgnoringCase(const std::filesystem::path& folder,
                                        std::string_view name) {
    return folder / pathFromUtf8(name);
}

} // namespace drilbank
