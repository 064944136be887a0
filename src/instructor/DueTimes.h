#pragma once

#include "instructor/Moments.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace drilbank::instructor {

// The due times of --due: YYYY-MM-DDTHH:MM for every assignment, NNN=YYYY-MM-DDTHH:MM for one.
// A due time is given to the minute, and that minute is still on time: an answer recorded at
// 17:00:59 for a due time of 17:00 is on time, one at 17:01:00 late. An assignment is named
// by its number, compared as a number: 7, 07 and 007 are the same assignment.
class DueTimes {
public:
    // Nothing, with the reason in `error`, when a value is not one of the two forms or names
    // an assignment (or every assignment) twice.
    static std::optional<DueTimes> parse(const std::vector<std::string>& values,
                                         std::string& error);

    bool empty() const { return !every_ && byAssignment_.empty(); }

    // The due time of an assignment as the header gives it ("001"), or noMoment.
    Moment dueOf(std::string_view assignment) const;
    // Whether a response or note recorded at `moment` for `assignment` is late; nothing when
    // no due time applies (or the moment is not known).
    std::optional<bool> late(std::string_view assignment, Moment moment) const {
        const Moment due = dueOf(assignment);
        if (due == noMoment || moment == noMoment) {
            return std::nullopt;
        }
        return moment >= due + 60;
    }

    // The assignments named one by one, as three digits ("007"), with their due times.
    const std::map<std::string, Moment>& named() const { return byAssignment_; }
    Moment forEvery() const { return every_.value_or(noMoment); }

private:
    std::optional<Moment> every_;
    std::map<std::string, Moment> byAssignment_; // by the number as three digits
    mutable std::string last_;                   // the assignment last asked for, and its time
    mutable Moment lastDue_ = noMoment;
};

// An assignment number as three digits or more ("7" and "007" give "007"); the text itself
// when it is not a number.
std::string paddedAssignment(std::string_view number);

} // namespace drilbank::instructor
