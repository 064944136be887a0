#pragma once

#include "format/RecordFormat.h"
#include "reading/RecordDates.h"

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace drilbank {

// Each recognises a line by the record format's own texts and the writer's own formatting,
// so that the reader and the writer cannot drift apart.

namespace lineshapes {

// The indent of a time line, eight blanks at a time, the last eight overlapping those before.
inline bool indented(std::string_view text) {
    static_assert(timeIndentWidth >= 8);
    if (text.size() <= timeIndentWidth || text[timeIndentWidth] == ' ') {
        return false;
    }
    constexpr std::uint64_t blanks = 0x2020202020202020ull;
    const auto differs = [&](std::size_t at) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + at, sizeof word);
        return word ^ blanks;
    };
    std::uint64_t differ = differs(timeIndentWidth - 8);
    for (std::size_t at = 0; at + 8 < timeIndentWidth; at += 8) {
        differ |= differs(at);
    }
    return differ == 0;
}

} // namespace lineshapes

// The time of a block's time line, as part of the line's text. Inline, as the date and time
// texts are: every block has one or two, looked at where their length is already known.
inline std::optional<std::string_view> timeOfTimeLine(std::string_view text) {
    if (text.size() != timeIndentWidth + timeTextLength || !lineshapes::indented(text)) {
        return std::nullopt;
    }
    const std::string_view time = text.substr(timeIndentWidth);
    if (!readTimeText(time)) {
        return std::nullopt;
    }
    return time;
}

// The date of a notes block's date-time line, as part of the line's text.
inline std::optional<std::string_view> dateOfDateTimeLine(std::string_view text) {
    if (text.size() != timeIndentWidth + dateTextLength + timeTextLength ||
        !lineshapes::indented(text)) {
        return std::nullopt;
    }
    const std::string_view date = text.substr(timeIndentWidth, dateTextLength);
    const std::string_view time = text.substr(timeIndentWidth + dateTextLength);
    if (!readDateText(date) || !readTimeText(time)) {
        return std::nullopt;
    }
    return date;
}
// The number of a question-number line as plain text.
std::optional<std::string> questionNumberOf(std::string_view text);
// A header's date line with the date and time read from it.
bool isHeaderDateLine(std::string_view text, std::string_view date, std::string_view time,
                      std::string_view between);
// A key line whose coding number is one that start-up draws, and that number.
bool isKeyLine(std::string_view text);
std::optional<int> codingNumberOfKeyLine(std::string_view text);

} // namespace drilbank
