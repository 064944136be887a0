#include "reading/BlockOutlet.h"

#include "format/RecordFormat.h"

#include <string>

namespace drilbank {
namespace {

// The digits YYYYMMDDHHMMSS of MM-DD-YYYY and HH:MM:SS as read, four bits each: ordered as
// the moments are, and made with shifts rather than multiplications.
std::uint64_t stampOf(std::string_view date, std::string_view time) {
    std::uint64_t stamp = 0;
    for (const std::size_t at : {6, 7, 8, 9, 0, 1, 3, 4}) {
        stamp = stamp << 4 | (static_cast<std::uint64_t>(date[at]) & 0x0F);
    }
    for (const std::size_t at : {0, 1, 3, 4, 6, 7}) {
        stamp = stamp << 4 | (static_cast<std::uint64_t>(time[at]) & 0x0F);
    }
    return stamp;
}

} // namespace

void BlockOutlet::deliver(const RecordHeader& header, std::uint64_t fingerprint) {
    if (isNew(header.place, fingerprint, JoinedCopies::Kind::Header, 0)) {
        visitor_.header(header);
    }
}

void BlockOutlet::deliver(const RecordBlock& block, std::uint64_t fingerprint) {
    const bool note = block.kind == RecordBlock::Kind::Note;
    if (isNew(block.place, fingerprint,
              note ? JoinedCopies::Kind::Note : JoinedCopies::Kind::Response,
              note ? stampOf(block.date, block.time) : 0)) {
        visitor_.block(block);
    }
}

// Whether what was just read is new, rather than part of a copy joined on.
bool BlockOutlet::isNew(RecordPlace start, std::uint64_t fingerprint, JoinedCopies::Kind kind,
                        std::uint64_t stamp) {
    std::uint64_t originalLine = 0;
    const bool full = copies_.full();
    const JoinedCopies::Verdict verdict =
        copies_.see(fingerprint, start.line, kind, stamp, originalLine);
    if (full && verdict == JoinedCopies::Verdict::New && !toldFull_) {
        toldFull_ = true;
        visitor_.problem({start, "more than " + std::to_string(copies_.capacity()) +
                                     " blocks in one file, far more than a student records: "
                                     "from here on a copy joined on is not looked for, and is "
                                     "read again if there is one"});
    }
    switch (verdict) {
    case JoinedCopies::Verdict::New:
        return true;
    case JoinedCopies::Verdict::CopyStarts:
        visitor_.problem({start, "from here the file repeats what it holds from line " +
                                     std::to_string(originalLine) +
                                     " on (a copy joined on); the repeat is not read again"});
        return false;
    case JoinedCopies::Verdict::Copy:
        break;
    }
    return false;
}

} // namespace drilbank
