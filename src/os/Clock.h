#pragma once

#include <string>

namespace drilbank {

class Clock {
public:
    virtual ~Clock() = default;
    virtual std::string dateText() = 0; // MM-DD-YYYY
    virtual std::string timeText() = 0; // HH:MM:SS, 24-hour clock
    virtual float secondsSinceMidnight() = 0;
};

} // namespace drilbank
