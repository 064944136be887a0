#pragma once

#include "os/DurableFiles.h"

#include <array>
#include <cstdio>

namespace drilbank::bench {

// The system's file layer with every call counted and timed, to show where a click spends
// its time beyond the floor of its appends.
class CountingFiles final : public DurableFiles {
public:
    enum Call { Open, Size, Read, Append, Flush, Truncate, LinkCount, Lock, Folder, Count };

    std::unique_ptr<DurableFile> open(const std::filesystem::path& path, FileAccess access,
                                      bool* created) override;
    void createFolder(const std::filesystem::path& path) override;
    void flushFolder(const std::filesystem::path& path) override;
    void rename(const std::filesystem::path& from, const std::filesystem::path& to) override;
    FileOwner ownerOf(const std::filesystem::path& path) override;

    // Calls and milliseconds of each kind since the last reset, per click.
    void report(std::FILE* out, int clicks) const;
    void reset() { tallies_ = {}; }

    struct Tally {
        long calls = 0;
        double milliseconds = 0;
    };
    std::array<Tally, Count> tallies_{};
};

} // namespace drilbank::bench
