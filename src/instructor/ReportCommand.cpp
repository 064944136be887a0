// report: the class on one self-contained HTML page, read in any browser with no network and
// no scripts, made to grade sixty students and more by. Per assignment one compact grid of
// students by questions: the header row and the student column stay in view while the grid
// scrolls, each cell holds the student's final answer (the latest response across all their
// files) marked with its time, late or not, the earlier answers and the notes folded below it
// (<details>), the file it came from on hover. The problems of a student's files stand in a
// row right under the student's; every listed student is there, one with no records too. A
// print style sheet fits the grids to landscape pages.
#include "instructor/ClassList.h"
#include "instructor/ClassWork.h"
#include "instructor/Commands.h"

#include <algorithm>
#include <set>

namespace drilbank::instructor {
namespace {

std::string escaped(std::string_view text) {
    std::string html;
    html.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            html += "&amp;";
            break;
        case '<':
            html += "&lt;";
            break;
        case '>':
            html += "&gt;";
            break;
        case '"':
            html += "&quot;";
            break;
        case '\r':
            break; // the line feed after it breaks the line
        default:
            html += c;
        }
    }
    return html;
}

// "MM-DD HH:MM", what a cell shows of a moment; the whole of it is in the title.
std::string shortMoment(Moment moment) {
    const std::string text = momentText(moment);
    return text.empty() ? "time not known" : text.substr(5, 11);
}

// An assignment as an element's id.
std::string anchorOf(const std::string& assignment) {
    std::string id = "a";
    for (const char c : assignment) {
        id += (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ? c : '_';
    }
    return assignment.empty() ? "a-unknown" : id;
}

const char* const style = R"(
body { font: 13px/1.35 "Liberation Sans", Arial, sans-serif; margin: 0 0.8em 1.5em; color: #111; }
h1 { font-size: 1.35em; margin: 0.5em 0 0.2em; }
h2 { font-size: 1.15em; margin: 1.2em 0 0.4em; }
h2 .due { font-weight: normal; font-size: 0.85em; color: #444; }
p { margin: 0.25em 0; max-width: 90em; }
.warn { color: #a03000; }
table.grid { border-collapse: separate; border-spacing: 0; table-layout: fixed; width: max-content; }
col.s { width: 10em; }
col.q { width: 9.6em; }
col.o { width: 13em; }
.grid th, .grid td { border-right: 1px solid #bbb; border-bottom: 1px solid #bbb;
  padding: 0.25em 0.35em; vertical-align: top; text-align: left; overflow-wrap: anywhere; }
.grid thead th { position: sticky; top: 0; z-index: 2; background: #e6ecf3; font-weight: normal;
  border-top: 1px solid #bbb; }
.grid tbody th { position: sticky; left: 0; z-index: 1; background: #f5f5f5; font-weight: normal; }
.grid thead th.corner { left: 0; z-index: 3; }
.grid th:first-child, .grid td:first-child { border-left: 1px solid #bbb; }
.qn { font-weight: bold; }
.qt { display: -webkit-box; -webkit-line-clamp: 3; -webkit-box-orient: vertical; overflow: hidden;
  font-size: 0.88em; color: #333; }
.by { display: block; font-size: 0.85em; color: #1d4f80; margin-top: 0.15em; }
.name { font-weight: bold; white-space: pre-wrap; }
.flag { white-space: pre-wrap; }
.sub, .m { font-size: 0.85em; color: #555; }
.flag { font-size: 0.85em; color: #a03000; }
.m b { font-weight: bold; color: #1d4f80; }
.n .m b { color: #7a5c00; }
.n { background: #fff8dc; }
b.late { color: #fff; background: #b00020; border-radius: 2px; padding: 0 0.25em; }
td.late { box-shadow: inset 3px 0 #b00020; }
.t { white-space: pre-wrap; max-height: 9.5em; overflow-y: auto; scrollbar-width: thin; }
.cut { color: #555; font-style: italic; }
details { margin-top: 0.2em; }
summary { cursor: pointer; font-size: 0.85em; color: #1d4f80; }
details .e { margin-top: 0.3em; padding-top: 0.2em; border-top: 1px dotted #bbb; }
td.none { color: #999; font-size: 0.85em; }
.runs li { font-size: 0.85em; }
.runs ul { margin: 0.2em 0 0; padding-left: 1em; }
tr.problems td { background: #fff0e0; border-left: 1px solid #bbb; }
tr.problems td > div { position: sticky; left: 0.4em; width: max-content; max-width: calc(100vw - 3em); }
tr.problems ul { margin: 0.1em 0 0; padding-left: 1.2em; }
ol.questions { max-width: 70em; }
ol.questions li { margin-bottom: 0.3em; }
@media print {
  @page { size: landscape; margin: 8mm; }
  body { font-size: 7.5pt; margin: 0; }
  table.grid { width: 100%; }
  col.s { width: 11%; }
  col.q, col.o { width: auto; }
  .grid thead th, .grid tbody th, tr.problems td > div { position: static; }
  tr.problems td > div { width: auto; max-width: none; }
  thead { display: table-header-group; }
  tr { break-inside: avoid; }
  .t { max-height: none; overflow: visible; }
  .qt { -webkit-line-clamp: 4; }
  section + section { break-before: page; }
  nav { display: none; }
}
)";

// The title a click carries: what it is, when, and the files it is in.
std::string titleOf(const Click& click, const ClassWork& known) {
    std::string title = std::string(click.note ? "note" : "response") + ", " +
                        momentText(click.moment) + (click.late.value_or(false) ? ", late" : "") +
                        ", in ";
    for (std::size_t index = 0; index < click.files.size(); ++index) {
        title += (index > 0 ? ", " : "") + known.shownPath(click.files[index]);
    }
    return title;
}

void writeClick(const Click& click, const ClassWork& known, bool withQuestion, std::ostream& out) {
    out << "<div class=\"e " << (click.note ? "n" : "r") << "\" title=\""
        << escaped(titleOf(click, known)) << "\"><div class=\"m\"><b>"
        << (click.note ? "note" : "response") << "</b> " << shortMoment(click.moment);
    if (click.late.value_or(false)) {
        out << " <b class=\"late\">late</b>";
    }
    out << "</div>";
    if (withQuestion && !click.question.empty()) {
        out << "<div class=\"m\">on: " << escaped(click.question.substr(0, 80))
            << (click.question.size() > 80 ? "&hellip;" : "") << "</div>";
    }
    out << "<div class=\"t\">";
    if (click.textKept) {
        out << escaped(click.text);
        if (click.cut > 0) {
            out << "<span class=\"cut\"> [cut here: " << click.cut
                << " more bytes; drilbank-records export gives the answer whole]</span>";
        }
    } else {
        out << "<span class=\"cut\">[not shown: the page holds " << (ClassWork::textBudget >> 20)
            << " MB of answers; drilbank-records export gives it]</span>";
    }
    out << "</div></div>";
}

// A cell: the final answer, or failing one the latest note, then the rest folded, newest
// first.
void writeCell(const Cell& cell, const ClassWork& known, bool withQuestion, std::ostream& out) {
    std::vector<const Click*> rest;
    for (const Click& click : cell.others) {
        rest.push_back(&click);
    }
    std::stable_sort(rest.begin(), rest.end(),
                     [](const Click* a, const Click* b) { return a->moment > b->moment; });
    const Click* head = cell.final ? &*cell.final : nullptr;
    if (head == nullptr && !rest.empty()) {
        head = rest.front();
        rest.erase(rest.begin());
    }
    if (head == nullptr) {
        out << "<td class=\"none\">not answered";
        if (cell.notShown > 0) {
            out << " (" << cell.notShown << " not shown)";
        }
        out << "</td>";
        return;
    }
    out << (head->late.value_or(false) ? "<td class=\"late\">" : "<td>");
    writeClick(*head, known, withQuestion, out);
    std::size_t earlier = 0;
    std::size_t notes = 0;
    for (const Click* click : rest) {
        ++(click->note ? notes : earlier);
    }
    if (!rest.empty() || cell.notShown > 0) {
        out << "<details><summary>";
        std::string said;
        if (earlier > 0) {
            said = std::to_string(earlier) + (cell.final ? " earlier" : " response");
        }
        if (notes > 0) {
            said += (said.empty() ? "" : ", ") + std::to_string(notes) +
                    (notes == 1 ? " note" : " notes");
        }
        if (cell.notShown > 0) {
            said += (said.empty() ? "" : ", ") + std::to_string(cell.notShown) + " not shown";
        }
        out << said << "</summary>";
        for (const Click* click : rest) {
            writeClick(*click, known, withQuestion, out);
        }
        out << "</details>";
    }
    out << "</td>";
}

void writeStudentHead(const Student& student, const AssignmentWork* work, int lastQuestion,
                      const ClassWork& known, std::ostream& out) {
    out << "<th scope=\"row\"><div class=\"name\">" << escaped(student.shownName()) << "</div>";
    std::string sub;
    for (const std::string& initials : student.initialsSeen) {
        sub += (sub.empty() ? "" : " ") + initials;
    }
    if (work != nullptr) {
        std::size_t answered = 0;
        for (const auto& [question, cell] : work->cells) {
            answered += cell.final && question > 0 ? 1 : 0;
        }
        sub += (sub.empty() ? "" : " \xC2\xB7 ") + std::to_string(answered) + " of " +
               std::to_string(lastQuestion);
        if (known.grading().due != nullptr && work->counts().late > 0) {
            sub += " \xC2\xB7 " + std::to_string(work->counts().late) + " late";
        }
    }
    if (!sub.empty()) {
        out << "<div class=\"sub\">" << escaped(sub) << "</div>";
    }
    const std::string remark = remarkOf(student, known.grading());
    if (!remark.empty()) {
        out << "<div class=\"flag\">" << escaped(remark) << "</div>";
    }
    if (work != nullptr && !work->runs.empty()) {
        Moment seconds = 0;
        for (const RunWork& run : work->runs) {
            seconds += run.first == noMoment ? 0 : run.last - run.first;
        }
        out << "<details class=\"runs\"><summary>" << work->runs.size()
            << (work->runs.size() == 1 ? " run, " : " runs, ") << durationText(0, seconds)
            << " on task</summary><ul>";
        for (const RunWork& run : work->runs) {
            out << "<li>" << escaped(shortMoment(run.start));
            if (run.first == noMoment) {
                out << ": no click";
            } else {
                const std::set<int> answered(run.questions.begin(), run.questions.end());
                out << ", " << momentText(run.first).substr(11, 5) << "&ndash;"
                    << momentText(run.last).substr(11, 5) << " ("
                    << durationText(run.first, run.last) << ")" << (answered.empty() ? "" : ": ")
                    << escaped(numberRanges(answered));
                if (run.questions.empty() || run.questions.back() < lastQuestion) {
                    out << ", stopped before " << lastQuestion;
                }
            }
            out << "</li>";
        }
        out << "</ul></details>";
    }
    out << "</th>";
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
        out << " \xC2\xB7 " << escaped(header.substr(header.find_first_not_of(". ", assignment.size())));
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
        << " with problems (" << known.problems() << (known.problems() == 1 ? " problem" : " problems")
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
            << ClassWork::cellsKept << " answered questions at most: "
            << known.clicksNotShown() + known.rowsNotKept()
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
        << "<title>drilbank class report</title>\n<style>" << style << "</style>\n</head>\n"
        << "<body>\n<h1>Class report</h1>\n";
    writeFacts(known, students, assignments, out);
    for (std::size_t index = 0; index < assignments.size(); ++index) {
        writeAssignment(known, assignments[index], studentsOf(students, assignments[index], index == 0),
                        out);
    }
    if (assignments.empty() && !students.empty()) {
        writeAssignment(known, "", students, out);
    }
    out << "</body>\n</html>\n";
    return known.filesWithProblems() == 0 ? 0 : 1;
}

} // namespace drilbank::instructor
