#pragma once

#include <cstddef>
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

    // Whether an append can be cut short by a kill at all: the kernel copies a write page by
    // page and only looks for a fatal signal between pages, so an append that stays within
    // one page of the file lands whole or not at all and needs no marker. 4096 bytes is the
    // smallest page, so larger pages only make this careful.
    static bool needed(off_t sizeBefore, std::size_t length);

    // Whether a marker stands beside the file, as one does while an append is under way.
    static bool left(const std::string& localPath);

    // Rolls back an append that a killed writer left unfinished; a finished one stays.
    static void recover(int descriptor, const std::string& localPath);

private:
    std::string markerPath_;
};

} // namespace drilbank
