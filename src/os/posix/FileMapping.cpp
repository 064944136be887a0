#include "os/FileMapping.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>

namespace drilbank {
namespace {

// The mapping being read, for the bus-error handler: touching a mapped page wholly past the
// file's end, once the file was cut, raises SIGBUS, as does a page the disk or the network
// failed to bring in.
std::atomic<char*> mappedBegin{nullptr};
std::atomic<char*> mappedEnd{nullptr};
std::atomic<bool> mappedLost{false};
std::size_t pageSize = 0;
struct sigaction previousBusError {};

// Lays zero pages over the rest of the mapping from the faulting page on, so that the read
// that faulted, and the reader after it, go on over zeros. A fault anywhere else is not ours:
// the handler before this one takes it when the faulting instruction runs again.
void onBusError(int, siginfo_t* info, void*) {
    char* const at = static_cast<char*>(info->si_addr);
    char* const begin = mappedBegin.load();
    char* const end = mappedEnd.load();
    if (begin != nullptr && at >= begin && at < end) {
        char* const page = begin + static_cast<std::size_t>(at - begin) / pageSize * pageSize;
        if (mmap(page, static_cast<std::size_t>(end - page), PROT_READ,
                 MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) != MAP_FAILED) {
            mappedLost.store(true);
            return;
        }
    }
    sigaction(SIGBUS, &previousBusError, nullptr);
}

bool handleBusErrors() {
    static const bool installed = [] {
        pageSize = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
        struct sigaction action {};
        action.sa_sigaction = onBusError;
        action.sa_flags = SA_SIGINFO;
        sigemptyset(&action.sa_mask);
        return sigaction(SIGBUS, &action, &previousBusError) == 0;
    }();
    return installed;
}

class PosixFileMapping final : public FileMapping {
public:
    PosixFileMapping(int descriptor, char* bytes, std::size_t size)
        : descriptor_(descriptor), bytes_(bytes), size_(size) {
        mappedLost.store(false);
        mappedEnd.store(bytes_ + size_);
        mappedBegin.store(bytes_);
    }

    ~PosixFileMapping() override {
        mappedBegin.store(nullptr);
        mappedEnd.store(nullptr);
        munmap(bytes_, size_);
        close(descriptor_);
    }

    std::string_view bytes() const override { return {bytes_, size_}; }

    std::size_t readable(std::uint64_t from, std::size_t want) override {
        struct stat status {};
        const std::uint64_t size =
            fstat(descriptor_, &status) == 0
                ? std::min<std::uint64_t>(size_, static_cast<std::uint64_t>(status.st_size))
                : 0;
        if (from >= size) {
            return 0;
        }
        return static_cast<std::size_t>(std::min<std::uint64_t>(want, size - from));
    }

    void release(std::uint64_t from, std::uint64_t to) override {
        const std::uint64_t first = (from + pageSize - 1) / pageSize * pageSize;
        const std::uint64_t last = std::min<std::uint64_t>(to, size_) / pageSize * pageSize;
        if (first < last) {
            madvise(bytes_ + first, static_cast<std::size_t>(last - first), MADV_DONTNEED);
        }
    }

    bool lostWhileRead() const override { return mappedLost.load(); }

private:
    int descriptor_;
    char* bytes_;
    std::size_t size_;
};

} // namespace

std::unique_ptr<FileMapping> FileMapping::open(const std::filesystem::path& file) {
    if (mappedBegin.load() != nullptr || !handleBusErrors()) {
        return nullptr;
    }
    const int descriptor = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (descriptor < 0) {
        return nullptr;
    }
    struct stat status {};
    void* bytes = MAP_FAILED;
    if (fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0 &&
        static_cast<std::uint64_t>(status.st_size) <= SIZE_MAX) {
        bytes = mmap(nullptr, static_cast<std::size_t>(status.st_size), PROT_READ, MAP_SHARED,
                     descriptor, 0);
    }
    if (bytes == MAP_FAILED) {
        close(descriptor);
        return nullptr;
    }
    madvise(bytes, static_cast<std::size_t>(status.st_size), MADV_SEQUENTIAL);
    return std::make_unique<PosixFileMapping>(descriptor, static_cast<char*>(bytes),
                                              static_cast<std::size_t>(status.st_size));
}

} // namespace drilbank
