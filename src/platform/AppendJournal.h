#pragma once

#include <string>
#include <sys/types.h>

namespace drilbank {

// A marker beside a record file for the time one append is under way, naming the file's
// size before and after it. The kernel may cut a write short when the process is killed
// between two pages; the next writer finds the marker and cuts the file back, so a file
// never keeps half a block. Both calls expect the file's exclusive lock to be held.
class AppendJournal {
public:
    AppendJournal(std::string localPath, off_t sizeBefore, off_t sizeAfter);
    ~AppendJournal();
    AppendJournal(const AppendJournal&) = delete;
    AppendJournal& operator=(const AppendJournal&) = delete;

    // Rolls back an append that a killed writer left unfinished; a finished one stays.
    static void recover(int descriptor, const std::string& localPath);

private:
    std::string markerPath_;
};

} // namespace drilbank
