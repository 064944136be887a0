#include "instructor/DueTimes.h"

#include <cstdio>

namespace drilbank::instructor {
namespace {

bool allDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// YYYY-MM-DDTHH:MM, a real date and time of day.
std::optional<Moment> readDue(std::string_view text) {
    if (text.size() != 16 || text[4] != '-' || text[7] != '-' || text[10] != 'T' ||
        text[13] != ':' || !allDigits(text.substr(0, 4)) || !allDigits(text.substr(5, 2)) ||
        !allDigits(text.substr(8, 2)) || !allDigits(text.substr(11, 2)) ||
        !allDigits(text.substr(14, 2))) {
        return std::nullopt;
    }
    const Moment day = RowMoments::dayOf(text.substr(0, 10));
    const int hours = std::stoi(std::string(text.substr(11, 2)));
    const int minutes = std::stoi(std::string(text.substr(14, 2)));
    if (day == noMoment || hours > 23 || minutes > 59) {
        return std::nullopt;
    }
    return day + (hours * 60 + minutes) * 60;
}

} // namespace

std::string paddedAssignment(std::string_view number) {
    const std::size_t start = number.find_first_not_of(' ');
    number = start == std::string_view::npos ? std::string_view() : number.substr(start);
    if (!allDigits(number)) {
        return std::string(number);
    }
    const std::size_t nonZero = number.find_first_not_of('0');
    std::string digits(nonZero == std::string_view::npos ? "0" : number.substr(nonZero));
    if (digits.size() < 3) {
        digits.insert(0, 3 - digits.size(), '0');
    }
    return digits;
}

std::optional<DueTimes> DueTimes::parse(const std::vector<std::string>& values,
                                        std::string& error) {
    DueTimes times;
    for (const std::string& value : values) {
        const std::size_t equals = value.find('=');
        const std::string_view when = equals == std::string::npos
                                          ? std::string_view(value)
                                          : std::string_view(value).substr(equals + 1);
        const std::optional<Moment> due = readDue(when);
        const std::string_view assignment = equals == std::string::npos
                                                ? std::string_view()
                                                : std::string_view(value).substr(0, equals);
        if (!due || (equals != std::string::npos && !allDigits(assignment))) {
            error = "--due " + value +
                    ": give YYYY-MM-DDTHH:MM for every assignment or NNN=YYYY-MM-DDTHH:MM for "
                    "assignment NNN (a real date, a 24-hour time)";
            return std::nullopt;
        }
        if (equals == std::string::npos) {
            if (times.every_) {
                error = "--due for every assignment is given twice";
                return std::nullopt;
            }
            times.every_ = *due;
        } else if (!times.byAssignment_.emplace(paddedAssignment(assignment), *due).second) {
            error = "--due for assignment " + paddedAssignment(assignment) + " is given twice";
            return std::nullopt;
        }
    }
    return times;
}

Moment DueTimes::dueOf(std::string_view assignment) const {
    if (byAssignment_.empty()) {
        return every_.value_or(noMoment);
    }
    if (assignment != last_) {
        last_.assign(assignment);
        const auto found = byAssignment_.find(paddedAssignment(assignment));
        lastDue_ = found != byAssignment_.end() ? found->second : every_.value_or(noMoment);
    }
    return lastDue_;
}

std::string momentText(Moment moment) {
    if (moment == noMoment) {
        return "";
    }
    const Moment days = moment >= 0 ? moment / 86400 : (moment - 86399) / 86400;
    const int seconds = static_cast<int>(moment - days * 86400);
    const std::chrono::year_month_day date{std::chrono::sys_days(std::chrono::days(days))};
    const int year = static_cast<int>(date.year());
    if (year < 0 || year > 9999) { // past what a record's date can say: written as ever
        char text[40];
        std::snprintf(text, sizeof text, "%04d-%02u-%02u %02d:%02d:%02d", year,
                      static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                      seconds / 3600, seconds / 60 % 60, seconds % 60);
        return text;
    }
    // Written digit by digit: a report writes tens of thousands of times, and the library's
    // formatting cost more than the rest of a time's writing.
    std::string text = "0000-00-00 00:00:00";
    const auto put = [&text](std::size_t at, int value, int width) {
        for (int digit = width - 1; digit >= 0; --digit, value /= 10) {
            text[at + static_cast<std::size_t>(digit)] = static_cast<char>('0' + value % 10);
        }
    };
    put(0, year, 4);
    put(5, static_cast<int>(static_cast<unsigned>(date.month())), 2);
    put(8, static_cast<int>(static_cast<unsigned>(date.day())), 2);
    put(11, seconds / 3600, 2);
    put(14, seconds / 60 % 60, 2);
    put(17, seconds % 60, 2);
    return text;
}

std::string minuteText(Moment moment) {
    return momentText(moment).substr(0, 16);
}

} // namespace drilbank::instructor
