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

// The header block of one file, line by line in the order of its layout.
std::string headerBlock(Run& run, const std::string& keyLine, const std::string& header,
                        const char* betweenDateAndTime) {
    const RunState& state = run.state;
    std::string block;
    for (const std::string& line :
         {keyLine, code(studentNameLabel + state.studentName, state.codeNbr),
          code(assignmentLabel + state.assignmentNumber, state.codeNbr),
          code(header, state.codeNbr), initialsLabel + state.initials,
          headerDateLine(run.platform.clock(), betweenDateAndTime)}) {
        block += line + "\r\n";
    }
    return block;
}

// The presentation mode and both header blocks are fixed before any file step, so that a
// folder that cannot be reached takes nothing from the run: the headers then go first into
// their files with the first click that records there.
void positionAndWriteHeaders(Run& run) {
    RunState& state = run.state;
    RecordFiles& files = run.platform.files();
    const std::string header = findAssignmentHeader(state);
    state.presentationMode = 1;
    const std::string keyLine = makeCodeLine(state.codeNbr, run.platform.random());
    const std::string masterHeader = headerBlock(run, keyLine, header, "");
    const std::string sendHeader = headerBlock(run, keyLine, header, " ");
    const auto holdHeaders = [&] {
        files.holdHeader(state.masterFilePath, masterHeader);
        files.holdHeader(state.sendFilePath, sendHeader);
    };
    try {
        // A click that a kill or a fault left unfinished is completed before anything is added.
        files.recover(state.workDir);

        files.close(masterChannel);
        files.open(masterChannel, state.masterFilePath, ChannelMode::Append);
        files.close(masterChannel);

        checkAssignmentRange(state);

        holdHeaders();
        files.open(masterChannel, state.masterFilePath, ChannelMode::Append);
        files.open(sendChannel, state.sendFilePath, ChannelMode::Append);
        files.close({masterChannel, sendChannel});
    } catch (...) {
        holdHeaders();
        throw;
    }
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
