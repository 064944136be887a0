#include "record/SaveAsNotes.h"

#include "record/RecordAnswer.h"
#include "record/RecordBlocks.h"
#include "record/RecordChannels.h"

namespace drilbank {
namespace {

// The notes block to the master, send and notes files. Closing the channels first frees
// any that the query coder left open.
void appendNotesBlocks(Run& run, const std::string& notesText) {
    const RunState& state = run.state;
    RecordFiles& files = run.platform.files();
    const auto channels = {masterChannel, sendChannel, notesChannel};
    usingChannels(files, channels, [&] {
        files.close(channels);
        files.open(masterChannel, state.masterFilePath, ChannelMode::Append);
        files.open(sendChannel, state.sendFilePath, ChannelMode::Append);
        files.open(notesChannel, state.notesFilePath, ChannelMode::Append);
        writeNotesBlock(run, notesText);
    });
}

} // namespace

void saveAsNotesClicked(Run& run) {
    recordAnswer(run, notesMarker, &appendNotesBlocks);
}

} // namespace drilbank
