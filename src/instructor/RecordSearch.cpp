#include "instructor/RecordSearch.h"

#include "record/RecordFormat.h"

#include <algorithm>
#include <fstream>
#include <tuple>

namespace drilbank::instructor {
namespace fs = std::filesystem;
namespace {

bool isHidden(const fs::path& path) {
    return path.filename().string().starts_with(".");
}

bool readable(const fs::path& path) {
    return static_cast<bool>(std::ifstream(path, std::ios::binary));
}

void addFile(const fs::path& path, SearchResult& result) {
    if (const auto name = parseRecordFileName(path.filename().string())) {
        result.files.push_back({path, *name});
    }
}

void searchFolder(const fs::path& folder, SearchResult& result) {
    std::error_code error;
    fs::recursive_directory_iterator entries(folder, fs::directory_options::skip_permission_denied,
                                             error);
    if (error) {
        result.errors.push_back(folder.string() + ": cannot be read (" + error.message() + ")");
        return;
    }
    const std::size_t before = result.files.size();
    for (; entries != fs::recursive_directory_iterator(); entries.increment(error)) {
        if (error) {
            result.errors.push_back(folder.string() + ": " + error.message());
            return;
        }
        const fs::directory_entry& entry = *entries;
        if (isHidden(entry.path())) {
            if (entry.is_directory(error)) {
                entries.disable_recursion_pending();
            }
            continue;
        }
        if (entry.is_regular_file(error)) {
            addFile(entry.path(), result);
        }
    }
    if (result.files.size() == before) {
        result.errors.push_back(folder.string() +
                                ": holds no record files (masterFile_*.txt, send_*.txt, "
                                "notes_*.txt)");
    }
}

} // namespace

SearchResult findRecordFiles(const std::vector<std::string>& paths) {
    SearchResult result;
    for (const std::string& given : paths) {
        const fs::path path(given);
        std::error_code error;
        const fs::file_status status = fs::status(path, error);
        if (!fs::exists(status)) {
            result.errors.push_back(given + ": no such file or folder");
        } else if (fs::is_directory(status)) {
            searchFolder(path, result);
        } else if (!parseRecordFileName(path.filename().string())) {
            result.errors.push_back(given + ": not a record file (masterFile_*.txt, send_*.txt, "
                                            "notes_*.txt)");
        } else {
            addFile(path, result);
        }
    }
    auto order = [](const RecordFile& file) {
        return std::make_tuple(file.path.parent_path(), file.name.name,
                               static_cast<int>(file.name.kind), file.path.filename());
    };
    std::sort(result.files.begin(), result.files.end(),
              [&](const RecordFile& a, const RecordFile& b) { return order(a) < order(b); });
    result.files.erase(
        std::unique(result.files.begin(), result.files.end(),
                    [](const RecordFile& a, const RecordFile& b) { return a.path == b.path; }),
        result.files.end());
    std::erase_if(result.files, [&](const RecordFile& file) {
        if (readable(file.path)) {
            return false;
        }
        result.errors.push_back(file.path.string() + ": not readable");
        return true;
    });
    return result;
}

fs::path masterFileBeside(const RecordFile& file) {
    return file.path.parent_path() /
           (std::string(masterFilePrefix) + file.name.name + recordFileSuffix);
}

} // namespace drilbank::instructor
