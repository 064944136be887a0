#pragma once

#include "instructor/RecordSearch.h"

#include <ostream>
#include <string>
#include <vector>

namespace drilbank::instructor {

// Each command reads the files in the order given and writes to `out`; progress goes to
// `progress` when there are more than a few hundred files. Each gives the exit status:
// 0 when every file is whole and clean, 1 when any file has a problem.
int checkFiles(const std::vector<RecordFile>& files, std::ostream& out, std::ostream& progress);
int exportFiles(const std::vector<RecordFile>& files, const std::string& format, std::ostream& out,
                std::ostream& progress);
int summarizeFiles(const std::vector<RecordFile>& files, std::ostream& out, std::ostream& progress);

// Tells how far a long run has got, on one line that it rewrites.
class Progress {
public:
    Progress(std::ostream& out, std::size_t total);
    ~Progress();
    void fileDone();

private:
    std::ostream& out_;
    std::size_t total_;
    std::size_t done_ = 0;
    bool shown_;
};

} // namespace drilbank::instructor
