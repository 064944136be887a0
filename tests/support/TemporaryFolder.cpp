#include "support/TemporaryFolder.h"

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <sys/stat.h>

namespace drilbank::testing {

TemporaryFolder::TemporaryFolder() : TemporaryFolder(std::filesystem::temp_directory_path()) {}

TemporaryFolder::TemporaryFolder(const std::filesystem::path& base) {
    std::string pattern = (base / "drilbank-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a temporary folder");
    }
    path_ = pattern;
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code error;
    // Tests make folders read-only; give the permissions back so that removal succeeds.
    for (auto entry = std::filesystem::recursive_directory_iterator(path_, error);
         !error && entry != std::filesystem::recursive_directory_iterator();
         entry.increment(error)) {
        if (entry->is_directory(error) && !entry->is_symlink(error)) {
            ::chmod(entry->path().c_str(), 0755);
        }
    }
    ::chmod(path_.c_str(), 0755);
    std::filesystem::remove_all(path_, error);
}

} // namespace drilbank::testing
