#pragma once

#include "reading/RecordLineReader.h"
#include "reading/RecordReader.h"

#include <array>
#include <istream>
#include <string>

namespace drilbank {

// The lines of a record file as the program wrote them, with a few lines' look-ahead. A file
// whose line ends an editor or a mail program changed to line feeds, or that an editor saved
// again in UTF-8, is read back as it was written; each such change is told once, as is a byte
// that no record line holds.
class RecordLineSource {
public:
    RecordLineSource(RecordBytes bytes, RecordVisitor& visitor)
        : lines_(bytes), visitor_(visitor) {}

    // The line `ahead` lines on (fewer than lookAhead), or nothing past the end of the file.
    // A line's text holds until the next peek or take.
    static constexpr std::size_t lookAhead = 3;
    const RecordLine* peek(std::size_t ahead) {
        // Inline: the parser looks at the lines ahead several times for each line it takes.
        while (count_ <= ahead) {
            if (!readAhead()) {
                return nullptr;
            }
        }
        return &slots_[(first_ + ahead) % slots_.size()].line;
    }

    // The next line, its bytes checked; there must be one.
    RecordLine take();

    // For reading whole blocks straight from the bytes: hands the lines looked ahead at back
    // to the line reader, so that unread() starts at the next line. False when they cannot
    // be read again (read back from UTF-8, or cut short).
    bool rewind();
    RecordLineReader& bytes() { return lines_; }
    // Whether the file's code is told yet: until a byte beyond ASCII settles it, such a byte
    // must go through take().
    bool codeKnown() const { return encodingKnown_; }

private:
    // A line looked ahead at, and its text read back from UTF-8 when the file is in it.
    struct Slot {
        RecordLine line;
        std::uint64_t address = RecordLineReader::keepNothing; // in the reader's buffer
        std::string converted;
    };

    bool readAhead();
    void settleLineEnd(RecordLine& line);
    void settleEncoding(Slot& slot);
    void checkBytes(const RecordLine& line);

    RecordLineReader lines_;
    RecordVisitor& visitor_;
    std::array<Slot, lookAhead + 1> slots_; // a ring: one taken, the rest ahead
    std::size_t first_ = 0;                 // the slot of the next line
    std::size_t count_ = 0;                 // lines ahead
    std::uint64_t moves_ = 0;               // the reader's buffer moves seen
    bool encodingKnown_ = false;
    bool utf8_ = false;
    bool toldLineEnds_ = false;
};

} // namespace drilbank
