#include "reading/RecordWindow.h"

#include "encoding/Utf8.h"

#include <algorithm>
#include <cstring>
#include <istream>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace drilbank {
namespace {

// Reads of 64 KB and more cost little beside the scanning, and what they bring is in the
// processor's cache when it is scanned: a file mapped in place and scanned where it lies was
// measured at twice the time.
constexpr std::size_t readSize = std::size_t{64} << 10;
// How far past the first byte beyond ASCII its line is looked at to tell the code.
constexpr std::size_t tellingLength = std::size_t{64} << 10;
constexpr char utf8ByteOrderMark[] = "\xEF\xBB\xBF";
// UTF-8 of a line longer than this is turned back before the line ends, where a cut is exact.
constexpr std::size_t longLine = 2 * readSize;
// Past this, where no exact cut is known, it is cut anyway: see longLineCut.
constexpr std::size_t longestUnconverted = 16 * readSize;

const char* firstBeyondAscii(const char* from, const char* to) {
#if defined(__SSE2__)
    for (; to - from >= 16; from += 16) {
        const int mask = _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(from)));
        if (mask != 0) {
            return from + __builtin_ctz(static_cast<unsigned>(mask));
        }
    }
#endif
    while (from < to && static_cast<unsigned char>(*from) < 0x80) {
        ++from;
    }
    return from;
}

// The bytes without a UTF-8 sequence cut short at their end.
std::string_view withoutCutSequence(std::string_view bytes) {
    for (std::size_t back = 1; back <= 3 && back <= bytes.size(); ++back) {
        const auto byte = static_cast<unsigned char>(bytes[bytes.size() - back]);
        if (byte < 0x80) {
            break;
        }
        if (byte >= 0xC0) { // a lead byte: its sequence is whole only with enough after it
            const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
            return length > back ? bytes.substr(0, bytes.size() - back) : bytes;
        }
    }
    return bytes;
}

} // namespace

RecordWindow::RecordWindow(std::istream& in)
    : in_(&in), owned_(std::make_unique_for_overwrite<char[]>(4 * readSize)),
      capacity_(4 * readSize), data_(owned_.get()) {}

bool RecordWindow::lostBytes() const {
    return in_->bad();
}

bool RecordWindow::more(std::uint64_t keep) {
    if (ended_) {
        return false;
    }
    const std::uint64_t before = end_;
    if (utf8From_) {
        return readConverting(keep);
    }
    const bool read = readDirect(keep);
    if (!told_) {
        settleCode(before, keep);
    }
    return read;
}

// Moves what is held from `keep` on to the front of the buffer, growing it when that leaves
// no room for `room` more.
void RecordWindow::makeRoom(std::uint64_t keep, std::size_t room) {
    const std::size_t held = static_cast<std::size_t>(end_ - keep);
    if (keep > base_) {
        std::memmove(owned_.get(), data_ + (keep - base_), held);
        base_ = keep;
    }
    if (capacity_ - held < room) {
        capacity_ = std::max(capacity_ * 2, held + room);
        auto larger = std::make_unique_for_overwrite<char[]>(capacity_);
        std::memcpy(larger.get(), owned_.get(), held);
        owned_ = std::move(larger);
    }
    data_ = owned_.get();
}

bool RecordWindow::readDirect(std::uint64_t keep) {
    makeRoom(keep, readSize);
    const std::size_t room = capacity_ - static_cast<std::size_t>(end_ - base_);
    in_->read(owned_.get() + (end_ - base_), static_cast<std::streamsize>(room));
    const auto read = static_cast<std::size_t>(in_->gcount());
    end_ += read;
    ended_ = read == 0 || in_->eof() || in_->bad();
    return read > 0;
}

// The first line beyond ASCII tells the code: UTF-8 where it is well-formed UTF-8 with a
// character beyond ASCII, or where the file starts with UTF-8's byte-order mark; else the
// code page. Every byte before it is ASCII, the same either way.
void RecordWindow::settleCode(std::uint64_t from, std::uint64_t keep) {
    if (from == 0 && end_ >= 3 && std::memcmp(data_, utf8ByteOrderMark, 3) == 0) {
        told_ = true;
        startConverting(0, 3, 0);
        return;
    }
    const char* beyond = firstBeyondAscii(data_ + (from - base_), data_ + (end_ - base_));
    if (beyond == data_ + (end_ - base_)) {
        told_ = ended_; // all ASCII: either way
        return;
    }
    // The line it stands in, read on far enough to see it whole.
    const std::uint64_t at = base_ + static_cast<std::uint64_t>(beyond - data_);
    std::uint64_t lineStart = at;
    while (lineStart > base_ && data_[lineStart - 1 - base_] != '\n') {
        --lineStart;
    }
    while (!ended_ && std::memchr(data_ + (at - base_), '\n', end_ - at) == nullptr &&
           end_ - at < tellingLength) {
        readDirect(std::min(keep, lineStart));
    }
    const void* feed = std::memchr(data_ + (at - base_), '\n', end_ - at);
    const std::uint64_t lineEnd =
        feed != nullptr ? base_ + static_cast<std::uint64_t>(static_cast<const char*>(feed) - data_)
                        : end_;
    told_ = true;
    const std::string_view line(data_ + (lineStart - base_),
                                static_cast<std::size_t>(lineEnd - lineStart));
    if (isMultiByteUtf8(withoutCutSequence(line))) {
        startConverting(lineStart, 0, std::min(keep, lineStart));
    }
}

// From `from` on, what is held and what is read next is UTF-8, turned back into the code page;
// `skipped` bytes there (a byte-order mark) are dropped. What is held from `keep` up to `from`
// is ASCII and stays as it is.
void RecordWindow::startConverting(std::uint64_t from, std::size_t skipped, std::uint64_t keep) {
    utf8From_ = from;
    rawAt_ = from + skipped;
    if (skipped > 0) {
        offsets_.changedUpTo(from, from + skipped);
    }
    raw_.assign(data_ + (from - base_) + skipped, static_cast<std::size_t>(end_ - from) - skipped);
    rawEnded_ = ended_;
    const std::size_t kept = static_cast<std::size_t>(from - keep);
    capacity_ = std::max(4 * readSize, kept + readSize);
    auto converted = std::make_unique_for_overwrite<char[]>(capacity_);
    std::memcpy(converted.get(), data_ + (keep - base_), kept);
    owned_ = std::move(converted);
    data_ = owned_.get();
    base_ = keep;
    end_ = from;
    ended_ = false;
    convertHeld();
}

// Turns the UTF-8 read so far back into the code page, up to its last whole line (all of it
// at the end of the file; part of a long line), after what is held.
void RecordWindow::convertHeld() {
    std::size_t upTo = raw_.size();
    if (!rawEnded_) {
        const std::size_t lastFeed = raw_.rfind('\n');
        upTo = lastFeed == std::string::npos ? 0 : lastFeed + 1;
        if (upTo == 0 && raw_.size() >= longLine) {
            upTo = longLineCut();
        }
    }
    if (upTo == 0 && !rawEnded_) {
        return;
    }
    std::string bytes;
    cp1252FromUtf8Telling(std::string_view(raw_).substr(0, upTo), rawAt_, bytes, end_, offsets_);
    raw_.erase(0, upTo);
    cuts_.cutAt(upTo);
    rawAt_ += upTo;
    makeRoom(base_, bytes.size());
    std::memcpy(owned_.get() + (end_ - base_), bytes.data(), bytes.size());
    end_ += bytes.size();
    ended_ = rawEnded_ && raw_.empty();
}

// Where a long line's UTF-8 held is cut, to be turned back without holding all of it; 0 to
// read on first.
std::size_t RecordWindow::longLineCut() {
    const std::size_t exact = cuts_.lastCut(raw_);
    if (exact > 0 || raw_.size() < longestUnconverted) {
        return exact;
    }
    // No exact cut in a megabyte: an "&" followed by as much of "#38;" over and over,
    // combining accents only, or characters beyond ASCII only where the system tells no
    // normalisation boundaries. Memory is worth more than the bytes such text might turn back
    // to whole (a "&#38;" for its first "&", an accent joined): cut after a whole character.
    return withoutCutSequence(raw_).size();
}

bool RecordWindow::readConverting(std::uint64_t keep) {
    const std::uint64_t before = end_;
    makeRoom(keep, 0);
    offsets_.forgetBefore(keep);
    while (end_ == before && !ended_) {
        const std::size_t size = raw_.size();
        raw_.resize(size + readSize);
        in_->read(raw_.data() + size, static_cast<std::streamsize>(readSize));
        const auto read = static_cast<std::size_t>(in_->gcount());
        raw_.resize(size + read);
        rawEnded_ = read == 0 || in_->eof() || in_->bad();
        convertHeld();
    }
    return end_ > before;
}

} // namespace drilbank
