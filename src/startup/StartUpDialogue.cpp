#include "startup/StartUpDialogue.h"

#include "encoding/NumberReading.h"
#include "format/RecordFormat.h"
#include "handling/FailureMessages.h"
#include "os/Failure.h"
#include "script/BuiltInScript.h"
#include "texts/StudentTexts.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace drilbank {

const char* const localDirectory = "c:\\drilbank";
const char* const lanDirectory =
    "i:\\bkp_000416\\My Documents\\distance students\\interactive problems\\lb1";

namespace {

void deriveRecordFilePaths(Run& run) {
    RunState& state = run.state;
    std::string name = state.studentName;
    std::replace(name.begin(), name.end(), ' ', '_');
    const std::string month = run.platform.clock().dateText().substr(0, 2);
    const std::string dateForDay = run.platform.clock().dateText();
    const std::string day = dateForDay.size() > 3 ? dateForDay.substr(3, 2) : std::string();
    const std::string folder = state.workDir + "\\";
    state.masterFilePath = folder + masterFilePrefix + name + recordFileSuffix;
    state.sendFilePath = folder + sendFilePrefix + month + day + name + recordFileSuffix;
    state.notesFilePath = folder + notesFilePrefix + name + recordFileSuffix;
    run.platform.files().setStudent(name);
}

// The answer typed and confirmed with OK. Cancel or closing the box means the student wants
// to leave: the run ends before anything is written.
std::string askOrLeave(PlatformServices& platform, const char* prompt) {
    std::optional<std::string> answer = platform.inputBox(prompt);
    if (!answer) {
        endRunAtOnce();
    }
    return std::move(*answer);
}

void askAndDerive(Run& run) {
    RunState& state = run.state;
    PlatformServices& platform = run.platform;

    // Worked out in double precision: in single precision the largest draws round up to 29.
    constexpr double choices = highestCodeNbr - lowestCodeNbr + 1;
    state.codeNbr =
        static_cast<float>(std::floor(platform.random().next() * choices + lowestCodeNbr));
    for (PictureArea area : {PictureArea::Picture1, PictureArea::Picture2}) {
        platform.setPictureScale(area, 1000.0f, 1000.0f);
    }

    const std::string homeOrLan = askOrLeave(platform, homeOrLanPrompt);
    state.workDir = mustBeNumber(homeOrLan) == 2.0 ? lanDirectory : localDirectory;
    state.studentName = askOrLeave(platform, namePrompt);
    state.initials = askOrLeave(platform, initialsPrompt);
    deriveRecordFilePaths(run);
    state.assignmentNumber = askOrLeave(platform, assignmentPrompt);

    state.answerPrompt = answerPromptText();
    state.questionSeparator = questionSeparatorText;
    state.answerSeparator = answerSeparatorText;

    state.assignmentNumber = padAssignmentNumber(state.assignmentNumber);
    state.nextAssignmentNumber = followingAssignmentNumber(state.assignmentNumber);

    state.scriptIndex = 0;
    storeBuiltInScript(run.state);
}

} // namespace

std::string padAssignmentNumber(const std::string& number) {
    if (number.size() == 1) {
        return "00" + number;
    }
    if (number.size() == 2) {
        return "0" + number;
    }
    return number;
}

std::string followingAssignmentNumber(const std::string& paddedNumber) {
    return padAssignmentNumber(numberText(leadingNumber(paddedNumber) + 1.0));
}

void startUpDialogue(Run& run) {
    run.platform.random().seed(run.platform.clock().secondsSinceMidnight());
    try {
        run.platform.files().createDirectory(localDirectory);
    } catch (...) {
        // An existing directory or a missing drive is no reason to stop.
    }
    reportingFailures(run, &askAndDerive);
}

} // namespace drilbank
