// The report's cells: a click marked response or note with its time, late or not, and the
// file it came from on hover; a cell's final answer with the rest folded below it; the
// student's own cell, with what is said of them and their runs. And the page's style.
#include "instructor/ReportCells.h"

#include "instructor/ClassList.h"

#include <algorithm>
#include <set>

namespace drilbank::instructor {
namespace {

// "MM-DD HH:MM", what a cell shows of a moment; the whole of it is in the title.
std::string shortMoment(Moment moment) {
    const std::string text = momentText(moment);
    return text.empty() ? "time not known" : text.substr(5, 11);
}

} // namespace

std::string escaped(std::string_view text) {
    std::string html;
    html.reserve(text.size());
    // Most of a text needs nothing: what lies between the characters that do goes at once.
    const auto plain = [](char c) {
        return c != '&' && c != '<' && c != '>' && c != '"' && c != '\r';
    };
    for (std::size_t at = 0; at < text.size();) {
        std::size_t special = at;
        while (special < text.size() && plain(text[special])) {
            ++special;
        }
        html.append(text, at, special - at);
        if (special == text.size()) {
            break;
        }
        switch (text[special]) {
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
        default:
            break; // a carriage return: the line feed after it breaks the line
        }
        at = special + 1;
    }
    return html;
}

const char* const reportStyle = R"(
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

namespace {

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

} // namespace

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

} // namespace drilbank::instructor
