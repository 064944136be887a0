#include "CountingFiles.h"

#include <chrono>

namespace drilbank::bench {
namespace {

template <typename Action> auto timed(CountingFiles::Tally& tally, Action&& action) {
    const auto start = std::chrono::steady_clock::now();
    struct Record {
        CountingFiles::Tally& tally;
        std::chrono::steady_clock::time_point start;
        ~Record() {
            ++tally.calls;
            tally.milliseconds +=
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count();
        }
    } record{tally, start};
    return action();
}

class CountingFile final : public DurableFile {
public:
    CountingFile(std::unique_ptr<DurableFile> file, CountingFiles& counts)
        : file_(std::move(file)), tallies_(counts.tallies_) {}

    std::uint64_t size() override {
        return timed(tallies_[CountingFiles::Size], [&] { return file_->size(); });
    }
    std::size_t readAt(std::uint64_t offset, char* buffer, std::size_t length) override {
        return timed(tallies_[CountingFiles::Read],
                     [&] { return file_->readAt(offset, buffer, length); });
    }
    void append(std::string_view bytes) override {
        timed(tallies_[CountingFiles::Append], [&] { file_->append(bytes); });
    }
    void flush() override {
        timed(tallies_[CountingFiles::Flush], [&] { file_->flush(); });
    }
    void truncate(std::uint64_t size) override {
        timed(tallies_[CountingFiles::Truncate], [&] { file_->truncate(size); });
    }
    std::uint64_t linkCount() override {
        return timed(tallies_[CountingFiles::LinkCount], [&] { return file_->linkCount(); });
    }
    bool tryLock() override {
        return timed(tallies_[CountingFiles::Lock], [&] { return file_->tryLock(); });
    }

private:
    std::unique_ptr<DurableFile> file_;
    std::array<CountingFiles::Tally, CountingFiles::Count>& tallies_;
};

} // namespace

std::unique_ptr<DurableFile> CountingFiles::open(const std::filesystem::path& path,
                                                 FileAccess access, bool* created) {
    std::unique_ptr<DurableFile> file =
        timed(tallies_[Open], [&] { return systemFiles().open(path, access, created); });
    if (file == nullptr) {
        return nullptr;
    }
    return std::make_unique<CountingFile>(std::move(file), *this);
}

void CountingFiles::createFolder(const std::filesystem::path& path) {
    timed(tallies_[Folder], [&] { systemFiles().createFolder(path); });
}

void CountingFiles::flushFolder(const std::filesystem::path& path) {
    timed(tallies_[Folder], [&] { systemFiles().flushFolder(path); });
}

void CountingFiles::rename(const std::filesystem::path& from, const std::filesystem::path& to) {
    timed(tallies_[Folder], [&] { systemFiles().rename(from, to); });
}

FileOwner CountingFiles::ownerOf(const std::filesystem::path& path) {
    return timed(tallies_[Folder], [&] { return systemFiles().ownerOf(path); });
}

void CountingFiles::report(std::FILE* out, int clicks) const {
    static constexpr const char* names[Count] = {"open",     "size",      "read", "append", "flush",
                                                 "truncate", "linkCount", "lock", "folder"};
    for (int call = 0; call < Count; ++call) {
        std::fprintf(out, "  %-10s %6.2f calls %8.3f ms per click\n", names[call],
                     double(tallies_[call].calls) / clicks, tallies_[call].milliseconds / clicks);
    }
}

} // namespace drilbank::bench
