// The reader and the navigation buttons over any script: no crash, the cursor never leaves
// the store, and the question box only ever grows at its end.
#include "os/Failure.h"
#include "script/NextQuestion.h"
#include "support/FakePlatform.h"
#include "window/Handler.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    drilbank::testing::FakePlatform platform;
    drilbank::Run run(platform);
    drilbank::RunState& state = run.state;
    state.presentationMode = 1;
    state.questionSeparator = " <-<-<-<-  Q/A:   ";
    state.assignmentNumber = "001";
    state.nextAssignmentNumber = "002";
    // The first byte picks where the script sits, so that its end can meet slot 5000.
    std::size_t slot = data[0] % 2 == 0 ? 1 : drilbank::lastScriptSlot - 8;
    std::size_t start = 0;
    while (start <= bytes.size() && slot <= drilbank::lastScriptSlot) {
        const std::size_t end = std::min(bytes.find('\n', start), bytes.size());
        state.scriptLines[slot++] = bytes.substr(start, end - start);
        start = end + 1;
    }
    state.scriptIndex = data[0] % 2 == 0 ? 0 : drilbank::lastScriptSlot - 9;
    for (int click = 0; click < 64; ++click) {
        const std::string shown = platform.question;
        const bool picture = (data[click % size] & 3) == 0;
        if (!drilbank::runHandler(run, picture ? &drilbank::nextPictureClicked
                                               : &drilbank::nextQuestionClicked)) {
            break;
        }
        if (state.scriptIndex < 0 || state.scriptIndex > drilbank::lastScriptSlot ||
            platform.question.compare(0, shown.size(), shown) != 0) {
            std::abort();
        }
    }
    return 0;
}
