#pragma once

#include "reading/RecordBytes.h"

#include <cstdint>
#include <istream>
#include <memory>
#include <string_view>

namespace drilbank {

// One line of a record file as the program wrote it. Its text is a view into the reader's
// buffer (or the source's own copy): it holds until the next line is read.
struct RecordLine {
    enum class Ending {
        LineEnd, // CR LF
        ZoneEnd, // a closing rule padded to the next print zone; the file goes on on this line
        Bare,    // a line feed without its carriage return
        Missing, // the file ends inside the line
    };
    std::string_view text;
    std::uint64_t offset = 0; // of the line's first byte
    std::uint64_t number = 0; // counted from 1, as an editor shows it
    Ending ending = Ending::LineEnd;
    bool cut = false;      // longer than maxLineLength: only its start is kept
    bool controls = false; // may hold a byte below the blank (a tab too) or DEL
};

// Far longer than any line the program writes (an answer line of a whole book), and short
// enough that a file of one endless line never fills the memory.
constexpr std::size_t maxLineLength = std::size_t{4} << 20;

// The bytes a line's ending takes in the file.
std::string_view endingBytes(RecordLine::Ending ending);

// Streams a record file line by line through one large buffer, handing out lines as views
// into it: a class's records are read without a copy or an allocation per line, and memory
// stays flat whatever the file's size and the length of its lines. A closing rule followed by
// its zone padding becomes a line of its own, and whatever follows on that physical line is
// the next line.
class RecordLineReader {
public:
    explicit RecordLineReader(RecordBytes bytes);

    // Lines still held by the caller are kept from `keepFrom` (an address, below) on; the
    // buffer may move, which moves() tells.
    static constexpr std::uint64_t keepNothing = ~std::uint64_t{0};
    bool next(RecordLine& line, std::uint64_t keepFrom);

    // A byte's place in the stream of buffers, which survives the buffer moving.
    std::uint64_t addressOf(const char* byte) const {
        return buffered_ + static_cast<std::uint64_t>(byte - buffer_);
    }
    const char* at(std::uint64_t address) const {
        return buffer_ + static_cast<std::size_t>(address - buffered_);
    }
    std::uint64_t moves() const { return moves_; }

    // For a reader that takes whole blocks straight from the bytes: what is read but not yet
    // handed out as lines, and whether the file ends there.
    std::string_view unread() const;
    std::uint64_t unreadOffset() const { return offset_; }
    std::uint64_t unreadLineNumber() const { return number_ + 1; }
    bool atEnd() const { return atEnd_; }
    // Reads more after the unread bytes, keeping them; false at the end of the file.
    bool readMore();
    // Hands out `bytes` unread bytes, holding `lineEnds` line ends, as if read as lines.
    void skip(std::size_t bytes, std::uint64_t lineEnds);
    // Reads again from the start of a line handed out (its address, offset and number).
    void rewind(std::uint64_t address, std::uint64_t offset, std::uint64_t number);
    // Whether some of the file's bytes could not be read: the disk or the network failed, or
    // the file was cut shorter under a read.
    bool lostBytes() const { return mapping_ != nullptr ? mapping_->lostWhileRead() : in_->bad(); }
    // Whether the line of that number can be read again: it was not cut short.
    bool canRewindTo(std::uint64_t number) const { return number > lastCut_; }
    // Reads again from the line that follows a closing rule on its line, if one is pending;
    // false when it cannot be.
    bool rewindPending();

private:
    bool readPhysicalLine(RecordLine& line, std::uint64_t keepFrom);
    std::size_t fill(std::size_t& start, std::uint64_t keepFrom);
    bool splitZoneEnding(RecordLine& line);

    std::size_t fillFromMapping(std::size_t start, std::uint64_t keepFrom);

    std::istream* in_;
    FileMapping* mapping_;
    std::unique_ptr<char[]> owned_; // a stream's buffer, not cleared first: only what is read
                                    // is looked at
    const char* buffer_;            // the stream's buffer, or the mapped file's bytes
    std::size_t capacity_;
    std::uint64_t released_ = 0; // of a mapped file's bytes, those let go before this
    std::size_t begin_ = 0;      // where the next line starts
    std::size_t end_ = 0;        // of the bytes read
    std::uint64_t buffered_ = 0; // the address of the buffer's first byte
    std::uint64_t moves_ = 0;
    std::uint64_t offset_ = 0;
    std::uint64_t number_ = 0;
    bool haveRest_ = false;
    bool atEnd_ = false;
    std::uint64_t lastCut_ = 0; // the number of the last line cut short
    RecordLine rest_;
};

} // namespace drilbank
