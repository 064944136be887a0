#pragma once

#include "run/Run.h"

namespace drilbank {

// "Enter Response": records the answer box as a response block in the master and send files.
void enterResponseClicked(Run& run);

} // namespace drilbank
