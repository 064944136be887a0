#include "format/RecordLines.h"

#include "encoding/NumberReading.h"
#include "format/LineCode.h"
#include "format/RecordFormat.h"

namespace drilbank {

std::string numberItem(double value) {
    const std::string sign = value < 0 ? "" : " ";
    return sign + numberText(value) + " ";
}

std::string timeLine(Clock& clock) {
    return timeLineText(clock.timeText());
}

std::string dateTimeLine(Clock& clock) {
    const std::string date = clock.dateText();
    return dateTimeLineText(date, clock.timeText());
}

std::string questionNumberLine(double questionNumber) {
    return std::string("\r\n\r\n") + questionNumberTag + numberItem(questionNumber);
}

std::string headerDateLine(Clock& clock, std::string_view between) {
    const std::string date = clock.dateText();
    return headerDateLineText(date, between, clock.timeText());
}

std::string headerBlock(const HeaderFields& fields, float codeNbr, Clock& clock,
                        std::string_view between) {
    std::string block;
    for (const std::string& line :
         {fields.keyLine, code(studentNameLabel + fields.studentName, codeNbr),
          code(assignmentLabel + fields.assignmentNumber, codeNbr),
          code(fields.assignmentHeader, codeNbr), initialsLabel + fields.initials,
          headerDateLine(clock, between)}) {
        block += line + "\r\n";
    }
    return block;
}

} // namespace drilbank
