#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace drilbank {

// Recognises a copy of a file's own blocks joined on to it (a file pasted onto itself, a run
// sent twice), so that it is reported once and read once. A header is unique to its run (its
// key line is random, its time the run's start), so a header seen before starts a copy; the
// notes file has no headers, so there a copy starts where its first note comes again after a
// later one. Blocks that are merely alike (two clicks on the same answer in the same second)
// are not copies. Holds one fingerprint per block, up to a capacity: by default some 12 MB
// whatever the file, for far more blocks than a student ever records.
class JoinedCopies {
public:
    enum class Kind { Header, Response, Note };
    enum class Verdict { New, CopyStarts, Copy };

    static constexpr std::size_t defaultCapacity = std::size_t{1} << 19;
    explicit JoinedCopies(std::size_t capacity = defaultCapacity) : capacity_(capacity) {
        // Room for a large file's blocks at once: growing a step at a time copies them all
        // again each time. Pages not yet written to take no memory.
        seen_.reserve(std::min(capacity_, std::size_t{1} << 14));
    }

    // `fingerprint` identifies the whole header or block, `line` is where it starts and
    // `stamp` a note's date and time as a number ordered as they are. For CopyStarts,
    // `originalLine` is the line where what is copied began. Once the capacity is reached, later
    // blocks are not held and a copy of them is not recognised: full() tells.
    Verdict see(std::uint64_t fingerprint, std::uint64_t line, Kind kind, std::uint64_t stamp,
                std::uint64_t& originalLine);
    bool full() const { return seen_.size() >= capacity_; }
    std::size_t capacity() const { return capacity_; }

    // After a damaged block nothing after it is taken for part of a copy.
    void interrupt() { copyAt_ = none; }

private:
    struct Seen {
        std::uint64_t fingerprint;
        std::uint64_t line;
    };
    static constexpr std::uint32_t none = ~std::uint32_t{0};

    std::uint32_t findHeader(std::uint64_t fingerprint) const;
    void holdHeader(std::uint32_t index);

    std::size_t capacity_;
    std::vector<Seen> seen_;
    // The headers among them: an open-addressed table of their places in seen_, at most half
    // full, so that a header is found in a step or two.
    std::vector<std::uint32_t> headers_;
    std::size_t headerCount_ = 0;
    std::uint32_t copyAt_ = none; // the next entry a copy being read should repeat
    std::uint64_t previousNote_ = 0;
};

} // namespace drilbank
