#include "instructor/Commands.h"

namespace drilbank::instructor {
namespace {

// Below this many files a run is quick enough to need no progress.
constexpr std::size_t filesBeforeProgress = 300;
constexpr std::size_t filesPerReport = 50;

} // namespace

Progress::Progress(const CommandStreams& streams, std::size_t total)
    : out_(total > filesBeforeProgress ? streams.progress : nullptr), total_(total) {}

Progress::~Progress() {
    if (out_ != nullptr) {
        *out_ << "\rread " << done_ << " of " << total_ << " files\n" << std::flush;
    }
}

void Progress::fileDone() {
    ++done_;
    if (out_ != nullptr && done_ % filesPerReport == 0) {
        *out_ << "\rread " << done_ << " of " << total_ << " files" << std::flush;
    }
}

} // namespace drilbank::instructor
