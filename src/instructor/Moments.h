#pragma once

#include "reading/RecordDates.h"

#include <chrono>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace drilbank::instructor {

// A moment as the record files tell it: seconds since 1970-01-01 00:00:00 of the local clock
// of the computer that wrote them (the files carry no time zone; nor does a due time).
using Moment = std::int64_t;
constexpr Moment noMoment = std::numeric_limits<Moment>::min();

inline Moment momentOf(std::chrono::year_month_day date, int secondsOfDay) {
    return std::int64_t{std::chrono::sys_days(date).time_since_epoch().count()} * 86400 +
           secondsOfDay;
}

// The moment of a row: its date YYYY-MM-DD and time HH:MM:SS; noMoment when either is not
// one. The date is read again only when it changes: a run's rows share theirs.
class RowMoments {
public:
    Moment of(std::string_view isoDate, std::string_view time) {
        if (isoDate != date_) {
            date_.assign(isoDate);
            day_ = dayOf(isoDate);
        }
        const std::optional<int> seconds = readTimeText(time);
        if (day_ == noMoment || !seconds) {
            return noMoment;
        }
        return day_ + *seconds;
    }

    // The first second of the day YYYY-MM-DD, or noMoment.
    static Moment dayOf(std::string_view isoDate) {
        if (isoDate.size() != 10 || isoDate[4] != '-' || isoDate[7] != '-') {
            return noMoment;
        }
        // As the record files write it, MM-DD-YYYY, to be read by the reading's own rule.
        const std::string recordForm = std::string(isoDate.substr(5, 2)) + "-" +
                                       std::string(isoDate.substr(8, 2)) + "-" +
                                       std::string(isoDate.substr(0, 4));
        const auto date = readDateText(recordForm);
        return date ? momentOf(*date, 0) : noMoment;
    }

private:
    std::string date_ = "-";
    Moment day_ = noMoment;
};

// "YYYY-MM-DD HH:MM:SS", or "" for noMoment.
std::string momentText(Moment moment);
// "YYYY-MM-DD HH:MM".
std::string minuteText(Moment moment);

} // namespace drilbank::instructor
