#include "instructor/Commands.h"
#include "instructor/QuestionOrder.h"
#include "instructor/RecordRows.h"
#include "platform/Cp1252.h"

#include <algorithm>
#include <array>
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
    const std::string when = row.date + " " + row.time;
    if (tally.first.empty() || when < tally.first) {
        tally.first = when;
    }
    tally.last = std::max(tally.last, when);
}

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
    for (const RecordFile& file : files) {
        std::set<std::pair<std::string, std::string>> keys;
        const FileReport report = rows.read(file, [&](const RecordRow& row) {
            const auto key = std::make_pair(row.student, row.assignment);
            keys.insert(key);
            count(lines[key].byKind[file.name.kind], row,
                  order.numberOf(row.assignment, row.question));
        });
        if (!report.problems.empty()) {
            ++broken;
            if (keys.empty()) {
                keys.insert({studentFromFileName(file.name), ""});
            }
            for (const auto& key : keys) {
                lines[key].brokenFiles.insert(file.path);
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
    return broken == 0 ? 0 : 1;
}

} // namespace drilbank::instructor
