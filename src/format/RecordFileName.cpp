#include "format/RecordFileName.h"

#include "format/RecordFormat.h"

#include <algorithm>
#include <cctype>

namespace drilbank {
namespace {

bool allDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool startsIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

bool endsIgnoringCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           startsIgnoringCase(text.substr(text.size() - suffix.size()), suffix);
}

} // namespace

std::optional<RecordFileName> parseRecordFileName(std::string_view fileName) {
    if (!endsIgnoringCase(fileName, recordFileSuffix)) {
        return std::nullopt;
    }
    fileName.remove_suffix(std::string_view(recordFileSuffix).size());
    const std::pair<RecordFileKind, std::string_view> prefixes[] = {
        {RecordFileKind::Master, masterFilePrefix},
        {RecordFileKind::Send, sendFilePrefix},
        {RecordFileKind::Notes, notesFilePrefix},
    };
    for (const auto& [kind, prefix] : prefixes) {
        if (!startsIgnoringCase(fileName, prefix)) {
            continue;
        }
        std::string_view rest = fileName.substr(prefix.size());
        RecordFileName parsed{kind, "", ""};
        if (kind == RecordFileKind::Send) {
            if (rest.size() >= monthDayLength && allDigits(rest.substr(0, monthDayLength))) {
                parsed.monthDay = std::string(rest.substr(0, monthDayLength));
                rest.remove_prefix(monthDayLength);
            }
        }
        parsed.name = std::string(rest);
        return parsed;
    }
    return std::nullopt;
}

const char* kindWord(RecordFileKind kind) {
    switch (kind) {
    case RecordFileKind::Master:
        return "master";
    case RecordFileKind::Send:
        return "send";
    case RecordFileKind::Notes:
        break;
    }
    return "notes";
}

} // namespace drilbank
