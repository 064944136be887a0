#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace drilbank {

class Failure;

// One open regular file. Every fault is a Failure whose number says what kind of fault it
// is and whose detail says it in plain words; the caller adds the path.
class DurableFile {
public:
    virtual ~DurableFile() = default;

    virtual std::uint64_t size() = 0;
    // Up to `length` bytes from `offset`; fewer only at the end of the file.
    virtual std::size_t readAt(std::uint64_t offset, char* buffer, std::size_t length) = 0;
    // Every byte at the file's end, or a Failure (the file may then hold a part of them).
    virtual void append(std::string_view bytes) = 0;
    // Everything appended so far reaches stable storage before this returns.
    virtual void flush() = 0;
    virtual void truncate(std::uint64_t size) = 0;
    // How many names the file has: a file with more than one is shared with another name.
    virtual std::uint64_t linkCount() = 0;
    // Takes the writer's lock, exclusive between processes and held until the file is
    // closed; false at once when another process holds it. The caller decides how long to
    // wait, so that both systems wait alike.
    virtual bool tryLock() = 0;
};

enum class FileAccess {
    Read,    // an existing file
    Append,  // created empty when missing
    Replace, // created, or emptied when it exists
};

// Whose is whatever stands at a path.
enum class FileOwner { Nothing, ThisAccount, AnotherAccount };

// The operating system's files and folders, behind one interface with one implementation
// per system, so that the record logic never calls the system itself.
class DurableFiles {
public:
    virtual ~DurableFiles() = default;

    // Opens the regular file at `path`, never through a symbolic link at the path itself
    // (links further up are followed). A link, pipe, device or folder there is failure 75
    // at once, never a wait. Gives null when nothing is at the path and `access` is Read.
    // `created` tells whether Append or Replace made a new file. A file made is writable by
    // its owner alone whatever the umask, and hidden where its name begins with a full stop.
    // Append and Replace refuse a file that belongs to another account with failure 70
    // before anything changes it: only the student's own files are trusted.
    virtual std::unique_ptr<DurableFile> open(const std::filesystem::path& path, FileAccess access,
                                              bool* created = nullptr) = 0;
    // Makes one folder and flushes its parent, so that the folder survives a power loss.
    virtual void createFolder(const std::filesystem::path& path) = 0;
    // Flushes a folder's entries, such as a file just made in it.
    virtual void flushFolder(const std::filesystem::path& path) = 0;
    // Gives whatever stands at `from` (a file, a folder or a link itself, never a link's
    // target) the name `to` in the same folder; fails when `to` exists.
    virtual void rename(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
    // Who owns whatever stands at `path`, a link itself and never its target. Where the
    // system or the share gives every file one owner, everything there is this account's.
    virtual FileOwner ownerOf(const std::filesystem::path& path) = 0;
};

// Paths and names as UTF-8 text, the same on every system (std::filesystem's narrow
// strings follow the system's own code page on Windows).
inline std::string utf8Of(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

inline std::filesystem::path pathFromUtf8(std::string_view text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

// The implementation for the system the program was built for.
DurableFiles& systemFiles();

// The failure for one of this system's error codes (errno, or Windows' last error): each
// kind of fault has the same number on every system.
Failure systemFailure(unsigned long code);

} // namespace drilbank
