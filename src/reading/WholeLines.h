#pragma once

// The lines of a record file's bytes as whole-block reading takes them: only as the program
// writes them, giving up on anything else.

#include "format/RecordFormat.h"
#include "reading/ByteScan.h"
#include "reading/RecordLineShapes.h"
#include "reading/WholeBlocks.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string_view>

namespace drilbank::wholeblocks {

using Outcome = WholeBlocks::Outcome;

constexpr std::string_view opening = openingRule;
constexpr std::string_view closing = closingRule;
constexpr std::string_view studentLabel = studentNameLabel;
constexpr std::size_t timeLineLength = timeIndentWidth + timeTextLength;
constexpr std::size_t dateTimeLineLength = timeLineLength + dateTextLength;
// The blanks after a closing rule that pad it to the next print zone.
constexpr std::size_t zonePadding = printZoneWidth - closing.size() % printZoneWidth;

// Thrown to give up on what is being read: the outcome says why.
struct GiveUp {
    Outcome outcome;
};

// Lines from the bytes, each as the program writes them; anything else gives up.
class Lines {
public:
    // With `noting`, the lines next() takes are noted for plainTaken().
    Lines(std::string_view bytes, bool fileEnds, bool asciiOnly, bool noting)
        : start_(bytes.data()), at_(bytes.data()), end_(bytes.data() + bytes.size()),
          fileEnds_(fileEnds), asciiOnly_(asciiOnly), noting_(noting) {}

    // The next line, ended by CR LF, with no byte a text line never holds.
    std::string_view next() { return line(noting_); }

    // Whether the lines next() took since this was last asked held neither a '&' nor a byte
    // beyond ASCII, when noted: their texts then read the same in UTF-8, with nothing to turn
    // back.
    bool plainTaken() {
        const bool plain = noting_ && plain_;
        plain_ = true;
        return plain;
    }

    // Takes the next line if it is exactly `text` (a rule, a marker, an empty line), compared
    // whole without a scan for its end; false when it is anything else.
    bool take(std::string_view text) {
        if (!roomFor(text.size()) || std::memcmp(at_, text.data(), text.size()) != 0 ||
            !lineEndsAt(text.size())) {
            return false;
        }
        at_ += text.size() + 2;
        ++lineEnds_;
        return true;
    }

    // Takes the next line if it is `length` long and `shape` finds in it what goes into
    // `found` (a time or date line, every byte of which `shape` checks), without a scan for
    // its end; false otherwise. Not an optional handed back: built in memory a byte at a time
    // and read back whole, it costs the processor a stall on every block.
    template <typename Shape>
    bool takeShaped(std::size_t length, Shape shape, std::string_view& found) {
        if (!roomFor(length) || !lineEndsAt(length)) {
            return false;
        }
        const std::optional<std::string_view> shaped = shape(std::string_view(at_, length));
        if (!shaped) {
            return false;
        }
        found = *shaped;
        at_ += length + 2;
        ++lineEnds_;
        return true;
    }

    // Whether the next line is as the program writes it; gives up when it is not.
    bool nextIsWhole() {
        line(false); // looked at past a block's end: not one of its texts
        return true;
    }

    // A key line, whose characters may include DEL.
    std::string_view nextKeyLine() { return upToLineEnd(true, false); }

    std::string_view nextExpecting(std::string_view label) {
        std::string_view text = next();
        if (!text.starts_with(label)) {
            throw GiveUp{Outcome::LineByLine};
        }
        return text.substr(label.size());
    }

    // Whether a closing rule stands here, ended either way; if so it is taken.
    bool takeClosingRule() {
        const std::size_t left = static_cast<std::size_t>(end_ - at_);
        // Most answer lines differ in their first byte, told before the whole rule is compared.
        if (left < closing.size() + 2 || at_[0] != closing[0] ||
            std::memcmp(at_, closing.data(), closing.size()) != 0) {
            return false;
        }
        const char* after = at_ + closing.size();
        if (after[0] == '\r' && after[1] == '\n') {
            at_ = after + 2;
            ++lineEnds_;
            return true;
        }
        if (left < closing.size() + zonePadding) {
            throw GiveUp{fileEnds_ ? Outcome::LineByLine : Outcome::NeedMore};
        }
        if (std::all_of(after, after + zonePadding, [](char c) { return c == ' '; })) {
            at_ = after + zonePadding; // the next line starts on this one
            return true;
        }
        return false;
    }

    // Whether the text from here can only be a block's start, a header or the end of the
    // file, as a closing rule that ends an answer needs.
    bool blockOrHeaderFollows() {
        if (atFileEnd()) {
            return true;
        }
        // Looked at, then read again from here: only the place and the count move. Not a copy
        // of these lines, whose place was just written and would be read back a stall later.
        const char* const from = at_;
        const std::uint64_t lineEnds = lineEnds_;
        const bool follows = blockOrHeaderStartsHere();
        at_ = from;
        lineEnds_ = lineEnds;
        return follows;
    }

    // Whether the line after this one starts a header: a key line followed by its student
    // name line, which may not stand inside an answer.
    bool headerFollowsAfter(std::string_view line) {
        if (line.size() < static_cast<std::size_t>(lowestCodeNbr)) {
            return false; // too short for a key line
        }
        return startsWith(studentLabel) && isKeyLine(line);
    }

    // Whether the bytes reach `length` and a line end after them; at the end of the file
    // false, and the line is left to the scan, which tells a line the file ends in.
    bool roomFor(std::size_t length) const {
        if (static_cast<std::size_t>(end_ - at_) >= length + 2) {
            return true;
        }
        if (!fileEnds_) {
            throw GiveUp{Outcome::NeedMore};
        }
        return false;
    }
    bool lineEndsAt(std::size_t length) const {
        return at_[length] == '\r' && at_[length + 1] == '\n';
    }

    bool startsWith(std::string_view text) const {
        if (static_cast<std::size_t>(end_ - at_) < text.size()) {
            throw GiveUp{fileEnds_ ? Outcome::LineByLine : Outcome::NeedMore};
        }
        return std::memcmp(at_, text.data(), text.size()) == 0;
    }

    bool atFileEnd() const { return at_ == end_ && fileEnds_; }
    const char* at() const { return at_; }
    std::size_t taken() const { return static_cast<std::size_t>(at_ - start_); }
    std::uint64_t lineEnds() const { return lineEnds_; }

private:
    std::string_view line(bool noting) {
        const std::string_view text = upToLineEnd(false, noting);
        if (text.size() >= closing.size() + zonePadding && text.starts_with(closing) &&
            text.substr(closing.size(), zonePadding).find_first_not_of(' ') == std::string::npos) {
            // The line reader takes a padded closing rule for a line of its own.
            throw GiveUp{Outcome::LineByLine};
        }
        return text;
    }

    // Whether a block or a header starts here; reads on past it.
    bool blockOrHeaderStartsHere() {
        if (take(opening)) {
            // Scanned only when not a time line as written, to give up where it does not end so.
            std::string_view time;
            return atFileEnd() || takeShaped(timeLineLength, timeOfTimeLine, time) ||
                   timeOfTimeLine(nextKeyLine()).has_value();
        }
        const std::string_view next = nextKeyLine();
        if (next == opening) {
            return atFileEnd() || timeOfTimeLine(nextKeyLine()).has_value();
        }
        // The line after is looked at whole, as the line-by-line reader looks at it before it
        // gives the block: a changed line end there is said before the block, either way.
        return isKeyLine(next) && (atFileEnd() || (startsWith(studentLabel) && nextIsWhole()));
    }

    std::string_view upToLineEnd(bool delAllowed, bool noting) {
        const char* stop = at_;
        bool* const plain = noting ? &plain_ : nullptr;
        for (;;) {
            stop = asciiOnly_ ? bytescan::firstControl<true>(stop, end_, plain)
                              : bytescan::firstControl<false>(stop, end_, plain);
            if (stop == end_ || static_cast<unsigned char>(*stop) != 0x7F || !delAllowed) {
                break;
            }
            ++stop;
        }
        if (stop == end_ || (*stop == '\r' && stop + 1 == end_)) {
            // A line the file ends in is torn: the line reader says so.
            throw GiveUp{fileEnds_ ? Outcome::LineByLine : Outcome::NeedMore};
        }
        if (stop[0] != '\r' || stop[1] != '\n') {
            throw GiveUp{Outcome::LineByLine};
        }
        const std::string_view text(at_, static_cast<std::size_t>(stop - at_));
        at_ = stop + 2;
        ++lineEnds_;
        return text;
    }

    const char* start_;
    const char* at_;
    const char* end_;
    bool fileEnds_;
    bool asciiOnly_;
    bool noting_;
    bool plain_ = true;
    std::uint64_t lineEnds_ = 0;
};

} // namespace drilbank::wholeblocks
