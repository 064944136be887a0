#pragma once

#include "instructor/RecordSearch.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace drilbank::instructor {

// A command's output file, written under a hidden temporary name beside it and renamed into
// place once whole: a run that fails leaves the old file as it was, never half a file.
class OutputFile {
public:
    // Why the output may not go to `target`: it is one of the files read, or bears a record
    // file's name (an instructor's slip that would otherwise destroy what it names).
    static std::optional<std::string> refusal(const std::filesystem::path& target,
                                              const std::vector<RecordFile>& inputs);

    explicit OutputFile(std::filesystem::path target);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Where the output is written until it is whole; stream() opens it.
    const std::filesystem::path& partialPath() const { return partial_; }
    std::ostream& stream();

    // Puts the whole output in place; a message in `error` when it could not be.
    bool commit(std::string& error);

private:
    std::filesystem::path target_;
    std::filesystem::path partial_;
    std::ofstream out_;
    bool committed_ = false;
};

} // namespace drilbank::instructor
