#include "startup/OpenAssignment.h"

#include "encoding/NumberReading.h"
#include "format/LineCode.h"
#include "format/RecordLines.h"
#include "handling/FailureMessages.h"
#include "os/Failure.h"
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

// The presentation mode and both header blocks are fixed before any file step, so that a
// folder that cannot be reached takes nothing from the run: the headers then go first into
// their files with the first click that records there.
void positionAndWriteHeaders(Run& run) {
    RunState& state = run.state;
    RecordFiles& files = run.platform.files();
    const std::string header = findAssignmentHeader(state);
    // The assignment is known: the student sees the form while its files are made ready. A
    // run that cannot start ends before the form is ever seen.
    run.platform.showForm();
    state.presentationMode = 1;
    const std::string keyLine = makeCodeLine(state.codeNbr, run.platform.random());
    const HeaderFields fields{keyLine, state.studentName, state.assignmentNumber, header,
                              state.initials};
    const std::string masterHeader = headerBlock(fields, state.codeNbr, run.platform.clock(), "");
    const std::string sendHeader = headerBlock(fields, state.codeNbr, run.platform.clock(), " ");
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
