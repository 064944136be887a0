#pragma once

#include "reading/RecordLineReader.h"
#include "reading/RecordReader.h"

#include <deque>
#include <istream>

namespace drilbank {

// The lines of a record file as the program wrote them, with a few lines' look-ahead. A file
// whose line ends an editor or a mail program changed to line feeds, or that an editor saved
// again in UTF-8, is read back as it was written; each such change is told once, as is a byte
// that no record line holds.
class RecordLineSource {
public:
    RecordLineSource(std::istream& in, RecordVisitor& visitor) : lines_(in), visitor_(visitor) {}

    // The line `ahead` lines on, or nothing past the end of the file.
    const RecordLine* peek(std::size_t ahead);

    // The next line, its bytes checked; there must be one.
    RecordLine take();

private:
    void settleLineEnd(RecordLine& line);
    void settleEncoding(RecordLine& line);
    void checkBytes(const RecordLine& line);

    RecordLineReader lines_;
    RecordVisitor& visitor_;
    std::deque<RecordLine> ahead_;
    bool encodingKnown_ = false;
    bool utf8_ = false;
    bool toldLineEnds_ = false;
};

} // namespace drilbank
