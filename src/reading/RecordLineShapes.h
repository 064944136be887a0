#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace drilbank {

// Each recognises a line by the record format's own texts and the writer's own formatting,
// so that the reader and the writer cannot drift apart.

// The time of a block's time line, as part of the line's text.
std::optional<std::string_view> timeOfTimeLine(std::string_view text);
// The date of a notes block's date-time line, as part of the line's text.
std::optional<std::string_view> dateOfDateTimeLine(std::string_view text);
// The number of a question-number line as plain text.
std::optional<std::string> questionNumberOf(std::string_view text);
// A header's date line with the date and time read from it.
bool isHeaderDateLine(std::string_view text, std::string_view date, std::string_view time,
                      const std::string& between);
// A key line whose coding number is one that start-up draws, and that number.
bool isKeyLine(std::string_view text);
std::optional<int> codingNumberOfKeyLine(std::string_view text);

} // namespace drilbank
