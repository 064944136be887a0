#pragma once

#include "format/RecordFormat.h"
#include "os/Clock.h"

#include <functional>
#include <string>
#include <string_view>

namespace drilbank {

// The response and notes blocks, line by line in the order of their layout, each line to
// each file in turn: a time line reads the clock afresh and a coded line passes through
// `code` once per file. The typed text is stored as `storedTypedText` gives it, so that no
// typed line can end its block.

// Takes one line for one file's channel.
using BlockLineOut = std::function<void(int channel, std::string_view line, LineEnding ending)>;

struct BlockContent {
    double questionNumber = 0; // the master file's response blocks only
    std::string scriptLine;    // the question the block answers, as the script holds it
    std::string text;          // the answer, or the note with its marker in front
    float codeNbr = 0;
};

// Ten lines to the master file, seven to the send file.
void writeResponseBlockLines(const BlockContent& block, Clock& clock, const BlockLineOut& out);

// Seven lines to each of the master, send and notes files; the closing rule ends in the zone
// ending in the send and notes files, whose next block goes on on that line.
void writeNotesBlockLines(const BlockContent& block, Clock& clock, const BlockLineOut& out);

} // namespace drilbank
