#pragma once

// The lines of a record file's bytes as the reader takes them, from a header's or a block's
// first byte on. Lines end at a line feed, after a carriage return as the program writes them
// or alone where an editor changed the line ends; any other byte, a control character too, is
// text. Fixed lines are compared whole where they should stand, without a scan for their end.

#include "reading/RecordReader.h"

#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

namespace drilbank::reading {

// Thrown when the bytes held end before what is read can be told: read more, then read the
// header or block again from its start.
struct NeedMore {};

struct Line {
    enum class End { CrLf, Lf, Missing }; // Missing: the file ends inside the line
    std::string_view text;
    End end = End::CrLf;
    bool plain = false; // known to hold neither a '&' nor a byte beyond ASCII
};

class Cursor {
public:
    // `bytes` start at the offset and line given; `fileEnds` when nothing follows them.
    Cursor(std::string_view bytes, bool fileEnds, std::uint64_t offset, std::uint64_t line)
        : bytes_(bytes), fileEnds_(fileEnds), offset_(offset), line_(line) {}

    // The next line. Unless `text`, a line the program ends itself: one ended by a line feed
    // alone is noted as a changed line end.
    Line next(bool text = false) {
        const char* const begin = bytes_.data() + at_;
        const char* const end = bytes_.data() + bytes_.size();
        // Only the line feed ends a line: every other byte is the line's, so the library's
        // search, many bytes at a time, finds the end.
        const void* feed = std::memchr(begin, '\n', static_cast<std::size_t>(end - begin));
        const char* const stop = feed != nullptr ? static_cast<const char*>(feed) : end;
        Line line;
        if (stop == end) {
            if (!fileEnds_) {
                throw NeedMore{};
            }
            // A carriage return at the very end is half a line end: the line is cut short.
            line.text = std::string_view(begin, static_cast<std::size_t>(end - begin));
            if (line.text.ends_with('\r')) {
                line.text.remove_suffix(1);
            }
            line.end = Line::End::Missing;
            at_ = bytes_.size();
            return line;
        }
        const bool crlf = stop > begin && stop[-1] == '\r';
        line.text =
            std::string_view(begin, static_cast<std::size_t>(stop - begin) - (crlf ? 1 : 0));
        line.end = crlf ? Line::End::CrLf : Line::End::Lf;
        if (!crlf && !text) {
            noteBareEnd(static_cast<std::size_t>(stop - bytes_.data()));
        }
        at_ = static_cast<std::size_t>(stop - bytes_.data()) + 1;
        ++lineEnds_;
        return line;
    }

    // Takes the next line if it is exactly `text` with its line end; false, taking nothing,
    // when it is anything else or the file ends inside it.
    bool take(std::string_view text) {
        const std::size_t ending = lineEndAfter(text.size());
        if (ending == 0 ||
            (!text.empty() && std::memcmp(bytes_.data() + at_, text.data(), text.size()) != 0)) {
            return false;
        }
        endLineAt(text.size(), ending);
        return true;
    }

    // Takes the next line if it is `length` long and `shape` finds in it what goes into
    // `found` (a time or date line, every byte of which `shape` checks).
    template <typename Shape>
    bool takeShaped(std::size_t length, Shape shape, std::string_view& found) {
        const std::size_t ending = lineEndAfter(length);
        if (ending == 0) {
            return false;
        }
        const std::optional<std::string_view> shaped =
            shape(std::string_view(bytes_.data() + at_, length));
        if (!shaped) {
            return false;
        }
        found = *shaped;
        endLineAt(length, ending);
        return true;
    }

    // Whether the bytes from here start with `text`; false at the end of the file.
    bool startsWith(std::string_view text) const {
        if (bytes_.size() - at_ < text.size()) {
            if (!fileEnds_) {
                throw NeedMore{};
            }
            return false;
        }
        return std::memcmp(bytes_.data() + at_, text.data(), text.size()) == 0;
    }

    // Whether the rest of the file holds no line end: a line read now is cut short.
    bool fileEndsInLine() const {
        if (std::memchr(bytes_.data() + at_, '\n', bytes_.size() - at_) != nullptr) {
            return false;
        }
        if (!fileEnds_) {
            throw NeedMore{};
        }
        return true;
    }

    // Passes over `count` bytes that end no line (a closing rule's zone padding).
    void skip(std::size_t count) { at_ += count; }
    // Passes over bytes read before, holding `lineEnds` line ends.
    void advance(std::size_t count, std::uint64_t lineEnds) {
        at_ += count;
        lineEnds_ += lineEnds;
    }

    bool atFileEnd() const { return at_ == bytes_.size() && fileEnds_; }
    std::size_t at() const { return at_; }
    std::string_view bytes() const { return bytes_; }
    std::uint64_t lineEnds() const { return lineEnds_; }
    RecordPlace place() const { return {offset_ + at_, line_ + lineEnds_}; }
    RecordPlace placeOf(const char* byte, std::uint64_t lineEnds) const {
        return {offset_ + static_cast<std::uint64_t>(byte - bytes_.data()), line_ + lineEnds};
    }
    // The first line end, among lines the program ends, that is a line feed alone.
    const std::optional<RecordPlace>& bareEnd() const { return bareEnd_; }
    void noteBareEnd(const char* feed, std::uint64_t lineEnds) {
        if (!bareEnd_) {
            bareEnd_ = placeOf(feed, lineEnds);
        }
    }

private:
    // The length of the line end right after `length` bytes from here: 2 for CR LF, 1 for a
    // line feed alone, 0 for none (or the end of the file).
    std::size_t lineEndAfter(std::size_t length) const {
        const std::size_t left = bytes_.size() - at_;
        if (left < length + 2) {
            if (left < length + 1 || bytes_[at_ + length] == '\r') {
                if (!fileEnds_) {
                    throw NeedMore{};
                }
                return 0;
            }
        } else if (bytes_[at_ + length] == '\r') {
            return bytes_[at_ + length + 1] == '\n' ? 2 : 0;
        }
        return bytes_[at_ + length] == '\n' ? 1 : 0;
    }
    void endLineAt(std::size_t length, std::size_t ending) {
        if (ending == 1) {
            noteBareEnd(at_ + length);
        }
        at_ += length + ending;
        ++lineEnds_;
    }
    void noteBareEnd(std::size_t at) {
        if (!bareEnd_) {
            bareEnd_ = RecordPlace{offset_ + at, line_ + lineEnds_};
        }
    }

    std::string_view bytes_;
    bool fileEnds_;
    std::uint64_t offset_;
    std::uint64_t line_;
    std::size_t at_ = 0;
    std::uint64_t lineEnds_ = 0;
    std::optional<RecordPlace> bareEnd_;
};

} // namespace drilbank::reading
