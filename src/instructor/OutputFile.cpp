#include "instructor/OutputFile.h"

#include "os/DurableFiles.h"

namespace drilbank::instructor {
namespace fs = std::filesystem;

std::optional<std::string> OutputFile::refusal(const fs::path& target,
                                               const std::vector<RecordFile>& inputs) {
    if (parseRecordFileName(utf8Of(target.filename()))) {
        return utf8Of(target) + ": that is a record file's name; the output never goes to one";
    }
    std::error_code error;
    if (fs::is_directory(target, error)) {
        return utf8Of(target) + ": that is a folder; name a file to write";
    }
    for (const RecordFile& input : inputs) {
        if (fs::equivalent(target, input.path, error)) {
            return utf8Of(target) + ": that is one of the files read; the output never goes to one";
        }
    }
    return std::nullopt;
}

OutputFile::OutputFile(fs::path target)
    : target_(std::move(target)),
      partial_(target_.parent_path() /
               pathFromUtf8("." + utf8Of(target_.filename()) + ".partial")) {}

OutputFile::~OutputFile() {
    if (!committed_) {
        out_.close();
        std::error_code ignored;
        fs::remove(partial_, ignored);
    }
}

std::ostream& OutputFile::stream() {
    if (!out_.is_open()) {
        out_.open(partial_, std::ios::binary | std::ios::trunc);
    }
    return out_;
}

bool OutputFile::commit(std::string& error) {
    if (out_.is_open()) {
        out_.close();
        if (!out_) {
            error = utf8Of(target_) + ": could not be written (is the disk full?)";
            return false;
        }
    }
    std::error_code renameError;
    fs::rename(partial_, target_, renameError);
    if (renameError) {
        error = utf8Of(target_) + ": could not be written (" + renameError.message() + ")";
        return false;
    }
    committed_ = true;
    return true;
}

} // namespace drilbank::instructor
