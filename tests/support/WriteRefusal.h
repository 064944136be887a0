#pragma once

#include <filesystem>

namespace drilbank::testing {

// Makes a file refuse writes until release() or the end of its life, the way each system
// does it for an ordinary user: read-only permissions on Linux (run the test through
// resultAsUnprivilegedUser, as root passes permissions); on Windows the file held by
// another program that shares it for reading only, which binds every user, under Wine too.
class WriteRefusal {
public:
    explicit WriteRefusal(const std::filesystem::path& path);
    ~WriteRefusal();
    WriteRefusal(const WriteRefusal&) = delete;
    WriteRefusal& operator=(const WriteRefusal&) = delete;

    bool active() const { return active_; }
    void release();

private:
    std::filesystem::path path_;
    bool active_ = false;
#ifdef _WIN32
    void* holder_ = nullptr;
#endif
};

} // namespace drilbank::testing
