#include "startup/OpenAssignment.h"

#include "coding/LineCode.h"
#include "handling/FailureMessages.h"
#include "platform/Failure.h"
#include "platform/NumberReading.h"
#include "record/RecordBlocks.h"
#include "script/ScriptStore.h"

#include <cmath>

namespace drilbank {

namespace {

// Leaves the cursor on the header line and gives that line.
std::string findAssignmentHeader(RunState& state) {
    state.scriptIndex = 0;
    std::string header;
    const std::string wanted = state.assignmentNumber + ".";
    while (leftOf(header, 4) != wanted) {
        ++state.scriptIndex;
        header = state.scriptLines[checkedSlot(state.scriptIndex)];
    }
    return header;
}

void checkAssignmentRange(const RunState& state) {
    const double number = std::nearbyint(leadingNumber(state.assignmentNumber));
    if (number < 0 || number > 100) {
        throw Failure(failure::IndexOutOfRange);
    }
}

void writeHeaderBlock(Run& run, int channel, const std::string& keyLine, const std::string& header,
                      const char* betweenDateAndTime) {
    const RunState& state = run.state;
    RecordFiles& files = run.platform.files();
    files.writeLine(channel, keyLine);
    files.writeLine(channel, code(studentNameLabel + state.studentName, state.codeNbr));
    files.writeLine(channel, code(assignmentLabel + state.assignmentNumber, state.codeNbr));
    files.writeLine(channel, code(header, state.codeNbr));
    files.writeLine(channel, initialsLabel + state.initials);
    files.writeLine(channel, headerDateLine(run.platform.clock(), betweenDateAndTime));
}

void positionAndWriteHeaders(Run& run) {
    RunState& state = run.state;
    RecordFiles& files = run.platform.files();
    const std::string header = findAssignmentHeader(state);
    // A click that a kill or a fault left unfinished is completed before anything is added.
    files.recover(state.workDir);
    state.presentationMode = 1;

    files.close(masterChannel);
    files.open(masterChannel, state.masterFilePath, ChannelMode::Append);
    files.close(masterChannel);

    checkAssignmentRange(state);

    files.open(masterChannel, state.masterFilePath, ChannelMode::Append);
    files.open(sendChannel, state.sendFilePath, ChannelMode::Append);
    const std::string keyLine = makeCodeLine(state.codeNbr, run.platform.random());
    writeHeaderBlock(run, masterChannel, keyLine, header, "");
    writeHeaderBlock(run, sendChannel, keyLine, header, " ");
    files.close({masterChannel, sendChannel});
}

} // namespace

void openAssignment(Run& run) {
    try {
        positionAndWriteHeaders(run);
    } catch (const RunEnded&) {
        throw;
    } catch (...) {
        const Failure fault = currentFailure();
        // A channel left open here would make every later recording click fail as
        // "file already open", so both are closed before the run goes on.
        try {
            run.platform.files().closeAll();
        } catch (...) {
        }
        reportFailure(run, fault);
    }
}

} // namespace drilbank
