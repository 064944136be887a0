#pragma once

#include "platform/DurableFiles.h"

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace drilbank {

// One block bound for one record file of the journal's folder.
struct BlockAppend {
    std::string name;  // the file's name in the folder
    DurableFile* file; // open for appending
    std::string_view block;
};

// The write-ahead journal of one working directory: a hidden file of a fixed short name,
// ".drilbank-journal", beside the record files. Constructing it takes its lock, which every
// writer of the folder holds for a whole click, so clicks of two copies of the program never
// interleave. See ClickJournal.cpp for how a click stays whole across its files.
class ClickJournal {
public:
    static constexpr const char* fileName = ".drilbank-journal";

    // Opens (creating it when missing) and locks the folder's journal.
    ClickJournal(DurableFiles& system, std::filesystem::path folder);

    // Whether the folder holds a journal with an entry to complete; reads only.
    static bool hasOpenEntry(DurableFiles& system, const std::filesystem::path& folder);

    // Completes the entry that a fault or a kill left open, in exactly the files that lack
    // its block. A fault that stops it is thrown and the entry stays for the next try; a
    // file that someone else changed since is left alone and reported as a Failure once
    // the rest is done, and the entry is then closed.
    void recover();

    // Records one click: first the entry, flushed; then each block, flushed; then the entry
    // is closed. On a fault the first fault is thrown; the entry stays open when any file
    // may already hold its block, and `entryOpen` then tells so.
    void record(const std::vector<BlockAppend>& appends);

    bool entryOpen() const { return entryOpen_; }

private:
    DurableFiles& system_;
    std::filesystem::path folder_;
    std::unique_ptr<DurableFile> journal_;
    bool entryOpen_ = false;
};

} // namespace drilbank
