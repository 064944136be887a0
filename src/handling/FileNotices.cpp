#include "handling/FileNotices.h"

#include "texts/StudentTexts.h"

namespace drilbank {

void sayWhenFilesWait(Run& run) {
    PlatformServices& platform = run.platform;
    platform.files().lockWait.notice = [&platform](bool waiting) {
        platform.showWaitingNotice(waiting ? waitingForAnotherCopyNotice : "");
    };
}

void showSetAsideJournals(Run& run) {
    for (const std::string& place : run.platform.files().takeSetAsideJournals()) {
        run.platform.messageBox(journalSetAsideMessage, place);
    }
}

} // namespace drilbank
