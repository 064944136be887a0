// report: the class on one self-contained HTML page, read in any browser with no network and
// no scripts, made to grade sixty students and more by. Per assignment one compact grid of
// students by questions: the header row and the student column stay in view while the grid
// scrolls, each cell holds the student's final answer (the latest response across all their
// files) marked with its time, late or not, the earlier answers and the notes folded below it
// (<details>), the file it came from on hover. The problems of a student's files stand in a
// row right under the student's; every listed student is there, one with no records too. A
// print style sheet fits the grids to landscape pages.
#include "instructor/ClassList.h"
#include "instructor/Commands.h"
#include "instructor/ReportCells.h"

#include <algorithm>
#include <set>

namespace drilbank::instructor {
namespace {

// An assignment as an element's id.
std::string anchorOf(const std::string& assignment) {
    std::string id = "a";
    for (const char c : assignment) {
        id += (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ? c : '_';
    }
    return assignment.empty() ? "a-unknown" : id;
}

void writeAssignment(const ClassWork& known, const std::string& assignment,
                     const std::vector<const Student*>& students, std::ostream& out) {
    const std::map<int, std::string> questions = known.questions(assignment);
    const int last = known.lastQuestion(assignment);
    bool otherNotes = false;
    std::string header;
    for (const Student* student : students) {
        const auto work = student->work.find(assignment);
        if (work != student->work.end()) {
            otherNotes = otherNotes || work->second.cells.contains(-1);
            header = header.empty() ? work->second.header : header;
        }
    }
    out << "<section id=\"" << anchorOf(assignment) << "\">\n<h2>Assignment "
        << escaped(assignment.empty() ? "not known" : assignment);
    if (header.size() > assignment.size() + 1 && header.starts_with(assignment + ".")) {
        out << " \xC2\xB7 "
            << escaped(header.substr(header.find_first_not_of(". ", assignment.size())));
    }
    const DueTimes* due = known.grading().due;
    if (due != nullptr && due->dueOf(assignment) != noMoment) {
        out << " <span class=\"due\">due " << minuteText(due->dueOf(assignment)) << "</span>";
    }
    out << "</h2>\n<table class=\"grid\">\n<colgroup><col class=\"s\">";
    for (std::size_t index = 0; index < questions.size(); ++index) {
        out << "<col class=\"q\">";
    }
    out << (otherNotes ? "<col class=\"o\">" : "") << "</colgroup>\n";
    out << "<thead><tr><th class=\"corner\" scope=\"col\">student</th>";
    const std::size_t size = known.classSize();
    for (const auto& [number, text] : questions) {
        const ClassWork::AnsweredBy by = known.answeredBy(assignment, number);
        out << "<th scope=\"col\" title=\"" << escaped(text) << "\"><span class=\"qn\">" << number
            << "</span> <span class=\"qt\">" << escaped(text.substr(0, 200))
            << "</span><span class=\"by\">answered by " << by.onList << " of " << size;
        if (by.notOnList > 0) {
            out << " (+" << by.notOnList << " not listed)";
        }
        out << "</span></th>";
    }
    if (otherNotes) {
        out << "<th scope=\"col\">notes on no question</th>";
    }
    out << "</tr></thead>\n<tbody>\n";
    const std::size_t columns = 1 + questions.size() + (otherNotes ? 1 : 0);
    for (const Student* student : students) {
        const auto found = student->work.find(assignment);
        const AssignmentWork* work = found == student->work.end() ? nullptr : &found->second;
        out << "<tr>";
        writeStudentHead(*student, work, last, known, out);
        if (work == nullptr) {
            out << "<td class=\"none\" colspan=\"" << columns - 1 << "\">"
                << (student->hasRecords() ? "nothing for this assignment" : "no records")
                << "</td>";
        } else {
            for (const auto& [number, text] : questions) {
                const auto cell = work->cells.find(number);
                if (cell == work->cells.end()) {
                    out << "<td class=\"none\">not answered</td>";
                } else {
                    writeCell(cell->second, known, false, out);
                }
            }
            if (otherNotes) {
                const auto notes = work->cells.find(-1);
                if (notes == work->cells.end()) {
                    out << "<td class=\"none\"></td>";
                } else {
                    writeCell(notes->second, known, true, out);
                }
            }
        }
        out << "</tr>\n";
        if (!student->problems.empty() || student->problemsLeftOut > 0) {
            out << "<tr class=\"problems\"><td colspan=\"" << columns << "\"><div>Problems in "
                << escaped(student->shownName()) << "'s files:<ul>";
            for (const std::string& problem : student->problems) {
                out << "<li>" << escaped(problem) << "</li>";
            }
            if (student->problemsLeftOut > 0) {
                out << "<li>" << student->problemsLeftOut
                    << " more (drilbank-records check lists them all)</li>";
            }
            out << "</ul></div></td></tr>\n";
        }
    }
    out << "</tbody>\n</table>\n<ol class=\"questions\">";
    for (const auto& [number, text] : questions) {
        out << "<li value=\"" << number << "\">" << escaped(text) << "</li>";
    }
    out << "</ol>\n</section>\n";
}

// Who is in which grid: a listed student (or, without a list, every student) in every
// assignment's; one not on the list in those they did, and in the first if they did none.
std::vector<const Student*> studentsOf(const std::vector<const Student*>& all,
                                       const std::string& assignment, bool first) {
    std::vector<const Student*> shown;
    for (const Student* student : all) {
        const bool did = student->work.contains(assignment);
        if (did || (student->onList && !assignment.empty()) || (first && !student->hasRecords())) {
            shown.push_back(student);
        }
    }
    return shown;
}

void writeFacts(const ClassWork& known, const std::vector<const Student*>& students,
                const std::vector<std::string>& assignments, std::ostream& out) {
    const Grading& grading = known.grading();
    std::vector<std::string> without;
    std::size_t notListed = 0;
    for (const Student* student : students) {
        if (!student->hasRecords()) {
            without.push_back(student->shownName());
        }
        notListed += student->onList ? 0 : 1;
    }
    out << "<p>";
    if (grading.classList != nullptr) {
        out << grading.classList->size() << " students on the class list, "
            << grading.classList->size() - std::min(without.size(), grading.classList->size())
            << " with records";
    } else {
        out << students.size() << " students";
    }
    out << ". Record files read: " << known.files().size() << ", " << known.filesWithProblems()
        << " with problems (" << known.problems()
        << (known.problems() == 1 ? " problem" : " problems")
        << ", each under the student it concerns; drilbank-records check gives its byte offset "
           "and holds each send file against its master).</p>\n";
    if (!without.empty()) {
        out << "<p class=\"warn\">No records from " << without.size() << ": ";
        for (std::size_t index = 0; index < without.size(); ++index) {
            out << (index > 0 ? ", " : "") << escaped(without[index]);
        }
        out << ".</p>\n";
    }
    if (notListed > 0 && grading.classList != nullptr) {
        out << "<p class=\"warn\">Not on the class list: " << notListed
            << " (each marked under their name, with the listed student they possibly are)."
               "</p>\n";
    }
    if (grading.due != nullptr) {
        out << "<p>Due: ";
        bool any = false;
        for (const std::string& assignment : assignments) {
            if (grading.due->dueOf(assignment) != noMoment) {
                out << (any ? ", " : "") << escaped(assignment.empty() ? "?" : assignment) << " "
                    << minuteText(grading.due->dueOf(assignment));
                any = true;
            }
        }
        out << (any ? "" : "none of these assignments")
            << "; an answer recorded after that minute is marked late.</p>\n";
    }
    out << "<p>Each cell holds the final answer (the latest response, across all the "
           "student's files) with its time; the earlier answers and the notes are folded "
           "below it. Hover over an answer for its date, time and file.</p>\n";
    if (assignments.size() > 1) {
        out << "<nav>Assignments:";
        for (const std::string& assignment : assignments) {
            out << " <a href=\"#" << anchorOf(assignment) << "\">"
                << escaped(assignment.empty() ? "not known" : assignment) << "</a>";
        }
        out << "</nav>\n";
    }
    if (known.questionsFull()) {
        out << "<p class=\"warn\">The files hold more than " << QuestionOrder::kept
            << " different questions: those past them share the column of question 0.</p>\n";
    }
    if (known.clicksNotShown() > 0 || known.rowsNotKept() > 0) {
        out << "<p class=\"warn\">This page holds the first " << (ClassWork::textBudget >> 20)
            << " MB of answers, of " << ClassWork::studentsKept << " students and "
            << ClassWork::cellsKept
            << " answered questions at most: " << known.clicksNotShown() + known.rowsNotKept()
            << " answers and notes past them are not shown. drilbank-records export gives "
               "them all.</p>\n";
    }
}

} // namespace

int reportFiles(const std::vector<RecordFile>& files, const CommandStreams& streams,
                const Grading& grading) {
    ClassOptions options;
    options.grading = grading;
    options.keepTexts = true;
    ClassWork known(options);
    known.read(files, streams);
    const std::vector<const Student*> students = known.students();
    const std::vector<std::string> assignments = known.assignments();
    std::ostream& out = streams.out;
    out << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        << "<meta name=\"viewport\" content=\"width=device-width\">\n"
        << "<title>drilbank class report</title>\n<style>" << reportStyle << "</style>\n</head>\n"
        << "<body>\n<h1>Class report</h1>\n";
    writeFacts(known, students, assignments, out);
    for (std::size_t index = 0; index < assignments.size(); ++index) {
        writeAssignment(known, assignments[index],
                        studentsOf(students, assignments[index], index == 0), out);
    }
    if (assignments.empty() && !students.empty()) {
        writeAssignment(known, "", students, out);
    }
    out << "</body>\n</html>\n";
    return known.filesWithProblems() == 0 ? 0 : 1;
}

} // namespace drilbank::instructor
