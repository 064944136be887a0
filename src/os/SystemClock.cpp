#include "os/SystemClock.h"

#include "os/LocalTime.h"

#include <cstdio>

namespace drilbank {
namespace {

std::string formatted(const char* format, int first, int second, int third) {
    char text[32];
    const int length = std::snprintf(text, sizeof text, format, first, second, third);
    return std::string(text, static_cast<std::size_t>(length));
}

} // namespace

std::string SystemClock::dateText() {
    const LocalTime now = localTimeNow();
    return formatted("%02d-%02d-%04d", now.month, now.day, now.year);
}

std::string SystemClock::timeText() {
    const LocalTime now = localTimeNow();
    return formatted("%02d:%02d:%02d", now.hour, now.minute, now.second);
}

float SystemClock::secondsSinceMidnight() {
    const LocalTime now = localTimeNow();
    return static_cast<float>(now.hour * 3600 + now.minute * 60 + now.second) +
           static_cast<float>(now.millisecond) / 1000.0f;
}

} // namespace drilbank
