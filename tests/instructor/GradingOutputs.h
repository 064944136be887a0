#pragma once

// What the grading tests read a class by: the tool's commands run on a folder, their output
// as text, and the export's rows as JSON gives them.
#include "instructor/ClassList.h"
#include "instructor/Commands.h"
#include "instructor/DueTimes.h"
#include "instructor/RecordSearch.h"
#include "os/DurableFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace drilbank::instructor::grading {

namespace fs = std::filesystem;

constexpr int at(int hours, int minutes, int seconds = 0) {
    return (hours * 60 + minutes) * 60 + seconds;
}

inline std::vector<RecordFile> filesIn(const fs::path& folder) {
    const SearchResult found = findRecordFiles({utf8Of(folder)});
    EXPECT_TRUE(found.errors.empty()) << (found.errors.empty() ? "" : found.errors[0]);
    return found.files;
}

inline ClassList listOf(const std::string& text) {
    std::string error;
    std::vector<std::string> warnings;
    const std::optional<ClassList> list = ClassList::parse(text, "class.csv", error, warnings);
    EXPECT_TRUE(list) << error;
    return list ? *list : ClassList();
}

inline DueTimes dueOf(const std::vector<std::string>& values) {
    std::string error;
    const std::optional<DueTimes> due = DueTimes::parse(values, error);
    EXPECT_TRUE(due) << error;
    return due ? *due : DueTimes();
}

struct Output {
    std::string text;
    int status = 0;
};

// A grading command's output and exit status on the files under `folder`.
template <typename Command>
Output outputOf(Command command, const fs::path& folder, const Grading& grading) {
    std::ostringstream out;
    std::ostringstream messages;
    Output output;
    output.status = command(filesIn(folder), CommandStreams{out, messages, nullptr}, grading);
    output.text = out.str();
    return output;
}

inline Output summaryOf(const fs::path& folder, const Grading& grading = {}) {
    return outputOf(&summarizeFiles, folder, grading);
}

inline Output reportOf(const fs::path& folder, const Grading& grading = {}) {
    return outputOf(&reportFiles, folder, grading);
}

inline Output checkOf(const fs::path& folder) {
    std::ostringstream out;
    Output output;
    output.status = checkFiles(filesIn(folder), {out, out, nullptr});
    output.text = out.str();
    return output;
}

// The export's rows as JSON gives them: each a map of column to value, true, false and null
// as those words.
using JsonRow = std::map<std::string, std::string>;

inline std::vector<JsonRow> exportOf(const fs::path& folder, const Grading& grading = {}) {
    std::ostringstream out;
    std::ostringstream messages;
    exportFiles(filesIn(folder), {"json", false, {}}, {out, messages, nullptr}, grading);
    const std::string json = out.str();
    std::vector<JsonRow> rows;
    // A string from the quote at `at`, its escapes turned back; `at` moves past it.
    const auto string = [&](std::size_t& at) {
        std::string text;
        for (++at; json[at] != '"'; ++at) {
            if (json[at] == '\\') {
                const char escaped = json[++at];
                text += escaped == 'n'   ? '\n'
                        : escaped == 'r' ? '\r'
                        : escaped == 't' ? '\t'
                                         : escaped;
            } else {
                text += json[at];
            }
        }
        ++at;
        return text;
    };
    for (std::size_t at = json.find('{'); at != std::string::npos; at = json.find('{', at)) {
        JsonRow row;
        ++at;
        while (json[at] != '}') {
            at = json.find('"', at);
            const std::string key = string(at);
            at = json.find_first_not_of(": ", at);
            if (json[at] == '"') {
                row[key] = string(at);
            } else {
                const std::size_t end = json.find_first_of(",}", at);
                row[key] = json.substr(at, end - at);
                at = end;
            }
            at = json.find_first_not_of(", ", at);
        }
        rows.push_back(row);
    }
    return rows;
}

// The summary's line that starts with `start`, or "".
inline std::string lineOf(const std::string& text, const std::string& start) {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with(start)) {
            return line;
        }
    }
    return "";
}

// The words of a summary line, each run of the blanks that line it up as one "|".
inline std::string squeezed(std::string line) {
    std::string text;
    for (std::size_t at = 0; at < line.size(); ++at) {
        if (line[at] == ' ' && at + 1 < line.size() && line[at + 1] == ' ') {
            text += text.ends_with('|') ? "" : "|";
            while (at + 1 < line.size() && line[at + 1] == ' ') {
                ++at;
            }
            continue;
        }
        text += line[at];
    }
    return text;
}

// The first line of the text that starts with `start` once squeezed, squeezed; or "".
inline std::string squeezedLine(const std::string& text, const std::string& start) {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (squeezed(line).starts_with(start)) {
            return squeezed(line);
        }
    }
    return "";
}

inline std::string genericUtf8(const fs::path& path) {
    const std::u8string text = path.generic_u8string();
    return std::string(text.begin(), text.end());
}

inline std::string bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return (std::ostringstream() << in.rdbuf()).str();
}

inline void writeBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::size_t count(const std::string& text, const std::string& part) {
    std::size_t found = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++found;
    }
    return found;
}

const std::string classText = "# Physics 121\nname,initials\nAnn Lee Smith,ALS\nBo Chan,BC\n"
                              "Cy Dunn,CD\n";

} // namespace drilbank::instructor::grading
