#pragma once

#include "os/Clock.h"

namespace drilbank {

// The machine's local time.
class SystemClock final : public Clock {
public:
    std::string dateText() override;
    std::string timeText() override;
    float secondsSinceMidnight() override;
};

} // namespace drilbank
