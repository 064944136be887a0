#pragma once

#include "os/DurableFiles.h"

#include <string>

namespace drilbank::testing {

// What an injected fault looks like to the record layer.
enum class InjectedFault {
    NoSpace,         // failure 61
    IoError,         // failure 57, the disk's
    Permission,      // failure 70
    NetworkDrop,     // failure 57, a share that stopped answering
    Interrupted,     // failure 57, a call cut short by the system
    ShortWrite,      // an append lands half its bytes, then no space
    LandedButFailed, // an append lands every byte, then reports failure (a lost reply)
};

// The system's real files, with faults on demand.
//
// By name: appends to files of a chosen name fail with a chosen failure once a chosen number
// of their bytes has landed. With cutsFail, the cut back after the fault fails too, as when
// the process dies right there: the file keeps the first part of the block, just as a kill
// part way through an append leaves it.
//
// By count, for sweeps: the `failAtCall`-th call of the file layer (every open, read, size,
// append, flush, cut, lock, rename and folder call counts) fails with `fault`; with
// `persistent`, every call after it fails too.
class FaultInjectingFiles final : public DurableFiles {
public:
    std::string failingName; // the file name whose appends fail; empty: none fail
    int failureNumber = 61;
    std::size_t bytesBeforeFault = 0;
    bool cutsFail = false;
    int faultsInjected = 0;

    int failAtCall = 0; // 0: no call fails by count
    bool persistent = false;
    InjectedFault fault = InjectedFault::NoSpace;
    int calls = 0; // calls counted so far

    std::unique_ptr<DurableFile> open(const std::filesystem::path& path, FileAccess access,
                                      bool* created = nullptr) override;
    void createFolder(const std::filesystem::path& path) override;
    void flushFolder(const std::filesystem::path& path) override;
    void rename(const std::filesystem::path& from, const std::filesystem::path& to) override;

    // Counts one call; true when it is to fail. `failCall` throws the failure to give.
    bool countCall();
    [[noreturn]] void failCall();
};

} // namespace drilbank::testing
