#pragma once

#include <filesystem>

namespace drilbank::testing {

// A fresh folder under the system's temporary directory, removed with everything in it.
class TemporaryFolder {
public:
    TemporaryFolder();
    // Under the given folder instead, such as a memory-backed one for quick reference runs.
    explicit TemporaryFolder(const std::filesystem::path& base);
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace drilbank::testing
