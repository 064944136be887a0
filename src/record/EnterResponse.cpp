#include "record/EnterResponse.h"

#include "record/RecordAnswer.h"
#include "record/RecordBlocks.h"
#include "record/RecordChannels.h"

namespace drilbank {
namespace {

// The response block to the master and send files. Enter Response opens its channels
// without closing them first.
void appendResponseBlocks(Run& run, const std::string& response) {
    const RunState& state = run.state;
    RecordFiles& files = run.platform.files();
    usingChannels(files, {masterChannel, sendChannel}, [&] {
        files.open(masterChannel, state.masterFilePath, ChannelMode::Append);
        files.open(sendChannel, state.sendFilePath, ChannelMode::Append);
        writeResponseBlock(run, response);
    });
}

} // namespace

void enterResponseClicked(Run& run) {
    recordAnswer(run, "", &appendResponseBlocks);
}

} // namespace drilbank
