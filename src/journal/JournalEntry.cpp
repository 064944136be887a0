#include "journal/JournalEntry.h"

#include "journal/Checksum.h"
#include "os/FileBytes.h"

#include <algorithm>
#include <charconv>
#include <string_view>

namespace drilbank {
namespace {

constexpr std::string_view magic = "drilbank journal 2\r\n";
constexpr std::string_view firstMagic = "drilbank journal 1\r\n";
constexpr std::string_view clickLabel = "click ";
constexpr std::string_view doneLabel = "done ";
constexpr std::size_t longestTail = 48; // an end line and a done line, with room to spare
constexpr std::size_t headLimit = 64 * 1024;
constexpr std::size_t fileLimit = 8;

constexpr std::string_view endLabel = "end ";

std::string endLine(std::uint32_t checksum) {
    return std::string(endLabel) + std::to_string(checksum) + "\r\n";
}

// The end line and, when `done`, the done line that follows it.
std::string tailOf(std::uint32_t checksum, bool done) {
    return endLine(checksum) + (done ? doneLine(checksum) : std::string());
}

std::uint32_t checksumOf(std::string_view bytes) {
    Checksum sum;
    sum.add(bytes);
    return sum.value();
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

template <typename Number> bool readNumber(std::string_view& line, Number& value, char after) {
    const auto [rest, error] = std::from_chars(line.data(), line.data() + line.size(), value);
    const bool ended = rest == line.data() + line.size();
    if (error != std::errc() || rest == line.data() ||
        (after != '\0' && (ended || *rest != after)) || (after == '\0' && !ended)) {
        return false;
    }
    line.remove_prefix(static_cast<std::size_t>(rest - line.data()) + (ended ? 0 : 1));
    return true;
}

// The head of the entry: every line before the blocks, with where the blocks start.
std::optional<JournalEntry> readHead(std::string_view head, std::uint64_t journalSize,
                                     std::size_t& position) {
    JournalEntry entry;
    if (head.starts_with(magic)) {
        position = magic.size();
        const std::optional<std::string_view> click = nextLine(head, position);
        if (!click || !click->starts_with(clickLabel)) {
            return std::nullopt;
        }
        entry.click = std::string(click->substr(clickLabel.size()));
    } else if (head.starts_with(firstMagic)) {
        position = firstMagic.size();
    } else {
        return std::nullopt;
    }
    std::optional<std::string_view> countLine = nextLine(head, position);
    std::size_t count = 0;
    if (!countLine || !readNumber(*countLine, count, '\0') || count == 0 || count > fileLimit) {
        return std::nullopt;
    }
    entry.files.resize(count);
    for (EntryFile& file : entry.files) {
        std::optional<std::string_view> line = nextLine(head, position);
        if (!line || !readNumber(*line, file.sizeBefore, ' ') ||
            !readNumber(*line, file.length, ' ') || !readNumber(*line, file.checksum, ' ') ||
            file.length > journalSize || file.sizeBefore > (std::uint64_t{1} << 62)) {
            return std::nullopt;
        }
        file.name = std::string(*line);
    }
    return entry;
}

} // namespace

std::string doneLine(std::uint32_t checksum) {
    return std::string(doneLabel) + std::to_string(checksum) + "\r\n";
}

std::string doneLineFor(std::string_view entry) {
    std::string_view number = entry.substr(entry.rfind(endLabel) + endLabel.size());
    number.remove_suffix(2);
    std::uint32_t checksum = 0;
    readNumber(number, checksum, '\0');
    return doneLine(checksum);
}

std::string clickOf(std::string_view recordedText) {
    return std::to_string(recordedText.size()) + ' ' + std::to_string(checksumOf(recordedText));
}

std::string entryBytes(std::string_view click, const std::vector<EntryBlock>& blocks) {
    std::string bytes = std::string(magic) + std::string(clickLabel) + std::string(click) + "\r\n" +
                        std::to_string(blocks.size()) + "\r\n";
    for (const EntryBlock& block : blocks) {
        bytes += std::to_string(block.sizeBefore) + ' ' + std::to_string(block.block.size()) + ' ' +
                 std::to_string(checksumOf(block.block)) + ' ' + block.name + "\r\n";
    }
    for (const EntryBlock& block : blocks) {
        bytes += block.block;
    }
    return bytes + endLine(checksumOf(bytes));
}

std::optional<JournalEntry> readEntry(DurableFile& journal) {
    const std::uint64_t size = journal.size();
    std::string head(static_cast<std::size_t>(std::min<std::uint64_t>(size, headLimit)), '\0');
    head.resize(journal.readAt(0, head.data(), head.size()));
    std::size_t position = 0;
    std::optional<JournalEntry> entry = readHead(head, size, position);
    if (!entry) {
        return std::nullopt;
    }
    std::uint64_t blocksLength = 0;
    for (const EntryFile& file : entry->files) {
        blocksLength += file.length;
    }
    const std::uint64_t blocksEnd = position + blocksLength;
    if (blocksEnd >= size || size - blocksEnd > longestTail) {
        return std::nullopt;
    }
    // Every byte before the end line must be as it was written.
    Checksum whole;
    whole.add(std::string_view(head).substr(0, position));
    std::uint64_t at = position;
    for (EntryFile& file : entry->files) {
        file.blockOffset = at;
        Checksum block;
        if (!forEachPiece(journal, at, file.length,
                          [&](std::string_view piece, std::uint64_t) {
                              whole.add(piece);
                              block.add(piece);
                              return true;
                          }) ||
            block.value() != file.checksum) {
            return std::nullopt;
        }
        at += file.length;
    }
    std::string tail(static_cast<std::size_t>(size - blocksEnd), '\0');
    const std::string doneTail = tailOf(whole.value(), true);
    if (journal.readAt(blocksEnd, tail.data(), tail.size()) != tail.size() ||
        !tail.starts_with(endLine(whole.value())) || !doneTail.starts_with(tail)) {
        return std::nullopt;
    }
    entry->checksum = whole.value();
    entry->end = blocksEnd + endLine(whole.value()).size();
    entry->done = tail == doneTail;
    return entry;
}

bool endsDone(DurableFile& journal) {
    const std::uint64_t size = journal.size();
    std::string tail(static_cast<std::size_t>(std::min<std::uint64_t>(size, longestTail)), '\0');
    tail.resize(journal.readAt(size - tail.size(), tail.data(), tail.size()));
    const std::size_t lineStart = tail.rfind(doneLabel);
    if (lineStart == std::string::npos || !tail.ends_with("\r\n")) {
        return false;
    }
    std::string_view number = std::string_view(tail).substr(lineStart + doneLabel.size());
    number.remove_suffix(2);
    std::uint32_t checksum = 0;
    return readNumber(number, checksum, '\0') && tail.ends_with(tailOf(checksum, true));
}

bool startsAsJournal(DurableFile& journal) {
    std::string start(magic.size(), '\0');
    start.resize(journal.readAt(0, start.data(), start.size()));
    return magic.starts_with(start) || firstMagic.starts_with(start);
}

} // namespace drilbank
