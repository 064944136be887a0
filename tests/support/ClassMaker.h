#pragma once

#include "support/FakePlatform.h"
#include "support/TemporaryFolder.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace drilbank::testing {

// A student's record files made by the program itself, through the core on the fake
// platform: runs on days of their own, each answering questions of the built-in script at the
// times given. The files are made in drives of the student's own and, once finish() is
// called (or the maker goes), moved into the student's folder, as an instructor collects them.
class StudentMaker {
public:
    // `name` and `initials` in UTF-8, as the student types them at start-up.
    StudentMaker(std::filesystem::path folder, std::string name, std::string initials);
    ~StudentMaker();
    StudentMaker(const StudentMaker&) = delete;
    StudentMaker& operator=(const StudentMaker&) = delete;

    // Starts a run on `date` (MM-DD-YYYY) at `seconds` past midnight, for `assignment`, the
    // initials typed then as given (the maker's own when empty).
    void startRun(const std::string& date, int seconds, const std::string& initials = "",
                  const std::string& assignment = "1");
    // Shows questions until the `question`th of the assignment (1 for the first) and records
    // `text` (UTF-8) at `seconds` past midnight of the run's day (more than a day's seconds
    // run on past midnight): a response, or a note. Questions go forward only within a run.
    void answer(int question, int seconds, const std::string& text, bool note = false);
    // Ends the run, as quitting does.
    void endRun();
    // Ends any run and moves the files into the folder; what it moved, by name.
    std::vector<std::filesystem::path> finish();

    const std::filesystem::path& folder() const { return folder_; }

    // Whether the clock ticks a second on every reading, so that the master and send files of
    // one click carry times a second apart, as they may on a real machine.
    bool ticking = false;

private:
    struct Running;
    std::filesystem::path folder_;
    std::string name_;
    std::string initials_;
    TemporaryFolder drives_;
    std::unique_ptr<Running> running_;
    std::filesystem::path workingFolder_;
    bool finished_ = false;
};

// What a generated class holds: a class list's text and the students' folders.
struct MadeClass {
    std::string classList;                 // UTF-8, a header line and one student a line
    std::vector<std::string> listed;       // the listed names, in the list's order
    std::vector<std::string> withoutFiles; // listed students who handed in nothing
};

// A class of `students` (at least 12) in `folder`, made through the core: a folder per student
// with their master, send and notes files, a few runs each on days before and after
// `dueDate` (MM-DD-YYYY, due at 23:59), questions answered once or several times, some left
// out, notes, runs stopped early. Among them, as a real class has them: students who handed
// in nothing, one whose name is typed a second way in one run, one who typed other initials
// once, a student from another course (not on the list), a send file edited after the fact
// and one cut short on its way. Deterministic for a given size.
MadeClass makeClass(const std::filesystem::path& folder, std::size_t students,
                    const std::string& dueDate = "04-20-2003");

} // namespace drilbank::testing
