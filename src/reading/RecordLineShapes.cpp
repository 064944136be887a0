#include "reading/RecordLineShapes.h"

#include "encoding/NumberReading.h"
#include "format/LineCode.h"
#include "format/RecordFormat.h"
#include "format/RecordLines.h"
#include "reading/RecordDates.h"

#include <algorithm>
#include <charconv>

namespace drilbank {
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
    const bool plainWhole =
        item.front() == ' ' && !digits.empty() && digits.size() <= 15 &&
        (digits.front() != '0' || digits.size() == 1) &&
        std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
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
                      std::string_view between) {
    if (!readDateText(date) || !readTimeText(time)) {
        return false;
    }
    for (const std::string_view piece : headerDateLinePieces(date, between, time)) {
        // A piece taken from the line where it stands there needs no comparing.
        if (text.size() < piece.size() ||
            (piece.data() != text.data() && text.compare(0, piece.size(), piece) != 0)) {
            return false;
        }
        text.remove_prefix(piece.size());
    }
    return text.empty();
}

} // namespace drilbank
