#include "support/FaultInjectingFiles.h"

#include "os/Failure.h"

namespace drilbank::testing {
namespace {

class FaultyFile final : public DurableFile {
public:
    FaultyFile(std::unique_ptr<DurableFile> real, FaultInjectingFiles& faults, bool byName)
        : real_(std::move(real)), faults_(faults), byName_(byName) {}

    std::uint64_t size() override {
        counted();
        return real_->size();
    }
    std::size_t readAt(std::uint64_t offset, char* buffer, std::size_t length) override {
        counted();
        return real_->readAt(offset, buffer, length);
    }
    void append(std::string_view bytes) override {
        if (faults_.countCall()) {
            if (faults_.fault == InjectedFault::ShortWrite) {
                real_->append(bytes.substr(0, bytes.size() / 2));
            } else if (faults_.fault == InjectedFault::LandedButFailed) {
                real_->append(bytes);
            }
            faults_.failCall();
        }
        if (!byName_ || faults_.failingName.empty()) {
            real_->append(bytes);
            return;
        }
        real_->append(bytes.substr(0, faults_.bytesBeforeFault));
        ++faults_.faultsInjected;
        throw Failure(faults_.failureNumber, "an injected fault");
    }
    void flush() override {
        counted();
        real_->flush();
    }
    void truncate(std::uint64_t size) override {
        counted();
        if (byName_ && faults_.cutsFail && !faults_.failingName.empty()) {
            throw Failure(faults_.failureNumber, "an injected fault");
        }
        real_->truncate(size);
    }
    std::uint64_t linkCount() override {
        counted();
        return real_->linkCount();
    }
    bool tryLock() override {
        counted();
        return real_->tryLock();
    }

private:
    void counted() {
        if (faults_.countCall()) {
            faults_.failCall();
        }
    }

    std::unique_ptr<DurableFile> real_;
    FaultInjectingFiles& faults_;
    bool byName_;
};

} // namespace

bool FaultInjectingFiles::countCall() {
    if (failAtCall == 0) {
        return false;
    }
    ++calls;
    return calls == failAtCall || (persistent && calls > failAtCall);
}

void FaultInjectingFiles::failCall() {
    ++faultsInjected;
    switch (fault) {
    case InjectedFault::NoSpace:
    case InjectedFault::ShortWrite:
        throw Failure(failure::DiskFull, "an injected fault: no space");
    case InjectedFault::Permission:
        throw Failure(failure::PermissionDenied, "an injected fault: no permission");
    case InjectedFault::IoError:
    case InjectedFault::NetworkDrop:
    case InjectedFault::Interrupted:
    case InjectedFault::LandedButFailed:
        break;
    }
    throw Failure(failure::DeviceIoError, "an injected fault: input/output, network or "
                                          "interrupted call");
}

std::unique_ptr<DurableFile> FaultInjectingFiles::open(const std::filesystem::path& path,
                                                       FileAccess access, bool* created) {
    if (countCall()) {
        failCall();
    }
    std::unique_ptr<DurableFile> real = systemFiles().open(path, access, created);
    const bool byName = !failingName.empty() && path.filename() == failingName;
    if (real && (byName || failAtCall != 0)) {
        return std::make_unique<FaultyFile>(std::move(real), *this, byName);
    }
    return real;
}

void FaultInjectingFiles::createFolder(const std::filesystem::path& path) {
    if (countCall()) {
        failCall();
    }
    systemFiles().createFolder(path);
}

void FaultInjectingFiles::flushFolder(const std::filesystem::path& path) {
    if (countCall()) {
        failCall();
    }
    systemFiles().flushFolder(path);
}

void FaultInjectingFiles::rename(const std::filesystem::path& from,
                                 const std::filesystem::path& to) {
    if (countCall()) {
        failCall();
    }
    systemFiles().rename(from, to);
}

} // namespace drilbank::testing
