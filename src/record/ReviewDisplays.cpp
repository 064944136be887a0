#include "record/ReviewDisplays.h"

#include "handling/FailureMessages.h"
#include "handling/RecordPlaces.h"
#include "handling/TypedWorkGuard.h"
#include "os/Failure.h"
#include "record/RecordBlocks.h"
#include "record/RecordChannels.h"
#include "texts/StudentTexts.h"

namespace drilbank {

namespace {

// The newest bytes of a text, after a line saying where the rest is when any was left out.
std::string newestPart(const std::string& text, std::size_t bound, const std::string& restLine) {
    if (text.size() <= bound) {
        return text;
    }
    return restLine + text.substr(text.size() - bound);
}

// The notes file's lines joined; of a large file only its newest part, from a line start.
// Gives whether older lines were left out.
bool readNewestNotes(RecordFiles& files, const std::string& notesFilePath, std::string& joined) {
    files.close(notesChannel);
    files.open(notesChannel, notesFilePath, ChannelMode::Input);
    const std::uint64_t size = files.inputSize(notesChannel);
    const bool cut = size > shownNotesBytes;
    if (cut) {
        // Two bytes earlier, so that a cut that falls on a line start keeps that line.
        files.seekInput(notesChannel, size - shownNotesBytes - 2);
        files.readLine(notesChannel);
    }
    while (!files.atEndOfFile(notesChannel)) {
        joined += files.readLine(notesChannel);
    }
    return cut;
}

} // namespace

void displayNotesClicked(Run& run) {
    RunState& state = run.state;
    RecordFiles& files = run.platform.files();
    std::string notes;
    bool cut = false;
    try {
        usingChannels(files, {notesChannel},
                      [&] { cut = readNewestNotes(files, state.notesFilePath, notes); });
    } catch (const Failure& fault) {
        if (fault.number() == failure::FileNotFound) {
            run.platform.messageBox(noNotesMessage);
        } else {
            showGeneralError(run, fault);
        }
        return;
    }
    const std::string restLine = olderNotesLine(placeOf(run, state.notesFilePath));
    const std::string box =
        run.platform.questionText() + state.workText + (cut ? restLine : "") + notes;
    state.workText = newestPart(state.workText + notes, questionBoxBytes, "");
    // The newest note, at the end, is the one in view.
    const std::string shown = newestPart(box, questionBoxBytes, restLine);
    showInQuestionBox(run, shown, shown.size());
}

void displayEverythingClicked(Run& run) {
    if (!mayDiscardTypedWork(run, GuardedAction::DisplayEverything)) {
        return;
    }
    const std::string& transcript = run.state.cumulativeText;
    if (transcript.size() <= questionBoxBytes) {
        showInQuestionBox(run, transcript, 0);
        return;
    }
    // The newest entries come first, so the oldest are the ones left out.
    showInQuestionBox(run,
                      transcript.substr(0, questionBoxBytes) +
                          olderEntriesLine(placeOf(run, run.state.masterFilePath)),
                      0);
}

void clearBoxClicked(Run& run) {
    if (mayDiscardTypedWork(run, GuardedAction::ClearBox)) {
        run.platform.setAnswerText("");
    }
}

} // namespace drilbank
