#include "journal/ClickJournal.h"

#include "encoding/Cp1252.h"
#include "journal/Checksum.h"
#include "journal/JournalEntry.h"
#include "os/Failure.h"
#include "os/FileBytes.h"
#include "texts/FailureTexts.h"

#include <algorithm>
#include <thread>

// How a click stays whole across its two or three record files.
//
// A click writes the journal's entry and flushes it before it touches any record file, then
// appends and flushes each block, then writes the entry's done line. So whoever next takes
// the lock (the next click, the next start-up, another copy of the program) finds an entry
// without its done line only where a click was not acknowledged, and completes it file by
// file:
//   - a file still at its size before gets its block;
//   - a file that holds the block whole at that place is done;
//   - a file that ends in a first part of the block there gets the rest;
//   - a file that ends in a first part of the block followed only by zeros (a power cut on a
//     file system that grew the file without its data) has the zeros cut and gets the rest;
//   - a file proven changed by someone else since (shorter than before, other bytes there,
//     gone from a folder that is there, or no plain file any more) is left alone and
//     reported.
// Any other fault (no space, a network drop, no permission) keeps the entry for the next
// try. An entry without its right end line was cut short while being written, before any
// record file was touched, and is dropped. Every block thus reaches every file exactly once.
//
// Every call may also do its work and then report failure, as a share does whose reply was
// lost. None of them decides anything afterwards: each step is idempotent, and the next try
// reads what the disk holds. Above all a finished click is never erased but marked done, so
// the retry of a click whose last call "failed" finds it named there and done, instead of an
// empty journal that would have it recorded twice.
//
// The journal stays small: the next click drops the done entry before writing its own, so it
// holds one entry at most. That cut is safe: it comes after recovery has found the entry done,
// and before the new click touches any record file, so whether it lands, fails or lands and
// says it failed, no file holds anything the journal would still have to answer for.
namespace drilbank {
namespace {

constexpr std::size_t longestStudentPart = 200;
constexpr int setAsideNames = 100;
constexpr int otherNames = 8; // a journal's names beside the wanted one

// A name the entry may name: a file of this folder only, never a path that leaves it, and
// never a journal.
bool isPlainName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           !name.starts_with(ClickJournal::namePrefix) &&
           name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

struct Holding {
    bool changed = false;    // proven changed by someone else
    std::uint64_t held = 0;  // how much of the block the file holds at its place
    bool zerosAfter = false; // and then only zeros to its end, to be cut
};

Holding holdingOf(DurableFile& target, const EntryFile& file, DurableFile& journal) {
    const std::uint64_t size = target.size();
    if (size < file.sizeBefore) {
        return {.changed = true};
    }
    const std::uint64_t there = std::min(size - file.sizeBefore, file.length);
    const std::uint64_t common =
        bytesInCommon(target, file.sizeBefore, journal, file.blockOffset, there);
    if (common == there) {
        return {.held = common};
    }
    const bool onlyZeros = size - file.sizeBefore <= file.length &&
                           onlyZerosFrom(target, file.sizeBefore + common) &&
                           !holdsZero(journal, file.blockOffset + common, there - common);
    return onlyZeros ? Holding{.held = common, .zerosAfter = true} : Holding{.changed = true};
}

} // namespace

std::string ClickJournal::fileNameFor(std::string_view studentFilePart) {
    std::string name = std::string(namePrefix) + "_";
    if (studentFilePart.size() <= longestStudentPart) {
        name += studentFilePart;
    } else {
        // Two long names that begin alike still get journals of their own.
        Checksum whole;
        whole.add(studentFilePart);
        name += std::string(studentFilePart.substr(0, longestStudentPart)) + "~" +
                std::to_string(whole.value());
    }
    // Windows drops a full stop at a name's end, which would make it another name.
    return name.ends_with('.') ? name + "_" : name;
}

ClickJournal::ClickJournal(DurableFiles& system, const std::filesystem::path& wanted,
                           const LockWait& wait)
    : system_(system), path_(pathFor(system, wanted)), folder_(path_.parent_path()), wait_(wait) {
    if (path_ != wanted) {
        otherName_ = path_;
    }
    openOwnJournal();
}

// A classmate may put anything at a student's journal's name, where a folder lets everyone
// create files: an entry that would be completed into her files as her own click, or a file
// she may not rename that would block every click. Such a thing is never read nor moved; the
// other names are tried in a fixed order, so every run of hers finds the same journal.
std::filesystem::path ClickJournal::pathFor(DurableFiles& system,
                                            const std::filesystem::path& wanted) {
    std::optional<std::filesystem::path> free;
    for (int number = 1; number <= otherNames + 1; ++number) {
        const std::filesystem::path name =
            number == 1 ? wanted : pathFromUtf8(utf8Of(wanted) + "-" + std::to_string(number));
        const FileOwner owner = system.ownerOf(name);
        if (owner == FileOwner::ThisAccount) {
            return name;
        }
        if (owner == FileOwner::Nothing && !free) {
            free = name;
        }
    }
    if (!free) {
        throw Failure(failure::PermissionDenied, journalNamesTakenText);
    }
    return *free;
}

void ClickJournal::openOwnJournal() {
    for (int attempt = 0; attempt < 3; ++attempt) {
        bool created = false;
        try {
            journal_ = system_.open(path_, FileAccess::Append, &created);
        } catch (const Failure& fault) {
            if (fault.number() != failure::PathFileAccessError) {
                throw;
            }
            setAside(); // a link, a folder or a device where the journal belongs
            continue;
        }
        lock();
        if (created) {
            system_.flushFolder(folder_);
        }
        if (journal_->linkCount() == 1 && startsAsJournal(*journal_)) {
            return;
        }
        journal_.reset(); // closed first: Windows renames no file that is open
        setAside();
    }
    throw Failure(failure::PathFileAccessError,
                  journalKeepsBeingReplacedText(cp1252FromUtf8(utf8Of(path_.filename()))));
}

void ClickJournal::setAside() {
    for (int number = 1; number <= setAsideNames; ++number) {
        const std::filesystem::path aside =
            folder_ /
            pathFromUtf8(utf8Of(path_.filename()) + ".set-aside-" + std::to_string(number));
        std::error_code error;
        if (std::filesystem::exists(std::filesystem::symlink_status(aside, error))) {
            continue;
        }
        system_.rename(path_, aside);
        system_.flushFolder(folder_);
        setAsideAs_ = aside;
        return;
    }
    throw Failure(failure::PathFileAccessError, tooManySetAsideText);
}

// Waits a while for another copy of the program to finish its click, never for ever: a copy
// stopped in a debugger, or a lock a network share forgot, must not freeze the window. The
// wait is measured by the clock, so both systems wait alike however long each try takes.
// Tries come often: a copy that clicks again at once frees the lock only for a moment, and
// waiting longer between tries would let it take the lock again every time.
void ClickJournal::lock() {
    const auto start = std::chrono::steady_clock::now();
    bool told = false;
    const auto tell = [&](bool waiting) {
        if (told != waiting && wait_.notice) {
            wait_.notice(waiting);
        }
        told = waiting;
    };
    constexpr std::chrono::milliseconds pause{1};
    try {
        while (!journal_->tryLock()) {
            const auto waited = std::chrono::steady_clock::now() - start;
            if (waited >= wait_.limit) {
                throw Failure(failure::PermissionDenied,
                              anotherCopyHoldsFolderText(wait_.limit.count() / 1000.0));
            }
            if (waited >= wait_.noticeAfter) {
                tell(true);
            }
            std::this_thread::sleep_for(pause);
        }
    } catch (...) {
        tell(false);
        throw;
    }
    tell(false);
}

bool ClickJournal::mayNeedRecovery(DurableFiles& system, const std::filesystem::path& path) {
    try {
        const std::unique_ptr<DurableFile> journal = system.open(path, FileAccess::Read);
        return journal != nullptr && journal->size() > 0 && !endsDone(*journal);
    } catch (const Failure& fault) {
        // Something that is no journal stands there: the journal's own opening sets it aside.
        return fault.number() == failure::PathFileAccessError;
    }
}

std::optional<std::string> ClickJournal::recover() {
    if (journal_->size() == 0) {
        return std::nullopt;
    }
    const std::optional<JournalEntry> entry = readEntry(*journal_);
    if (!entry) {
        journal_->truncate(0); // torn before any record file was touched
        journal_->flush();
        return std::nullopt;
    }
    if (entry->done) {
        return entry->click;
    }
    std::optional<Failure> fault;
    std::string changed; // the files proven changed by someone else, for the report
    const auto noteChanged = [&changed](const EntryFile& file) {
        changed += (changed.empty() ? "" : ", ") + cp1252FromUtf8(file.name);
    };
    for (const EntryFile& file : entry->files) {
        try {
            if (!isPlainName(file.name)) {
                noteChanged(file);
                continue;
            }
            const std::filesystem::path path = folder_ / pathFromUtf8(file.name);
            const std::unique_ptr<DurableFile> reading = system_.open(path, FileAccess::Read);
            Holding holding;
            if (reading) {
                holding = holdingOf(*reading, file, *journal_);
            } else if (file.sizeBefore > 0) {
                // Gone: proof of a change only where the folder itself is still there.
                if (!system_.open(path_, FileAccess::Read)) {
                    throw Failure(failure::DeviceIoError, folderUnreachableText);
                }
                holding.changed = true;
            }
            if (holding.changed) {
                noteChanged(file);
            } else if (holding.held < file.length) {
                bool created = false;
                const std::unique_ptr<DurableFile> appending =
                    system_.open(path, FileAccess::Append, &created);
                if (holding.zerosAfter) {
                    appending->truncate(file.sizeBefore + holding.held);
                }
                copyBytes(*journal_, file.blockOffset + holding.held, file.length - holding.held,
                          *appending);
                if (created) {
                    system_.flushFolder(folder_);
                }
            }
        } catch (const Failure& failed) {
            if (failed.number() == failure::PathFileAccessError) {
                noteChanged(file); // a link, pipe or folder put where the file was
            } else if (!fault) {
                fault = Failure(failed.number(),
                                failed.detail() + " (" + cp1252FromUtf8(file.name) + ")");
            }
        }
    }
    if (fault) {
        throw *fault;
    }
    markDone(*entry);
    journal_->flush();
    if (!changed.empty()) {
        throw Failure(failure::PathFileAccessError, changedSinceInterruptedText(changed));
    }
    return entry->click;
}

// A first part of a done line, torn by a power cut, goes before the whole line is written.
void ClickJournal::markDone(const JournalEntry& entry) {
    if (journal_->size() > entry.end) {
        journal_->truncate(entry.end);
    }
    journal_->append(doneLine(entry.checksum));
}

void ClickJournal::record(std::string_view click, std::vector<BlockAppend>& appends) {
    std::vector<EntryBlock> blocks;
    for (BlockAppend& append : appends) {
        append.sizeBefore = append.file->size();
        blocks.push_back({append.name, *append.sizeBefore, append.block});
    }
    const std::string entry = entryBytes(click, blocks);
    try {
        journal_->truncate(0); // the entry before is done: recovery went through
        journal_->append(entry);
        journal_->flush();
    } catch (const Failure&) {
        // Not one record file was touched. The entry goes when it can; what stays of it is
        // dropped as torn, or completed, by the next recovery.
        try {
            journal_->truncate(0);
            journal_->flush();
        } catch (const Failure&) {
        }
        throw;
    }
    std::optional<Failure> fault;
    for (const BlockAppend& append : appends) {
        try {
            append.file->append(append.block);
            append.file->flush();
        } catch (const Failure& failed) {
            // Cut back what landed, where the bytes past the size taken under the lock are
            // provably a first part of our own block, so the file stays whole until the entry
            // is completed; anything else is left for recovery to find.
            try {
                if (endsInPartOf(*append.file, *append.sizeBefore, append.block)) {
                    append.file->truncate(*append.sizeBefore);
                }
            } catch (const Failure&) {
            }
            if (!fault) {
                fault = Failure(failed.number(),
                                failed.detail() + " (" + cp1252FromUtf8(append.name) + ")");
            }
        }
    }
    if (fault) {
        throw *fault;
    }
    // Every file holds its block, flushed: the click is acknowledged whatever becomes of the
    // done line. Nor need that line reach the disk at once: an entry found without it after a
    // fault or a power cut is checked, found complete, and only marked done.
    try {
        journal_->append(doneLineFor(entry));
    } catch (const Failure&) {
    }
}

} // namespace drilbank
