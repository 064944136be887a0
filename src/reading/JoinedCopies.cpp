#include "reading/JoinedCopies.h"

namespace drilbank {

JoinedCopies::Verdict JoinedCopies::see(std::uint64_t fingerprint, std::uint64_t line, Kind kind,
                                        std::uint64_t stamp, std::uint64_t& originalLine) {
    if (copyAt_ != none) {
        if (copyAt_ < seen_.size() && seen_[copyAt_].fingerprint == fingerprint) {
            ++copyAt_;
            return Verdict::Copy;
        }
        copyAt_ = none;
    }
    std::uint32_t original = none;
    if (kind == Kind::Header) {
        original = findHeader(fingerprint);
    } else if (kind == Kind::Note && !seen_.empty() && seen_.front().fingerprint == fingerprint &&
               stamp < previousNote_) {
        original = 0;
    }
    if (original != none) {
        copyAt_ = original + 1;
        originalLine = seen_[original].line;
        return Verdict::CopyStarts;
    }
    if (kind == Kind::Note) {
        previousNote_ = stamp;
    }
    if (!full()) {
        seen_.push_back({fingerprint, line});
        if (kind == Kind::Header) {
            holdHeader(static_cast<std::uint32_t>(seen_.size() - 1));
        }
    }
    return Verdict::New;
}

std::uint32_t JoinedCopies::findHeader(std::uint64_t fingerprint) const {
    if (headers_.empty()) {
        return none;
    }
    const std::size_t mask = headers_.size() - 1;
    for (std::size_t slot = fingerprint & mask; headers_[slot] != none; slot = (slot + 1) & mask) {
        if (seen_[headers_[slot]].fingerprint == fingerprint) {
            return headers_[slot];
        }
    }
    return none;
}

void JoinedCopies::holdHeader(std::uint32_t index) {
    if (2 * (headerCount_ + 1) > headers_.size()) {
        // Twice as many places, the headers held put in again.
        std::vector<std::uint32_t> held;
        held.swap(headers_);
        headers_.assign(held.empty() ? 64 : 2 * held.size(), none);
        headerCount_ = 0;
        for (const std::uint32_t each : held) {
            if (each != none) {
                holdHeader(each);
            }
        }
    }
    const std::size_t mask = headers_.size() - 1;
    std::size_t slot = seen_[index].fingerprint & mask;
    while (headers_[slot] != none) {
        slot = (slot + 1) & mask;
    }
    headers_[slot] = index;
    ++headerCount_;
}

} // namespace drilbank
