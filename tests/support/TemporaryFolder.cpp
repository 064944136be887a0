#include "support/TemporaryFolder.h"

#include <random>
#include <stdexcept>
#include <string>

namespace drilbank::testing {

TemporaryFolder::TemporaryFolder() : TemporaryFolder(std::filesystem::temp_directory_path()) {}

TemporaryFolder::TemporaryFolder(const std::filesystem::path& base) {
    // A name nobody else can guess, made by this process alone: create_directory fails when
    // the name is taken.
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path candidate =
            base / ("drilbank-test-" + std::to_string(random() % 1000000000000ULL));
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot make a temporary folder");
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code error;
    // Tests make folders and files read-only; give the permissions back so that removal
    // succeeds (Windows will not delete a read-only file).
    const auto writable = std::filesystem::perms::owner_all;
    for (auto entry = std::filesystem::recursive_directory_iterator(path_, error);
         !error && entry != std::filesystem::recursive_directory_iterator();
         entry.increment(error)) {
        if (!entry->is_symlink(error)) {
            std::filesystem::permissions(entry->path(), writable,
                                         std::filesystem::perm_options::add, error);
        }
    }
    std::filesystem::permissions(path_, writable, std::filesystem::perm_options::add, error);
    std::filesystem::remove_all(path_, error);
}

} // namespace drilbank::testing
