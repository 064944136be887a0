#pragma once

namespace drilbank {

// The machine's local date and time of day, read once so that every field belongs to the
// same moment: a second read could fall in the next second, or past midnight.
struct LocalTime {
    int year = 0;
    int month = 0; // 1 to 12
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

LocalTime localTimeNow();

} // namespace drilbank
