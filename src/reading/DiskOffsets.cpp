#include "reading/DiskOffsets.h"

#include "encoding/Cp1252.h"
#include "reading/Utf8Cuts.h"

#include <algorithm>

namespace drilbank {

std::uint64_t DiskOffsets::onDisk(std::uint64_t offset) const {
    const auto held = points_.begin() + static_cast<std::ptrdiff_t>(first_);
    const auto next = std::upper_bound(
        held, points_.begin() + static_cast<std::ptrdiff_t>(points_.size()), offset,
        [](std::uint64_t wanted, const Point& point) { return wanted < point.at; });
    const Point& from = next == held ? forgotten_ : *(next - 1);
    const std::uint64_t rawAt = from.rawAt + (offset - from.at);
    // Inside the stretch that changed before the next point: no further than its last byte.
    return next == points_.end() ? rawAt : std::min(rawAt, next->rawAt - 1);
}

void DiskOffsets::changedUpTo(std::uint64_t at, std::uint64_t rawAt) {
    points_.push_back({at, rawAt});
}

void DiskOffsets::forgetBefore(std::uint64_t offset) {
    while (first_ < points_.size() && points_[first_].at <= offset) {
        forgotten_ = points_[first_++];
    }
    if (first_ > points_.size() / 2) {
        points_.erase(points_.begin(), points_.begin() + static_cast<std::ptrdiff_t>(first_));
        first_ = 0;
    }
}

void cp1252FromUtf8Telling(std::string_view utf8, std::uint64_t rawAt, std::string& out,
                           std::uint64_t outAt, DiskOffsets& offsets) {
    // The first byte from `from` on whose character may change length.
    const auto firstChanging = [&](std::size_t from) {
        for (; from < utf8.size(); ++from) {
            if (utf8[from] == '&' || static_cast<unsigned char>(utf8[from]) >= 0x80) {
                break;
            }
        }
        return from;
    };
    for (std::size_t at = 0; at < utf8.size();) {
        const std::size_t next = firstChanging(at);
        // A character beyond ASCII may join the one before it (a combining accent).
        const std::size_t start =
            next < utf8.size() && utf8[next] != '&' && next > at ? next - 1 : next;
        out.append(utf8.substr(at, start - at));
        if (start == utf8.size()) {
            break;
        }
        std::size_t end = start + 1;
        while (end < utf8.size() && readOnThrough(utf8[end])) {
            ++end;
        }
        const std::string piece = cp1252FromUtf8(utf8.substr(start, end - start));
        if (piece.size() != end - start) {
            offsets.changedUpTo(outAt + out.size() + piece.size(), rawAt + end);
        }
        out += piece;
        at = end;
    }
}

} // namespace drilbank
