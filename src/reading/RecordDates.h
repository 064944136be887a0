#pragma once

#include "format/RecordFormat.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace drilbank {

namespace datetext {

// The value of the two digits at `at`, or -1 when either is not a digit.
inline int twoDigitsAt(std::string_view text, std::size_t at) {
    const unsigned tens = static_cast<unsigned char>(text[at]) - unsigned{'0'};
    const unsigned units = static_cast<unsigned char>(text[at + 1]) - unsigned{'0'};
    return tens > 9 || units > 9 ? -1 : static_cast<int>(tens * 10 + units);
}

} // namespace datetext

// The record files' date (MM-DD-YYYY) and time (HH:MM:SS, 24-hour clock) texts, read back.
// Inline: every block of a class has one or two, read where the length is already known.
inline std::optional<std::chrono::year_month_day> readDateText(std::string_view text) {
    using datetext::twoDigitsAt;
    if (text.size() != dateTextLength || text[2] != '-' || text[5] != '-') {
        return std::nullopt;
    }
    const int month = twoDigitsAt(text, 0);
    const int day = twoDigitsAt(text, 3);
    const int century = twoDigitsAt(text, 6);
    const int yearOfCentury = twoDigitsAt(text, 8);
    if (month < 0 || day < 0 || century < 0 || yearOfCentury < 0) {
        return std::nullopt;
    }
    const std::chrono::year_month_day date{std::chrono::year(century * 100 + yearOfCentury),
                                           std::chrono::month(static_cast<unsigned>(month)),
                                           std::chrono::day(static_cast<unsigned>(day))};
    if (!date.ok()) {
        return std::nullopt;
    }
    return date;
}

// Seconds since midnight.
inline std::optional<int> readTimeText(std::string_view text) {
    using datetext::twoDigitsAt;
    if (text.size() != timeTextLength || text[2] != ':' || text[5] != ':') {
        return std::nullopt;
    }
    const int hours = twoDigitsAt(text, 0);
    const int minutes = twoDigitsAt(text, 3);
    const int seconds = twoDigitsAt(text, 6);
    if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59 || seconds < 0 || seconds > 59) {
        return std::nullopt;
    }
    return (hours * 60 + minutes) * 60 + seconds;
}

// YYYY-MM-DD, the form a spreadsheet sorts.
std::string isoDate(std::chrono::year_month_day date);

} // namespace drilbank
