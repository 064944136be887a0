#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string_view>

namespace drilbank {

// A file's bytes seen in place, so that a large file is read without being copied. Only
// where the system still lets another program cut the file while it is mapped: the student's
// program must be able to cut a torn tail off a record file that is being read. Should the
// file be cut between asking what it holds and reading it, or should the disk or the network
// fail under a read, the bytes that could not be read read as zeros, never as a crash, and
// lostWhileRead() says so.
class FileMapping {
public:
    // Nothing where the file cannot be mapped, or the system maps no files for this: read it
    // as a stream then. One mapping at a time.
    static std::unique_ptr<FileMapping> open(const std::filesystem::path& file);
    virtual ~FileMapping() = default;

    // The file's bytes, as many as it held when it was opened.
    virtual std::string_view bytes() const = 0;
    // How many of the bytes from `from` on, up to `want`, the file still holds.
    virtual std::size_t readable(std::uint64_t from, std::size_t want) = 0;
    // The bytes from `from` up to `to` will not be looked at again soon: the memory that the
    // whole pages among them take may go. They can still be read.
    virtual void release(std::uint64_t from, std::uint64_t to) = 0;
    // Whether a read found no bytes where the file had them, and saw zeros instead.
    virtual bool lostWhileRead() const = 0;
};

} // namespace drilbank
