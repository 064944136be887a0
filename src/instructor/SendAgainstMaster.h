#pragma once

#include "instructor/Moments.h"
#include "instructor/RecordSearch.h"
#include "reading/RecordReader.h"

#include <cstdint>
#include <memory>
#include <ostream>
#include <vector>

namespace drilbank::instructor {

// check's look at a send file beside its master: every run header and block the program
// writes to the send file it writes to the master file too, so a send file holds exactly the
// master's runs of its day. Told of a send file and the master file of the same student in
// the same folder as check reads them (in one pass, whichever comes first), this names each
// header or block of the send file that the master lacks, each that the master holds
// otherwise (the send file was changed after it was written), and each of the master's of
// that day (the send file's month and day, in any year) that the send file lacks. Clicks are
// told by their texts and times: the two files of one click may carry times a second apart.
// Bounded: a file's first blocksKept headers and blocks are compared, far more than a
// student's files hold, and the rest is said not compared.
class SendAgainstMaster {
public:
    static constexpr std::size_t blocksKept = std::size_t{1} << 18;

    explicit SendAgainstMaster(const std::vector<RecordFile>& files);
    ~SendAgainstMaster();

    // What to tell of file `index` besides check's own visitor; null when it is compared with
    // no other file.
    RecordVisitor* visitorFor(std::size_t index);
    // After file `index` was read: writes what the comparisons it completes found, each as
    // "file:line: byte N: what", naming both files, and a line for each comparison.
    void fileDone(std::size_t index, std::ostream& out);
    // A closing line, when any send file was compared; the number of send files that differ.
    std::size_t writeTotals(std::ostream& out) const;

private:
    struct Signature;
    class Collector;
    struct Pair {
        std::size_t master;
        std::size_t send;
        bool done = false;
    };
    void compare(const Pair& pair, std::ostream& out);

    const std::vector<RecordFile>& files_;
    std::vector<Pair> pairs_;
    std::vector<std::unique_ptr<Collector>> collectors_; // by file, while it is needed
    std::vector<bool> read_;
    std::vector<bool> compared_; // whether a file takes part
    std::vector<std::vector<Signature>> spare_;
    std::size_t pairsCompared_ = 0;
    std::size_t differing_ = 0;
    std::size_t differences_ = 0;
};

// Tells two visitors of the same file; the second may be null.
class BothVisitors final : public RecordVisitor {
public:
    BothVisitors(RecordVisitor& first, RecordVisitor* second) : first_(first), second_(second) {}
    void header(const RecordHeader& header) override;
    void block(const RecordBlock& block) override;
    void problem(const RecordProblem& problem) override;
    bool wantsTexts() const override;

private:
    RecordVisitor& first_;
    RecordVisitor* second_;
};

} // namespace drilbank::instructor
