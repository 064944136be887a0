#include "instructor/ClassWork.h"

#include "os/DurableFiles.h"
#include "reading/Fingerprint.h"

#include <algorithm>
#include <bit>

namespace drilbank::instructor {
namespace {

constexpr std::size_t titleLimit = 1024; // of a question's text as a column's title
constexpr std::size_t initialsKept = 4;
constexpr std::size_t filesPerClick = 8;

// Where a UTF-8 text cut at `limit` ends: not inside a character's bytes.
std::size_t characterEnd(std::string_view text, std::size_t limit) {
    std::size_t end = std::min(limit, text.size());
    while (end < text.size() && end > 0 && (text[end] & 0xC0) == 0x80) {
        --end;
    }
    return end;
}

bool withinASecond(Moment a, Moment b) {
    if (a == noMoment || b == noMoment) {
        return a == b;
    }
    return a - b <= 1 && b - a <= 1;
}

// Whether a row's time may be that of a copy of the click: within a second of the click's
// or of a copy's (three files written one after the other may span two seconds).
bool mayBeCopy(Moment row, const Click& click) {
    return withinASecond(row, click.moment) ||
           (click.copiedUntil != noMoment && withinASecond(row, click.copiedUntil));
}

void noteCopy(Click& click, Moment moment) {
    if (moment != noMoment && moment > click.moment) {
        click.copiedUntil = std::max(click.copiedUntil, moment);
    }
}

bool holds(const std::vector<std::uint32_t>& files, std::uint32_t file) {
    return std::find(files.begin(), files.end(), file) != files.end();
}

// A key for a click kept among a cell's others: the cell, the kind, the answer and the second.
std::uint64_t othersKey(const Cell* cell, bool note, std::uint64_t answer, Moment moment) {
    constexpr std::uint64_t multiplier = 0x9E3779B97F4A7C15ull;
    std::uint64_t key = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(cell));
    key = (std::rotl(key, 29) ^ answer) * multiplier;
    key = (std::rotl(key, 29) ^ static_cast<std::uint64_t>(moment)) * multiplier;
    return (key ^ (key >> 31)) + (note ? 1 : 0);
}

// The kept cost of a text: its memory, which a string keeps after it shrinks.
std::size_t costOf(const Click& click) {
    return sizeof(Click) + click.text.capacity() + click.question.capacity();
}

} // namespace

// A row as a click, its texts still the row's.
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

const AssignmentWork::Counts& AssignmentWork::counts() const {
    const auto most = std::max_element(byKind.begin(), byKind.end(), [](const auto& a, const auto& b) {
        return a.responses + a.notes < b.responses + b.notes;
    });
    return *most;
}

std::string durationText(Moment from, Moment to) {
    if (from == noMoment || to == noMoment) {
        return "";
    }
    const Moment seconds = std::max<Moment>(0, to - from);
    if (seconds < 60) {
        return std::to_string(seconds) + " s";
    }
    if (seconds < 3600) {
        return std::to_string(seconds / 60) + " min";
    }
    const Moment minutes = seconds / 60 % 60;
    return std::to_string(seconds / 3600) + " h " + (minutes < 10 ? "0" : "") +
           std::to_string(minutes) + " min";
}

std::string Student::shownName() const {
    return initials.empty() ? name : name + " (" + initials + ")";
}

ClassWork::ClassWork(const ClassOptions& options) : options_(options) {
    if (const ClassList* list = options_.grading.classList) {
        for (const ListedStudent& listed : list->students()) {
            const std::string initials = list->nameShared(listed.name) ? listed.initials : "";
            Student& student = students_[{listed.name, initials}];
            student.name = listed.name;
            student.initials = initials;
            student.listed = &listed;
            student.onList = true;
        }
    }
}

void ClassWork::read(const std::vector<RecordFile>& files, const CommandStreams& streams) {
    files_ = &files;
    paths_.clear();
    for (const RecordFile& file : files) {
        paths_.push_back(file.relativePath.empty() ? utf8Of(file.path.filename())
                                                   : file.relativePath);
    }
    Progress shown(streams, files.size());
    RecordRows rows;
    for (std::size_t index = 0; index < files.size(); ++index) {
        const auto file = static_cast<std::uint32_t>(index);
        const RecordFileKind kind = files[index].name.kind;
        touched_.clear();
        last_ = Last();
        runWork_ = nullptr;
        std::uint64_t ordinal = 0;
        const FileReport report = rows.read(
            files[index],
            [&](const RecordRow& each) { row(each, file, ordinal++, kind); },
            [&](const RecordRows::RunStart& start) { run(start, file); });
        attachProblems(report, file, touched_);
        shown.fileDone();
    }
    last_ = Last();
    findAlike();
}

Student* ClassWork::studentOf(std::string_view name, std::string_view initials) {
    if (name == last_.name && initials == last_.initials) {
        return last_.student;
    }
    last_.name.assign(name);
    last_.initials.assign(initials);
    last_.student = nullptr;
    last_.work = nullptr;
    std::pair<std::string, std::string> key{std::string(name), ""};
    ListMatch match;
    if (const ClassList* list = options_.grading.classList) {
        match = list->match(name, initials);
        if (match.listed != nullptr) {
            key = {match.listed->name,
                   list->nameShared(match.listed->name) ? match.listed->initials : ""};
        } else if (match.possibly != nullptr && match.possibly->name == name) {
            key.second = initials; // the listed name, other initials: told apart by them
        }
    }
    auto found = students_.find(key);
    if (found == students_.end()) {
        if (students_.size() >= studentsKept) {
            return nullptr;
        }
        found = students_.emplace(key, Student()).first;
        Student& student = found->second;
        student.name = key.first;
        student.initials = key.second;
        student.possibly = match.possibly;
        student.onList = options_.grading.classList == nullptr;
    }
    Student* student = &found->second;
    if (student->initialsSeen.size() < initialsKept && !initials.empty() &&
        std::find(student->initialsSeen.begin(), student->initialsSeen.end(), initials) ==
            student->initialsSeen.end()) {
        student->initialsSeen.emplace_back(initials);
    }
    touched_.insert(student);
    last_.student = student;
    return student;
}

AssignmentWork* ClassWork::workOf(Student& student, std::string_view assignment) {
    if (last_.work != nullptr && last_.student == &student && assignment == last_.assignment) {
        return last_.work;
    }
    auto found = student.work.find(assignment);
    if (found == student.work.end()) {
        if (works_ >= worksKept) {
            return nullptr;
        }
        ++works_;
        found = student.work.emplace(std::string(assignment), AssignmentWork()).first;
    }
    last_.assignment.assign(assignment);
    last_.work = &found->second;
    return last_.work;
}

Cell* ClassWork::cellOf(AssignmentWork& work, int question) {
    auto found = work.cells.find(question);
    if (found == work.cells.end()) {
        if (cells_ >= cellsKept) {
            return nullptr;
        }
        ++cells_;
        found = work.cells.emplace(question, Cell()).first;
    }
    return &found->second;
}

void ClassWork::run(const RecordRows::RunStart& start, std::uint32_t file) {
    runWork_ = nullptr;
    Student* student = studentOf(start.student, start.initials);
    AssignmentWork* work = student == nullptr ? nullptr : workOf(*student, start.assignment);
    if (work == nullptr) {
        return;
    }
    if (work->header.empty()) {
        work->header.assign(start.assignmentHeader.substr(
            0, characterEnd(start.assignmentHeader, titleLimit)));
    }
    const Moment moment = moments_.of(start.date, start.time);
    std::vector<RunWork>& runs = work->runs;
    // The same run in another file (master and send) starts within a second of it.
    const auto earlier = [](const RunWork& run, Moment value) { return run.start < value; };
    auto at = std::lower_bound(runs.begin(), runs.end(),
                               moment == noMoment ? moment : moment - 1, earlier);
    for (auto each = at; moment != noMoment && each != runs.end() && each->start <= moment + 1;
         ++each) {
        if (each->initials == start.initials && each->file != file) {
            runWork_ = work;
            runIndex_ = static_cast<std::size_t>(each - runs.begin());
            return;
        }
    }
    if (runs_ >= runsKept) {
        ++runsNotKept_;
        return;
    }
    ++runs_;
    at = std::upper_bound(runs.begin(), runs.end(), moment,
                          [](Moment value, const RunWork& run) { return value < run.start; });
    RunWork fresh;
    fresh.file = file;
    fresh.start = moment;
    fresh.initials.assign(start.initials);
    const auto inserted = runs.insert(at, std::move(fresh));
    runIndex_ = static_cast<std::size_t>(inserted - runs.begin());
    runWork_ = work;
}

void ClassWork::row(const RecordRow& row, std::uint32_t file, std::uint64_t ordinal,
                    RecordFileKind kind) {
    Student* student = studentOf(row.student, row.initials);
    AssignmentWork* work = student == nullptr ? nullptr : workOf(*student, row.assignment);
    if (work == nullptr) {
        ++rowsNotKept_;
        return;
    }
    const Moment moment = moments_.of(row.date, row.time);
    const bool note = row.kind == "note";
    const DueTimes* due = options_.grading.due;
    const std::optional<bool> late = due == nullptr ? std::nullopt : due->late(row.assignment, moment);
    AssignmentWork::Counts& counts = work->byKind[static_cast<std::size_t>(kind)];
    ++(note ? counts.notes : counts.responses);
    counts.late += late.value_or(false) ? 1 : 0;
    if (moment != noMoment) {
        counts.first = counts.first == noMoment ? moment : std::min(counts.first, moment);
        counts.last = std::max(counts.last, moment);
    }
    int question = note ? order_.numberFound(row.assignment, row.question)
                        : order_.numberOf(row.assignment, row.question);
    if (note && question == 0) {
        question = -1; // a note on a line that is no question's
    }
    if (!note) {
        auto texts = questionTexts_.find(row.assignment);
        if (texts == questionTexts_.end()) {
            texts = questionTexts_.emplace(std::string(row.assignment), std::map<int, std::string>())
                        .first;
        }
        if (!texts->second.contains(question)) {
            texts->second.emplace(question,
                                  std::string(row.question.substr(
                                      0, characterEnd(row.question, titleLimit))));
        }
    }
    if (runWork_ == work && kind != RecordFileKind::Notes && runIndex_ < work->runs.size()) {
        RunWork& run = work->runs[runIndex_];
        // The run's own file tells its clicks' times; another (the send file) only where it
        // holds clicks beyond them, more than the second its copies may differ by.
        if (moment != noMoment &&
            (run.file == file || run.first == noMoment || moment < run.first - 1 ||
             moment > run.last + 1)) {
            run.first = run.first == noMoment ? moment : std::min(run.first, moment);
            run.last = std::max(run.last, moment);
        }
        if (!note) {
            const auto at = std::lower_bound(run.questions.begin(), run.questions.end(), question);
            if (at == run.questions.end() || *at != question) {
                run.questions.insert(at, question);
            }
        }
        if (run.file == file) {
            ++(note ? run.notes : run.responses);
        }
    }
    Cell* cell = cellOf(*work, question);
    if (cell == nullptr) {
        ++rowsNotKept_;
        return;
    }
    const RowClick click{moment,
                         note,
                         late,
                         fingerprint(0, row.answer),
                         row.answer.size(),
                         file,
                         row.answer,
                         question == -1 ? row.question : std::string_view()};
    if (note) {
        addOther(*cell, click);
    } else {
        addResponse(*cell, click, ordinal);
    }
}

namespace {

void setFrom(Click& click, const RowClick& row) {
    click.moment = row.moment;
    click.note = row.note;
    click.late = row.late;
    click.answer = row.answer;
    click.answerSize = row.answerSize;
    click.copiedUntil = noMoment;
    click.textKept = false;
    click.text.clear();
    click.cut = 0;
    click.question.clear();
    click.files.assign(1, row.file);
}

} // namespace

bool ClassWork::keepText(Click& click, const RowClick& row) {
    const std::size_t end = characterEnd(row.text, entryLimit);
    const std::size_t question = characterEnd(row.question, titleLimit);
    if (textKept_ + sizeof(Click) + end + question >= textBudget) {
        return false;
    }
    click.text.assign(row.text.substr(0, end));
    click.question.assign(row.question.substr(0, question));
    if (click.text.capacity() > 2 * click.text.size() + 64) {
        click.text.shrink_to_fit();
    }
    click.cut = row.text.size() - end;
    click.textKept = true;
    textKept_ += costOf(click);
    return true;
}

void ClassWork::release(Click& click) {
    if (click.textKept) {
        textKept_ -= std::min(textKept_, costOf(click));
        click.textKept = false;
    }
}

void ClassWork::addResponse(Cell& cell, const RowClick& row, std::uint64_t ordinal) {
    const bool mark = options_.markFinalRows;
    if (cell.final) {
        Click& final = *cell.final;
        if (mayBeCopy(row.moment, final) && row.answer == final.answer &&
            row.answerSize == final.answerSize) {
            if (!holds(final.files, row.file)) {
                // The same click in another of the student's files.
                if (final.files.size() < filesPerClick) {
                    final.files.push_back(row.file);
                }
                noteCopy(final, row.moment);
                if (mark) {
                    cell.finalRows.emplace_back(row.file, ordinal);
                }
            } else if (mark) {
                // The same answer again within the second: the later click is the final one.
                for (auto& [file, place] : cell.finalRows) {
                    place = file == row.file ? ordinal : place;
                }
            }
            return;
        }
        if (row.moment < final.moment ||
            (row.moment == final.moment && !holds(final.files, row.file))) {
            addOther(cell, row);
            return;
        }
        // A later response: the final one until now is an earlier one.
        if (options_.keepTexts && final.textKept) {
            const std::size_t index = cell.others.size();
            cell.others.push_back(std::move(final));
            const Click& moved = cell.others.back();
            othersIndex_.emplace(othersKey(&cell, false, moved.answer, moved.moment),
                                 std::make_pair(&cell, index));
            if (moved.copiedUntil != noMoment) {
                othersIndex_.emplace(othersKey(&cell, false, moved.answer, moved.copiedUntil),
                                     std::make_pair(&cell, index));
            }
            final = Click();
        } else {
            release(final);
            if (options_.keepTexts) {
                ++cell.notShown;
                ++clicksNotShown_;
            }
        }
    } else {
        cell.final.emplace();
    }
    Click& final = *cell.final;
    setFrom(final, row);
    if (options_.keepTexts || options_.keepFinalTexts) {
        keepText(final, row);
    }
    if (mark) {
        cell.finalRows.assign(1, {row.file, ordinal});
    }
}

void ClassWork::addOther(Cell& cell, const RowClick& row) {
    if (!options_.keepTexts) {
        return; // only counted
    }
    if (row.moment != noMoment) {
        for (const Moment moment : {row.moment - 1, row.moment, row.moment + 1}) {
            const auto found = othersIndex_.find(othersKey(&cell, row.note, row.answer, moment));
            if (found == othersIndex_.end() || found->second.first != &cell) {
                continue;
            }
            const std::size_t index = found->second.second;
            Click& kept = cell.others[index];
            if (kept.note == row.note && kept.answer == row.answer &&
                kept.answerSize == row.answerSize && mayBeCopy(row.moment, kept) &&
                !holds(kept.files, row.file)) {
                if (kept.files.size() < filesPerClick) {
                    kept.files.push_back(row.file);
                }
                noteCopy(kept, row.moment);
                // A copy in a third file may be a second later still.
                othersIndex_.emplace(othersKey(&cell, row.note, row.answer, row.moment),
                                     std::make_pair(&cell, index));
                return; // the same click in another of the student's files
            }
        }
    }
    Click click;
    setFrom(click, row);
    if (!keepText(click, row)) {
        ++cell.notShown;
        ++clicksNotShown_;
        return;
    }
    const std::size_t index = cell.others.size();
    cell.others.push_back(std::move(click));
    othersIndex_.emplace(othersKey(&cell, row.note, row.answer, row.moment),
                         std::make_pair(&cell, index));
}

void ClassWork::attachProblems(const FileReport& report, std::uint32_t file,
                               const std::set<Student*>& touched) {
    if (report.problemCount == 0) {
        return;
    }
    ++brokenFiles_;
    problems_ += report.problemCount;
    std::set<Student*> students = touched;
    if (students.empty()) {
        // A file that gave no rows: its problems go to the student its name gives.
        last_ = Last();
        if (Student* named = studentOf(studentFromFileName((*files_)[file].name), "")) {
            students.insert(named);
        }
    }
    const std::string& path = paths_[file];
    for (Student* student : students) {
        student->filesWithProblems.insert(file);
        for (const RecordProblem& problem : report.problems) {
            if (student->problems.size() < problemsPerStudent) {
                student->problems.push_back(path + ", line " + std::to_string(problem.place.line) +
                                            ": " + problem.what);
            } else {
                ++student->problemsLeftOut;
            }
        }
        student->problemsLeftOut += report.problemCount - report.problems.size();
    }
}

void ClassWork::findAlike() {
    std::map<std::string, std::vector<Student*>> byFolded;
    for (auto& [key, student] : students_) {
        byFolded[foldedName(student.name)].push_back(&student);
    }
    for (auto& [folded, alike] : byFolded) {
        for (Student* student : alike) {
            student->alike.clear();
            for (const Student* other : alike) {
                if (other != student && other->name != student->name) {
                    student->alike.push_back(other->name);
                }
            }
        }
    }
}

std::string remarkOf(const Student& student, const Grading& grading) {
    std::vector<std::string> remarks;
    if (!student.hasRecords()) {
        remarks.emplace_back("no records");
    }
    if (grading.classList != nullptr && !student.onList) {
        remarks.emplace_back("not on the class list");
    }
    if (student.possibly != nullptr) {
        const ListedStudent& listed = *student.possibly;
        std::string possibly = "possibly " + listed.name;
        if (listed.name == student.name) {
            possibly += " (" + listed.initials + "): other initials";
        } else {
            possibly += ": the name differs only in " + howNamesDiffer(student.name, listed.name);
        }
        remarks.push_back(possibly);
    }
    for (const std::string& alike : student.alike) {
        if (student.possibly == nullptr || alike != student.possibly->name) {
            remarks.push_back("possibly the same person as " + alike + ": the names differ only in " +
                              howNamesDiffer(alike, student.name));
        }
    }
    if (student.initialsSeen.size() > 1) {
        std::string sets;
        for (const std::string& initials : student.initialsSeen) {
            sets += (sets.empty() ? "" : ", ") + initials;
        }
        remarks.push_back("initials typed: " + sets);
    }
    if (student.listed != nullptr && !student.listed->initials.empty() &&
        !student.initialsSeen.empty() &&
        (student.initialsSeen.size() > 1 || student.initialsSeen[0] != student.listed->initials)) {
        remarks.push_back("the list says " + student.listed->initials);
    }
    std::string text;
    for (const std::string& remark : remarks) {
        text += (text.empty() ? "" : "; ") + remark;
    }
    return text;
}

std::vector<const Student*> ClassWork::students() const {
    std::vector<const Student*> all;
    for (const auto& [key, student] : students_) {
        all.push_back(&student);
    }
    const auto byName = [](const Student* a, const Student* b) {
        const std::string foldedA = foldedName(a->name);
        const std::string foldedB = foldedName(b->name);
        return std::tie(foldedA, a->name, a->initials) < std::tie(foldedB, b->name, b->initials);
    };
    std::stable_sort(all.begin(), all.end(), byName);
    const ClassList* list = options_.grading.classList;
    if (list == nullptr) {
        return all;
    }
    std::vector<const Student*> ordered;
    for (const ListedStudent& listed : list->students()) {
        for (const Student* student : all) {
            if (student->listed == &listed) {
                ordered.push_back(student);
            }
        }
        for (const Student* student : all) {
            if (student->listed == nullptr && student->possibly == &listed) {
                ordered.push_back(student);
            }
        }
    }
    for (const Student* student : all) {
        if (student->listed == nullptr && student->possibly == nullptr) {
            ordered.push_back(student);
        }
    }
    return ordered;
}

std::vector<std::string> ClassWork::assignments() const {
    std::set<std::string> all;
    for (const auto& [key, student] : students_) {
        for (const auto& [assignment, work] : student.work) {
            all.insert(assignment);
        }
    }
    if (const DueTimes* due = options_.grading.due) {
        for (const auto& [assignment, moment] : due->named()) {
            bool known = false;
            for (const std::string& each : all) {
                known = known || paddedAssignment(each) == assignment;
            }
            if (!known) {
                all.insert(assignment);
            }
        }
    }
    std::vector<std::string> ordered(all.begin(), all.end());
    std::stable_sort(ordered.begin(), ordered.end(), [](const std::string& a, const std::string& b) {
        if (a.empty() != b.empty()) {
            return b.empty();
        }
        const std::string paddedA = paddedAssignment(a);
        const std::string paddedB = paddedAssignment(b);
        return std::make_pair(paddedA.size(), paddedA) < std::make_pair(paddedB.size(), paddedB);
    });
    return ordered;
}

std::map<int, std::string> ClassWork::questions(const std::string& assignment) const {
    std::map<int, std::string> questions;
    int number = 0;
    for (const std::string& text : order_.scriptQuestions(assignment)) {
        questions.emplace(++number, text);
    }
    if (const auto met = questionTexts_.find(assignment); met != questionTexts_.end()) {
        for (const auto& [each, text] : met->second) {
            questions.emplace(each, text);
        }
    }
    return questions;
}

int ClassWork::lastQuestion(const std::string& assignment) const {
    const std::map<int, std::string> all = questions(assignment);
    return all.empty() ? 0 : all.rbegin()->first;
}

std::size_t ClassWork::classSize() const {
    if (const ClassList* list = options_.grading.classList) {
        return list->size();
    }
    return students_.size();
}

ClassWork::AnsweredBy ClassWork::answeredBy(const std::string& assignment, int question) const {
    AnsweredBy count;
    for (const auto& [key, student] : students_) {
        const auto work = student.work.find(assignment);
        if (work == student.work.end()) {
            continue;
        }
        const auto cell = work->second.cells.find(question);
        if (cell != work->second.cells.end() && cell->second.final) {
            ++(student.onList ? count.onList : count.notOnList);
        }
    }
    return count;
}

std::vector<std::vector<std::uint64_t>> ClassWork::finalRows() const {
    std::vector<std::vector<std::uint64_t>> rows(files_ == nullptr ? 0 : files_->size());
    for (const auto& [key, student] : students_) {
        for (const auto& [assignment, work] : student.work) {
            for (const auto& [question, cell] : work.cells) {
                for (const auto& [file, place] : cell.finalRows) {
                    rows[file].push_back(place);
                }
            }
        }
    }
    for (std::vector<std::uint64_t>& places : rows) {
        std::sort(places.begin(), places.end());
    }
    return rows;
}

} // namespace drilbank::instructor
