#pragma once

#include "reading/DiskOffsets.h"
#include "reading/Utf8Cuts.h"

#include <cstdint>
#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace drilbank {

// A record file's bytes as the reader looks at them: a window that runs from what the reader
// still holds to what is read so far, in Windows-1252. The file is read into one buffer that
// moves what is held to its front.
// A file an editor saved again in UTF-8 is turned back into the code page as it is read, from
// the first line beyond ASCII on, which tells the code; its offsets are then those of the
// bytes as read back, and onDisk tells where those held lie in the file. Memory stays flat
// whatever the file's size or a line's length: the window holds what the reader keeps plus a
// read, and at most a few reads of UTF-8 not yet turned back.
class RecordWindow {
public:
    explicit RecordWindow(std::istream& in);

    // What is held from `offset` (no earlier than the last kept) to the end of what is read.
    std::string_view from(std::uint64_t offset) const {
        return {data_ + (offset - base_), static_cast<std::size_t>(end_ - offset)};
    }
    std::uint64_t end() const { return end_; }
    // Whether nothing follows what is read.
    bool atFileEnd() const { return ended_; }
    // Reads more after what is held; what lies before `keep` may go, and what is held may
    // move. False when the file has no more.
    bool more(std::uint64_t keep);

    // Where the byte held at `offset` lies in the file on disk, a byte-order mark counted.
    std::uint64_t onDisk(std::uint64_t offset) const {
        return utf8From_ ? offsets_.onDisk(offset) : offset;
    }

    // Where a file saved again in UTF-8 was told to be so: the line that told it, the same
    // on disk, since only ASCII stands before it.
    std::optional<std::uint64_t> utf8From() const { return utf8From_; }
    // Whether some of the file's bytes could not be read: the disk or the network failed, or
    // the file was cut shorter under a read.
    bool lostBytes() const;

private:
    bool readDirect(std::uint64_t keep);
    bool readConverting(std::uint64_t keep);
    void settleCode(std::uint64_t from, std::uint64_t keep);
    void startConverting(std::uint64_t from, std::size_t skipped, std::uint64_t keep);
    void convertHeld();
    std::size_t longLineCut();
    void makeRoom(std::uint64_t keep, std::size_t room);

    std::istream* in_;
    // Read, or turned back from UTF-8: the buffer, its start's offset and size.
    std::unique_ptr<char[]> owned_;
    std::size_t capacity_ = 0;
    const char* data_ = nullptr;
    std::uint64_t base_ = 0; // the offset of data_[0]
    std::uint64_t end_ = 0;  // of what is read
    bool ended_ = false;
    // The code: told by the first line beyond ASCII.
    bool told_ = false;
    std::optional<std::uint64_t> utf8From_;
    std::string raw_;         // UTF-8 bytes read but not yet turned back
    std::uint64_t rawAt_ = 0; // the offset on disk of raw_[0]
    DiskOffsets offsets_;
    Utf8Cuts cuts_; // where raw_ may be turned back before its line ends
    bool rawEnded_ = false;
};

} // namespace drilbank
