#pragma once

#include "instructor/ClassList.h"
#include "instructor/Commands.h"
#include "instructor/DueTimes.h"
#include "instructor/Moments.h"
#include "instructor/QuestionOrder.h"
#include "instructor/RecordRows.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

namespace drilbank::instructor {

// One click of a student as the class's files hold it: a response or a note, told once
// however many of the student's files it is in (the master and send files of one click may
// carry times a second apart, when the clock ticked between the two).
struct Click {
    Moment moment = noMoment;
    Moment copiedUntil = noMoment; // the latest time a copy of it in another file carries
    bool note = false;
    std::optional<bool> late; // nothing when no due time applies
    std::uint64_t answer = 0; // a fingerprint of the text, to tell the same click in two files
    std::size_t answerSize = 0;
    bool textKept = false;            // false when the budget for texts was spent
    std::string text;                 // in UTF-8, cut after entryLimit bytes
    std::size_t cut = 0;              // bytes of the text left out
    std::string question;             // a note's line, where it is no question's
    std::vector<std::uint32_t> files; // the files it is in, as indexes of those read
};

// What one student did with one question of one assignment. The final answer is the latest
// response across all the student's files; the others are kept (where texts are kept) in the
// order they came.
struct Cell {
    std::optional<Click> final;
    std::vector<Click> others; // earlier responses and every note
    std::size_t notShown = 0;  // rows of clicks past the budget for texts
    // The times the others kept span, copies included: a row outside them is no copy of one.
    Moment othersFrom = noMoment;
    Moment othersUntil = noMoment;
    // The rows of the final answer's click: (file, the row's place among the file's rows).
    std::vector<std::pair<std::uint32_t, std::uint64_t>> finalRows;
};

// How long from one moment to another, said shortly: "40 s", "12 min", "2 h 05 min".
std::string durationText(Moment from, Moment to);

// One run of the program: its header and the clicks after it.
struct RunWork {
    std::uint32_t file = 0; // the file it was first read from, whose clicks it counts
    Moment start = noMoment;
    Moment first = noMoment; // the first and last click
    Moment last = noMoment;
    std::string initials;
    std::vector<int> questions; // answered, in order
    std::size_t responses = 0;
    std::size_t notes = 0;
};

// A student's work on one assignment.
struct AssignmentWork {
    std::map<int, Cell> cells; // by question number; -1 for notes on a line that is no question
    std::vector<RunWork> runs; // in order of their start
    // By the kind of file (master, send, notes): a click is in several, so the counts of one
    // kind are told, the kind that holds most.
    struct Counts {
        std::size_t responses = 0;
        std::size_t notes = 0;
        std::size_t late = 0;
        Moment first = noMoment; // the first and last click
        Moment last = noMoment;
    };
    std::array<Counts, 3> byKind{};
    std::string header; // the assignment's header line, as a run's header gives it
    const Counts& counts() const;
};

struct Student {
    std::string name;
    // Only where it tells this student apart from a listed one of the same name: the initials
    // their records carry.
    std::string initials;
    const ListedStudent* listed = nullptr;
    const ListedStudent* possibly = nullptr;
    std::vector<std::string> alike;        // without a list: students whose names differ only so
    std::vector<std::string> initialsSeen; // the first few sets of initials the records carry
    std::map<std::string, AssignmentWork, std::less<>> work; // by assignment
    std::vector<std::string> problems;                       // of the student's files
    std::size_t problemsLeftOut = 0;
    std::set<std::uint32_t> filesWithProblems;
    bool onList = false; // listed, or no list was given

    // The name as shown: with the initials where they tell the student apart.
    std::string shownName() const;
    bool hasRecords() const { return !work.empty(); }
};

// A row as a click, its texts still the row's: what a click is told by before it is kept.
struct RowClick {
    Moment moment;
    bool note;
    std::optional<bool> late;
    std::uint64_t answer;
    std::size_t answerSize;
    std::uint32_t file;
    std::string_view text;
    std::string_view question; // a note's, where it is no question's
};

// Where a UTF-8 text cut at `limit` ends: not inside a character's bytes.
std::size_t utf8CharacterEnd(std::string_view text, std::size_t limit);

// What is said of a student beside their work: no records, not on the class list, possibly
// whom, names alike, two sets of initials; "" when nothing.
std::string remarkOf(const Student& student, const Grading& grading);

struct ClassOptions {
    Grading grading;
    bool keepTexts = false;      // every click's text (the report)
    bool keepFinalTexts = false; // the final answers' texts (the grid of xlsx)
    bool markFinalRows = false;  // which rows give a final answer (the export)
};

// A class's work, read from its record files in one pass: per student, assignment and question
// the final answer and the other clicks, per run its first and last click, the problems of
// each student's files. Bounded: far more students, cells, runs and text than a class holds
// are kept, and past them rows are counted and said, not kept.
class ClassWork {
public:
    static constexpr std::size_t studentsKept = 4096;
    static constexpr std::size_t worksKept = 16384;
    static constexpr std::size_t cellsKept = 65536;
    static constexpr std::size_t runsKept = 65536;
    static constexpr std::size_t textBudget = std::size_t{16} << 20;
    static constexpr std::size_t entryLimit = std::size_t{64} << 10;
    static constexpr std::size_t problemsPerStudent = 200;
    static constexpr std::size_t titleLimit = 1024; // of a question's text as a column's title

    explicit ClassWork(const ClassOptions& options);

    // Reads the files; each file's problems go to the students whose rows it holds. The exit
    // status of a command follows problems().
    void read(const std::vector<RecordFile>& files, const CommandStreams& streams);

    const std::vector<RecordFile>& files() const { return *files_; }
    const std::string& shownPath(std::uint32_t file) const { return paths_[file]; }

    // In the order an instructor reads them: the class list's order, a student not on it
    // right after the listed one they are possibly, the others after all; without a list, by
    // name, names alike side by side.
    std::vector<const Student*> students() const;
    // Those with rows and those --due names, in order; "" (not known) last.
    std::vector<std::string> assignments() const;
    // The assignment's questions by number, with their texts: the script's, then those met.
    std::map<int, std::string> questions(const std::string& assignment) const;
    // The last question of the assignment: the script's last, or the highest number met.
    int lastQuestion(const std::string& assignment) const;
    // M of "answered by N of M": the class list's size, or the students found.
    std::size_t classSize() const;
    struct AnsweredBy {
        std::size_t onList = 0; // students of the class (every student without a list)
        std::size_t notOnList = 0;
    };
    AnsweredBy answeredBy(const std::string& assignment, int question) const;

    // Per file read, the places among its rows of the rows that give a final answer, in order.
    std::vector<std::vector<std::uint64_t>> finalRows() const;

    const Grading& grading() const { return options_.grading; }
    std::size_t problems() const { return problems_; }
    std::size_t filesWithProblems() const { return brokenFiles_; }
    std::size_t rowsNotKept() const { return rowsNotKept_; } // past the students or cells kept
    std::size_t clicksNotShown() const { return clicksNotShown_; } // past the text budget
    std::size_t runsNotKept() const { return runsNotKept_; }
    bool questionsFull() const { return order_.full(); }

private:
    Student* studentOf(std::string_view name, std::string_view initials);
    AssignmentWork* workOf(Student& student, std::string_view assignment);
    // The cell of a question; `assignment` (where a response makes it) keeps its text.
    Cell* cellOf(AssignmentWork& work, int question, std::string_view assignment,
                 std::string_view text);
    void run(const RecordRows::RunStart& start, std::uint32_t file);
    void row(const RecordRow& row, std::uint32_t file, std::uint64_t ordinal, RecordFileKind kind);
    void addResponse(Cell& cell, const RowClick& row, std::uint64_t ordinal);
    void addOther(Cell& cell, const RowClick& row);
    // Whether a row's texts are in the budget: the final answers may use all of it, the
    // others three quarters, so that a final answer is shown whatever came before it.
    bool fits(const RowClick& row, bool final) const;
    bool keepText(Click& click, const RowClick& row, bool final);
    void release(Click& click);
    void attachProblems(const FileReport& report, std::uint32_t file,
                        const std::set<Student*>& touched);
    void findAlike();

    ClassOptions options_;
    const std::vector<RecordFile>* files_ = nullptr;
    std::vector<std::string> paths_;
    std::map<std::pair<std::string, std::string>, Student> students_;
    QuestionOrder order_;
    std::map<std::string, std::map<int, std::string>, std::less<>> questionTexts_;
    std::unordered_map<std::uint64_t, std::pair<Cell*, std::size_t>> othersIndex_;
    RowMoments moments_;
    std::size_t works_ = 0;
    std::size_t cells_ = 0;
    std::size_t runs_ = 0;
    std::size_t textKept_ = 0;
    std::size_t problems_ = 0;
    std::size_t brokenFiles_ = 0;
    std::size_t rowsNotKept_ = 0;
    std::size_t clicksNotShown_ = 0;
    std::size_t runsNotKept_ = 0;

    // What the row before found, which most rows share.
    struct Last {
        std::string name = "\x01";
        std::string initials;
        Student* student = nullptr;
        std::string assignment = "\x01";
        AssignmentWork* work = nullptr;
    } last_;
    // The run the rows being read belong to.
    AssignmentWork* runWork_ = nullptr;
    std::size_t runIndex_ = 0;
    std::set<Student*> touched_;
};

} // namespace drilbank::instructor
