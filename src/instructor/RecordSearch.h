#pragma once

#include "format/RecordFileName.h"
#include "reading/RecordReader.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace drilbank::instructor {

struct RecordFile {
    std::filesystem::path path;
    RecordFileName name;
    // An earlier file with the same bytes: this one is a copy and is not read again.
    std::optional<std::filesystem::path> sameAs;
    // A file of the same name that holds all this one's bytes and more after them: this one is
    // an earlier copy of it (handed in before the student went on) and is not read.
    std::optional<std::filesystem::path> earlierCopyOf;
    // The path from the folder given that it was found in, in UTF-8 with "/" between folders;
    // for a file given by itself, its path as given. Empty: its name is shown.
    std::string relativePath;
};

struct SearchResult {
    std::vector<RecordFile> files; // each student's master file before the others
    std::vector<std::string> errors;
};

// The record files at the paths (UTF-8): a file by itself, a folder searched recursively.
// Hidden files and folders (a name starting with ".") are passed over: the program keeps its
// own working files there. Only regular files are taken.
SearchResult findRecordFiles(const std::vector<std::string>& paths);

// Sets each file's relativePath from the paths it was found through (the first that holds it).
void setRelativePaths(std::vector<RecordFile>& files, const std::vector<std::string>& paths);

// Reads a file found, or reports it as the copy it is, or as the earlier copy it is.
void readFoundFile(const RecordFile& file, RecordVisitor& visitor);

// The master file of the same name in the same folder as a record file.
std::filesystem::path masterFileBeside(const RecordFile& file);

} // namespace drilbank::instructor
