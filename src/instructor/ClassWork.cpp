#include "instructor/ClassWork.h"

#include "os/DurableFiles.h"
#include "reading/Fingerprint.h"

#include <algorithm>

namespace drilbank::instructor {
namespace {

constexpr std::size_t initialsKept = 4;

} // namespace

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
            files[index], [&](const RecordRow& each) { row(each, file, ordinal++, kind); },
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

Cell* ClassWork::cellOf(AssignmentWork& work, int question, std::string_view assignment,
                        std::string_view text) {
    auto found = work.cells.find(question);
    if (found == work.cells.end()) {
        if (cells_ >= cellsKept) {
            return nullptr;
        }
        ++cells_;
        found = work.cells.emplace(question, Cell()).first;
        if (!assignment.empty()) {
            // A question's text as first met, for the grid's column: told with a new cell,
            // not with every row.
            auto texts = questionTexts_.find(assignment);
            if (texts == questionTexts_.end()) {
                texts =
                    questionTexts_.emplace(std::string(assignment), std::map<int, std::string>())
                        .first;
            }
            texts->second.emplace(question,
                                  std::string(text.substr(0, utf8CharacterEnd(text, titleLimit))));
        }
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
        work->header.assign(
            start.assignmentHeader.substr(0, utf8CharacterEnd(start.assignmentHeader, titleLimit)));
    }
    const Moment moment = moments_.of(start.date, start.time);
    std::vector<RunWork>& runs = work->runs;
    // The same run in another file (master and send) starts within a second of it.
    const auto earlier = [](const RunWork& run, Moment value) { return run.start < value; };
    auto at = std::lower_bound(runs.begin(), runs.end(), moment == noMoment ? moment : moment - 1,
                               earlier);
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
    const std::optional<bool> late =
        due == nullptr ? std::nullopt : due->late(row.assignment, moment);
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
    if (runWork_ == work && kind != RecordFileKind::Notes && runIndex_ < work->runs.size()) {
        RunWork& run = work->runs[runIndex_];
        // The run's own file tells its clicks' times; another (the send file) only where it
        // holds clicks beyond them, more than the second its copies may differ by.
        if (moment != noMoment && (run.file == file || run.first == noMoment ||
                                   moment < run.first - 1 || moment > run.last + 1)) {
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
    Cell* cell = cellOf(*work, question, note ? std::string_view() : row.assignment, row.question);
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

void ClassWork::attachProblems(const FileReport& report, std::uint32_t file,
                               const std::set<Student*>& touched) {
    if (report.problemCount == 0) {
        return;
    }
    ++brokenFiles_;
    problems_ += report.problemCount;
    std::set<Student*> students = touched;
    if (students.empty() && !report.notARecord) {
        // A file that gave no rows: its problems go to the student its name gives; a file
        // that is no record at all makes no student of its name.
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

} // namespace drilbank::instructor
