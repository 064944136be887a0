#include "handling/FileNotices.h"

#include "texts/StudentTexts.h"

namespace drilbank {

void sayWhenFilesWait(Run& run) {
    PlatformServices& platform = run.platform;
    platform.files().lockWait.notice = [&platform](bool waiting) {
        platform.showWaitingNotice(waiting ? waitingForAnotherCopyNotice : "");
    };
}

void showJournalNotices(Run& run) {
    for (const RecordFiles::JournalNotice& notice : run.platform.files().takeJournalNotices()) {
        run.platform.messageBox(notice.message, notice.place);
    }
}

} // namespace drilbank
