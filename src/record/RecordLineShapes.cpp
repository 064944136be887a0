#include "record/RecordLineShapes.h"

#include "coding/LineCode.h"
#include "platform/NumberReading.h"
#include "record/RecordBlocks.h"
#include "record/RecordDates.h"
#include "record/RecordFormat.h"

#include <charconv>

namespace drilbank {
namespace {

// Hands back the texts a line was made from, so that the writer's own formatting can remake
// the line: what it gives must be the line as read, or the line is not one it writes.
class ReplayClock final : public Clock {
public:
    ReplayClock(std::string_view date, std::string_view time) : date_(date), time_(time) {}
    std::string dateText() override { return date_; }
    std::string timeText() override { return time_; }
    float secondsSinceMidnight() override { return 0; }

private:
    std::string date_;
    std::string time_;
};

std::size_t timeIndentLength() {
    ReplayClock empty("", "");
    static const std::size_t length = timeLine(empty).size();
    return length;
}

} // namespace

std::optional<std::string> timeOfTimeLine(std::string_view text) {
    const std::size_t indent = timeIndentLength();
    if (text.size() != indent + timeTextLength) {
        return std::nullopt;
    }
    const std::string_view time = text.substr(indent);
    ReplayClock clock("", time);
    if (!readTimeText(time) || timeLine(clock) != text) {
        return std::nullopt;
    }
    return std::string(time);
}

std::optional<std::string> dateOfDateTimeLine(std::string_view text) {
    const std::size_t indent = timeIndentLength();
    if (text.size() != indent + dateTextLength + timeTextLength) {
        return std::nullopt;
    }
    const std::string_view date = text.substr(indent, dateTextLength);
    const std::string_view time = text.substr(indent + dateTextLength);
    ReplayClock clock(date, time);
    if (!readDateText(date) || !readTimeText(time) || dateTimeLine(clock) != text) {
        return std::nullopt;
    }
    return std::string(date);
}

// The number of a question-number line as plain text, when the line is one the writer makes.
std::optional<std::string> questionNumberOf(std::string_view text) {
    if (!text.starts_with(questionNumberTag)) {
        return std::nullopt;
    }
    const std::string_view item = text.substr(std::string_view(questionNumberTag).size());
    if (item.size() < 3 || item.back() != ' ') {
        return std::nullopt;
    }
    const std::string_view digits = item.substr(item.front() == ' ' ? 1 : 0, item.size() - 2);
    double value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value,
                                              std::chars_format::fixed);
    if (error != std::errc() || end != digits.data() + digits.size() || numberItem(value) != item) {
        return std::nullopt;
    }
    return numberText(value);
}

bool isKeyLine(std::string_view text) {
    const std::optional<int> number = keyLineCodingNumber(text);
    return number && *number >= lowestCodeNbr && *number <= highestCodeNbr;
}

bool isHeaderDateLine(std::string_view text, std::string_view date, std::string_view time,
                      const std::string& between) {
    ReplayClock clock(date, time);
    return readDateText(date) && readTimeText(time) && headerDateLine(clock, between) == text;
}

} // namespace drilbank
