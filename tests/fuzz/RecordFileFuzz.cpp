// The record-file reader over any bytes (UTF-8 re-saves, changed line ends and joined copies
// among them): no crash, every place it names lies inside the file, blocks in file order, and
// a visitor that only counts blocks is told the same as one that wants their texts.
#include "reading/RecordReader.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

class Invariants final : public drilbank::RecordVisitor {
public:
    Invariants(std::size_t size, bool texts) : size_(size), texts_(texts) {}

    bool wantsTexts() const override { return texts_; }

    void header(const drilbank::RecordHeader& header) override {
        inOrder(header.place);
        for (const std::string_view text :
             {std::string_view("header "), header.studentName, header.assignmentNumber,
              header.assignmentHeader, header.initials, header.date, header.time}) {
            told_.append(text).append("|");
        }
        told_ += std::to_string(header.codingNumber.value_or(-1)) + '\n';
    }
    void block(const drilbank::RecordBlock& block) override {
        inOrder(block.place);
        told_ += "block " + std::to_string(static_cast<int>(block.kind)) + '|';
        told_.append(block.time).append("|").append(block.date);
        told_ += '|' + block.questionNumber + '\n';
        // A text said to read the same in UTF-8 is handed on unconverted: it must.
        for (const auto& [plain, text] : {std::pair{block.questionPlain, block.question},
                                          std::pair{block.answerPlain, block.answer}}) {
            if (plain && std::ranges::any_of(text, [](char c) {
                    return c == '&' || static_cast<unsigned char>(c) >= 0x80;
                })) {
                std::abort();
            }
        }
        if (texts_) {
            textsTold_.append(block.question).append("|").append(block.answer).append("\n");
        }
    }
    void problem(const drilbank::RecordProblem& problem) override {
        if (problem.place.offset > size_ || problem.place.line == 0 || problem.what.empty()) {
            std::abort();
        }
        told_ += where(problem.place) + problem.what + '\n';
    }

    const std::string& told() const { return told_; }
    const std::string& textsTold() const { return textsTold_; }

private:
    void inOrder(const drilbank::RecordPlace& place) {
        if (place.offset >= size_ || (seen_ && place.offset <= last_)) {
            std::abort();
        }
        seen_ = true;
        last_ = place.offset;
        told_ += where(place);
    }

    static std::string where(const drilbank::RecordPlace& place) {
        return std::to_string(place.line) + ':' + std::to_string(place.offset) + ' ';
    }

    std::size_t size_;
    bool seen_ = false;
    std::uint64_t last_ = 0;
    bool texts_;
    std::string told_;
    std::string textsTold_;
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
    const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    // From a stream, and by a visitor that wants no texts: the same but for those.
    std::string told[2];
    for (std::size_t way = 0; way < 2; ++way) {
        std::istringstream in(bytes);
        Invariants invariants(bytes.size(), way == 0);
        drilbank::readRecordFile(in, *name, invariants);
        told[way] = invariants.told();
    }
    if (told[1] != told[0]) {
        std::fprintf(stderr, "with texts:\n%s\nwithout:\n%s\n", told[0].c_str(), told[1].c_str());
        std::abort();
    }
    return 0;
}
