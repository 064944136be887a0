#include "instructor/Commands.h"
#include "instructor/RecordRows.h"

#include <algorithm>
#include <iomanip>
#include <map>
#include <set>

namespace drilbank::instructor {
namespace {

// What one kind of file says about a student's assignment; the master file is preferred,
// since the send and notes files repeat its blocks.
struct Tally {
    std::set<std::string> answered; // questions with a response
    std::size_t notes = 0;
    std::string first;
    std::string last;
};

struct Line {
    std::map<RecordFileKind, Tally> byKind;
    std::set<std::filesystem::path> brokenFiles;
};

void count(Tally& tally, const RecordRow& row) {
    if (row.kind == "note") {
        ++tally.notes;
    } else {
        tally.answered.insert(row.question);
    }
    const std::string when = row.date + " " + row.time;
    if (tally.first.empty() || when < tally.first) {
        tally.first = when;
    }
    tally.last = std::max(tally.last, when);
}

} // namespace

int summarizeFiles(const std::vector<RecordFile>& files, std::ostream& out,
                   std::ostream& progress) {
    Progress shown(progress, files.size());
    RecordRows rows;
    std::map<std::pair<std::string, std::string>, Line> lines;
    std::size_t broken = 0;
    for (const RecordFile& file : files) {
        std::set<std::pair<std::string, std::string>> keys;
        const FileReport report = rows.read(file, [&](const RecordRow& row) {
            const auto key = std::make_pair(row.student, row.assignment);
            keys.insert(key);
            count(lines[key].byKind[file.name.kind], row);
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
    out << std::left << std::setw(28) << "student" << std::setw(11) << "assignment" << std::setw(9)
        << "answered" << std::setw(6) << "notes" << std::setw(21) << "first" << std::setw(21)
        << "last"
        << "files with problems\n";
    for (const auto& [key, line] : lines) {
        const Tally empty;
        const Tally& tally = line.byKind.empty() ? empty : line.byKind.begin()->second;
        out << std::setw(28) << key.first << std::setw(11) << key.second << std::setw(9)
            << tally.answered.size() << std::setw(6) << tally.notes << std::setw(21) << tally.first
            << std::setw(21) << tally.last << line.brokenFiles.size() << '\n';
    }
    return broken == 0 ? 0 : 1;
}

} // namespace drilbank::instructor
