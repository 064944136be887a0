#pragma once

#include "format/RecordFileName.h"
#include "reading/RecordReader.h"

#include <istream>
#include <map>
#include <string>

namespace drilbank::testing {

// The answers a record file of that name holds, as the instructor's tool reads them, each
// with how often; each problem the reader reports counts as an entry "problem: ...".
inline std::map<std::string, int> answersIn(std::istream& bytes, const std::string& fileName) {
    struct Counting final : RecordVisitor {
        std::map<std::string, int> answers;
        void header(const RecordHeader&) override {}
        void block(const RecordBlock& read) override { ++answers[std::string(read.answer)]; }
        void problem(const RecordProblem& read) override { ++answers["problem: " + read.what]; }
    } counting;
    readRecordFile(bytes, *parseRecordFileName(fileName), counting);
    return counting.answers;
}

} // namespace drilbank::testing
