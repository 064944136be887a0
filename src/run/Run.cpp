#include "run/Run.h"

#include "run/FailureMessages.h"

namespace drilbank {

Run::Run(PlatformServices& services) : platform(services) {
    platform.files().lockWait.notice = [&services](bool waiting) {
        services.showWaitingNotice(waiting ? waitingForAnotherCopyNotice : "");
    };
}

} // namespace drilbank
