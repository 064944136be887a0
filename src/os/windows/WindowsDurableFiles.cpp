#include "os/DurableFiles.h"

#include "os/Failure.h"
#include "os/windows/WindowsPaths.h"
#include "texts/FailureTexts.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace drilbank {
namespace {

// Not in every SDK's headers.
constexpr DWORD diskQuotaExceeded = 1295;

// The same numbers as on Linux for the same kind of fault. A fault that may pass (a share
// that dropped, a timeout, a code the table does not know) is 57, never 75: 75 says
// something other than a plain file stands at the path.
int failureFor(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
        return failure::FileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_DIRECTORY:
        return failure::PathNotFound;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_FILE_TOO_LARGE:
    case diskQuotaExceeded:
        return failure::DiskFull;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return failure::PermissionDenied;
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
        return failure::BadFileName;
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_GEN_FAILURE:
    case ERROR_IO_DEVICE:
    case ERROR_SECTOR_NOT_FOUND:
    case ERROR_NOT_READY:
    case ERROR_NETNAME_DELETED:
    case ERROR_UNEXP_NET_ERR:
    case ERROR_SEM_TIMEOUT:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_BAD_NET_RESP:
    case ERROR_NETWORK_BUSY:
    case ERROR_NET_WRITE_FAULT:
    case ERROR_NETWORK_UNREACHABLE:
    case ERROR_CONNECTION_ABORTED:
    default:
        return failure::DeviceIoError;
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
    case ERROR_CANT_ACCESS_FILE:
        return failure::PathFileAccessError;
    }
}

std::string plainWords(int number) {
    switch (number) {
    case failure::FileNotFound:
        return windowsFileMissingText;
    case failure::PathNotFound:
        return windowsFolderMissingText;
    case failure::DiskFull:
        return diskFullText;
    case failure::PermissionDenied:
        return windowsNotAllowedText;
    case failure::BadFileName:
        return windowsNameNotAllowedText;
    case failure::DeviceIoError:
        return windowsDiskErrorText;
    default:
        return windowsUnusableText;
    }
}

[[noreturn]] void fail(const char* action, DWORD error) {
    const int number = failureFor(error);
    throw Failure(number, windowsCannotText(action, plainWords(number), error));
}

[[noreturn]] void failNotAFile(const char* action) {
    throw Failure(failure::PathFileAccessError, windowsNotAFileText(action));
}

// A folder, or a link or junction at the path itself: the file must never be reached through
// it. Other reparse points (a cloud placeholder, a deduplicated file) are plain files.
bool isNoPlainFile(const FILE_ATTRIBUTE_TAG_INFO& file) {
    return (file.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ||
           ((file.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
            IsReparseTagNameSurrogate(file.ReparseTag));
}

// A journal's name begins with a full stop, which hides it on POSIX; here it gets the mark.
bool isHiddenName(const std::filesystem::path& path) {
    return path.filename().native().starts_with(L'.');
}

OVERLAPPED at(std::uint64_t offset) {
    OVERLAPPED position{};
    position.Offset = static_cast<DWORD>(offset);
    position.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return position;
}

// One byte far past any real record file. Windows locks bytes, and a locked byte cannot be
// read by anyone else; locking this one keeps writers apart and lets every reader in.
constexpr std::uint64_t writerLockByte = 0x7FFFFFFF00000000ULL;

// At most this much in one call, as ReadFile and WriteFile count in 32 bits.
constexpr std::size_t largestTransfer = 1u << 30;

class WindowsDurableFile final : public DurableFile {
public:
    explicit WindowsDurableFile(HANDLE handle) : handle_(handle) {}
    ~WindowsDurableFile() override {
        if (locked_) {
            OVERLAPPED lockAt = at(writerLockByte);
            UnlockFileEx(handle_, 0, 1, 0, &lockAt);
        }
        CloseHandle(handle_);
    }
    WindowsDurableFile(const WindowsDurableFile&) = delete;
    WindowsDurableFile& operator=(const WindowsDurableFile&) = delete;

    std::uint64_t size() override {
        LARGE_INTEGER size{};
        if (!GetFileSizeEx(handle_, &size)) {
            fail("read the file's size", GetLastError());
        }
        return static_cast<std::uint64_t>(size.QuadPart);
    }

    std::size_t readAt(std::uint64_t offset, char* buffer, std::size_t length) override {
        std::size_t done = 0;
        while (done < length) {
            OVERLAPPED position = at(offset + done);
            DWORD count = 0;
            const auto wanted = static_cast<DWORD>(std::min(length - done, largestTransfer));
            if (!ReadFile(handle_, buffer + done, wanted, &count, &position)) {
                const DWORD error = GetLastError();
                if (error == ERROR_HANDLE_EOF) {
                    break;
                }
                fail("read", error);
            }
            if (count == 0) {
                break;
            }
            done += count;
        }
        return done;
    }

    // The handle may only append, so every write lands at the file's end, as with O_APPEND.
    void append(std::string_view bytes) override {
        while (!bytes.empty()) {
            DWORD count = 0;
            const auto wanted = static_cast<DWORD>(std::min(bytes.size(), largestTransfer));
            if (!WriteFile(handle_, bytes.data(), wanted, &count, nullptr)) {
                fail("append", GetLastError());
            }
            if (count == 0) {
                fail("append", ERROR_DISK_FULL);
            }
            bytes.remove_prefix(count);
        }
    }

    void flush() override {
        if (!FlushFileBuffers(handle_)) {
            fail("flush", GetLastError());
        }
    }

    // An append-only handle may not cut the file; a second handle to the same open file may,
    // and cannot reach a different file that took the name meanwhile.
    void truncate(std::uint64_t size) override {
        const HANDLE writer =
            ReOpenFile(handle_, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, 0);
        if (writer == INVALID_HANDLE_VALUE) {
            fail("cut the file back", GetLastError());
        }
        FILE_END_OF_FILE_INFO end{};
        end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
        const bool cut = SetFileInformationByHandle(writer, FileEndOfFileInfo, &end, sizeof end);
        const DWORD error = GetLastError();
        CloseHandle(writer);
        if (!cut) {
            fail("cut the file back", error);
        }
    }

    // The standard information alone: the whole of it asks for the volume too, which costs
    // far more (under Wine, most of a click).
    std::uint64_t linkCount() override {
        FILE_STANDARD_INFO information{};
        if (!GetFileInformationByHandleEx(handle_, FileStandardInfo, &information,
                                          sizeof information)) {
            fail("read the file's names", GetLastError());
        }
        return information.NumberOfLinks;
    }

    bool tryLock() override {
        if (locked_) {
            return true;
        }
        OVERLAPPED lockAt = at(writerLockByte);
        if (!LockFileEx(handle_, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                        &lockAt)) {
            if (const DWORD error = GetLastError(); error != ERROR_LOCK_VIOLATION) {
                fail("lock", error);
            }
            return false;
        }
        locked_ = true;
        return true;
    }

private:
    HANDLE handle_;
    bool locked_ = false;
};

class WindowsDurableFiles final : public DurableFiles {
public:
    std::unique_ptr<DurableFile> open(const std::filesystem::path& path, FileAccess access,
                                      bool* created) override {
        const std::wstring whole = systemPath(path);
        const bool reading = access == FileAccess::Read;
        const char* action = reading ? "open for reading" : "open for writing";
        DWORD error = 0;
        const HANDLE handle = openHandle(
            whole, access,
            FILE_FLAG_OPEN_REPARSE_POINT | (isHiddenName(path) ? FILE_ATTRIBUTE_HIDDEN : 0), error);
        if (handle == INVALID_HANDLE_VALUE) {
            if (reading && (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)) {
                return nullptr;
            }
            // A folder cannot be opened as a file at all; say what is there instead.
            const DWORD attributes = GetFileAttributesW(whole.c_str());
            if (error == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES &&
                (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                failNotAFile(action);
            }
            fail(action, error);
        }
        const bool existed = !reading && error == ERROR_ALREADY_EXISTS;
        std::unique_ptr<DurableFile> file = std::make_unique<WindowsDurableFile>(handle);
        // The attributes and the reparse tag in one call, which needs no volume query.
        FILE_ATTRIBUTE_TAG_INFO information{};
        if (GetFileType(handle) != FILE_TYPE_DISK ||
            !GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &information,
                                          sizeof information) ||
            isNoPlainFile(information)) {
            failNotAFile(action);
        }
        if ((information.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
            // A placeholder or a deduplicated file: its data comes through its filter, so it is
            // opened again the ordinary way, and must still be the same file.
            file = reopenedThroughFilter(whole, access, handle, action);
        }
        // Emptied only now that the file is known to be a plain one, never a link's target.
        if (access == FileAccess::Replace && existed) {
            file->truncate(0);
        }
        if (created != nullptr) {
            *created = !reading && !existed;
        }
        return file;
    }

    // Windows offers no flush of a folder's entries: NTFS keeps them in its own journal,
    // which it commits when a file in the folder is flushed.
    void createFolder(const std::filesystem::path& path) override {
        if (!CreateDirectoryW(systemPath(path).c_str(), nullptr)) {
            fail("make the folder", GetLastError());
        }
    }

    void flushFolder(const std::filesystem::path&) override {}

    // A link is renamed itself: MoveFileExW never follows one at the old name. A name that
    // begins with a full stop is hidden, whatever was renamed; the mark is only for the eye,
    // so a share that cannot keep it costs the rename nothing.
    void rename(const std::filesystem::path& from, const std::filesystem::path& to) override {
        const std::wstring target = systemPath(to);
        if (!MoveFileExW(systemPath(from).c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) {
            fail("rename", GetLastError());
        }
        if (isHiddenName(to)) {
            const DWORD attributes = GetFileAttributesW(target.c_str());
            if (attributes != INVALID_FILE_ATTRIBUTES) {
                SetFileAttributesW(target.c_str(), attributes | FILE_ATTRIBUTE_HIDDEN);
            }
        }
    }

    // Windows gives a student's own files no owner of another account that the program could
    // tell from a classmate's; the share's own permissions decide there.
    FileOwner ownerOf(const std::filesystem::path& path) override {
        if (GetFileAttributesW(systemPath(path).c_str()) != INVALID_FILE_ATTRIBUTES) {
            return FileOwner::ThisAccount;
        }
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            return FileOwner::Nothing;
        }
        fail("look at the file", error);
    }

private:
    // Readers and other writers may come in; the writer's lock orders the writers.
    static HANDLE openHandle(const std::wstring& path, FileAccess access, DWORD flags,
                             DWORD& error) {
        const bool reading = access == FileAccess::Read;
        const HANDLE handle = CreateFileW(
            path.c_str(), reading ? GENERIC_READ : GENERIC_READ | FILE_APPEND_DATA,
            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, reading ? OPEN_EXISTING : OPEN_ALWAYS,
            ((flags & FILE_ATTRIBUTE_HIDDEN) != 0 ? 0 : FILE_ATTRIBUTE_NORMAL) | flags, nullptr);
        error = GetLastError();
        return handle;
    }

    static std::unique_ptr<DurableFile> reopenedThroughFilter(const std::wstring& path,
                                                              FileAccess access, HANDLE firstHandle,
                                                              const char* action) {
        BY_HANDLE_FILE_INFORMATION first{};
        if (!GetFileInformationByHandle(firstHandle, &first)) {
            failNotAFile(action);
        }
        DWORD error = 0;
        const HANDLE handle = openHandle(path, access, 0, error);
        if (handle == INVALID_HANDLE_VALUE) {
            fail(action, error);
        }
        auto file = std::make_unique<WindowsDurableFile>(handle);
        BY_HANDLE_FILE_INFORMATION again{};
        if (!GetFileInformationByHandle(handle, &again) ||
            again.dwVolumeSerialNumber != first.dwVolumeSerialNumber ||
            again.nFileIndexHigh != first.nFileIndexHigh ||
            again.nFileIndexLow != first.nFileIndexLow) {
            failNotAFile(action);
        }
        return file;
    }
};

} // namespace

DurableFiles& systemFiles() {
    static WindowsDurableFiles files;
    return files;
}

Failure systemFailure(unsigned long code) {
    const int number = failureFor(static_cast<DWORD>(code));
    return Failure(number, windowsCannotText("use the file", plainWords(number), code));
}

} // namespace drilbank
