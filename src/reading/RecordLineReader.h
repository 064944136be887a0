#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace drilbank {

// One line of a record file as the program wrote it.
struct RecordLine {
    enum class Ending {
        LineEnd, // CR LF
        ZoneEnd, // a closing rule padded to the next print zone; the file goes on on this line
        Bare,    // a line feed without its carriage return
        Missing, // the file ends inside the line
    };
    std::string text;
    std::uint64_t offset = 0; // of the line's first byte
    std::uint64_t number = 0; // counted from 1, as an editor shows it
    Ending ending = Ending::LineEnd;
    bool cut = false; // longer than maxLineLength: only its start is kept
};

// Far longer than any line the program writes (an answer line of a whole book), and short
// enough that a file of one endless line never fills the memory.
constexpr std::size_t maxLineLength = std::size_t{4} << 20;

// The bytes a line's ending takes in the file.
std::string_view endingBytes(RecordLine::Ending ending);

// Streams a record file line by line through a fixed buffer, so that memory stays flat
// whatever the file's size and the length of its lines. A closing rule followed by its zone padding
// becomes a line of its own, and whatever follows on that physical line is the next line.
class RecordLineReader {
public:
    explicit RecordLineReader(std::istream& in);

    bool next(RecordLine& line);

private:
    bool readPhysicalLine(RecordLine& line);
    bool splitZoneEnding(RecordLine& line);

    std::istream& in_;
    std::vector<char> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    std::uint64_t offset_ = 0;
    std::uint64_t number_ = 0;
    bool haveRest_ = false;
    RecordLine rest_;
};

} // namespace drilbank
