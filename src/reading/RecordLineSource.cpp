#include "reading/RecordLineSource.h"

#include "platform/Cp1252.h"
#include "reading/ByteScan.h"
#include "reading/RecordLineShapes.h"

#include <algorithm>

namespace drilbank {
namespace {

constexpr char utf8ByteOrderMark[] = "\xEF\xBB\xBF";

// Whether any byte is below the blank or DEL, eight bytes at a time: the common clean line is
// passed in a fraction of the time a byte-by-byte look takes. A tab makes it say yes too.
bool mayHoldControls(std::string_view text) {
    using namespace bytescan;
    return anyByte(
        text, [](std::uint64_t word) { return bytesBelow(word, 0x20) | bytesEqual(word, 0x7F); },
        [](unsigned char code) { return code < 0x20 || code == 0x7F; });
}

// A byte below the blank other than the tab, or DEL: no text line ever holds one. A key line
// may hold DEL, one of its key characters.
bool neverHeld(char c) {
    const auto code = static_cast<unsigned char>(c);
    return (code < 0x20 && code != '\t') || code == 0x7F;
}

} // namespace

const RecordLine* RecordLineSource::peek(std::size_t ahead) {
    while (ahead_.size() <= ahead) {
        RecordLine line;
        if (!lines_.next(line)) {
            return nullptr;
        }
        settleLineEnd(line);
        settleEncoding(line);
        ahead_.push_back(std::move(line));
    }
    return &ahead_[ahead];
}

RecordLine RecordLineSource::take() {
    RecordLine line = std::move(ahead_.front());
    ahead_.pop_front();
    checkBytes(line);
    return line;
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
void RecordLineSource::settleEncoding(RecordLine& line) {
    if (!encodingKnown_) {
        if (line.number == 1 && line.text.starts_with(utf8ByteOrderMark)) {
            line.text.erase(0, std::string_view(utf8ByteOrderMark).size());
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
        line.text = cp1252FromUtf8(line.text);
    }
}

void RecordLineSource::checkBytes(const RecordLine& line) {
    if (!mayHoldControls(line.text) ||
        std::none_of(line.text.begin(), line.text.end(), neverHeld) || isKeyLine(line.text)) {
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
