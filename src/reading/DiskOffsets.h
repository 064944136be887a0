#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace drilbank {

// Where the bytes of a file turned back from UTF-8 lie on disk. Conversion changes lengths
// (two or three bytes of a code-page character become one; a character outside the code page
// becomes a longer reference), so where each stretch whose length changed ends is held, both
// ways; between such stretches the bytes lie as far apart as they did on disk. Only points in
// what the window holds are kept: memory follows the window, not the file.
class DiskOffsets {
public:
    // The offset on disk of the converted byte at `offset`, which is no earlier than the last
    // forgotten. Inside a stretch that changed, its first bytes where they lie, the rest at
    // its last byte.
    std::uint64_t onDisk(std::uint64_t offset) const;

    // A stretch whose length changed ends at `at`, converted, and at `rawAt` on disk. Since
    // the point before, the bytes lay as far apart as they do now up to that stretch.
    void changedUpTo(std::uint64_t at, std::uint64_t rawAt);
    // Forgets the points up to `offset`: nothing before it is looked up any more.
    void forgetBefore(std::uint64_t offset);

private:
    struct Point {
        std::uint64_t at;
        std::uint64_t rawAt;
    };
    std::vector<Point> points_;
    std::size_t first_ = 0; // those before are forgotten, and erased a batch at a time
    Point forgotten_{0, 0}; // the last forgotten: what lies after it is reckoned from it
};

// UTF-8 turned back into the code page as cp1252FromUtf8 turns it, appended to `out` whose
// first byte is at offset `outAt`; the UTF-8 starts on disk at `rawAt`. It is turned back a
// piece at a time so that each change of length is told to `offsets`.
void cp1252FromUtf8Telling(std::string_view utf8, std::uint64_t rawAt, std::string& out,
                           std::uint64_t outAt, DiskOffsets& offsets);

} // namespace drilbank
