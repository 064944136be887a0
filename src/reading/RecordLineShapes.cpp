#include "reading/RecordLineShapes.h"

#include "coding/LineCode.h"
#include "platform/NumberReading.h"
#include "reading/RecordDates.h"
#include "record/RecordBlocks.h"
#include "record/RecordFormat.h"

#include <charconv>
#include <cstdint>
#include <cstring>

namespace drilbank {
namespace {

// The indent of a time line, eight blanks at a time: every block has one or two.
bool indented(std::string_view text) {
    if (text.size() <= timeIndentWidth || text[timeIndentWidth] == ' ') {
        return false;
    }
    constexpr std::uint64_t blanks = 0x2020202020202020ull;
    std::uint64_t differ = 0;
    std::size_t at = 0;
    for (; at + 8 <= timeIndentWidth; at += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + at, sizeof word);
        differ |= word ^ blanks;
    }
    for (; at < timeIndentWidth; ++at) {
        differ |= static_cast<unsigned char>(text[at]) ^ 0x20u;
    }
    return differ == 0;
}

} // namespace

std::optional<std::string_view> timeOfTimeLine(std::string_view text) {
    if (text.size() != timeIndentWidth + timeTextLength || !indented(text)) {
        return std::nullopt;
    }
    const std::string_view time = text.substr(timeIndentWidth);
    if (!readTimeText(time)) {
        return std::nullopt;
    }
    return time;
}

std::optional<std::string_view> dateOfDateTimeLine(std::string_view text) {
    if (text.size() != timeIndentWidth + dateTextLength + timeTextLength || !indented(text)) {
        return std::nullopt;
    }
    const std::string_view date = text.substr(timeIndentWidth, dateTextLength);
    const std::string_view time = text.substr(timeIndentWidth + dateTextLength);
    if (!readDateText(date) || !readTimeText(time)) {
        return std::nullopt;
    }
    return date;
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
    // Most are whole numbers, which the writer writes as their plain digits.
    const bool plainWhole = item.front() == ' ' && !digits.empty() && digits.size() <= 15 &&
                            (digits.front() != '0' || digits.size() == 1) &&
                            digits.find_first_not_of("0123456789") == std::string_view::npos;
    if (plainWhole && digits != "0") {
        return std::string(digits);
    }
    double value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value,
                                              std::chars_format::fixed);
    if (error != std::errc() || end != digits.data() + digits.size() || numberItem(value) != item) {
        return std::nullopt;
    }
    return numberText(value);
}

std::optional<int> codingNumberOfKeyLine(std::string_view text) {
    const std::optional<int> number = keyLineCodingNumber(text);
    if (number && *number >= lowestCodeNbr && *number <= highestCodeNbr) {
        return number;
    }
    return std::nullopt;
}

bool isKeyLine(std::string_view text) {
    return codingNumberOfKeyLine(text).has_value();
}

bool isHeaderDateLine(std::string_view text, std::string_view date, std::string_view time,
                      const std::string& between) {
    return readDateText(date) && readTimeText(time) &&
           headerDateLineText(date, between, time) == text;
}

} // namespace drilbank
