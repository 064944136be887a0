#include "record/RecordBlocks.h"

#include "encoding/NumberReading.h"
#include "files/RecordFiles.h"
#include "format/LineCode.h"
#include "format/RecordFormat.h"

#include <initializer_list>

namespace drilbank {

namespace {

// Writes one block line to each channel in turn, making the line afresh for each file: a
// time line reads the clock and a script line passes through `code` once per file.
template <typename MakeLine>
void writeToEach(RecordFiles& files, std::initializer_list<int> channels, MakeLine makeLine) {
    for (const int channel : channels) {
        files.writeLine(channel, makeLine());
    }
}

} // namespace

double questionNumber(const RunState& state) {
    return leadingNumber(state.assignmentNumber) * 10000.0 + leadingNumber(state.currentQuestion);
}

void writeResponseBlock(Run& run, const std::string& response) {
    const RunState& state = run.state;
    RecordFiles& files = run.platform.files();
    Clock& clock = run.platform.clock();
    const auto both = {masterChannel, sendChannel};
    const auto masterOnly = {masterChannel};

    writeToEach(files, both, [] { return openingRule; });
    writeToEach(files, both, [&] { return timeLine(clock); });
    writeToEach(files, masterOnly,
                [&] { return questionNumberLine(questionNumber(state)); }); // lines 3 to 5
    writeToEach(files, both, [&] { return code(state.currentLine, state.codeNbr); });
    writeToEach(files, both, [] { return openingRule; });
    writeToEach(files, both, [] { return responseMarker; });
    writeToEach(files, both, [&] { return storedTypedText(code(response, state.codeNbr)); });
    writeToEach(files, both, [] { return closingRule; });
}

void writeNotesBlock(Run& run, const std::string& notesText) {
    const RunState& state = run.state;
    RecordFiles& files = run.platform.files();
    Clock& clock = run.platform.clock();
    const auto all = {masterChannel, sendChannel, notesChannel};

    writeToEach(files, all, [] { return openingRule; });
    writeToEach(files, all, [&] { return timeLine(clock); });
    writeToEach(files, all, [&] { return dateTimeLine(clock); });
    writeToEach(files, all, [&] { return code(state.currentLine, state.codeNbr); });
    writeToEach(files, all, [] { return openingRule; });
    writeToEach(files, all, [&] { return storedTypedText(code(notesText, state.codeNbr)); });
    // The send and notes files end in the zone ending: the next block continues that line.
    files.writeLine(masterChannel, closingRule);
    files.writeLine(sendChannel, closingRule, LineEnding::NextPrintZone);
    files.writeLine(notesChannel, closingRule, LineEnding::NextPrintZone);
}

} // namespace drilbank
