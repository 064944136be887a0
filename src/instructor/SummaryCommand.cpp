// summary: three tables for a terminal. Per student and assignment what was answered and what
// is missing, late answers, notes, runs and files with problems; per assignment and question,
// answered by how many of the class; per run, its first and last click and the questions
// answered.
#include "encoding/Utf8.h"
#include "instructor/ClassWork.h"
#include "instructor/Commands.h"

#include <algorithm>
#include <set>

namespace drilbank::instructor {
namespace {

using Cells = std::vector<std::string>;

// Columns lined up by the width the text takes on screen, not by its bytes: "José" and
// "Анастасия" take as many columns as they have letters. Trailing blanks are left off.
void writeTable(const std::vector<Cells>& rows, std::ostream& out) {
    std::vector<std::size_t> widths;
    for (const Cells& cells : rows) {
        widths.resize(std::max(widths.size(), cells.size()));
        for (std::size_t column = 0; column < cells.size(); ++column) {
            widths[column] = std::max(widths[column], displayWidth(cells[column]));
        }
    }
    for (const Cells& cells : rows) {
        std::string line;
        for (std::size_t column = 0; column < cells.size(); ++column) {
            line += cells[column];
            if (column + 1 < cells.size()) {
                line.append(widths[column] + 2 - displayWidth(cells[column]), ' ');
            }
        }
        line.erase(line.find_last_not_of(' ') + 1);
        out << line << '\n';
    }
}

// The first `columns` characters of a text on one line, and "…" when cut.
std::string shortened(std::string_view text, std::size_t columns) {
    std::string line;
    std::size_t characters = 0;
    for (std::size_t index = 0; index < text.size();) {
        const std::size_t start = index;
        const char32_t c = utf8CodePointAt(text, index);
        if (characters++ == columns) {
            return line + "\xE2\x80\xA6";
        }
        if (c == '\r' || c == '\n' || c == '\t') {
            line += ' ';
        } else {
            line.append(text.substr(start, index - start));
        }
    }
    return line;
}

std::string plural(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string timeOfDay(Moment moment) {
    return moment == noMoment ? "" : momentText(moment).substr(11);
}

} // namespace

int summarizeFiles(const std::vector<RecordFile>& files, const CommandStreams& streams,
                   const Grading& grading) {
    ClassOptions options;
    options.grading = grading;
    ClassWork known(options);
    known.read(files, streams);
    const std::vector<std::string> assignments = known.assignments();
    const std::vector<const Student*> students = known.students();
    const bool withDue = grading.due != nullptr;

    std::vector<Cells> table{{"student", "initials", "assignment", "answered", "missing", "late",
                              "notes", "runs", "first", "last", "files with problems", "remark"}};
    for (const Student* student : students) {
        const std::string remark = remarkOf(*student, grading);
        std::string initials;
        for (const std::string& each : student->initialsSeen) {
            initials += (initials.empty() ? "" : " ") + each;
        }
        const std::string problems = std::to_string(student->filesWithProblems.size());
        // A listed student, or one without a list, has a line for every assignment of the
        // class; a student not on the list only for what they did.
        bool any = false;
        for (const std::string& assignment : assignments) {
            const auto found = student->work.find(assignment);
            if (found == student->work.end() &&
                (!student->onList || assignment.empty() || !student->hasRecords())) {
                continue;
            }
            any = true;
            const int last = known.lastQuestion(assignment);
            std::set<int> answered;
            std::set<int> missing;
            for (int question = 1; question <= last; ++question) {
                missing.insert(question);
            }
            if (found == student->work.end()) {
                table.push_back({student->shownName(), initials, assignment,
                                 "0 of " + std::to_string(last), numberRanges(missing), "", "", "0",
                                 "", "", problems,
                                 remark.empty() ? "nothing for this assignment" : remark});
                continue;
            }
            const AssignmentWork& work = found->second;
            for (const auto& [question, cell] : work.cells) {
                if (cell.final) {
                    answered.insert(question);
                    missing.erase(question);
                }
            }
            const AssignmentWork::Counts& counts = work.counts();
            table.push_back({student->shownName(), initials, assignment.empty() ? "?" : assignment,
                             std::to_string(answered.size()) + " of " + std::to_string(last),
                             numberRanges(missing), withDue ? std::to_string(counts.late) : "",
                             std::to_string(counts.notes), std::to_string(work.runs.size()),
                             momentText(counts.first), momentText(counts.last), problems, remark});
        }
        if (!any) {
            table.push_back(
                {student->shownName(), initials, "", "", "", "", "", "", "", "", problems, remark});
        }
    }
    std::ostream& out = streams.out;
    writeTable(table, out);

    // The class at a glance: per assignment and question, answered by how many.
    const std::size_t size = known.classSize();
    for (const std::string& assignment : assignments) {
        out << "\nassignment " << (assignment.empty() ? "not known" : assignment);
        if (withDue && grading.due->dueOf(assignment) != noMoment) {
            out << ", due " << minuteText(grading.due->dueOf(assignment));
        }
        out << '\n';
        std::vector<Cells> questions{{"question", "answered by", "question text"}};
        for (const auto& [number, text] : known.questions(assignment)) {
            const ClassWork::AnsweredBy by = known.answeredBy(assignment, number);
            std::string count = std::to_string(by.onList) + " of " + std::to_string(size);
            if (by.notOnList > 0) {
                count += ", " + std::to_string(by.notOnList) + " not on the list";
            }
            questions.push_back({std::to_string(number), count, shortened(text, 60)});
        }
        writeTable(questions, out);
    }

    // Time on task: every run, its first and last click.
    std::vector<Cells> runs{{"student", "assignment", "run started", "first click", "last click",
                             "time on task", "answered", "remark"}};
    for (const Student* student : students) {
        for (const auto& [assignment, work] : student->work) {
            const int last = known.lastQuestion(assignment);
            for (const RunWork& run : work.runs) {
                std::string remark;
                if (run.first == noMoment) {
                    remark = "no click";
                } else if (run.questions.empty() || run.questions.back() < last) {
                    remark = "stopped before question " + std::to_string(last);
                }
                const std::set<int> answered(run.questions.begin(), run.questions.end());
                runs.push_back({student->shownName(), assignment, momentText(run.start),
                                timeOfDay(run.first), timeOfDay(run.last),
                                durationText(run.first, run.last), numberRanges(answered), remark});
            }
        }
    }
    out << '\n';
    writeTable(runs, out);

    if (known.rowsNotKept() > 0) {
        out << known.rowsNotKept() << " rows past the first " << ClassWork::studentsKept
            << " students, " << ClassWork::worksKept << " students' assignments or "
            << ClassWork::cellsKept << " answered questions are not in these tables (export "
            << "gives them all)\n";
    }
    if (known.runsNotKept() > 0) {
        out << plural(known.runsNotKept(), "run", "runs") << " past the first "
            << ClassWork::runsKept << " are not listed\n";
    }
    if (known.questionsFull()) {
        out << "more than " << QuestionOrder::kept
            << " different questions: those past them are counted as question 0\n";
    }
    return known.filesWithProblems() == 0 ? 0 : 1;
}

} // namespace drilbank::instructor
