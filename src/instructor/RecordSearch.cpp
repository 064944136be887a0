#include "instructor/RecordSearch.h"

#include "format/RecordFormat.h"
#include "os/DurableFiles.h"
#include "os/SystemDrives.h"
#include "reading/Fingerprint.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <memory>
#include <tuple>

namespace drilbank::instructor {
namespace fs = std::filesystem;
namespace {

const char* const recordFileKinds = "(masterFile_*.txt, send_*.txt, notes_*.txt)";
const char* const notRegular = ": not a regular file (a pipe or a device?); not read";

bool isHidden(const fs::path& path) {
    return utf8Of(path.filename()).starts_with(".");
}

std::string shown(const fs::path& path) {
    return utf8Of(path);
}

void addFile(const fs::path& path, SearchResult& result) {
    if (const auto name = parseRecordFileName(utf8Of(path.filename()))) {
        result.files.push_back({path, *name, std::nullopt, std::nullopt, ""});
    }
}

// Every folder below is opened on its own, so that one that cannot be read is said by name;
// links to folders are not followed (a link loop would never end), and only regular files
// are taken: a pipe or a device would hang the reader or never end.
void searchFolder(const fs::path& folder, SearchResult& result, bool given) {
    std::error_code error;
    fs::directory_iterator entries(folder, error);
    if (error) {
        result.errors.push_back(shown(folder) + ": this folder cannot be read (" + error.message() +
                                "); its record files were not read");
        return;
    }
    const std::size_t before = result.files.size();
    for (; entries != fs::directory_iterator(); entries.increment(error)) {
        if (error) {
            result.errors.push_back(shown(folder) + ": reading this folder failed part way (" +
                                    error.message() + ")");
            return;
        }
        const fs::directory_entry& entry = *entries;
        if (isHidden(entry.path())) {
            continue;
        }
        const fs::file_status own = entry.symlink_status(error);
        if (fs::is_directory(own)) {
            searchFolder(entry.path(), result, false);
        } else if (entry.is_regular_file(error)) {
            addFile(entry.path(), result);
        } else if (parseRecordFileName(utf8Of(entry.path().filename()))) {
            result.errors.push_back(shown(entry.path()) + notRegular);
        }
    }
    if (given && result.files.size() == before) {
        result.errors.push_back(shown(folder) + ": holds no record files " + recordFileKinds);
    }
}

// A fingerprint of a file's bytes, read a piece at a time: of its first piece alone, or of
// all of it.
std::uint64_t fingerprintOf(const fs::path& path, bool whole) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> piece(1 << 16);
    std::uint64_t sum = 0;
    while (in.read(piece.data(), static_cast<std::streamsize>(piece.size())) || in.gcount() > 0) {
        sum =
            fingerprint(sum, std::string_view(piece.data(), static_cast<std::size_t>(in.gcount())));
        if (!whole) {
            break;
        }
    }
    return sum;
}

// A file handed in twice under two names or in two folders is read once. Files are told apart
// by their size, then by their first piece, and only files alike in both are read whole.
void markCopies(std::vector<RecordFile>& files) {
    std::map<std::pair<std::uintmax_t, std::uint64_t>, std::vector<std::size_t>> alike;
    std::map<std::uintmax_t, std::vector<std::size_t>> bySize;
    for (std::size_t index = 0; index < files.size(); ++index) {
        std::error_code error;
        const std::uintmax_t size = fs::file_size(files[index].path, error);
        if (!error && size > 0) {
            bySize[size].push_back(index);
        }
    }
    for (const auto& [size, indexes] : bySize) {
        for (const std::size_t index : indexes) {
            if (indexes.size() > 1) {
                alike[{size, fingerprintOf(files[index].path, false)}].push_back(index);
            }
        }
    }
    for (const auto& [start, indexes] : alike) {
        std::map<std::uint64_t, std::size_t> firstWith;
        for (const std::size_t index : indexes) {
            if (indexes.size() < 2) {
                break;
            }
            const auto [first, isNew] =
                firstWith.emplace(fingerprintOf(files[index].path, true), index);
            if (!isNew) {
                files[index].sameAs = files[first->second].path;
            }
        }
    }
}

// The fingerprint of a file's first `length` bytes, as Fingerprinter makes it of them whole.
std::uint64_t prefixFingerprint(const fs::path& path, std::uintmax_t length) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> piece(1 << 16);
    Fingerprinter print;
    while (length > 0) {
        const auto want =
            static_cast<std::streamsize>(std::min<std::uintmax_t>(length, piece.size()));
        if (!in.read(piece.data(), want) && in.gcount() == 0) {
            break;
        }
        print.add(std::string_view(piece.data(), static_cast<std::size_t>(in.gcount())));
        length -= static_cast<std::uintmax_t>(in.gcount());
    }
    return print.value();
}

// A file handed in while the student was still working, and again later under the same name
// (in capitals or not): the earlier copy's bytes are the start of the later one, which holds
// all its rows.
void markEarlierCopies(std::vector<RecordFile>& files) {
    std::map<std::string, std::vector<std::size_t>> byName;
    for (std::size_t index = 0; index < files.size(); ++index) {
        if (!files[index].sameAs) {
            std::string name = utf8Of(files[index].path.filename());
            std::transform(name.begin(), name.end(), name.begin(), [](char c) {
                return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
            });
            byName[name].push_back(index);
        }
    }
    for (auto& [name, indexes] : byName) {
        if (indexes.size() < 2) {
            continue;
        }
        std::vector<std::pair<std::uintmax_t, std::size_t>> bySize;
        for (const std::size_t index : indexes) {
            std::error_code error;
            const std::uintmax_t size = fs::file_size(files[index].path, error);
            if (!error && size > 0) {
                bySize.push_back({size, index});
            }
        }
        std::sort(bySize.begin(), bySize.end());
        // Each file against the largest that holds it; the largest is read.
        for (std::size_t shorter = 0; shorter < bySize.size(); ++shorter) {
            const auto [size, index] = bySize[shorter];
            const std::uint64_t whole = prefixFingerprint(files[index].path, size);
            for (std::size_t longer = bySize.size(); longer-- > shorter + 1;) {
                const std::size_t other = bySize[longer].second;
                if (bySize[longer].first > size &&
                    prefixFingerprint(files[other].path, size) == whole) {
                    files[index].earlierCopyOf = files[other].path;
                    break;
                }
            }
        }
    }
}

} // namespace

SearchResult findRecordFiles(const std::vector<std::string>& paths) {
    SearchResult result;
    for (const std::string& given : paths) {
        const fs::path path = pathFromUtf8(given);
        std::error_code error;
        const fs::file_status status = fs::status(path, error);
        if (!fs::exists(status)) {
            result.errors.push_back(given + ": no such file or folder");
        } else if (fs::is_directory(status)) {
            searchFolder(path, result, true);
        } else if (!parseRecordFileName(utf8Of(path.filename()))) {
            result.errors.push_back(given + ": not a record file " + recordFileKinds);
        } else if (!fs::is_regular_file(status)) {
            result.errors.push_back(given + notRegular);
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
        if (std::ifstream(file.path, std::ios::binary)) {
            return false;
        }
        result.errors.push_back(shown(file.path) + ": this file cannot be read (no permission?)");
        return true;
    });
    markCopies(result.files);
    markEarlierCopies(result.files);
    setRelativePaths(result.files, paths);
    return result;
}

void setRelativePaths(std::vector<RecordFile>& files, const std::vector<std::string>& paths) {
    std::vector<fs::path> folders;
    for (const std::string& given : paths) {
        fs::path folder = pathFromUtf8(given).lexically_normal();
        if (!folder.has_filename() && folder.has_parent_path() && folder != folder.root_path()) {
            folder = folder.parent_path(); // "class/" as "class"
        }
        folders.push_back(folder);
    }
    const auto generic = [](const fs::path& path) {
        const std::u8string text = path.generic_u8string();
        return std::string(text.begin(), text.end());
    };
    for (RecordFile& file : files) {
        const fs::path path = file.path.lexically_normal();
        for (const fs::path& folder : folders) {
            if (path == folder) {
                file.relativePath = generic(folder); // a file given by itself
                break;
            }
            const fs::path relative = path.lexically_relative(folder);
            if (!relative.empty() && *relative.begin() != "..") {
                file.relativePath = generic(relative);
                break;
            }
        }
    }
}

void readFoundFile(const RecordFile& file, RecordVisitor& visitor) {
    if (file.sameAs) {
        visitor.problem({{0, 1},
                         "the same bytes as " + shown(*file.sameAs) +
                             ", which was read; this copy is not read again"});
        return;
    }
    if (file.earlierCopyOf) {
        visitor.problem({{0, 1},
                         "an earlier copy of " + shown(*file.earlierCopyOf) +
                             ", which holds all of it and more, and was read; not read again"});
        return;
    }
    std::ifstream in(file.path, std::ios::binary);
    readRecordFile(in, file.name, visitor);
}

fs::path masterFileBeside(const RecordFile& file) {
    return entryIgnoringCase(file.path.parent_path(),
                             std::string(masterFilePrefix) + file.name.name + recordFileSuffix);
}

} // namespace drilbank::instructor
