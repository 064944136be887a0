#pragma once

#include "reading/RecordFileName.h"

#include <filesystem>
#include <string>
#include <vector>

namespace drilbank::instructor {

struct RecordFile {
    std::filesystem::path path;
    RecordFileName name;
};

struct SearchResult {
    std::vector<RecordFile> files; // each student's master file before the others
    std::vector<std::string> errors;
};

// The record files at the paths: a file by itself, a folder searched recursively. Hidden
// files and folders (a name starting with ".") are passed over: the program keeps its own
// working files there.
SearchResult findRecordFiles(const std::vector<std::string>& paths);

// The master file of the same name in the same folder as a record file.
std::filesystem::path masterFileBeside(const RecordFile& file);

} // namespace drilbank::instructor
