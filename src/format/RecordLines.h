#pragma once

#include "os/Clock.h"

#include <string>
#include <string_view>

namespace drilbank {

// The record files' lines that are made of numbers, dates and times, and the header block,
// line by line in the order of its layout. Lines that read the clock read it afresh.

// A number item: plain decimal with a space before it (the minus sign instead when the value
// is negative) and a space after it: " 70003 ", " 10002.5 ", "-4 ".
std::string numberItem(double value);

// 36 spaces and the time; the date-time line has the date and, with no space, the time.
std::string timeLine(Clock& clock);
std::string dateTimeLine(Clock& clock);

// Two empty lines, then the tag and the question number as a number item.
std::string questionNumberLine(double questionNumber);

// The header's last line: the label, the date, `between` ("" in the master file, one blank in
// the send file) and the time, each read from the clock as it is written.
std::string headerDateLine(Clock& clock, std::string_view between);

// Typed text as a record file stores it: each of its lines (after a CR, an LF or both) that
// begins with the closing rule's 49 full stops has the first stored as typedFullStop, so that
// no typed text can end its block; nothing else changes.
std::string storedTypedText(std::string_view text);

// What a run's header block says, before coding.
struct HeaderFields {
    std::string keyLine;
    std::string studentName;
    std::string assignmentNumber;
    std::string assignmentHeader;
    std::string initials;
};

// The header block of one file, each line ended by CR LF; `between` as for headerDateLine.
std::string headerBlock(const HeaderFields& fields, float codeNbr, Clock& clock,
                        std::string_view between);

} // namespace drilbank
