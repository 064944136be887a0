// report: the class on one self-contained HTML page, read in any browser with no network and
// no scripts. Per assignment a grid of students by questions with every answer in its cell,
// each student's notes beside them, and the problems of a student's files in a row directly
// below the student's.
#include "instructor/Commands.h"
#include "instructor/QuestionOrder.h"
#include "instructor/RecordRows.h"
#include "os/DurableFiles.h"

#include <map>
#include <optional>
#include <set>

namespace drilbank::instructor {
namespace {

// The page keeps a bounded amount of text, so that the report of any class fits in memory:
// an answer longer than entryLimit is cut there, and once textBudget is spent the answers
// that follow are counted but not shown. Far more than a class writes; export gives all.
constexpr std::size_t entryLimit = std::size_t{64} << 10;
constexpr std::size_t textBudget = std::size_t{16} << 20;
// Likewise students by assignment: far more than a class has.
constexpr std::size_t studentsKept = 16384;
constexpr std::size_t titleLimit = 1024; // of a question as the grid's column title

struct Entry {
    std::string when;
    std::string question; // for notes only
    std::string text;
    std::size_t cut = 0; // bytes of the answer left out
};

struct StudentWork {
    std::string initials;
    std::optional<RecordFileKind> source; // the kind of file its rows come from
    std::map<int, std::vector<Entry>> answers;
    std::vector<Entry> notes;
    std::vector<std::string> problems;
    std::size_t notShown = 0; // answers and notes past the page's budget
};

using Key = std::pair<std::string, std::string>; // assignment, student

struct Class {
    std::map<Key, StudentWork> work;
    std::map<std::string, std::map<int, std::string>> questions; // per assignment, by number
    std::size_t files = 0;
    std::size_t problems = 0;
    std::size_t textKept = 0;
    std::size_t notShown = 0;
    QuestionOrder order;
};

// Where a UTF-8 text cut at `limit` ends: not inside a character's bytes.
std::size_t characterEnd(std::string_view text, std::size_t limit) {
    std::size_t end = std::min(limit, text.size());
    while (end < text.size() && end > 0 && (text[end] & 0xC0) == 0x80) {
        --end;
    }
    return end;
}

// The entry for a row, its answer cut at entryLimit (between characters); nothing once the
// page's budget is spent.
std::optional<Entry> entryOf(const RecordRow& row, bool note, Class& known) {
    const std::size_t kept = std::min(row.answer.size(), entryLimit);
    if (known.textKept + kept + row.question.size() >= textBudget) {
        ++known.notShown;
        return std::nullopt;
    }
    const std::size_t end = characterEnd(row.answer, kept);
    Entry entry{std::string(row.date).append(" ").append(row.time),
                std::string(note ? row.question : ""), std::string(row.answer.substr(0, end)),
                row.answer.size() - end};
    // Each entry costs its texts and about twice its own size, in a vector that doubles.
    known.textKept += 2 * sizeof entry + entry.when.size() + entry.question.size() + end;
    return entry;
}

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

// The master file holds every block; the send and notes files repeat them. A student's rows
// come from the first kind of file read for them (files come master file first).
void readClass(const std::vector<RecordFile>& files, Class& known, const CommandStreams& streams) {
    Progress shown(streams, files.size());
    RecordRows rows;
    QuestionOrder& order = known.order;
    for (const RecordFile& file : files) {
        std::set<Key> touched;
        const FileReport report = rows.read(file, [&](const RecordRow& row) {
            const Key key{row.assignment, row.student};
            auto found = known.work.find(key);
            if (found == known.work.end()) {
                if (known.work.size() >= studentsKept) {
                    ++known.notShown;
                    return;
                }
                found = known.work.emplace(key, StudentWork()).first;
            }
            touched.insert(key);
            StudentWork& work = found->second;
            if (work.source && *work.source != file.name.kind) {
                return;
            }
            work.source = file.name.kind;
            work.initials = row.initials;
            const bool note = row.kind == "note";
            std::optional<Entry> entry = entryOf(row, note, known);
            std::vector<Entry>* entries = &work.notes;
            if (!note) {
                const int number = order.numberOf(row.assignment, row.question);
                // A title, not an answer: a long one is cut.
                known.questions[key.first][number] =
                    row.question.substr(0, characterEnd(row.question, titleLimit));
                entries = &work.answers[number];
            }
            if (entry) {
                entries->push_back(std::move(*entry));
            } else {
                ++work.notShown;
            }
        });
        if (touched.empty() && !report.problems.empty()) {
            // A file that gave no rows: its problems go beside the student its name gives.
            const std::string student = studentFromFileName(file.name);
            for (const auto& [key, work] : known.work) {
                if (key.second == student) {
                    touched.insert(key);
                }
            }
            if (touched.empty()) {
                touched.insert({"", student});
            }
        }
        for (const Key& key : touched) {
            std::vector<std::string>& problems = known.work[key].problems;
            for (const RecordProblem& problem : report.problems) {
                problems.push_back(utf8Of(file.path.filename()) + ", line " +
                                   std::to_string(problem.place.line) + ": " + problem.what);
            }
            if (report.problemCount > report.problems.size()) {
                problems.push_back(utf8Of(file.path.filename()) + ": " +
                                   std::to_string(report.problemCount - report.problems.size()) +
                                   " more problems (drilbank-records check lists them all)");
            }
        }
        known.problems += report.problemCount;
        ++known.files;
        shown.fileDone();
    }
}

const char* const style = R"(
body { font: 15px/1.4 "Liberation Sans", Arial, sans-serif; margin: 1.5em; color: #111; }
table { border-collapse: collapse; margin-bottom: 1em; }
th, td { border: 1px solid #999; padding: 0.3em 0.5em; vertical-align: top; text-align: left; }
thead th { background: #e8e8e8; position: sticky; top: 0; }
tbody th { background: #f4f4f4; white-space: nowrap; }
.answer { white-space: pre-wrap; max-height: 10em; max-width: 24em; overflow: auto; }
.when { color: #555; font-size: 85%; }
.missing { background: #fafafa; color: #999; }
tr.problems td { background: #fff0e0; border-top: none; }
tr.problems ul { margin: 0; padding-left: 1.2em; }
ol.questions li { margin-bottom: 0.4em; }
)";

void writeEntries(const std::vector<Entry>& entries, bool withQuestion, std::ostream& out) {
    for (const Entry& entry : entries) {
        out << "<div class=\"when\">" << escaped(entry.when) << "</div>";
        if (withQuestion) {
            out << "<div class=\"when\">on: " << escaped(entry.question.substr(0, 80))
                << (entry.question.size() > 80 ? "&hellip;" : "") << "</div>";
        }
        out << "<div class=\"answer\">" << escaped(entry.text);
        if (entry.cut > 0) {
            out << "<em> [cut here: " << entry.cut
                << " more bytes; drilbank-records export gives the answer whole]</em>";
        }
        out << "</div>";
    }
}

void writeAssignment(const Class& known, const std::string& assignment, std::ostream& out) {
    const auto found = known.questions.find(assignment);
    const std::map<int, std::string> none;
    const std::map<int, std::string>& questions =
        found == known.questions.end() ? none : found->second;
    out << "<section>\n<h2>Assignment " << escaped(assignment.empty() ? "unknown" : assignment)
        << "</h2>\n<table class=\"grid\">\n<thead><tr><th>student</th>";
    for (const auto& [number, text] : questions) {
        out << "<th title=\"" << escaped(text) << "\">question " << number << "</th>";
    }
    out << "<th>notes</th></tr></thead>\n<tbody>\n";
    const std::size_t columns = questions.size() + 2;
    // The work is ordered by assignment first: this assignment's is one run of it.
    for (auto each = known.work.lower_bound({assignment, ""});
         each != known.work.end() && each->first.first == assignment; ++each) {
        const auto& [key, work] = *each;
        out << "<tr><th scope=\"row\">" << escaped(key.second) << "<br><span class=\"when\">"
            << escaped(work.initials) << "</span>";
        if (work.notShown > 0) {
            out << "<br><span class=\"when\">" << work.notShown << " not shown</span>";
        }
        out << "</th>";
        for (const auto& [number, text] : questions) {
            const auto answers = work.answers.find(number);
            if (answers == work.answers.end()) {
                out << "<td class=\"missing\">not answered</td>";
            } else {
                out << "<td>";
                writeEntries(answers->second, false, out);
                out << "</td>";
            }
        }
        out << "<td>";
        writeEntries(work.notes, true, out);
        out << "</td></tr>\n";
        if (!work.problems.empty()) {
            out << "<tr class=\"problems\"><td colspan=\"" << columns << "\">Problems in "
                << escaped(key.second) << "'s files:<ul>";
            for (const std::string& problem : work.problems) {
                out << "<li>" << escaped(problem) << "</li>";
            }
            out << "</ul></td></tr>\n";
        }
    }
    out << "</tbody>\n</table>\n<ol class=\"questions\">";
    for (const auto& [number, text] : questions) {
        out << "<li value=\"" << number << "\">" << escaped(text) << "</li>";
    }
    out << "</ol>\n</section>\n";
}

} // namespace

int reportFiles(const std::vector<RecordFile>& files, const CommandStreams& streams) {
    Class known;
    readClass(files, known, streams);
    std::set<std::string> assignments;
    std::set<std::string> students;
    for (const auto& [key, work] : known.work) {
        assignments.insert(key.first);
        students.insert(key.second);
    }
    std::ostream& out = streams.out;
    out << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        << "<title>drilbank class report</title>\n<style>" << style << "</style>\n</head>\n"
        << "<body>\n<h1>Class report</h1>\n<p>Students: " << students.size()
        << ". Record files read: " << known.files << ". Problems found: " << known.problems
        << " (each below the student it concerns; drilbank-records check gives its byte "
           "offset).</p>\n";
    if (known.order.full()) {
        out << "<p><strong>The files hold more than " << QuestionOrder::kept
            << " different questions: those past them share the column of question 0."
               "</strong></p>\n";
    }
    if (known.notShown > 0) {
        out << "<p><strong>This page holds the first " << (textBudget >> 20)
            << " MB of answers, of " << studentsKept
            << " students and assignments at most: " << known.notShown
            << " answers and notes past them are not shown. drilbank-records export gives "
               "them all.</strong></p>\n";
    }
    for (const std::string& assignment : assignments) {
        writeAssignment(known, assignment, out);
    }
    out << "</body>\n</html>\n";
    return known.problems == 0 ? 0 : 1;
}

} // namespace drilbank::instructor
