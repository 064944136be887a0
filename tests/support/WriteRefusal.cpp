#include "support/WriteRefusal.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace drilbank::testing {

#ifdef _WIN32

WriteRefusal::WriteRefusal(const std::filesystem::path& path) : path_(path) {
    const HANDLE holder = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    active_ = holder != INVALID_HANDLE_VALUE;
    holder_ = active_ ? holder : nullptr;
}

void WriteRefusal::release() {
    if (active_) {
        CloseHandle(holder_);
        active_ = false;
    }
}

#else

WriteRefusal::WriteRefusal(const std::filesystem::path& path) : path_(path) {
    std::error_code error;
    std::filesystem::permissions(path, std::filesystem::perms::owner_read, error);
    active_ = !error;
}

void WriteRefusal::release() {
    if (active_) {
        std::error_code error;
        std::filesystem::permissions(
            path_, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write, error);
        active_ = false;
    }
}

#endif

WriteRefusal::~WriteRefusal() {
    release();
}

} // namespace drilbank::testing
