#include "reading/RecordLineSource.h"

#include "encoding/Cp1252.h"
#include "encoding/Utf8.h"
#include "reading/RecordLineShapes.h"

#include <algorithm>

namespace drilbank {
namespace {

constexpr char utf8ByteOrderMark[] = "\xEF\xBB\xBF";

// A byte below the blank other than the tab, or DEL: no text line ever holds one. A key line
// may hold DEL, one of its key characters.
bool neverHeld(char c) {
    const auto code = static_cast<unsigned char>(c);
    return (code < 0x20 && code != '\t') || code == 0x7F;
}

} // namespace

RecordLine RecordLineSource::take() {
    const RecordLine& line = slots_[first_].line;
    first_ = (first_ + 1) % slots_.size();
    --count_;
    // A line read back from UTF-8 is looked at whole; the reader has marked any other that
    // may hold a byte below the blank, or DEL, as it looked for the line's end.
    if (line.controls || utf8_) {
        checkBytes(line);
    }
    return line;
}

bool RecordLineSource::rewind() {
    if (utf8_) {
        return false;
    }
    if (count_ == 0) {
        return lines_.rewindPending();
    }
    const Slot& next = slots_[first_];
    if (next.address == RecordLineReader::keepNothing || !lines_.canRewindTo(next.line.number)) {
        return false;
    }
    lines_.rewind(next.address, next.line.offset, next.line.number);
    count_ = 0;
    return true;
}

// Reads one more line into the ring, keeping those ahead where the reader can find them.
bool RecordLineSource::readAhead() {
    std::uint64_t keepFrom = RecordLineReader::keepNothing;
    for (std::size_t index = 0; index < count_; ++index) {
        keepFrom = std::min(keepFrom, slots_[(first_ + index) % slots_.size()].address);
    }
    Slot& slot = slots_[(first_ + count_) % slots_.size()];
    if (!lines_.next(slot.line, keepFrom)) {
        return false;
    }
    if (lines_.moves() != moves_) {
        moves_ = lines_.moves();
        for (std::size_t index = 0; index < count_; ++index) {
            Slot& held = slots_[(first_ + index) % slots_.size()];
            if (held.address != RecordLineReader::keepNothing) {
                held.line.text = std::string_view(lines_.at(held.address), held.line.text.size());
            }
        }
    }
    slot.address = lines_.addressOf(slot.line.text.data());
    ++count_;
    settleLineEnd(slot.line);
    if (!encodingKnown_ || utf8_) {
        settleEncoding(slot);
    }
    return true;
}

void RecordLineSource::settleLineEnd(RecordLine& line) {
    if (line.ending != RecordLine::Ending::Bare) {
        return;
    }
    if (!toldLineEnds_) {
        toldLineEnds_ = true;
        visitor_.problem({{line.offset + line.text.size(), line.number},
                          "the file's line ends were changed (a line feed without its carriage "
                          "return, first here), as an editor or a mail program does; it was "
                          "read all the same"});
    }
    line.ending = RecordLine::Ending::LineEnd; // as the program wrote it
}

// The first line beyond ASCII tells which code the file is in.
void RecordLineSource::settleEncoding(Slot& slot) {
    RecordLine& line = slot.line;
    if (!encodingKnown_) {
        if (line.number == 1 && line.text.starts_with(utf8ByteOrderMark)) {
            line.text.remove_prefix(std::string_view(utf8ByteOrderMark).size());
            slot.address += std::string_view(utf8ByteOrderMark).size();
            line.offset += std::string_view(utf8ByteOrderMark).size();
            utf8_ = true;
        } else if (std::any_of(line.text.begin(), line.text.end(),
                               [](char c) { return static_cast<unsigned char>(c) >= 0x80; })) {
            utf8_ = isMultiByteUtf8(line.text);
        } else {
            return;
        }
        encodingKnown_ = true;
        if (utf8_) {
            visitor_.problem({{line.offset, line.number},
                              "the file was saved again in UTF-8, as an editor does; it was "
                              "read as UTF-8"});
        }
    }
    if (utf8_) {
        slot.converted = cp1252FromUtf8(line.text);
        line.text = slot.converted;
        slot.address = RecordLineReader::keepNothing;
    }
}

void RecordLineSource::checkBytes(const RecordLine& line) {
    if (std::none_of(line.text.begin(), line.text.end(), neverHeld) || isKeyLine(line.text)) {
        return;
    }
    const auto bad = std::find_if(line.text.begin(), line.text.end(), neverHeld);
    static constexpr char hex[] = "0123456789ABCDEF";
    const auto code = static_cast<unsigned char>(*bad);
    // In a line read back from UTF-8 the bytes no longer stand where they stood.
    const auto within = utf8_ ? 0 : static_cast<std::uint64_t>(bad - line.text.begin());
    visitor_.problem({{line.offset + within, line.number},
                      std::string("byte 0x") + hex[code >> 4] + hex[code & 15] +
                          ", which a record never holds"});
}

} // namespace drilbank
