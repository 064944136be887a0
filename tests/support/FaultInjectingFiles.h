#pragma once

#include "platform/DurableFiles.h"

#include <string>

namespace drilbank::testing {

// The system's real files, with a fault on demand: appends to files of a chosen name fail
// with a chosen failure once a chosen number of their bytes has landed. With cutsFail, the
// cut back after the fault fails too, as when the process dies right there: the file keeps
// the first part of the block, just as a kill part way through an append leaves it.
class FaultInjectingFiles final : public DurableFiles {
public:
    std::string failingName; // the file name whose appends fail; empty: none fail
    int failureNumber = 61;
    std::size_t bytesBeforeFault = 0;
    bool cutsFail = false;
    int faultsInjected = 0;

    std::unique_ptr<DurableFile> open(const std::filesystem::path& path, FileAccess access,
                                      bool* created = nullptr) override;
    void createFolder(const std::filesystem::path& path) override;
    void flushFolder(const std::filesystem::path& path) override;
};

} // namespace drilbank::testing
