#include "os/DurableFiles.h"
#include "os/Failure.h"
#include "texts/FailureTexts.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace drilbank {
namespace {

// Each error code to the failure number of its kind, the same kinds as on Windows. A fault
// that may pass (a network drop, a timeout, an error the table does not know) is 57, never
// 75: 75 says something other than a plain file stands at the path.
Failure failureFor(int error) {
    switch (error) {
    case ENOENT:
        return Failure(failure::FileNotFound, noSuchFileText);
    case ENOTDIR:
        return Failure(failure::PathNotFound, pathPartNotFolderText);
    case ENOSPC:
    case EFBIG:
        return Failure(failure::DiskFull, diskFullText);
    case EDQUOT:
        return Failure(failure::DiskFull, quotaUsedUpText);
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
        return Failure(failure::PermissionDenied, mayNotWriteText);
    case ENAMETOOLONG:
        return Failure(failure::BadFileName, nameTooLongForDiskText);
    case EIO:
        return Failure(failure::DeviceIoError, inputOutputErrorText);
    case ESTALE:
    case ETIMEDOUT:
    case ENOTCONN:
    case ECONNRESET:
    case ECONNABORTED:
    case ENETDOWN:
    case ENETUNREACH:
    case ENETRESET:
    case EHOSTDOWN:
    case EHOSTUNREACH:
    case EREMOTEIO:
    case ENOLINK:
        return Failure(failure::DeviceIoError, networkDroppedText(error));
    case ELOOP:
    case ENXIO:
    case EISDIR:
    case EEXIST:
        return Failure(failure::PathFileAccessError, notPlainFileText);
    default:
        return Failure(failure::DeviceIoError, systemErrorText(error));
    }
}

[[noreturn]] void throwErrno() {
    throw failureFor(errno);
}

// A call that a signal interrupted is made again at once: it is no fault of the disk.
template <typename Call> void retrying(Call call) {
    int result = 0;
    do {
        result = call();
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        throwErrno();
    }
}

// Nobody but the student writes a record file or a journal, whatever the umask: with the
// umask 002 of a setgid class folder, 0666 would let every classmate write them. Who may read
// them is the folder's setting. Folders get everything the umask allows, as the class's
// administrator set it up.
constexpr mode_t newFileMode = 0644;
constexpr mode_t newFolderMode = 0777;

class PosixFile final : public DurableFile {
public:
    explicit PosixFile(int descriptor) : descriptor_(descriptor) {}
    ~PosixFile() override { ::close(descriptor_); }
    PosixFile(const PosixFile&) = delete;
    PosixFile& operator=(const PosixFile&) = delete;

    std::uint64_t size() override { return static_cast<std::uint64_t>(status().st_size); }

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
        // On macOS fsync only reaches the drive's cache; a port there must use
        // fcntl(F_FULLFSYNC) for the bytes to survive a power cut.
        retrying([this] { return ::fsync(descriptor_); });
    }

    void truncate(std::uint64_t size) override {
        retrying([&] { return ::ftruncate(descriptor_, static_cast<off_t>(size)); });
    }

    std::uint64_t linkCount() override { return status().st_nlink; }

    bool tryLock() override {
        if (::flock(descriptor_, LOCK_EX | LOCK_NB) == 0) {
            return true;
        }
        if (errno == EWOULDBLOCK || errno == EINTR) {
            return false;
        }
        throwErrno();
    }

private:
    struct stat status() {
        struct stat status {};
        retrying([&] { return ::fstat(descriptor_, &status); });
        return status;
    }

    int descriptor_;
};

// Never through a link at the path itself, never blocking on a pipe or a device: such a
// thing where a record file belongs is refused as soon as it is opened.
int openOnce(const std::filesystem::path& path, int flags, mode_t mode = 0) {
    int descriptor = -1;
    do {
        descriptor = ::open(path.c_str(), flags, mode);
    } while (descriptor < 0 && errno == EINTR);
    return descriptor;
}

int openPlainFile(const std::filesystem::path& path, FileAccess access, bool* created) {
    constexpr int always = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY;
    int descriptor = -1;
    switch (access) {
    case FileAccess::Read:
        descriptor = openOnce(path, O_RDONLY | always);
        break;
    case FileAccess::Append:
        // Made here only when missing; another copy of the program may make it in between.
        for (int attempt = 0; descriptor < 0 && attempt < 3; ++attempt) {
            descriptor = openOnce(path, O_RDWR | O_APPEND | always);
            if (descriptor < 0 && errno == ENOENT) {
                descriptor =
                    openOnce(path, O_RDWR | O_APPEND | O_CREAT | O_EXCL | always, newFileMode);
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
        descriptor = openOnce(path, O_WRONLY | O_CREAT | always, newFileMode);
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
            // Most often a classmate's file refuses her because it is his: say so.
            const int error = errno;
            if ((error == EACCES || error == EPERM) && access != FileAccess::Read &&
                ownerOf(path) == FileOwner::AnotherAccount) {
                throw Failure(failure::PermissionDenied, anotherAccountsFileText);
            }
            throw failureFor(error);
        }
        auto file = std::make_unique<PosixFile>(descriptor);
        struct stat status {};
        if (::fstat(descriptor, &status) != 0) {
            throwErrno();
        }
        if (!S_ISREG(status.st_mode)) {
            throw failureFor(EISDIR);
        }
        if (access != FileAccess::Read && status.st_uid != ::geteuid()) {
            throw Failure(failure::PermissionDenied, anotherAccountsFileText);
        }
        // Blocking again for the plain file: O_NONBLOCK was only to refuse a pipe at once.
        ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
        if (access == FileAccess::Replace) {
            file->truncate(0);
        }
        return file;
    }

    void createFolder(const std::filesystem::path& path) override {
        if (::mkdir(path.c_str(), newFolderMode) != 0) {
            throwErrno();
        }
        flushFolder(path.parent_path());
    }

    // Never over something already there. Some network file systems cannot refuse to
    // replace; there the name, chosen new by the caller, is checked first.
    void rename(const std::filesystem::path& from, const std::filesystem::path& to) override {
        if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
            return;
        }
        if (errno != EINVAL && errno != ENOSYS) {
            throwErrno();
        }
        struct stat status {};
        if (::lstat(to.c_str(), &status) == 0) {
            throw failureFor(EEXIST);
        }
        if (::rename(from.c_str(), to.c_str()) != 0) {
            throwErrno();
        }
    }

    FileOwner ownerOf(const std::filesystem::path& path) override {
        struct stat status {};
        if (::lstat(path.c_str(), &status) != 0) {
            if (errno == ENOENT) {
                return FileOwner::Nothing;
            }
            throwErrno();
        }
        return status.st_uid == ::geteuid() ? FileOwner::ThisAccount : FileOwner::AnotherAccount;
    }

    void flushFolder(const std::filesystem::path& path) override {
        const int folder =
            ::open(path.empty() ? "." : path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder < 0) {
            throwErrno();
        }
        int result = 0;
        do {
            result = ::fsync(folder);
        } while (result != 0 && errno == EINTR);
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

Failure systemFailure(unsigned long code) {
    return failureFor(static_cast<int>(code));
}

} // namespace drilbank
