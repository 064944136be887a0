#include "reading/JoinedCopies.h"

namespace drilbank {

JoinedCopies::Verdict JoinedCopies::see(std::uint64_t fingerprint, std::uint64_t line, Kind kind,
                                        std::string_view stamp, std::uint64_t& originalLine) {
    if (copyAt_) {
        if (*copyAt_ < seen_.size() && seen_[*copyAt_].fingerprint == fingerprint) {
            ++*copyAt_;
            return Verdict::Copy;
        }
        copyAt_.reset();
    }
    std::optional<std::size_t> original;
    if (kind == Kind::Header) {
        if (const auto found = headers_.find(fingerprint); found != headers_.end()) {
            original = found->second;
        }
    } else if (kind == Kind::Note && !seen_.empty() && seen_.front().fingerprint == fingerprint &&
               stamp < previousNote_) {
        original = 0;
    }
    if (original) {
        copyAt_ = *original + 1;
        originalLine = seen_[*original].line;
        return Verdict::CopyStarts;
    }
    if (kind == Kind::Header) {
        headers_.emplace(fingerprint, seen_.size());
    } else if (kind == Kind::Note) {
        previousNote_ = stamp;
    }
    seen_.push_back({fingerprint, line});
    return Verdict::New;
}

} // namespace drilbank
