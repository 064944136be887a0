#include "reading/RecordFileName.h"

#include "record/RecordFormat.h"

#include <algorithm>
#include <cctype>

namespace drilbank {
namespace {

bool allDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

} // namespace

std::optional<RecordFileName> parseRecordFileName(std::string_view fileName) {
    if (!fileName.ends_with(recordFileSuffix)) {
        return std::nullopt;
    }
    fileName.remove_suffix(std::string_view(recordFileSuffix).size());
    const std::pair<RecordFileKind, std::string_view> prefixes[] = {
        {RecordFileKind::Master, masterFilePrefix},
        {RecordFileKind::Send, sendFilePrefix},
        {RecordFileKind::Notes, notesFilePrefix},
    };
    for (const auto& [kind, prefix] : prefixes) {
        if (!fileName.starts_with(prefix)) {
            continue;
        }
        std::string_view rest = fileName.substr(prefix.size());
        RecordFileName parsed{kind, "", ""};
        if (kind == RecordFileKind::Send) {
            if (rest.size() < monthDayLength || !allDigits(rest.substr(0, monthDayLength))) {
                return std::nullopt;
            }
            parsed.monthDay = std::string(rest.substr(0, monthDayLength));
            rest.remove_prefix(monthDayLength);
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
