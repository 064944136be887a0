#pragma once

#include "instructor/RecordSearch.h"

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace drilbank::instructor {

// Where a command writes: its output, its messages to the instructor, and its progress, which
// goes to a terminal only (nothing when standard error is piped or kept in a file).
struct CommandStreams {
    std::ostream& out;
    std::ostream& messages;
    std::ostream* progress = nullptr;
};

class ClassList;
class DueTimes;

// What summary, report and export grade by: the class list of --class-list and the due times
// of --due, where given.
struct Grading {
    const ClassList* classList = nullptr;
    const DueTimes* due = nullptr;
};

struct ExportOptions {
    std::string format = "csv"; // xlsx, csv or json
    bool exact = false;         // CSV cells as typed
    std::filesystem::path file; // where xlsx is written; the others go to the output stream
};

// Each command reads the files in the order given. Each gives the exit status: 0 when every
// file is whole and clean, 1 when any file has a problem.
int checkFiles(const std::vector<RecordFile>& files, const CommandStreams& streams);
int exportFiles(const std::vector<RecordFile>& files, const ExportOptions& options,
                const CommandStreams& streams, const Grading& grading = {});
int summarizeFiles(const std::vector<RecordFile>& files, const CommandStreams& streams,
                   const Grading& grading = {});
int reportFiles(const std::vector<RecordFile>& files, const CommandStreams& streams,
                const Grading& grading = {});

// Tells how far a long run has got, on one line that it rewrites.
class Progress {
public:
    Progress(const CommandStreams& streams, std::size_t total);
    ~Progress();
    void fileDone();

private:
    std::ostream* out_;
    std::size_t total_;
    std::size_t done_ = 0;
};

} // namespace drilbank::instructor
