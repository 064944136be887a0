#pragma once

#include "support/FakePlatform.h"
#include "window/Handler.h"

#include <filesystem>
#include <string>

namespace drilbank::bench {

// A started run on real files under a folder of its own, as a student would have it.
struct BenchRun {
    BenchRun();

    std::filesystem::path local(const std::string& windowsPath) const;

    testing::FakePlatform platform;
    drilbank::Run run{platform};
};

// Appends the same bytes to each file, as the program's floor would: open for appending,
// one write, flush to stable storage, close.
void appendAndFlush(const std::filesystem::path& file, const std::string& bytes);

std::string readWhole(const std::filesystem::path& file);

// Grows a file with lines of text, CR LF ended, up to about the given size.
void growFile(const std::filesystem::path& file, std::size_t bytes);

} // namespace drilbank::bench
