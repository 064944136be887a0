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

std::string storedTypedText(std::string_view text) {
    const std::string_view rule = closingRule;
    std::string stored;
    std::size_t from = 0;
    for (std::size_t lineStart = 0; lineStart <= text.size();) {
        if (text.substr(lineStart, rule.size()) == rule) {
            stored.append(text.substr(from, lineStart - from)).append(typedFullStop);
            from = lineStart + 1;
        }
        const std::size_t lineBreak = text.find_first_of("\r\n", lineStart);
        if (lineBreak == std::string_view::npos) {
            break;
        }
        lineStart = lineBreak + 1;
    }
    if (from == 0) {
        return std::string(text);
    }
    return stored.append(text.substr(from));
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
