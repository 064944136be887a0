#pragma once

#include "format/RecordFileName.h"
#include "reading/BlockOutlet.h"
#include "reading/RecordLineSource.h"
#include "reading/RecordReader.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace drilbank {

// Reads a header or a block straight from a file's bytes when it stands exactly as the
// program writes it: every line ended by CR LF, no byte a record never holds, nothing inside
// its answer that could start a block or a header. Anything else is left to the line-by-line
// reader, which names what is wrong; what is read here is what that reader would read, but a
// whole block at a time rather than line by line through its look-ahead, which is most of the
// cost of reading a class.
class WholeBlocks {
public:
    // Without `texts` blocks are read without their question and answer.
    WholeBlocks(const RecordFileName& name, bool texts) : name_(name), texts_(texts) {}

    enum class Outcome {
        Header,     // `header` is filled, but for its place
        Block,      // `block` is filled, but for its place
        NeedMore,   // the bytes end before what follows is told
        LineByLine, // not as the program writes it, or it cannot yet be told here
    };
    struct Read {
        Outcome outcome = Outcome::LineByLine;
        std::size_t bytes = 0;         // taken from the start of the bytes
        std::uint64_t lineEnds = 0;    // among them
        std::uint64_t fingerprint = 0; // as the line-by-line reader makes it
    };

    // As many headers and blocks as stand so from the next line of `lines` on, handed to
    // `outlet`; `block` is where blocks are read into.
    void readFrom(RecordLineSource& lines, BlockOutlet& outlet, RecordBlock& block);

private:
    // `bytes` start at a line's start; `fileEnds` when nothing follows them in the file;
    // `asciiOnly` while a byte beyond ASCII must be left to the line-by-line reader, which
    // tells from the first one which code the file is in.
    Read read(std::string_view bytes, bool fileEnds, bool asciiOnly, RecordHeader& header,
              RecordBlock& block);
    bool agreesWithFileName(std::string_view studentName);
    bool readHeaderDate(std::string_view text, RecordHeader& header) const;

    const RecordFileName& name_;
    bool texts_;
    RecordHeader header_;      // where headers are read into
    std::string agreeingName_; // the last student name found to agree with the file's name
};

} // namespace drilbank
