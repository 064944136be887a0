#include "record/RecordBlocks.h"

#include "encoding/NumberReading.h"
#include "files/RecordFiles.h"
#include "format/RecordBlockLines.h"

namespace drilbank {
namespace {

// The block's lines go to the open channels as they are made, so each time line holds the
// time its line was written.
void writeBlock(Run& run, const std::string& text,
                void (*writeLines)(const BlockContent&, Clock&, const BlockLineOut&)) {
    const RunState& state = run.state;
    RecordFiles& files = run.platform.files();
    const BlockContent block{questionNumber(state), state.currentLine, text, state.codeNbr};
    writeLines(block, run.platform.clock(),
               [&](int channel, std::string_view line, LineEnding ending) {
                   files.writeLine(channel, line, ending);
               });
}

} // namespace

double questionNumber(const RunState& state) {
    return leadingNumber(state.assignmentNumber) * 10000.0 + leadingNumber(state.currentQuestion);
}

void writeResponseBlock(Run& run, const std::string& response) {
    writeBlock(run, response, writeResponseBlockLines);
}

void writeNotesBlock(Run& run, const std::string& notesText) {
    writeBlock(run, notesText, writeNotesBlockLines);
}

} // namespace drilbank
