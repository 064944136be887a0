#include "reading/WholeBlocks.h"

#include "encoding/Cp1252.h"
#include "format/RecordFormat.h"
#include "os/SystemDrives.h"
#include "reading/Fingerprint.h"
#include "reading/RecordLineShapes.h"
#include "reading/WholeLines.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace drilbank {
namespace {

using namespace wholeblocks;

void expect(std::string_view line, std::string_view expected) {
    if (line != expected) {
        throw GiveUp{Outcome::LineByLine};
    }
}

// An answer's lines up to the closing rule that ends it, as the bytes between, into `block`
// unless that is null.
void readAnswer(Lines& lines, std::string_view first, RecordBlock* block) {
    const char* from = first.data();
    const char* to = first.data() + first.size();
    for (;;) {
        const char* lineStart = lines.at();
        if (lines.takeClosingRule()) {
            if (lines.blockOrHeaderFollows()) {
                break;
            }
            if (lines.at() != lineStart + closing.size() + 2) {
                throw GiveUp{Outcome::LineByLine}; // a padded rule inside an answer
            }
            to = lineStart + closing.size();
            continue;
        }
        const std::string_view line = lines.next();
        if (line == opening || lines.headerFollowsAfter(line)) {
            throw GiveUp{Outcome::LineByLine}; // the line reader tells what is missing
        }
        to = line.data() + line.size();
    }
    if (block != nullptr) {
        block->answer = std::string_view(from, static_cast<std::size_t>(to - from));
        block->answerPlain = lines.plainTaken();
    }
}

void expect(Lines& lines, std::string_view line) {
    if (!lines.take(line)) {
        throw GiveUp{Outcome::LineByLine};
    }
}

// `line` is the one after the time line; the question and answer are kept with `texts`.
void readResponse(Lines& lines, std::string_view line, RecordFileKind kind, bool texts,
                  RecordBlock& block) {
    block.kind = RecordBlock::Kind::Response;
    if (kind == RecordFileKind::Notes) {
        throw GiveUp{Outcome::LineByLine};
    }
    if (kind == RecordFileKind::Master) {
        expect(line, "");
        expect(lines, "");
        const std::optional<std::string> number = questionNumberOf(lines.next());
        if (!number) {
            throw GiveUp{Outcome::LineByLine};
        }
        block.questionNumber = *number;
        lines.plainTaken(); // the lines before the question are none of its texts
        line = lines.next();
    }
    if (texts) {
        block.question = line;
        block.questionPlain = lines.plainTaken();
    }
    expect(lines, opening);
    expect(lines, responseMarker);
    readAnswer(lines, lines.next(), texts ? &block : nullptr);
}

void readBlock(Lines& lines, RecordFileKind kind, bool texts, RecordBlock& block) {
    expect(lines, opening);
    std::string_view time;
    if (!lines.takeShaped(timeLineLength, timeOfTimeLine, time)) {
        throw GiveUp{Outcome::LineByLine};
    }
    block.time = time;
    block.date = {};
    block.questionNumber.clear();
    // Without texts none are read: none may be left viewing bytes that have since moved.
    block.question = {};
    block.answer = {};
    block.questionPlain = false;
    block.answerPlain = false;
    if (std::string_view date; lines.takeShaped(dateTimeLineLength, dateOfDateTimeLine, date)) {
        block.kind = RecordBlock::Kind::Note;
        block.date = date;
        const std::string_view question = lines.next();
        if (texts) {
            block.question = question;
            block.questionPlain = lines.plainTaken();
        }
        expect(lines, opening);
        readAnswer(lines, lines.nextExpecting(notesMarker), texts ? &block : nullptr);
    } else {
        readResponse(lines, lines.next(), kind, texts, block);
    }
}

// Asks for as many bytes as were just read, a page further on, to be brought into the cache
// while the blocks before them are read: a mapped file's pages lie anywhere in memory, and
// the processor does not look past the end of a page for what will be read next.
void prefetch(std::string_view unread, std::size_t count) {
#if defined(__SSE2__)
    constexpr std::size_t distance = 4096;
    constexpr std::size_t cacheLine = 64;
    if (unread.size() > distance + count) {
        for (std::size_t at = distance; at < distance + count; at += cacheLine) {
            _mm_prefetch(unread.data() + at, _MM_HINT_T0);
        }
    }
#else
    static_cast<void>(unread);
    static_cast<void>(count);
#endif
}

} // namespace

void WholeBlocks::readFrom(RecordLineSource& lines, BlockOutlet& outlet, RecordBlock& block) {
    if (!lines.rewind()) {
        return;
    }
    RecordLineReader& bytes = lines.bytes();
    for (;;) {
        const Read read =
            this->read(bytes.unread(), bytes.atEnd(), !lines.codeKnown(), header_, block);
        if (read.outcome == Outcome::NeedMore) {
            // Larger than any block the program writes: left to the line-by-line reader.
            if (bytes.unread().size() < std::size_t{128} << 10 && bytes.readMore()) {
                continue;
            }
            return;
        }
        if (read.outcome == Outcome::LineByLine) {
            return;
        }
        const RecordPlace start{bytes.unreadOffset(), bytes.unreadLineNumber()};
        bytes.skip(read.bytes, read.lineEnds);
        prefetch(bytes.unread(), read.bytes);
        if (read.outcome == Outcome::Header) {
            header_.place = start;
            outlet.deliver(header_, read.fingerprint);
        } else {
            block.place = start;
            outlet.deliver(block, read.fingerprint);
        }
    }
}

bool WholeBlocks::agreesWithFileName(std::string_view studentName) {
    if (studentName == agreeingName_) {
        return true;
    }
    // The header holds the name in the code page, the file name in UTF-8 as typed.
    std::string asFileName = cp1252ToUtf8(studentName);
    std::replace(asFileName.begin(), asFileName.end(), ' ', '_');
    if (!sameNameIgnoringCase(asFileName, name_.name)) {
        return false;
    }
    agreeingName_ = studentName;
    return true;
}

WholeBlocks::Read WholeBlocks::read(std::string_view bytes, bool fileEnds, bool asciiOnly,
                                    RecordHeader& header, RecordBlock& block) {
    Lines lines(bytes, fileEnds, asciiOnly, texts_);
    Outcome outcome = Outcome::Block;
    try {
        if (lines.startsWith(opening)) {
            readBlock(lines, name_.kind, texts_, block);
        } else {
            outcome = Outcome::Header;
            if (name_.kind == RecordFileKind::Notes) {
                return {};
            }
            header.codingNumber = codingNumberOfKeyLine(lines.nextKeyLine());
            if (!header.codingNumber) {
                return {};
            }
            const std::string_view student = lines.nextExpecting(studentNameLabel);
            if (!agreesWithFileName(student)) {
                return {};
            }
            header.studentName = student;
            header.assignmentNumber = lines.nextExpecting(assignmentLabel);
            const std::string_view assignment = lines.next();
            if (!assignment.starts_with(header.assignmentNumber) ||
                assignment.substr(header.assignmentNumber.size(), 1) != ".") {
                return {};
            }
            header.assignmentHeader = assignment;
            header.initials = lines.nextExpecting(initialsLabel);
            if (!readHeaderDate(lines.next(), header)) {
                return {};
            }
        }
    } catch (const GiveUp& givenUp) {
        return {givenUp.outcome};
    }
    // Its bytes are as the program wrote them, as the line-by-line reader fingerprints them.
    return {outcome, lines.taken(), lines.lineEnds(),
            fingerprint(0, bytes.substr(0, lines.taken()))};
}

bool WholeBlocks::readHeaderDate(std::string_view text, RecordHeader& header) const {
    const std::string_view between = name_.kind == RecordFileKind::Send ? " " : "";
    const std::size_t label = std::string_view(dateAndTimeLabel).size();
    if (text.size() != label + dateTextLength + between.size() + timeTextLength) {
        return false;
    }
    header.date = text.substr(label, dateTextLength);
    header.time = text.substr(text.size() - timeTextLength);
    return isHeaderDateLine(text, header.date, header.time, between) &&
           name_.allowsDate(header.date);
}

} // namespace drilbank
