#include "platform/SystemClock.h"

#include <chrono>
#include <ctime>

namespace drilbank {
namespace {

std::tm localNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

std::string formatNow(const char* format) {
    const std::tm local = localNow();
    char text[32];
    const std::size_t length = std::strftime(text, sizeof text, format, &local);
    return std::string(text, length);
}

} // namespace

std::string SystemClock::dateText() {
    return formatNow("%m-%d-%Y");
}

std::string SystemClock::timeText() {
    return formatNow("%H:%M:%S");
}

float SystemClock::secondsSinceMidnight() {
    using namespace std::chrono;
    const std::tm local = localNow();
    const auto fraction =
        duration_cast<milliseconds>(system_clock::now().time_since_epoch()) % 1000;
    return static_cast<float>(local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec) +
           static_cast<float>(fraction.count()) / 1000.0f;
}

} // namespace drilbank
