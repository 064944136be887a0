#include "support/FaultInjectingFiles.h"

#include "platform/Failure.h"

namespace drilbank::testing {
namespace {

class FaultyFile final : public DurableFile {
public:
    FaultyFile(std::unique_ptr<DurableFile> real, FaultInjectingFiles& faults)
        : real_(std::move(real)), faults_(faults) {}

    std::uint64_t size() override { return real_->size(); }
    std::size_t readAt(std::uint64_t offset, char* buffer, std::size_t length) override {
        return real_->readAt(offset, buffer, length);
    }
    void append(std::string_view bytes) override {
        if (faults_.failingName.empty()) {
            real_->append(bytes);
            return;
        }
        real_->append(bytes.substr(0, faults_.bytesBeforeFault));
        ++faults_.faultsInjected;
        throw Failure(faults_.failureNumber, "an injected fault");
    }
    void flush() override { real_->flush(); }
    void truncate(std::uint64_t size) override {
        if (faults_.cutsFail && !faults_.failingName.empty()) {
            throw Failure(faults_.failureNumber, "an injected fault");
        }
        real_->truncate(size);
    }
    void lock() override { real_->lock(); }

private:
    std::unique_ptr<DurableFile> real_;
    FaultInjectingFiles& faults_;
};

} // namespace

std::unique_ptr<DurableFile> FaultInjectingFiles::open(const std::filesystem::path& path,
                                                       FileAccess access, bool* created) {
    std::unique_ptr<DurableFile> real = systemFiles().open(path, access, created);
    if (real && !failingName.empty() && path.filename() == failingName) {
        return std::make_unique<FaultyFile>(std::move(real), *this);
    }
    return real;
}

void FaultInjectingFiles::createFolder(const std::filesystem::path& path) {
    systemFiles().createFolder(path);
}

void FaultInjectingFiles::flushFolder(const std::filesystem::path& path) {
    systemFiles().flushFolder(path);
}

} // namespace drilbank::testing
