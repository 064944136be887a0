#include "instructor/Commands.h"

namespace drilbank::instructor {
namespace {

// Below this many files a run is quick enough to need no progress.
constexpr std::size_t filesBeforeProgress = 300;
constexpr std::size_t filesPerReport = 50;

} // namespace

Progress::Progress(std::ostream& out, std::size_t total)
    : out_(out), total_(total), shown_(total > filesBeforeProgress) {}

Progress::~Progress() {
    if (shown_) {
        out_ << "\rread " << done_ << " of " << total_ << " files\n" << std::flush;
    }
}

void Progress::fileDone() {
    ++done_;
    if (shown_ && done_ % filesPerReport == 0) {
        out_ << "\rread " << done_ << " of " << total_ << " files" << std::flush;
    }
}

} // namespace drilbank::instructor
