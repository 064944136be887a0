#include "pictures/PictureTools.h"

#include "os/Failure.h"

namespace drilbank {

void copyPictureClicked(Run& run) {
    run.platform.putPictureOnClipboard(PictureArea::Picture1);
    run.platform.takePictureFromClipboard(PictureArea::Picture2);
}

void pendExpClicked(Run& run) {
    run.platform.setTimerEnabled(true);
}

void pendulumTimerTicked(Run& run) {
    run.platform.beep();
    const float radius = 500.0f * run.platform.random().next();
    run.platform.drawCircle(PictureArea::Picture1, 500.0f, 500.0f, radius);
}

} // namespace drilbank
