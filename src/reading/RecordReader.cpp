#include "reading/RecordReader.h"

#include "coding/LineCode.h"
#include "platform/Cp1252.h"
#include "platform/SystemDrives.h"
#include "reading/Fingerprint.h"
#include "reading/JoinedCopies.h"
#include "reading/RecordDates.h"
#include "reading/RecordLineShapes.h"
#include "reading/RecordLineSource.h"
#include "reading/WholeBlocks.h"
#include "record/RecordFormat.h"

#include <algorithm>
#include <cstring>

namespace drilbank {
namespace {

// A line the file ended in part of may be the start of what is expected.
bool startsLike(const RecordLine* line, std::string_view expected) {
    return line != nullptr &&
           (line->text.starts_with(expected) ||
            (line->ending == RecordLine::Ending::Missing && expected.starts_with(line->text)));
}

// A block that cannot be read on; `torn` when the file ends inside it.
struct BlockFault {
    RecordPlace place;
    std::string what;
    bool torn = false;
};

// YYYYMMDDHHMMSS as a number, from MM-DD-YYYY and HH:MM:SS as read: ordered as the moments
// are.
std::uint64_t stampOf(std::string_view date, std::string_view time) {
    char moment[dateTextLength + timeTextLength]; // MM-DD-YYYYHH:MM:SS
    std::memcpy(moment, date.data(), dateTextLength);
    std::memcpy(moment + dateTextLength, time.data(), timeTextLength);
    std::uint64_t stamp = 0;
    for (const std::size_t at : {6, 7, 8, 9, 0, 1, 3, 4, 10, 11, 13, 14, 16, 17}) {
        stamp = stamp * 10 + static_cast<std::uint64_t>(moment[at] - '0');
    }
    return stamp;
}

class Parser {
public:
    Parser(std::istream& in, const RecordFileName& name, RecordVisitor& visitor,
           RecordReading reading)
        : lines_(in, visitor), name_(name), visitor_(visitor), whole_(name),
          wholeBlocks_(reading == RecordReading::WholeBlocks) {}

    void run() {
        if (peek(0) == nullptr) {
            report({0, 1}, "the file is empty; the program never leaves a record file empty "
                           "(was it cut short when it was copied or sent?)");
            return;
        }
        if (name_.kind == RecordFileKind::Send && name_.monthDay.empty()) {
            report({0, 1}, "the send file's name has no date (send_MMDDName.txt): it was renamed; "
                           "it was read all the same");
        }
        for (;;) {
            readWholeBlocks();
            if (peek(0) == nullptr) {
                break;
            }
            if (atBlockStart()) {
                readGuarded(&Parser::readBlock);
            } else if (atHeaderStart()) {
                readGuarded(&Parser::readHeader);
            } else {
                skipStrayLines();
            }
        }
    }

private:
    // As many headers and blocks as stand exactly as the program writes them, read straight
    // from the bytes; the line-by-line reading below takes what they do not.
    void readWholeBlocks() {
        if (!wholeBlocks_ || !lines_.rewind()) {
            return;
        }
        RecordLineReader& bytes = lines_.bytes();
        for (;;) {
            const WholeBlocks::Read read = whole_.read(bytes.unread(), bytes.atEnd(),
                                                       !lines_.codeKnown(), wholeHeader_, read_);
            if (read.outcome == WholeBlocks::Outcome::NeedMore) {
                // Larger than any block the program writes: read line by line.
                if (bytes.unread().size() < std::size_t{128} << 10 && bytes.readMore()) {
                    continue;
                }
                return;
            }
            if (read.outcome == WholeBlocks::Outcome::LineByLine) {
                return;
            }
            const RecordPlace start{bytes.unreadOffset(), bytes.unreadLineNumber()};
            bytes.skip(read.bytes, read.lineEnds);
            if (read.outcome == WholeBlocks::Outcome::Header) {
                wholeHeader_.place = start;
                deliver(wholeHeader_, read.fingerprint);
            } else {
                read_.place = start;
                deliver(read_, read.fingerprint);
            }
        }
    }

    void deliver(const RecordHeader& header, std::uint64_t fingerprint) {
        if (isNew(header.place, fingerprint, JoinedCopies::Kind::Header, 0)) {
            visitor_.header(header);
        }
    }

    void deliver(const RecordBlock& block, std::uint64_t fingerprint) {
        const bool note = block.kind == RecordBlock::Kind::Note;
        if (isNew(block.place, fingerprint,
                  note ? JoinedCopies::Kind::Note : JoinedCopies::Kind::Response,
                  note ? stampOf(block.date, block.time) : 0)) {
            visitor_.block(block);
        }
    }

    const RecordLine* peek(std::size_t ahead) { return lines_.peek(ahead); }

    static RecordPlace placeOf(const RecordLine& line) { return {line.offset, line.number}; }

    void report(RecordPlace place, std::string what) { visitor_.problem({place, std::move(what)}); }

    RecordLine take() {
        RecordLine line = lines_.take();
        // The block's fingerprint, over its bytes as the program wrote them: a copy is told
        // by it without keeping the block's bytes.
        block_.add(line.text);
        block_.add(endingBytes(line.ending));
        return line;
    }

    // The next line of a block: the block is torn when the file ends before or inside it.
    const RecordLine& peekInside() {
        const RecordLine* next = peek(0);
        if (next == nullptr || next->ending == RecordLine::Ending::Missing) {
            throw BlockFault{{}, "", true};
        }
        if (next->cut) {
            throw BlockFault{placeOf(*next),
                             "a line of more than " + std::to_string(maxLineLength >> 20) +
                                 " MB, far longer than the program writes; its block was "
                                 "not read",
                             false};
        }
        return *next;
    }

    RecordLine takeInside() {
        peekInside();
        return take();
    }

    [[noreturn]] static void fault(const RecordLine& line, const std::string& expected) {
        throw BlockFault{placeOf(line), "expected " + expected, false};
    }

    void expectExact(const char* text, const char* what) {
        const RecordLine line = takeInside();
        if (line.text != text) {
            fault(line, what);
        }
    }

    RecordLine expectLabelled(const char* label, const char* what) {
        RecordLine line = takeInside();
        if (!line.text.starts_with(label)) {
            fault(line, what);
        }
        line.text.remove_prefix(std::string_view(label).size());
        return line;
    }

    // An opening rule followed by a time line; at the end of the file, what may be its start.
    bool atBlockStart() {
        const RecordLine* line = peek(0);
        if (line->text != openingRule) {
            return startsLike(line, openingRule) && peek(1) == nullptr;
        }
        // The block's second opening rule is followed by its marker line.
        const RecordLine* next = peek(1);
        return next == nullptr ||
               !(next->text == responseMarker || next->text.starts_with(notesMarker));
    }

    bool isTimeLineAfter() {
        const RecordLine* next = peek(1);
        return next != nullptr && timeOfTimeLine(next->text).has_value();
    }

    bool atHeaderStart() {
        const RecordLine* line = peek(0);
        return startsLike(peek(1), studentNameLabel) ||
               (line->ending != RecordLine::Ending::Missing && isKeyLine(line->text));
    }

    // Where a closing rule really closes an answer: what follows can only be a block's start,
    // a header or the end of the file (whole, or cut inside what comes next). Anywhere else
    // a line of full stops is part of what the student typed.
    bool closesAnswer() {
        const RecordLine* next = peek(0);
        if (next == nullptr || next->ending == RecordLine::Ending::Missing) {
            return true;
        }
        const RecordLine* after = peek(1);
        if (next->text == openingRule) {
            return after == nullptr || after->ending == RecordLine::Ending::Missing ||
                   timeOfTimeLine(after->text).has_value();
        }
        return isKeyLine(next->text) && (after == nullptr || startsLike(after, studentNameLabel));
    }

    void skipStrayLines() {
        const RecordPlace start = placeOf(*peek(0));
        std::uint64_t count = 0;
        RecordLine last;
        do {
            last = take();
            ++count;
        } while (peek(0) != nullptr && !atBlockStart() && !atHeaderStart());
        block_ = Fingerprinter();
        if (last.ending == RecordLine::Ending::Missing) {
            --count;
            report(placeOf(last), "torn tail: the file ends inside a line");
        }
        if (count > 0) {
            report(start, std::to_string(count) + (count == 1 ? " line" : " lines") +
                              " outside any block");
        }
    }

    void readGuarded(void (Parser::*read)(RecordPlace)) {
        const RecordPlace start = placeOf(*peek(0));
        block_ = Fingerprinter();
        try {
            (this->*read)(start);
            return;
        } catch (const BlockFault& broken) {
            if (broken.torn) {
                report(start, "torn tail: the file ends inside the block that starts here");
                while (peek(0) != nullptr) {
                    take();
                }
            } else {
                report(broken.place, broken.what);
            }
        }
        while (peek(0) != nullptr && !atBlockStart() && !atHeaderStart()) {
            take();
        }
        copies_.interrupt();
    }

    // Whether what was just read is new, rather than part of a copy joined on.
    bool isNew(RecordPlace start, std::uint64_t fingerprint, JoinedCopies::Kind kind,
               std::uint64_t stamp) {
        std::uint64_t originalLine = 0;
        const bool full = copies_.full();
        const JoinedCopies::Verdict verdict =
            copies_.see(fingerprint, start.line, kind, stamp, originalLine);
        if (full && verdict == JoinedCopies::Verdict::New && !toldFull_) {
            toldFull_ = true;
            report(start, "more than " + std::to_string(copies_.capacity()) +
                              " blocks in one file, far more than a student records: from here "
                              "on a copy joined on is not looked for, and is read again if "
                              "there is one");
        }
        switch (verdict) {
        case JoinedCopies::Verdict::New:
            return true;
        case JoinedCopies::Verdict::CopyStarts:
            report(start, "from here the file repeats what it holds from line " +
                              std::to_string(originalLine) +
                              " on (a copy joined on); the repeat is not read again");
            return false;
        case JoinedCopies::Verdict::Copy:
            break;
        }
        return false;
    }
    void readHeader(RecordPlace start) {
        RecordHeader header;
        header.place = start;
        const RecordLine key = takeInside();
        if (isKeyLine(key.text)) {
            header.codingNumber = keyLineCodingNumber(key.text);
        } else {
            report(placeOf(key), "the key line is not a valid key line");
        }
        if (name_.kind == RecordFileKind::Notes) {
            report(start, "a header block in a notes file");
        }
        const RecordLine student = expectLabelled(studentNameLabel, "the student name line");
        header.studentName = student.text;
        // The header holds the name in the code page, the file name in UTF-8 as typed.
        std::string asFileName = cp1252ToUtf8(student.text);
        std::replace(asFileName.begin(), asFileName.end(), ' ', '_');
        if (!sameNameIgnoringCase(asFileName, name_.name)) {
            report(placeOf(student), "the student name disagrees with the file name");
        }
        header.assignmentNumber = expectLabelled(assignmentLabel, "the assignment line").text;
        const RecordLine assignment = takeInside();
        header.assignmentHeader = assignment.text;
        if (!assignment.text.starts_with(header.assignmentNumber + ".")) {
            report(placeOf(assignment), "the header line is not that of the assignment");
        }
        header.initials = expectLabelled(initialsLabel, "the initials line").text;
        readHeaderDate(header);
        deliver(header, block_.value());
    }

    void readHeaderDate(RecordHeader& header) {
        const std::string between = name_.kind == RecordFileKind::Send ? " " : "";
        const RecordLine line = takeInside();
        const std::size_t label = std::string_view(dateAndTimeLabel).size();
        const std::string_view text = line.text;
        if (text.size() != label + dateTextLength + between.size() + timeTextLength) {
            fault(line, std::string("the date line of a ") + kindWord(name_.kind) + " file header");
        }
        header.date = std::string(text.substr(label, dateTextLength));
        header.time = std::string(text.substr(text.size() - timeTextLength));
        if (!isHeaderDateLine(text, header.date, header.time, between)) {
            fault(line, std::string("the date line of a ") + kindWord(name_.kind) + " file header");
        }
        if (name_.kind == RecordFileKind::Send && !name_.monthDay.empty() &&
            header.date.substr(0, 2) + header.date.substr(3, 2) != name_.monthDay) {
            report(placeOf(line), "the date disagrees with the send file's name");
        }
    }

    void readBlock(RecordPlace start) {
        RecordBlock& block = read_; // its strings' memory serves every block
        block.place = start;
        block.date.clear();
        block.questionNumber.clear();
        takeInside();
        const RecordLine time = takeInside();
        const std::optional<std::string_view> timeText = timeOfTimeLine(time.text);
        if (!timeText) {
            fault(time, "the time line");
        }
        block.time = *timeText;
        if (dateOfDateTimeLine(peekInside().text)) {
            readNote(block);
        } else {
            readResponse(block);
        }
        deliver(block, block_.value());
    }

    void readNote(RecordBlock& block) {
        block.kind = RecordBlock::Kind::Note;
        block.date = *dateOfDateTimeLine(takeInside().text);
        block.question = takeInside().text;
        expectExact(openingRule, "the opening rule before the note");
        readAnswer(expectLabelled(notesMarker, "the notes line"), block.answer);
    }

    void readResponse(RecordBlock& block) {
        block.kind = RecordBlock::Kind::Response;
        if (name_.kind == RecordFileKind::Notes) {
            report(block.place, "a response block in a notes file");
        }
        if (name_.kind == RecordFileKind::Master) {
            expectExact("", "an empty line before the question number");
            expectExact("", "an empty line before the question number");
            const RecordLine numberLine = takeInside();
            const std::optional<std::string> number = questionNumberOf(numberLine.text);
            if (!number) {
                fault(numberLine, "the question-number line");
            }
            block.questionNumber = *number;
        }
        block.question = takeInside().text;
        expectExact(openingRule, "the opening rule before the response");
        expectExact(responseMarker, "the response marker line");
        readAnswer(takeInside(), block.answer);
    }

    // An answer's lines up to the closing rule that ends it, joined by the line ends they had,
    // into `answer`.
    // A new block or header where the closing rule should be means the rule was damaged.
    void readAnswer(const RecordLine& first, std::string& answer) {
        answer.assign(first.text);
        RecordLine::Ending between = first.ending;
        RecordPlace last = placeOf(first);
        for (;;) {
            const RecordLine* next = peek(0);
            if (next != nullptr &&
                ((next->text == openingRule && isTimeLineAfter()) ||
                 (isKeyLine(next->text) && startsLike(peek(1), studentNameLabel)))) {
                throw BlockFault{last, "expected the closing rule", false};
            }
            const RecordLine line = takeInside();
            last = placeOf(line);
            // Looking past a closing rule reads on, which the line's text does not outlive.
            std::string_view text = line.text;
            if (text == closingRule) {
                if (closesAnswer()) {
                    return;
                }
                text = closingRule;
            }
            if (answer.size() > maxLineLength) {
                throw BlockFault{last,
                                 "an answer of more than " + std::to_string(maxLineLength >> 20) +
                                     " MB, far longer than the program writes; its block was "
                                     "not read",
                                 false};
            }
            answer += endingBytes(between);
            answer += text;
            between = line.ending;
        }
    }

    RecordLineSource lines_;
    const RecordFileName& name_;
    RecordVisitor& visitor_;
    Fingerprinter block_; // of the block being read line by line
    RecordBlock read_;
    JoinedCopies copies_;
    bool toldFull_ = false;
    WholeBlocks whole_;
    RecordHeader wholeHeader_;
    bool wholeBlocks_;
};

} // namespace

void readRecordFile(std::istream& in, const RecordFileName& name, RecordVisitor& visitor,
                    RecordReading reading) {
    Parser(in, name, visitor, reading).run();
}

} // namespace drilbank
