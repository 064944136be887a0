#pragma once

#include "reading/JoinedCopies.h"
#include "reading/RecordReader.h"

#include <cstdint>

namespace drilbank {

// Hands a file's headers and blocks to the visitor in turn, read either way, each once: a copy
// of the file's own blocks joined on to it is said once, where it starts, and not handed on.
class BlockOutlet {
public:
    explicit BlockOutlet(RecordVisitor& visitor) : visitor_(visitor) {}

    // `fingerprint` is that of the header's or block's bytes as the program wrote them.
    void deliver(const RecordHeader& header, std::uint64_t fingerprint);
    void deliver(const RecordBlock& block, std::uint64_t fingerprint);

    // After a damaged block nothing after it is taken for part of a copy.
    void interrupt() { copies_.interrupt(); }

private:
    bool isNew(RecordPlace start, std::uint64_t fingerprint, JoinedCopies::Kind kind,
               std::uint64_t stamp);

    RecordVisitor& visitor_;
    JoinedCopies copies_;
    bool toldFull_ = false;
};

} // namespace drilbank
