#include "platform/RecordFiles.h"

#include "platform/AppendJournal.h"
#include "platform/Failure.h"

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace drilbank {
namespace {

constexpr std::size_t printZoneWidth = 14;

int failureForErrno(int error, bool opening) {
    switch (error) {
    case ENOENT:
        return opening ? failure::FileNotFound : failure::PathNotFound;
    case ENOTDIR:
        return failure::PathNotFound;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return failure::DiskFull;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
        return failure::PermissionDenied;
    case ENAMETOOLONG:
        return failure::BadFileName;
    case EIO:
        return failure::DeviceIoError;
    default:
        return failure::PathFileAccessError;
    }
}

// A missing file and a missing folder are different faults for the student to fix.
int failureForMissing(const std::string& localPath) {
    const std::string::size_type slash = localPath.rfind('/');
    struct stat folder {};
    const std::string parent = slash == std::string::npos ? "." : localPath.substr(0, slash);
    return ::stat(parent.c_str(), &folder) == 0 && S_ISDIR(folder.st_mode) ? failure::FileNotFound
                                                                           : failure::PathNotFound;
}

void syncFolderOf(const std::string& localPath) {
    const std::string::size_type slash = localPath.rfind('/');
    const std::string parent = slash == std::string::npos ? "." : localPath.substr(0, slash);
    const int folder = ::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
}

std::string readWhole(int descriptor) {
    std::string contents;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t count = ::read(descriptor, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            throw Failure(failureForErrno(errno, false));
        }
        if (count == 0) {
            return contents;
        }
        contents.append(buffer, static_cast<std::size_t>(count));
    }
}

// Holds a file's exclusive lock for as long as it lives.
class FileLock {
public:
    explicit FileLock(int descriptor) : descriptor_(descriptor) {
        while (::flock(descriptor_, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    ~FileLock() { ::flock(descriptor_, LOCK_UN); }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    int descriptor_;
};

// Writes every byte, going on after short writes; gives the error that stopped it, or 0.
int writeAll(int descriptor, std::string_view bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t count = ::write(descriptor, bytes.data() + written, bytes.size() - written);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return count < 0 ? errno : ENOSPC;
        }
        written += static_cast<std::size_t>(count);
    }
    return 0;
}

} // namespace

RecordFiles::RecordFiles(DriveMap drives) : drives_(std::move(drives)) {}

RecordFiles::~RecordFiles() {
    try {
        closeAll();
    } catch (const Failure&) {
        // Nothing is left to tell at the end of the run; closeAll kept every block whole.
    }
}

RecordFiles::Channel& RecordFiles::channelAt(int channel) {
    if (channel < 1 || channel > channelCount) {
        throw Failure(failure::BadFileName);
    }
    return channels_[static_cast<std::size_t>(channel - 1)];
}

bool RecordFiles::isOpen(int channel) const {
    return channel >= 1 && channel <= channelCount &&
           channels_[static_cast<std::size_t>(channel - 1)].descriptor >= 0;
}

void RecordFiles::createDirectory(std::string_view windowsPath) {
    const std::string local = drives_.toLocal(windowsPath).string();
    if (::mkdir(local.c_str(), 0755) != 0) {
        throw Failure(failureForErrno(errno, false));
    }
}

void RecordFiles::open(int channel, std::string_view windowsPath, ChannelMode mode) {
    Channel& slot = channelAt(channel);
    if (slot.descriptor >= 0) {
        throw Failure(failure::FileAlreadyOpen);
    }
    Channel opened;
    opened.mode = mode;
    opened.localPath = drives_.toLocal(windowsPath).string();
    const char* path = opened.localPath.c_str();
    switch (mode) {
    case ChannelMode::Input:
        opened.descriptor = ::open(path, O_RDONLY | O_CLOEXEC);
        break;
    case ChannelMode::Append:
        opened.descriptor = ::open(path, O_WRONLY | O_APPEND | O_CLOEXEC);
        if (opened.descriptor < 0 && errno == ENOENT) {
            opened.descriptor = ::open(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
            opened.created = opened.descriptor >= 0;
        }
        break;
    case ChannelMode::Output:
        opened.descriptor = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        opened.created = true;
        break;
    }
    if (opened.descriptor < 0) {
        const int error = errno;
        throw Failure(error == ENOENT ? failureForMissing(opened.localPath)
                                      : failureForErrno(error, true));
    }
    struct stat status {};
    if (::fstat(opened.descriptor, &status) == 0 && S_ISDIR(status.st_mode)) {
        ::close(opened.descriptor);
        throw Failure(failure::PathFileAccessError);
    }
    // A marker left by a killed writer is rare; look for it before taking the lock.
    if (mode == ChannelMode::Append && AppendJournal::left(opened.localPath)) {
        const FileLock lock(opened.descriptor);
        AppendJournal::recover(opened.descriptor, opened.localPath);
    }
    if (mode == ChannelMode::Input) {
        try {
            opened.contents = readWhole(opened.descriptor);
        } catch (const Failure&) {
            ::close(opened.descriptor);
            throw;
        }
    }
    slot = std::move(opened);
}

void RecordFiles::writeLine(int channel, std::string_view text, LineEnding ending) {
    Channel& open = channelAt(channel);
    if (open.descriptor < 0 || open.mode == ChannelMode::Input) {
        throw Failure(failure::BadFileName);
    }
    open.pending.append(text);
    const std::size_t lastBreak = text.rfind('\n');
    open.column =
        lastBreak == std::string_view::npos ? open.column + text.size() : text.size() - lastBreak;
    if (ending == LineEnding::CrLf) {
        open.pending.append("\r\n");
        open.column = 1;
    } else {
        const std::size_t blanks = printZoneWidth - (open.column - 1) % printZoneWidth;
        open.pending.append(blanks, ' ');
        open.column += blanks;
    }
}

std::string RecordFiles::readLine(int channel) {
    Channel& open = channelAt(channel);
    if (open.descriptor < 0 || open.mode != ChannelMode::Input) {
        throw Failure(failure::BadFileName);
    }
    if (open.readPosition >= open.contents.size()) {
        throw Failure(failure::InputPastEndOfFile);
    }
    const std::size_t end = open.contents.find("\r\n", open.readPosition);
    const std::size_t stop = end == std::string::npos ? open.contents.size() : end;
    std::string line = open.contents.substr(open.readPosition, stop - open.readPosition);
    open.readPosition = end == std::string::npos ? open.contents.size() : end + 2;
    return line;
}

bool RecordFiles::atEndOfFile(int channel) {
    Channel& open = channelAt(channel);
    if (open.descriptor < 0 || open.mode != ChannelMode::Input) {
        throw Failure(failure::BadFileName);
    }
    return open.readPosition >= open.contents.size();
}

void RecordFiles::commit(Channel& open) {
    if (open.pending.empty()) {
        return;
    }
    int error = 0;
    {
        // The lock keeps a second copy of the program from writing between our bytes; the
        // size taken under it lets a failed write be cut back, so no file keeps half a block.
        const FileLock lock(open.descriptor);
        const bool appending = open.mode == ChannelMode::Append;
        if (appending) {
            AppendJournal::recover(open.descriptor, open.localPath);
        }
        struct stat before {};
        const bool sized = ::fstat(open.descriptor, &before) == 0 && S_ISREG(before.st_mode);
        std::optional<AppendJournal> journal;
        if (appending && sized && AppendJournal::needed(before.st_size, open.pending.size())) {
            journal.emplace(open.localPath, before.st_size,
                            before.st_size + static_cast<off_t>(open.pending.size()));
        }
        error = writeAll(open.descriptor, open.pending);
        if (error == 0 && ::fsync(open.descriptor) != 0 && errno != EINVAL) {
            error = errno;
        }
        if (error != 0 && appending && sized) {
            [[maybe_unused]] const int ignored = ::ftruncate(open.descriptor, before.st_size);
        }
    }
    if (error != 0) {
        throw Failure(failureForErrno(error, false));
    }
    if (open.created) {
        syncFolderOf(open.localPath);
    }
}

void RecordFiles::close(int channel) {
    Channel& open = channelAt(channel);
    if (open.descriptor < 0) {
        return;
    }
    Channel closing = std::move(open);
    open = Channel();
    try {
        commit(closing);
    } catch (const Failure&) {
        ::close(closing.descriptor);
        throw;
    }
    if (::close(closing.descriptor) != 0 && errno != EINTR) {
        throw Failure(failureForErrno(errno, false));
    }
}

void RecordFiles::close(std::initializer_list<int> channels) {
    int firstFailure = 0;
    for (const int channel : channels) {
        try {
            close(channel);
        } catch (const Failure& fault) {
            if (firstFailure == 0) {
                firstFailure = fault.number();
            }
        }
    }
    if (firstFailure != 0) {
        throw Failure(firstFailure);
    }
}

void RecordFiles::closeAll() {
    close({1, 2, 3});
}

} // namespace drilbank
