#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace drilbank {

// Recognises a copy of a file's own blocks joined on to it (a file pasted onto itself, a run
// sent twice), so that it is reported once and read once. A header is unique to its run (its
// key line is random, its time the run's start), so a header seen before starts a copy; the
// notes file has no headers, so there a copy starts where its first note comes again after a
// later one. Blocks that are merely alike (two clicks on the same answer in the same second)
// are not copies. Holds one fingerprint per block: a few megabytes for the largest file.
class JoinedCopies {
public:
    enum class Kind { Header, Response, Note };
    enum class Verdict { New, CopyStarts, Copy };

    // `fingerprint` identifies the whole header or block, `line` is where it starts and
    // `stamp` a note's date and time as YYYYMMDDHHMMSS. For CopyStarts, `originalLine` is
    // the line where what is copied began.
    Verdict see(std::uint64_t fingerprint, std::uint64_t line, Kind kind, std::string_view stamp,
                std::uint64_t& originalLine);

    // After a damaged block nothing after it is taken for part of a copy.
    void interrupt() { copyAt_.reset(); }

private:
    struct Seen {
        std::uint64_t fingerprint;
        std::uint64_t line;
    };
    std::vector<Seen> seen_;
    std::unordered_map<std::uint64_t, std::size_t> headers_;
    std::optional<std::size_t> copyAt_; // the next entry a copy being read should repeat
    std::string previousNote_;
};

} // namespace drilbank
