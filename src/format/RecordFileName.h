#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace drilbank {

enum class RecordFileKind { Master, Send, Notes };

// What a record file's name says: which of the three files it is, whose (the student's name
// with blanks as "_", in UTF-8) and, for a send file, the month and day of its runs (MMDD;
// empty when someone renamed the file without them).
struct RecordFileName {
    RecordFileKind kind = RecordFileKind::Master;
    std::string name;
    std::string monthDay;

    // Whether a run's date (MM-DD-YYYY) is one the name allows: any, but in a send file
    // whose name has its month and day.
    bool allowsDate(std::string_view date) const {
        const std::string_view named = monthDay;
        return kind != RecordFileKind::Send || named.empty() ||
               (date.substr(0, 2) == named.substr(0, 2) && date.substr(3, 2) == named.substr(2));
    }
};

// Nothing when the name is not one the program gives a record file. Prefix and suffix are
// matched in any capitals, as Windows matches names and as a student may rename a file.
std::optional<RecordFileName> parseRecordFileName(std::string_view fileName);

// "master", "send" or "notes".
const char* kindWord(RecordFileKind kind);

} // namespace drilbank
