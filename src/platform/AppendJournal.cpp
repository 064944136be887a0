#include "platform/AppendJournal.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace drilbank {
namespace {

// ".masterFile_Ann.txt.appending" beside "masterFile_Ann.txt": hidden, and in the same
// folder so that it is on the same disk as the file it guards.
std::string markerPathFor(const std::string& localPath) {
    const std::string::size_type slash = localPath.rfind('/');
    const std::string::size_type nameStart = slash == std::string::npos ? 0 : slash + 1;
    return localPath.substr(0, nameStart) + "." + localPath.substr(nameStart) + ".appending";
}

} // namespace

AppendJournal::AppendJournal(std::string localPath, off_t sizeBefore, off_t sizeAfter)
    : markerPath_(markerPathFor(localPath)) {
    const int marker = ::open(markerPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (marker < 0) {
        // A folder that takes no marker still takes the append; only the roll-back is lost.
        markerPath_.clear();
        return;
    }
    char text[64];
    const int length =
        std::snprintf(text, sizeof text, "%lld %lld\n", static_cast<long long>(sizeBefore),
                      static_cast<long long>(sizeAfter));
    const bool written = ::write(marker, text, static_cast<std::size_t>(length)) == length;
    ::close(marker);
    if (!written) {
        ::unlink(markerPath_.c_str());
        markerPath_.clear();
    }
}

AppendJournal::~AppendJournal() {
    if (!markerPath_.empty()) {
        ::unlink(markerPath_.c_str());
    }
}

bool AppendJournal::needed(off_t sizeBefore, std::size_t length) {
    constexpr std::size_t smallestPage = 4096;
    return static_cast<std::size_t>(sizeBefore) % smallestPage + length > smallestPage;
}

bool AppendJournal::left(const std::string& localPath) {
    return ::access(markerPathFor(localPath).c_str(), F_OK) == 0;
}

void AppendJournal::recover(int descriptor, const std::string& localPath) {
    const std::string markerPath = markerPathFor(localPath);
    std::FILE* marker = std::fopen(markerPath.c_str(), "re");
    if (marker == nullptr) {
        return;
    }
    long long before = -1;
    long long after = -1;
    const bool read = std::fscanf(marker, "%lld %lld", &before, &after) == 2;
    std::fclose(marker);
    struct stat status {};
    if (read && ::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) && before >= 0 &&
        status.st_size > before && status.st_size < after) {
        [[maybe_unused]] const int ignored = ::ftruncate(descriptor, static_cast<off_t>(before));
        ::fsync(descriptor);
    }
    ::unlink(markerPath.c_str());
}

} // namespace drilbank
