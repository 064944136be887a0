#pragma once

#include "os/DurableFiles.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace drilbank {

// One block bound for one record file of the journal's folder.
struct BlockAppend {
    std::string name;  // the file's name in the folder
    DurableFile* file; // open for appending
    std::string_view block;
    std::optional<std::uint64_t> sizeBefore; // set by `record`: the size under the lock
};

// How long a click waits for another copy of the program, and whom it tells that it waits.
struct LockWait {
    std::chrono::milliseconds noticeAfter{500};
    std::chrono::milliseconds limit{10000};
    std::function<void(bool waiting)> notice; // true when the wait is said, false when over
};

// The write-ahead journal of one student in one working directory: a hidden file beside
// the record files (format in JournalEntry.h). Constructing it takes its lock, which every
// writer of that student's files holds for a whole click, so clicks of two copies of the
// program never interleave; the students of a class never wait for one another. See
// ClickJournal.cpp for how a click stays whole across its files.
class ClickJournal {
public:
    static constexpr std::string_view namePrefix = ".drilbank-journal";

    // The journal's file name for the file-name part of a student's record files
    // (Windows-1252), short enough for any disk.
    static std::string fileNameFor(std::string_view studentFilePart);

    // Opens (creating it when missing) and locks the journal. A journal that is not the
    // program's own (a link, a folder, a file with a second name, bytes that are no entry)
    // is never cut: it is set aside under a new hidden name, given in `setAsideAs`, and a
    // new journal is started.
    ClickJournal(DurableFiles& system, std::filesystem::path path, const LockWait& wait);

    // Whether a journal at the path holds anything to look at; reads only.
    static bool mayHoldEntry(DurableFiles& system, const std::filesystem::path& path);

    // Completes the entry that a fault or a kill left open, in exactly the files that lack
    // its block, and gives the click it completed. A fault that stops it is thrown and the
    // entry stays for the next try; a file proven changed by someone else since is left
    // alone and reported as failure 75 once the rest is done, and the entry is then closed.
    std::optional<std::string> recover();

    // Records one click: first the entry, flushed; then each block, flushed; then the entry
    // is emptied. The first fault is thrown; whatever the disk then holds decides the next
    // recovery.
    void record(std::string_view click, std::vector<BlockAppend>& appends);

    const std::optional<std::filesystem::path>& setAsideAs() const { return setAsideAs_; }

private:
    void openOwnJournal();
    void setAside();
    void lock();

    DurableFiles& system_;
    std::filesystem::path path_;
    std::filesystem::path folder_;
    const LockWait& wait_;
    std::unique_ptr<DurableFile> journal_;
    std::optional<std::filesystem::path> setAsideAs_;
};

} // namespace drilbank
