#include "reading/RecordLineReader.h"

#include "format/RecordFormat.h"
#include "format/RecordLines.h"
#include "reading/ByteScan.h"

#include <algorithm>
#include <cstring>

namespace drilbank {
namespace {

// Reads of at least 64 KB cost little beside the scanning, and a buffer of four times that
// stays in the processor's cache; it grows only for a line longer than that.
constexpr std::size_t readSize = std::size_t{64} << 10;
constexpr std::size_t bufferSize = 4 * readSize;
// A mapped file is looked at a megabyte more at a time, its size asked again each time.
constexpr std::size_t mappedStep = std::size_t{1} << 20;

// The closing rule followed by the blanks that pad it to the next print zone.
const std::string& zoneEndedClosingRule() {
    static const std::string text = [] {
        const std::size_t length = std::strlen(closingRule);
        return std::string(closingRule) +
               std::string(printZoneWidth - length % printZoneWidth, ' ');
    }();
    return text;
}

} // namespace

std::string_view endingBytes(RecordLine::Ending ending) {
    switch (ending) {
    case RecordLine::Ending::LineEnd:
        return "\r\n";
    case RecordLine::Ending::ZoneEnd:
        return std::string_view(zoneEndedClosingRule()).substr(std::strlen(closingRule));
    case RecordLine::Ending::Bare:
        return "\n";
    case RecordLine::Ending::Missing:
        break;
    }
    return "";
}

RecordLineReader::RecordLineReader(RecordBytes bytes)
    : in_(bytes.stream), mapping_(bytes.mapping),
      owned_(mapping_ != nullptr ? nullptr : std::make_unique_for_overwrite<char[]>(bufferSize)),
      buffer_(mapping_ != nullptr ? mapping_->bytes().data() : owned_.get()),
      capacity_(mapping_ != nullptr ? mapping_->bytes().size() : bufferSize) {}

bool RecordLineReader::next(RecordLine& line, std::uint64_t keepFrom) {
    if (haveRest_) {
        haveRest_ = false;
        line = rest_;
    } else if (!readPhysicalLine(line, keepFrom)) {
        return false;
    }
    splitZoneEnding(line);
    return true;
}

bool RecordLineReader::readPhysicalLine(RecordLine& line, std::uint64_t keepFrom) {
    std::size_t start = begin_;
    std::size_t scanned = begin_;
    std::uint64_t dropped = 0; // bytes of an overlong line past what is kept of it
    char droppedLast = 0;      // the last of them
    bool controls = false;
    const char* feed = nullptr;
    for (;;) {
        const char* stop = buffer_ + end_;
        for (const char* control = buffer_ + scanned;
             (control = bytescan::firstControl(control, stop)) != stop; ++control) {
            if (*control == '\n' ||
                (*control == '\r' && control + 1 != stop && control[1] == '\n')) {
                feed = control + (*control == '\r' ? 1 : 0);
                break;
            }
            controls = true; // a carriage return read last, which may yet end its line, too
        }
        if (feed != nullptr) {
            break;
        }
        if (end_ - start > maxLineLength && mapping_ == nullptr) {
            droppedLast = buffer_[end_ - 1];
            dropped += end_ - start - maxLineLength;
            end_ = start + maxLineLength; // the rest of the line is read over this
        }
        const std::size_t read = fill(start, keepFrom);
        if (read == 0) {
            break;
        }
        scanned = end_ - read;
    }
    const char* first = buffer_ + start;
    const char* stop = feed != nullptr ? feed : buffer_ + end_;
    const std::size_t length = static_cast<std::size_t>(stop - first);
    if (feed == nullptr && length == 0 && dropped == 0) {
        return false;
    }
    const std::uint64_t whole = length + dropped;
    lastCut_ = whole > maxLineLength ? number_ + 1 : lastCut_;
    line.text = std::string_view(first, std::min(length, maxLineLength));
    line.cut = whole > maxLineLength;
    line.controls = controls;
    line.offset = offset_;
    line.number = ++number_;
    offset_ += whole + (feed != nullptr ? 1 : 0);
    begin_ = static_cast<std::size_t>(stop - buffer_) + (feed != nullptr ? 1 : 0);
    // The line's last byte, kept or not: a carriage return there makes the line end whole.
    const char last = length > (dropped > 0 ? maxLineLength : 0) ? stop[-1] : droppedLast;
    const bool crlf = feed != nullptr && last == '\r';
    // A carriage return at the very end of the file is half a line end: the line is still
    // cut short.
    if ((crlf || feed == nullptr) && line.text.ends_with('\r')) {
        line.text.remove_suffix(1);
    }
    line.ending = feed == nullptr ? RecordLine::Ending::Missing
                  : crlf          ? RecordLine::Ending::LineEnd
                                  : RecordLine::Ending::Bare;
    return true;
}

// Reads more after the bytes held, first moving what is still wanted (from the line being
// read or an earlier one the caller holds) to the front, and growing the buffer only when
// that is not room enough. The number of bytes read; none at the end of the file.
std::size_t RecordLineReader::fill(std::size_t& start, std::uint64_t keepFrom) {
    if (mapping_ != nullptr) {
        return fillFromMapping(start, keepFrom);
    }
    if (capacity_ - end_ < readSize) {
        const std::size_t keep =
            keepFrom == keepNothing
                ? start
                : std::min(start, static_cast<std::size_t>(keepFrom - buffered_));
        std::memmove(owned_.get(), buffer_ + keep, end_ - keep);
        buffered_ += keep;
        start -= keep;
        begin_ -= keep; // still the line's start, should the file end here
        end_ -= keep;
        if (capacity_ - end_ < readSize) {
            capacity_ = std::max(capacity_ * 2, end_ + readSize);
            auto larger = std::make_unique_for_overwrite<char[]>(capacity_);
            std::memcpy(larger.get(), buffer_, end_);
            owned_ = std::move(larger);
            buffer_ = owned_.get();
        }
        ++moves_;
    }
    in_->read(owned_.get() + end_, static_cast<std::streamsize>(capacity_ - end_));
    const auto read = static_cast<std::size_t>(in_->gcount());
    end_ += read;
    atEnd_ = read == 0 || in_->eof();
    return read;
}

// A mapped file never moves: the bytes held stay where they are, and those before them, and
// those of an overlong line past what is kept of it, are let go so that memory stays flat.
std::size_t RecordLineReader::fillFromMapping(std::size_t start, std::uint64_t keepFrom) {
    const std::uint64_t held = std::min<std::uint64_t>(start, keepFrom);
    if (held > released_ + mappedStep) {
        mapping_->release(released_, held);
        released_ = held;
    }
    if (end_ - start > maxLineLength + mappedStep) {
        mapping_->release(std::max<std::uint64_t>(released_, start + maxLineLength), end_);
        released_ = end_;
    }
    const std::size_t read = mapping_->readable(end_, mappedStep);
    end_ += read;
    atEnd_ = read < mappedStep;
    return read;
}

std::string_view RecordLineReader::unread() const {
    if (haveRest_) {
        return {}; // rewind first
    }
    return {buffer_ + begin_, end_ - begin_};
}

bool RecordLineReader::readMore() {
    if (atEnd_ || haveRest_) {
        return false;
    }
    std::size_t start = begin_;
    return fill(start, keepNothing) > 0;
}

void RecordLineReader::skip(std::size_t bytes, std::uint64_t lineEnds) {
    begin_ += bytes;
    offset_ += bytes;
    number_ += lineEnds;
}

bool RecordLineReader::rewindPending() {
    if (!haveRest_) {
        return true;
    }
    if (!canRewindTo(rest_.number)) {
        return false;
    }
    rewind(addressOf(rest_.text.data()), rest_.offset, rest_.number);
    return true;
}

void RecordLineReader::rewind(std::uint64_t address, std::uint64_t offset, std::uint64_t number) {
    begin_ = static_cast<std::size_t>(address - buffered_);
    offset_ = offset;
    number_ = number - 1;
    haveRest_ = false;
}

bool RecordLineReader::splitZoneEnding(RecordLine& line) {
    if (line.text.empty() || line.text.front() != closingRule[0]) {
        return false; // most lines, quickly
    }
    const std::string& zoned = zoneEndedClosingRule();
    if (!line.text.starts_with(zoned)) {
        return false;
    }
    const std::size_t length = zoned.size();
    const bool restFollows =
        line.text.size() > length || line.ending != RecordLine::Ending::Missing;
    if (restFollows) {
        rest_.text = line.text.substr(length);
        rest_.offset = line.offset + length;
        rest_.number = line.number;
        rest_.ending = line.ending;
        rest_.controls = line.controls;
        haveRest_ = true;
    }
    line.text = line.text.substr(0, std::strlen(closingRule));
    line.ending = RecordLine::Ending::ZoneEnd;
    return true;
}

} // namespace drilbank
