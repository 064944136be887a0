// The record-file reader over any bytes (UTF-8 re-saves, changed line ends and joined copies
// among them): no crash, and every place it names lies inside the file, blocks in file order.
#include "reading/RecordReader.h"

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

class Invariants final : public drilbank::RecordVisitor {
public:
    explicit Invariants(std::size_t size) : size_(size) {}

    void header(const drilbank::RecordHeader& header) override { inOrder(header.place); }
    void block(const drilbank::RecordBlock& block) override { inOrder(block.place); }
    void problem(const drilbank::RecordProblem& problem) override {
        if (problem.place.offset > size_ || problem.place.line == 0 || problem.what.empty()) {
            std::abort();
        }
    }

private:
    void inOrder(const drilbank::RecordPlace& place) {
        if (place.offset >= size_ || (seen_ && place.offset <= last_)) {
            std::abort();
        }
        seen_ = true;
        last_ = place.offset;
    }

    std::size_t size_;
    bool seen_ = false;
    std::uint64_t last_ = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    // The first byte picks the kind of file the bytes are read as.
    const char* names[] = {"masterFile_Ann_Lee_Smith.txt", "send_0416Ann_Lee_Smith.txt",
                           "notes_Ann_Lee_Smith.txt"};
    const auto name = drilbank::parseRecordFileName(names[data[0] % 3]);
    std::istringstream in(std::string(reinterpret_cast<const char*>(data + 1), size - 1));
    Invariants invariants(size - 1);
    drilbank::readRecordFile(in, *name, invariants);
    return 0;
}
