#include "platform/DurableFiles.h"
#include "platform/Failure.h"
#include "texts/FailureTexts.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace drilbank {
namespace {

constexpr useconds_t longestLockWait = 10000000;

Failure failureFor(int error) {
    switch (error) {
    case ENOENT:
        return Failure(failure::FileNotFound, noSuchFileText);
    case ENOTDIR:
        return Failure(failure::PathNotFound, pathPartNotFolderText);
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return Failure(failure::DiskFull, diskFullText);
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
        return Failure(failure::PermissionDenied, mayNotWriteText);
    case ENAMETOOLONG:
        return Failure(failure::BadFileName, nameTooLongForDiskText);
    case EIO:
        return Failure(failure::DeviceIoError, inputOutputErrorText);
    case ELOOP:
    case ENXIO:
    case EISDIR:
        return Failure(failure::PathFileAccessError, notPlainFileText);
    default:
        return Failure(failure::PathFileAccessError, systemErrorText(error));
    }
}

[[noreturn]] void throwErrno() {
    throw failureFor(errno);
}

class PosixFile final : public DurableFile {
public:
    explicit PosixFile(int descriptor) : descriptor_(descriptor) {}
    ~PosixFile() override { ::close(descriptor_); }
    PosixFile(const PosixFile&) = delete;
    PosixFile& operator=(const PosixFile&) = delete;

    std::uint64_t size() override {
        struct stat status {};
        if (::fstat(descriptor_, &status) != 0) {
            throwErrno();
        }
        return static_cast<std::uint64_t>(status.st_size);
    }

    std::size_t readAt(std::uint64_t offset, char* buffer, std::size_t length) override {
        std::size_t done = 0;
        while (done < length) {
            const ssize_t count = ::pread(descriptor_, buffer + done, length - done,
                                          static_cast<off_t>(offset + done));
            if (count < 0 && errno == EINTR) {
                continue;
            }
            if (count < 0) {
                throwErrno();
            }
            if (count == 0) {
                break;
            }
            done += static_cast<std::size_t>(count);
        }
        return done;
    }

    void append(std::string_view bytes) override {
        while (!bytes.empty()) {
            const ssize_t count = ::write(descriptor_, bytes.data(), bytes.size());
            if (count < 0 && errno == EINTR) {
                continue;
            }
            if (count < 0) {
                throwErrno();
            }
            if (count == 0) {
                throw failureFor(ENOSPC);
            }
            bytes.remove_prefix(static_cast<std::size_t>(count));
        }
    }

    void flush() override {
        if (::fsync(descriptor_) != 0) {
            throwErrno();
        }
    }

    void truncate(std::uint64_t size) override {
        if (::ftruncate(descriptor_, static_cast<off_t>(size)) != 0) {
            throwErrno();
        }
    }

    // Waits a while for another copy of the program to finish its click, never for ever: a
    // copy stopped in a debugger, or a lock a network share forgot, must not freeze the window.
    void lock() override {
        useconds_t pause = 500;
        for (useconds_t waited = 0; ::flock(descriptor_, LOCK_EX | LOCK_NB) != 0; waited += pause) {
            if (errno != EWOULDBLOCK && errno != EINTR) {
                throwErrno();
            }
            if (waited >= longestLockWait) {
                throw Failure(failure::PermissionDenied, anotherCopyTooLongText);
            }
            pause = std::min<useconds_t>(pause * 2, 50000);
            ::usleep(pause);
        }
    }

private:
    int descriptor_;
};

// Never through a link at the path itself, never blocking on a pipe or a device: such a
// thing where a record file belongs is refused as soon as it is opened.
int openPlainFile(const std::filesystem::path& path, FileAccess access, bool* created) {
    constexpr int always = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY;
    int descriptor = -1;
    switch (access) {
    case FileAccess::Read:
        descriptor = ::open(path.c_str(), O_RDONLY | always);
        break;
    case FileAccess::Append:
        // Made here only when missing; another copy of the program may make it in between.
        for (int attempt = 0; descriptor < 0 && attempt < 3; ++attempt) {
            descriptor = ::open(path.c_str(), O_RDWR | O_APPEND | always);
            if (descriptor < 0 && errno == ENOENT) {
                descriptor =
                    ::open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_EXCL | always, 0644);
                *created = descriptor >= 0;
            }
            if (descriptor < 0 && errno != EEXIST) {
                break;
            }
        }
        break;
    case FileAccess::Replace: {
        struct stat status {};
        *created = ::lstat(path.c_str(), &status) != 0;
        descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | always, 0644);
        break;
    }
    }
    return descriptor;
}

class PosixDurableFiles final : public DurableFiles {
public:
    std::unique_ptr<DurableFile> open(const std::filesystem::path& path, FileAccess access,
                                      bool* created) override {
        bool made = false;
        const int descriptor = openPlainFile(path, access, &made);
        if (created != nullptr) {
            *created = made;
        }
        if (descriptor < 0) {
            if (errno == ENOENT && access == FileAccess::Read) {
                return nullptr;
            }
            throwErrno();
        }
        auto file = std::make_unique<PosixFile>(descriptor);
        struct stat status {};
        if (::fstat(descriptor, &status) != 0) {
            throwErrno();
        }
        if (!S_ISREG(status.st_mode)) {
            throw failureFor(EISDIR);
        }
        // Blocking again for the plain file: O_NONBLOCK was only to refuse a pipe at once.
        ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
        if (access == FileAccess::Replace) {
            file->truncate(0);
        }
        return file;
    }

    void createFolder(const std::filesystem::path& path) override {
        if (::mkdir(path.c_str(), 0755) != 0) {
            throwErrno();
        }
        flushFolder(path.parent_path());
    }

    void flushFolder(const std::filesystem::path& path) override {
        const int folder =
            ::open(path.empty() ? "." : path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder < 0) {
            throwErrno();
        }
        const int result = ::fsync(folder);
        const int error = errno;
        ::close(folder);
        // Some file systems cannot flush a folder at all; that is no fault of the record.
        if (result != 0 && error != EINVAL && error != EROFS) {
            throw failureFor(error);
        }
    }
};

} // namespace

DurableFiles& systemFiles() {
    static PosixDurableFiles files;
    return files;
}

} // namespace drilbank
