#include "reading/RecordLineReader.h"

#include "platform/RecordFiles.h"
#include "record/RecordBlocks.h"

#include <algorithm>
#include <cstring>

namespace drilbank {
namespace {

constexpr std::size_t bufferSize = 1 << 16;

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

RecordLineReader::RecordLineReader(std::istream& in) : in_(in), buffer_(bufferSize) {}

bool RecordLineReader::next(RecordLine& line) {
    if (haveRest_) {
        haveRest_ = false;
        line = std::move(rest_);
    } else if (!readPhysicalLine(line)) {
        return false;
    }
    splitZoneEnding(line);
    return true;
}

bool RecordLineReader::readPhysicalLine(RecordLine& line) {
    line.text.clear();
    line.cut = false;
    line.offset = offset_;
    line.number = ++number_;
    bool sawAny = false;
    char last = 0; // the line's last byte read, kept or not
    for (;;) {
        if (begin_ == end_) {
            in_.read(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
            begin_ = 0;
            end_ = static_cast<std::size_t>(in_.gcount());
            if (end_ == 0) {
                break;
            }
        }
        sawAny = true;
        const char* start = buffer_.data() + begin_;
        const char* stop = buffer_.data() + end_;
        const void* found = std::memchr(start, '\n', static_cast<std::size_t>(stop - start));
        const char* feed = found != nullptr ? static_cast<const char*>(found) : stop;
        const std::size_t room = maxLineLength - std::min(maxLineLength, line.text.size());
        const std::size_t length = static_cast<std::size_t>(feed - start);
        line.text.append(start, std::min(length, room));
        line.cut = line.cut || length > room;
        last = feed > start ? feed[-1] : last;
        const std::size_t taken = static_cast<std::size_t>(feed - start) + (feed != stop ? 1 : 0);
        begin_ += taken;
        offset_ += taken;
        if (feed != stop) {
            const bool crlf = last == '\r';
            if (crlf && !line.text.empty() && line.text.back() == '\r') {
                line.text.pop_back();
            }
            line.ending = crlf ? RecordLine::Ending::LineEnd : RecordLine::Ending::Bare;
            return true;
        }
    }
    if (!sawAny) {
        --number_;
        return false;
    }
    // A carriage return at the very end is half a line end: the line is still cut short.
    if (!line.text.empty() && line.text.back() == '\r') {
        line.text.pop_back();
    }
    line.ending = RecordLine::Ending::Missing;
    return true;
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
        rest_.text.assign(line.text, length);
        rest_.offset = line.offset + length;
        rest_.number = line.number;
        rest_.ending = line.ending;
        haveRest_ = true;
    }
    line.text.resize(std::strlen(closingRule));
    line.ending = RecordLine::Ending::ZoneEnd;
    return true;
}

} // namespace drilbank
