#include "instructor/RecordRows.h"

#include "encoding/Cp1252.h"
#include "os/DurableFiles.h"
#include "reading/ByteScan.h"
#include "reading/RecordDates.h"

#include <algorithm>
#include <fstream>

namespace drilbank::instructor {
namespace {

using std::chrono::days;
using std::chrono::sys_days;
using std::chrono::sys_seconds;
using std::chrono::year_month_day;

// The UTF-8 of the text last asked for, converted again only when it differs: a file's runs
// repeat the same name, initials and assignment thousands of times.
class Utf8OfLast {
public:
    const std::string& of(std::string_view bytes) {
        if (!converted_ || bytes != bytes_) {
            bytes_ = bytes;
            cp1252ToUtf8(bytes, utf8_);
            converted_ = true;
        }
        return utf8_;
    }

private:
    bool converted_ = false;
    std::string bytes_;
    std::string utf8_;
};

// The text in UTF-8: the text itself when it needs no change, else converted into `converted`,
// whose memory is used again: rows are millions of fields. Most record text is ASCII without
// a reference, the same bytes in UTF-8, which is told sixteen bytes at a time.
std::string_view utf8View(std::string_view bytes, std::string& converted) {
    if (!bytescan::holds<true, '&'>(bytes)) {
        return bytes;
    }
    cp1252ToUtf8(bytes, converted);
    return converted;
}

// Runs in order of their start. Of runs in a row that give a note the same student,
// initials and assignment only the first tells anything, so the others go; then, if still
// more than runsKept, the earliest go.
void settleRuns(std::vector<RecordRows::Run>& runs) {
    const auto earlier = [](const auto& a, const auto& b) { return a.start < b.start; };
    if (!std::is_sorted(runs.begin(), runs.end(), earlier)) { // as a file mostly holds them
        std::stable_sort(runs.begin(), runs.end(), earlier);
    }
    const auto repeats = std::unique(runs.begin(), runs.end(), [](const auto& a, const auto& b) {
        return a.student == b.student && a.initials == b.initials && a.assignment == b.assignment;
    });
    runs.erase(repeats, runs.end());
    if (runs.size() > RecordRows::runsKept) {
        runs.erase(runs.begin(), runs.end() - static_cast<std::ptrdiff_t>(RecordRows::runsKept));
    }
}

// Turns one file's headers and blocks into rows, keeping the date of the run being read.
class FileRows final : public RecordVisitor {
public:
    FileRows(const RecordFile& file, const RecordRows::RowSink& sink, FileReport& report,
             const RecordRows::RunSink& runSink)
        : sink_(sink), runSink_(runSink), report_(report),
          fileStudent_(studentFromFileName(file.name)), file_(utf8Of(file.path.filename())),
          path_(file.relativePath.empty() ? file_ : file.relativePath) {
        row_.student = fileStudent_;
        row_.file = file_;
        row_.path = path_;
    }

    // For a notes file: the runs of the master file beside it, in order.
    template <typename Runs> void attributeTo(const Runs& runs) {
        attribute_ = [&runs, this](sys_seconds stamp) {
            const auto later = std::upper_bound(
                runs.begin(), runs.end(), stamp,
                [](sys_seconds value, const auto& run) { return value < run.start; });
            if (later != runs.begin()) {
                const auto& run = *std::prev(later);
                row_.student = run.student;
                row_.initials = run.initials;
                row_.assignment = run.assignment;
            }
        };
    }

    // For a master file: its runs, kept for its notes file.
    void keepRunsIn(std::vector<RecordRows::Run>& runs) { runs_ = &runs; }

    void header(const RecordHeader& header) override {
        if (runs_ != nullptr) {
            keepRun(header);
        }
        row_.student = studentUtf8_.of(header.studentName);
        row_.initials = initialsUtf8_.of(header.initials);
        row_.assignment = assignmentUtf8_.of(header.assignmentNumber);
        date_ = readDateText(header.date);
        lastTime_ = readTimeText(header.time);
        if (runSink_) {
            const std::string date = date_ ? isoDate(*date_) : "";
            runSink_({row_.student, row_.initials, row_.assignment,
                      headerUtf8_.of(header.assignmentHeader), date, header.time, header.place});
        }
    }

    void block(const RecordBlock& block) override {
        const std::optional<int> time = readTimeText(block.time);
        // One row serves every row: what a run's rows share is set only when it changes.
        RecordRow& row = row_;
        if (block.kind == RecordBlock::Kind::Note) {
            ++report_.notes;
            date_ = readDateText(block.date);
            if (attribute_ && date_ && time) {
                attribute_(sys_days(*date_) + std::chrono::seconds(*time));
            }
        } else {
            ++report_.responses;
            if (date_ && lastTime_ && time && *time < *lastTime_) {
                date_ = year_month_day(sys_days(*date_) + days(1)); // past midnight
            }
        }
        lastTime_ = time;
        row.questionNumber = block.questionNumber;
        row.kind = block.kind == RecordBlock::Kind::Note ? "note" : "response";
        if (date_ != rowDate_) { // most rows share their run's date
            rowDate_ = date_;
            dateText_ = date_ ? isoDate(*date_) : "";
            row.date = dateText_;
        }
        row.time = block.time;
        row.question =
            block.questionPlain ? block.question : utf8View(block.question, questionUtf8_);
        row.answer = block.answerPlain ? block.answer : utf8View(block.answer, answerUtf8_);
        sink_(row);
    }

    void problem(const RecordProblem& problem) override {
        if (report_.problemCount++ < FileReport::problemsKept) {
            report_.problems.push_back(problem);
        }
    }
    void notARecord(const RecordProblem& problem) override {
        report_.notARecord = true;
        this->problem(problem);
    }

private:
    void keepRun(const RecordHeader& header) {
        const auto date = readDateText(header.date);
        const auto time = readTimeText(header.time);
        runs_->push_back(
            {sys_days(date.value_or(year_month_day{})) + std::chrono::seconds(time.value_or(0)),
             studentUtf8_.of(header.studentName), initialsUtf8_.of(header.initials),
             assignmentUtf8_.of(header.assignmentNumber)});
        if (runs_->size() >= 2 * RecordRows::runsKept) {
            settleRuns(*runs_);
        }
    }

    const RecordRows::RowSink& sink_;
    const RecordRows::RunSink& runSink_;
    FileReport& report_;
    std::vector<RecordRows::Run>* runs_ = nullptr;
    std::function<void(sys_seconds)> attribute_;
    Utf8OfLast studentUtf8_;
    Utf8OfLast initialsUtf8_;
    Utf8OfLast assignmentUtf8_;
    Utf8OfLast headerUtf8_;
    std::optional<year_month_day> date_;
    std::optional<year_month_day> rowDate_; // the date dateText_ holds
    std::optional<int> lastTime_;
    // What the row's texts are views of, where they are not the block's own.
    std::string fileStudent_;
    std::string file_;
    std::string path_;
    std::string dateText_;
    std::string questionUtf8_;
    std::string answerUtf8_;
    RecordRow row_;
};

} // namespace

std::string studentFromFileName(const RecordFileName& name) {
    std::string student = name.name;
    std::replace(student.begin(), student.end(), '_', ' ');
    return student;
}

FileReport RecordRows::read(const RecordFile& file, const RowSink& sink, const RunSink& runSink) {
    FileReport report;
    FileRows rows(file, sink, report, runSink);
    if (file.name.kind == RecordFileKind::Notes) {
        rows.attributeTo(runsOf(file));
    }
    std::vector<Run> runs;
    if (file.name.kind == RecordFileKind::Master) {
        rows.keepRunsIn(runs);
    }
    readFoundFile(file, rows);
    if (file.name.kind == RecordFileKind::Master) {
        // Files come a student at a time, master first: only this student's runs are kept.
        settleRuns(runs);
        masterRuns_.clear();
        masterRuns_[file.path] = std::move(runs);
    }
    return report;
}

const std::vector<RecordRows::Run>& RecordRows::runsOf(const RecordFile& notesFile) {
    const std::filesystem::path master = masterFileBeside(notesFile);
    if (!masterRuns_.contains(master) && std::filesystem::is_regular_file(master)) {
        // The master file was not among those asked for: read it for its runs only.
        read({master,
              {RecordFileKind::Master, notesFile.name.name, ""},
              std::nullopt,
              std::nullopt,
              ""},
             [](const RecordRow&) {}, {});
    }
    return masterRuns_[master];
}

} // namespace drilbank::instructor
