#pragma once

#include "os/DurableFiles.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The click journal's format. A journal holds nothing, or one entry, the last click's:
//     drilbank journal 2 CR LF
//     click <what was clicked> CR LF
//     <number of files> CR LF
//     for each file: <size before> <block length> <block CRC-32> <name> CR LF
//     the blocks, one after the other
//     end <CRC-32 of everything above> CR LF
//     done <the same CRC-32> CR LF, once every file holds its block
// "What was clicked" names the click (the recorded text's length and CRC-32, or a run's
// header), so that a retry can tell from the disk whether its own text is the one the entry
// holds. An entry of the first version has no click line. The done line is never flushed on
// its own: an entry found without it is checked file by file, which changes nothing where
// every block is in place. A journal is only emptied when the next click begins, so a retry
// after any failed call finds its click, done or not, still named there.
namespace drilbank {

struct EntryFile {
    std::uint64_t sizeBefore = 0;
    std::uint64_t length = 0;
    std::uint32_t checksum = 0;
    std::string name;              // the file's name in the journal's folder, UTF-8
    std::uint64_t blockOffset = 0; // where the block starts in the journal
};

struct JournalEntry {
    std::string click;
    std::vector<EntryFile> files;
    std::uint32_t checksum = 0; // the end line's, which the done line repeats
    std::uint64_t end = 0;      // the journal's size up to and including the end line
    bool done = false;          // the done line follows whole
};

// One block of an entry as it is written.
struct EntryBlock {
    std::string name;
    std::uint64_t sizeBefore = 0;
    std::string_view block;
};

// The entry's bytes up to and including the end line.
std::string entryBytes(std::string_view click, const std::vector<EntryBlock>& blocks);

// The line that says the entry with that end line's checksum is complete in every file; and
// the one for an entry's bytes as `entryBytes` gives them.
std::string doneLine(std::uint32_t checksum);
std::string doneLineFor(std::string_view entry);

// The entry the journal holds, or nothing when it holds no whole entry. A first part of the
// done line after it counts as none.
std::optional<JournalEntry> readEntry(DurableFile& journal);

// Whether the journal ends in a done line after its entry's end line: then nothing waits in
// it. Reads only the journal's last bytes; a whole check is `readEntry`.
bool endsDone(DurableFile& journal);

// Whether the journal's first bytes are the program's own: empty, or a first part of an
// entry's opening line, or an entry's opening line. Anything else was put there by someone
// else and is never cut.
bool startsAsJournal(DurableFile& journal);

// The click line's text for a recorded text.
std::string clickOf(std::string_view recordedText);

} // namespace drilbank
