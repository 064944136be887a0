#include "encoding/Utf8.h"
#include "instructor/Commands.h"
#include "instructor/QuestionOrder.h"
#include "instructor/RecordRows.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <set>

namespace drilbank::instructor {
namespace {

// What one kind of file says about a student's assignment; the master file is preferred,
// since the send and notes files repeat its blocks.
struct Tally {
    std::set<int> answered; // question numbers in script order
    std::size_t notes = 0;
    std::string first;
    std::string last;
};

struct Line {
    std::map<RecordFileKind, Tally> byKind;
    std::set<std::filesystem::path> brokenFiles;
};

void count(Tally& tally, const RecordRow& row, int question) {
    if (row.kind == "note") {
        ++tally.notes;
    } else {
        tally.answered.insert(question);
    }
    // "YYYY-MM-DD HH:MM:SS", put together without an allocation for each of millions of rows.
    char moment[32];
    const std::size_t length = std::min(row.date.size(), std::size_t{15});
    std::memcpy(moment, row.date.data(), length);
    moment[length] = ' ';
    const std::size_t timeLength = std::min(row.time.size(), sizeof moment - length - 1);
    std::memcpy(moment + length + 1, row.time.data(), timeLength);
    const std::string_view when(moment, length + 1 + timeLength);
    if (tally.first.empty() || when < tally.first) {
        tally.first = when;
    }
    if (when > tally.last) {
        tally.last = when;
    }
}

// Far more students and assignments than a class has: past them a summary leaves rows out
// and says so, rather than fill the memory.
constexpr std::size_t linesKept = 16384;

constexpr std::size_t columnCount = 8;
using Cells = std::array<std::string, columnCount>;

// Columns lined up by the width the text takes on screen, not by its bytes: "José" and
// "Анастасия" take as many columns as they have letters.
void writeTable(const std::vector<Cells>& rows, std::ostream& out) {
    std::array<std::size_t, columnCount> widths{};
    for (const Cells& cells : rows) {
        for (std::size_t column = 0; column < columnCount; ++column) {
            widths[column] = std::max(widths[column], displayWidth(cells[column]));
        }
    }
    for (const Cells& cells : rows) {
        std::string line;
        for (std::size_t column = 0; column < columnCount; ++column) {
            line += cells[column];
            if (column + 1 < columnCount) {
                line.append(widths[column] + 2 - displayWidth(cells[column]), ' ');
            }
        }
        out << line << '\n';
    }
}

} // namespace

int summarizeFiles(const std::vector<RecordFile>& files, const CommandStreams& streams) {
    Progress shown(streams, files.size());
    RecordRows rows;
    QuestionOrder order;
    std::map<std::pair<std::string, std::string>, Line> lines;
    std::size_t broken = 0;
    std::size_t leftOut = 0;
    for (const RecordFile& file : files) {
        std::set<std::pair<std::string, std::string>> keys;
        Line* line = nullptr; // the line of the rows before, which most rows share
        std::pair<std::string, std::string> lineKey;
        const FileReport report = rows.read(file, [&](const RecordRow& row) {
            if (line == nullptr || row.student != lineKey.first ||
                row.assignment != lineKey.second) {
                lineKey = {std::string(row.student), std::string(row.assignment)};
                auto found = lines.find(lineKey);
                if (found == lines.end()) {
                    if (lines.size() >= linesKept) {
                        ++leftOut;
                        line = nullptr;
                        return;
                    }
                    found = lines.emplace(lineKey, Line()).first;
                }
                keys.insert(lineKey);
                line = &found->second;
            }
            count(line->byKind[file.name.kind], row, order.numberOf(row.assignment, row.question));
        });
        if (!report.problems.empty()) {
            ++broken;
            if (keys.empty() && !report.notARecord) {
                keys.insert({studentFromFileName(file.name), ""});
            }
            for (const auto& key : keys) {
                if (const auto found = lines.find(key); found != lines.end()) {
                    found->second.brokenFiles.insert(file.path);
                } else if (lines.size() < linesKept) {
                    lines[key].brokenFiles.insert(file.path);
                }
            }
        }
        shown.fileDone();
    }
    std::vector<Cells> table{{"student", "assignment", "answered", "questions answered", "notes",
                              "first", "last", "files with problems"}};
    for (const auto& [key, line] : lines) {
        const Tally empty;
        const Tally& tally = line.byKind.empty() ? empty : line.byKind.begin()->second;
        table.push_back({key.first, key.second, std::to_string(tally.answered.size()),
                         numberRanges(tally.answered), std::to_string(tally.notes), tally.first,
                         tally.last, std::to_string(line.brokenFiles.size())});
    }
    writeTable(table, streams.out);
    if (leftOut > 0) {
        streams.out << leftOut << " rows of students and assignments past the first " << linesKept
                    << " are not in this table (export gives them all)\n";
    }
    if (order.full()) {
        streams.out << "more than " << QuestionOrder::kept
                    << " different questions: those past them are counted as question 0\n";
    }
    return broken == 0 ? 0 : 1;
}

} // namespace drilbank::instructor
