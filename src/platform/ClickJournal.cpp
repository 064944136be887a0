#include "platform/ClickJournal.h"

#include "platform/Checksum.h"
#include "platform/Cp1252.h"
#include "platform/Failure.h"
#include "texts/FailureTexts.h"

#include <algorithm>
#include <charconv>
#include <optional>

// How a click stays whole across its two or three record files.
//
// The journal holds at most one entry, the click under way:
//     drilbank journal 1 CR LF
//     <number of files> CR LF
//     for each file: <size before> <block length> <block CRC-32> <name> CR LF
//     the blocks, one after the other
//     end <CRC-32 of everything above> CR LF
// A click writes the entry and flushes it before it touches any record file, then appends
// and flushes each block, then empties the journal. So whoever next takes the lock (the next
// click, the next start-up, another copy of the program) finds an entry only where a click
// did not finish, and completes it file by file:
//   - a file still at its size before gets its block;
//   - a file that holds the block whole at that place is done;
//   - a file that ends in a first part of the block there gets the rest;
//   - any other file was changed by someone else since: it is left alone and reported.
// An entry without its right end line was cut short while being written, before any record
// file was touched, and is dropped. Every block thus reaches every file exactly once, and
// nothing is ever cut from a record file.
namespace drilbank {
namespace {

constexpr std::string_view magic = "drilbank journal 1\r\n";
constexpr std::size_t chunkSize = std::size_t{1} << 20;
constexpr std::size_t headerLimit = 64 * 1024;
constexpr std::size_t fileLimit = 8;

struct EntryFile {
    std::uint64_t sizeBefore = 0;
    std::uint64_t length = 0;
    std::uint32_t checksum = 0;
    std::string name;
    std::uint64_t blockOffset = 0; // where the block starts in the journal
};

std::string endLine(std::uint32_t checksum) {
    return "end " + std::to_string(checksum) + "\r\n";
}

// Reads the next CR LF line of `text` from `position`; nothing when there is none.
std::optional<std::string_view> nextLine(std::string_view text, std::size_t& position) {
    const std::size_t end = text.find("\r\n", position);
    if (end == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view line = text.substr(position, end - position);
    position = end + 2;
    return line;
}

template <typename Number> bool readNumber(std::string_view& line, Number& value) {
    const auto [rest, error] = std::from_chars(line.data(), line.data() + line.size(), value);
    if (error != std::errc() || rest == line.data() || rest == line.data() + line.size() ||
        *rest != ' ') {
        return false;
    }
    line.remove_prefix(static_cast<std::size_t>(rest - line.data()) + 1);
    return true;
}

// A name the entry may name: a file of this folder only, never a path that leaves it.
bool isPlainName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name != ClickJournal::fileName &&
           name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

// The entry the journal holds, or nothing when it holds no whole entry.
std::optional<std::vector<EntryFile>> readEntry(DurableFile& journal) {
    const std::uint64_t size = journal.size();
    std::string head(static_cast<std::size_t>(std::min<std::uint64_t>(size, headerLimit)), '\0');
    head.resize(journal.readAt(0, head.data(), head.size()));
    if (!head.starts_with(magic)) {
        return std::nullopt;
    }
    std::size_t position = magic.size();
    const std::optional<std::string_view> countLine = nextLine(head, position);
    std::size_t count = 0;
    if (!countLine ||
        std::from_chars(countLine->data(), countLine->data() + countLine->size(), count).ec !=
            std::errc() ||
        count == 0 || count > fileLimit) {
        return std::nullopt;
    }
    std::vector<EntryFile> files(count);
    std::uint64_t blocksLength = 0;
    for (EntryFile& file : files) {
        std::optional<std::string_view> line = nextLine(head, position);
        if (!line || !readNumber(*line, file.sizeBefore) || !readNumber(*line, file.length) ||
            !readNumber(*line, file.checksum) || file.length > size ||
            file.sizeBefore > (std::uint64_t{1} << 62)) {
            return std::nullopt;
        }
        file.name = std::string(*line);
        blocksLength += file.length;
    }
    const std::uint64_t blocksEnd = position + blocksLength;
    if (blocksEnd >= size || size - blocksEnd > 32) {
        return std::nullopt;
    }
    // Every byte before the end line must be as it was written.
    Checksum whole;
    whole.add(std::string_view(head).substr(0, position));
    std::string chunk;
    std::uint64_t at = position;
    for (EntryFile& file : files) {
        file.blockOffset = at;
        Checksum block;
        for (std::uint64_t done = 0; done < file.length;) {
            chunk.resize(
                static_cast<std::size_t>(std::min<std::uint64_t>(chunkSize, file.length - done)));
            if (journal.readAt(at, chunk.data(), chunk.size()) != chunk.size()) {
                return std::nullopt;
            }
            whole.add(chunk);
            block.add(chunk);
            done += chunk.size();
            at += chunk.size();
        }
        if (block.value() != file.checksum) {
            return std::nullopt;
        }
    }
    std::string tail(static_cast<std::size_t>(size - blocksEnd), '\0');
    if (journal.readAt(blocksEnd, tail.data(), tail.size()) != tail.size() ||
        tail != endLine(whole.value())) {
        return std::nullopt;
    }
    return files;
}

// Whether two stretches of bytes are the same, read a chunk at a time.
bool sameBytes(DurableFile& left, std::uint64_t leftAt, DurableFile& right, std::uint64_t rightAt,
               std::uint64_t length) {
    std::string a;
    std::string b;
    for (std::uint64_t done = 0; done < length;) {
        const auto piece =
            static_cast<std::size_t>(std::min<std::uint64_t>(chunkSize, length - done));
        a.resize(piece);
        b.resize(piece);
        if (left.readAt(leftAt + done, a.data(), piece) != piece ||
            right.readAt(rightAt + done, b.data(), piece) != piece || a != b) {
            return false;
        }
        done += piece;
    }
    return true;
}

// How much of its block a file holds at the place the entry gives, or nothing when the file
// was changed by someone else since: it is shorter than that place, or other bytes are there.
std::optional<std::uint64_t> heldOfBlock(DurableFile* target, const EntryFile& file,
                                         DurableFile& journal) {
    if (target == nullptr) {
        return file.sizeBefore == 0 ? std::optional<std::uint64_t>(0) : std::nullopt;
    }
    const std::uint64_t size = target->size();
    if (size < file.sizeBefore) {
        return std::nullopt;
    }
    const std::uint64_t held = std::min(size - file.sizeBefore, file.length);
    if (!sameBytes(*target, file.sizeBefore, journal, file.blockOffset, held)) {
        return std::nullopt;
    }
    return held;
}

// Whether the file, from `at` to its end, holds a first part of `block` and nothing else.
bool endsInPartOf(DurableFile& file, std::uint64_t at, std::string_view block) {
    const std::uint64_t size = file.size();
    if (size < at || size - at > block.size()) {
        return false;
    }
    std::string chunk;
    for (std::uint64_t done = 0; done < size - at;) {
        chunk.resize(
            static_cast<std::size_t>(std::min<std::uint64_t>(chunkSize, size - at - done)));
        if (file.readAt(at + done, chunk.data(), chunk.size()) != chunk.size() ||
            block.substr(static_cast<std::size_t>(done), chunk.size()) != chunk) {
            return false;
        }
        done += chunk.size();
    }
    return true;
}

void copyBytes(DurableFile& from, std::uint64_t at, std::uint64_t length, DurableFile& to) {
    std::string chunk;
    for (std::uint64_t done = 0; done < length;) {
        chunk.resize(static_cast<std::size_t>(std::min<std::uint64_t>(chunkSize, length - done)));
        if (from.readAt(at + done, chunk.data(), chunk.size()) != chunk.size()) {
            throw Failure(failure::DeviceIoError, journalUnreadableText);
        }
        to.append(chunk);
        done += chunk.size();
    }
    to.flush();
}

} // namespace

ClickJournal::ClickJournal(DurableFiles& system, std::filesystem::path folder)
    : system_(system), folder_(std::move(folder)) {
    bool created = false;
    journal_ = system_.open(folder_ / fileName, FileAccess::Append, &created);
    journal_->lock();
    if (created) {
        system_.flushFolder(folder_);
    }
}

bool ClickJournal::hasOpenEntry(DurableFiles& system, const std::filesystem::path& folder) {
    const std::unique_ptr<DurableFile> journal = system.open(folder / fileName, FileAccess::Read);
    return journal != nullptr && journal->size() > 0;
}

void ClickJournal::recover() {
    if (journal_->size() == 0) {
        entryOpen_ = false;
        return;
    }
    const std::optional<std::vector<EntryFile>> entry = readEntry(*journal_);
    std::optional<Failure> fault;
    std::string changed; // the files found changed by someone else, for the report
    const auto noteChanged = [&changed](const EntryFile& file) {
        changed += (changed.empty() ? "" : ", ") + cp1252FromUtf8(file.name);
    };
    for (const EntryFile& file : entry.value_or(std::vector<EntryFile>())) {
        try {
            const std::filesystem::path path = folder_ / pathFromUtf8(file.name);
            const std::optional<std::uint64_t> held =
                isPlainName(file.name)
                    ? heldOfBlock(system_.open(path, FileAccess::Read).get(), file, *journal_)
                    : std::nullopt;
            if (!held) {
                noteChanged(file);
            } else if (*held < file.length) {
                bool created = false;
                const std::unique_ptr<DurableFile> appending =
                    system_.open(path, FileAccess::Append, &created);
                copyBytes(*journal_, file.blockOffset + *held, file.length - *held, *appending);
                if (created) {
                    system_.flushFolder(folder_);
                }
            }
        } catch (const Failure& failed) {
            if (failed.number() == failure::PathFileAccessError) {
                // A link, pipe or folder put where the file was: changed by someone else.
                noteChanged(file);
            } else if (!fault) {
                fault = Failure(failed.number(),
                                failed.detail() + " (" + cp1252FromUtf8(file.name) + ")");
            }
        }
    }
    if (fault) {
        entryOpen_ = true;
        throw *fault;
    }
    journal_->truncate(0);
    journal_->flush();
    entryOpen_ = false;
    if (!changed.empty()) {
        throw Failure(failure::PathFileAccessError, changedSinceInterruptedText(changed));
    }
}

void ClickJournal::record(const std::vector<BlockAppend>& appends) {
    std::vector<std::uint64_t> sizes;
    std::string header = std::string(magic) + std::to_string(appends.size()) + "\r\n";
    for (const BlockAppend& append : appends) {
        sizes.push_back(append.file->size());
        Checksum block;
        block.add(append.block);
        header += std::to_string(sizes.back()) + ' ' + std::to_string(append.block.size()) + ' ' +
                  std::to_string(block.value()) + ' ' + append.name + "\r\n";
    }
    Checksum whole;
    whole.add(header);
    bool written = false;
    try {
        journal_->append(header);
        for (const BlockAppend& append : appends) {
            journal_->append(append.block);
            whole.add(append.block);
        }
        journal_->append(endLine(whole.value()));
        written = true;
        journal_->flush();
    } catch (const Failure&) {
        // Not one record file was touched: the click is in none of them. Only a whole entry
        // that cannot even be emptied again might still be completed later; a torn one never.
        try {
            journal_->truncate(0);
            journal_->flush();
        } catch (const Failure&) {
            entryOpen_ = written;
        }
        throw;
    }
    entryOpen_ = true;
    std::optional<Failure> fault;
    for (std::size_t index = 0; index < appends.size(); ++index) {
        const BlockAppend& append = appends[index];
        try {
            append.file->append(append.block);
            append.file->flush();
        } catch (const Failure& failed) {
            // Cut back what landed, where the bytes past the size taken under the lock are
            // provably a first part of our own block, so the file stays whole until the entry
            // is completed; anything else is left for recovery to find and report.
            try {
                if (endsInPartOf(*append.file, sizes[index], append.block)) {
                    append.file->truncate(sizes[index]);
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
    // Every file holds its block now. Emptying the journal need not reach the disk at once:
    // an entry that comes back after a power cut is found complete and changes nothing.
    try {
        journal_->truncate(0);
        entryOpen_ = false;
    } catch (const Failure&) {
    }
}

} // namespace drilbank
