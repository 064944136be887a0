#include "reading/RecordDates.h"

namespace drilbank {
namespace {

// The value of `count` digits at `at`, or -1 when one of them is not a digit.
int digitsAt(std::string_view text, std::size_t at, std::size_t count) {
    int value = 0;
    for (std::size_t index = at; index < at + count; ++index) {
        const char c = text[index];
        if (c < '0' || c > '9') {
            return -1;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace

std::optional<std::chrono::year_month_day> readDateText(std::string_view text) {
    if (text.size() != dateTextLength || text[2] != '-' || text[5] != '-') {
        return std::nullopt;
    }
    const int month = digitsAt(text, 0, 2);
    const int day = digitsAt(text, 3, 2);
    const int year = digitsAt(text, 6, 4);
    if (month < 0 || day < 0 || year < 0) {
        return std::nullopt;
    }
    const std::chrono::year_month_day date{std::chrono::year(year),
                                           std::chrono::month(static_cast<unsigned>(month)),
                                           std::chrono::day(static_cast<unsigned>(day))};
    if (!date.ok()) {
        return std::nullopt;
    }
    return date;
}

std::optional<int> readTimeText(std::string_view text) {
    if (text.size() != timeTextLength || text[2] != ':' || text[5] != ':') {
        return std::nullopt;
    }
    const int hours = digitsAt(text, 0, 2);
    const int minutes = digitsAt(text, 3, 2);
    const int seconds = digitsAt(text, 6, 2);
    if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59 || seconds < 0 || seconds > 59) {
        return std::nullopt;
    }
    return (hours * 60 + minutes) * 60 + seconds;
}

std::string isoDate(std::chrono::year_month_day date) {
    // Written out by hand: a class has millions of rows, and a formatted print is slow.
    std::string text = "0000-00-00";
    const auto put = [&](std::size_t end, unsigned value, int digits) {
        for (int digit = 0; digit < digits; ++digit, value /= 10) {
            text[end - static_cast<std::size_t>(digit)] = static_cast<char>('0' + value % 10);
        }
    };
    put(3, static_cast<unsigned>(static_cast<int>(date.year())), 4);
    put(6, static_cast<unsigned>(date.month()), 2);
    put(9, static_cast<unsigned>(date.day()), 2);
    return text;
}

} // namespace drilbank
