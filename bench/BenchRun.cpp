#include "BenchRun.h"

#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace drilbank::bench {

BenchRun::BenchRun() {
    testing::answerStartUp(platform, "1", "Bea Bench", "BB", "1");
    if (!runHandler(run, &loadWindow) || !platform.messages.empty()) {
        throw std::runtime_error("the benchmark run did not start");
    }
}

std::filesystem::path BenchRun::local(const std::string& windowsPath) const {
    return platform.localPath(windowsPath);
}

void appendAndFlush(const std::filesystem::path& file, const std::string& bytes) {
    const int descriptor = ::open(file.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (descriptor < 0 ||
        ::write(descriptor, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
        ::fsync(descriptor) != 0 || ::close(descriptor) != 0) {
        throw std::runtime_error("the floor's append failed");
    }
}

std::string readWhole(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void growFile(const std::filesystem::path& file, std::size_t bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::app);
    const std::string line = "A line of earlier work, as a student would have typed it over a "
                             "term of drills.\r\n";
    for (std::size_t written = 0; written < bytes; written += line.size()) {
        out << line;
    }
}

} // namespace drilbank::bench
