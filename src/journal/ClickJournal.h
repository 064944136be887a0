#pragma once

#include "journal/JournalEntry.h"
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
// program never interleave; the students of a class never wait for one another. Only the
// student's own journal is used: a file of another account at its name is left alone and a
// journal of another name taken instead. See ClickJournal.cpp for how a click stays whole
// across its files, whichever call fails, even one that did its work and then reported
// failure.
class ClickJournal {
public:
    static constexpr std::string_view namePrefix = ".drilbank-journal";

    // The journal's file name for the file-name part of a student's record files
    // (Windows-1252), short enough for any disk.
    static std::string fileNameFor(std::string_view studentFilePart);

    // Opens (creating it when missing) and locks the journal this account uses for the
    // wanted path (`pathFor`). A journal that is not the program's own (a link, a folder, a
    // file with a second name, bytes that are no entry) is never cut: it is set aside under
    // a new hidden name, given in `setAsideAs`, and a new journal is started.
    ClickJournal(DurableFiles& system, const std::filesystem::path& wanted, const LockWait& wait);

    // The journal this account uses for the wanted path: the first of the path and its
    // other names that is this account's own, else the first where nothing stands yet.
    static std::filesystem::path pathFor(DurableFiles& system, const std::filesystem::path& wanted);

    // Whether the journal at the path may hold a click not yet done; reads only.
    static bool mayNeedRecovery(DurableFiles& system, const std::filesystem::path& path);

    // Completes the entry that a fault or a kill left open, in exactly the files that lack
    // its block, marks it done, and gives its click, done now or before. A fault that stops
    // it is thrown and the entry stays for the next try; a file proven changed by someone
    // else since is left alone and reported as failure 75 once the rest is done, and the
    // entry is then marked done.
    std::optional<std::string> recover();

    // Records one click, after `recover` went through: the done entry before it is dropped,
    // then the click's entry is written, flushed; then each block, flushed; then the entry
    // is marked done. The first fault is thrown; whatever the disk then holds decides the
    // next recovery.
    void record(std::string_view click, std::vector<BlockAppend>& appends);

    const std::optional<std::filesystem::path>& setAsideAs() const { return setAsideAs_; }
    // The journal's path when it is not the wanted one, which another account's file holds.
    const std::optional<std::filesystem::path>& otherName() const { return otherName_; }

private:
    void openOwnJournal();
    void markDone(const JournalEntry& entry);
    void setAside();
    void lock();

    DurableFiles& system_;
    std::filesystem::path path_;
    std::filesystem::path folder_;
    const LockWait& wait_;
    std::unique_ptr<DurableFile> journal_;
    std::optional<std::filesystem::path> setAsideAs_;
    std::optional<std::filesystem::path> otherName_;
};

} // namespace drilbank
