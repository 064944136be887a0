#include "reading/RecordReader.h"

#include "encoding/Cp1252.h"
#include "format/LineCode.h"
#include "format/RecordFormat.h"
#include "os/SystemDrives.h"
#include "reading/BlockOutlet.h"
#include "reading/Fingerprint.h"
#include "reading/RecordDates.h"
#include "reading/RecordLineShapes.h"
#include "reading/RecordLineSource.h"
#include "reading/WholeBlocks.h"

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

class Parser {
public:
    Parser(RecordBytes bytes, const RecordFileName& name, RecordVisitor& visitor,
           RecordReading reading)
        : lines_(bytes, visitor), name_(name), visitor_(visitor), outlet_(visitor),
          whole_(name, visitor.wantsTexts()), wholeBlocks_(reading == RecordReading::WholeBlocks) {}

    void run() {
        if (peek(0) == nullptr) {
            if (!reportedLostBytes()) {
                report({0, 1}, "the file is empty; the program never leaves a record file empty "
                               "(was it cut short when it was copied or sent?)");
            }
            return;
        }
        if (name_.kind == RecordFileKind::Send && name_.monthDay.empty()) {
            report({0, 1}, "the send file's name has no date (send_MMDDName.txt): it was renamed; "
                           "it was read all the same");
        }
        for (;;) {
            if (wholeBlocks_) {
                // What stands as the program writes it, whole; the rest line by line below.
                whole_.readFrom(lines_, outlet_, read_);
            }
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
        reportedLostBytes();
    }

private:
    const RecordLine* peek(std::size_t ahead) { return lines_.peek(ahead); }

    bool reportedLostBytes() {
        if (!lines_.bytes().lostBytes()) {
            return false;
        }
        report({0, 1}, "part of the file could not be read: the disk or the network failed, or "
                       "the student's program cut a torn record off it while it was read; read "
                       "it again (with the program closed)");
        return true;
    }

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
        outlet_.interrupt();
    }

    void readHeader(RecordPlace start) {
        RecordHeader header;
        HeaderTexts& texts = headerTexts_;
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
        header.studentName = texts.studentName.assign(student.text);
        // The header holds the name in the code page, the file name in UTF-8 as typed.
        std::string asFileName = cp1252ToUtf8(student.text);
        std::replace(asFileName.begin(), asFileName.end(), ' ', '_');
        if (!sameNameIgnoringCase(asFileName, name_.name)) {
            report(placeOf(student), "the student name disagrees with the file name");
        }
        header.assignmentNumber = texts.assignmentNumber.assign(
            expectLabelled(assignmentLabel, "the assignment line").text);
        const RecordLine assignment = takeInside();
        header.assignmentHeader = texts.assignmentHeader.assign(assignment.text);
        if (!assignment.text.starts_with(texts.assignmentNumber + ".")) {
            report(placeOf(assignment), "the header line is not that of the assignment");
        }
        header.initials =
            texts.initials.assign(expectLabelled(initialsLabel, "the initials line").text);
        readHeaderDate(header);
        outlet_.deliver(header, block_.value());
    }

    void readHeaderDate(RecordHeader& header) {
        const std::string_view between = name_.kind == RecordFileKind::Send ? " " : "";
        const RecordLine line = takeInside();
        const std::size_t label = std::string_view(dateAndTimeLabel).size();
        const std::string_view text = line.text;
        if (text.size() != label + dateTextLength + between.size() + timeTextLength) {
            fault(line, std::string("the date line of a ") + kindWord(name_.kind) + " file header");
        }
        header.date = headerTexts_.date.assign(text.substr(label, dateTextLength));
        header.time = headerTexts_.time.assign(text.substr(text.size() - timeTextLength));
        if (!isHeaderDateLine(text, header.date, header.time, between)) {
            fault(line, std::string("the date line of a ") + kindWord(name_.kind) + " file header");
        }
        if (!name_.allowsDate(header.date)) {
            report(placeOf(line), "the date disagrees with the send file's name");
        }
    }

    void readBlock(RecordPlace start) {
        RecordBlock& block = read_;
        block.place = start;
        block.questionPlain = false; // not looked for line by line
        block.answerPlain = false;
        block.date = {};
        block.questionNumber.clear();
        takeInside();
        const RecordLine time = takeInside();
        const std::optional<std::string_view> timeText = timeOfTimeLine(time.text);
        if (!timeText) {
            fault(time, "the time line");
        }
        block.time = texts_.time.assign(*timeText);
        if (dateOfDateTimeLine(peekInside().text)) {
            readNote(block);
        } else {
            readResponse(block);
        }
        outlet_.deliver(block, block_.value());
    }

    void readNote(RecordBlock& block) {
        block.kind = RecordBlock::Kind::Note;
        block.date = texts_.date.assign(*dateOfDateTimeLine(takeInside().text));
        block.question = texts_.question.assign(takeInside().text);
        expectExact(openingRule, "the opening rule before the note");
        block.answer = readAnswer(expectLabelled(notesMarker, "the notes line"), texts_.answer);
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
        block.question = texts_.question.assign(takeInside().text);
        expectExact(openingRule, "the opening rule before the response");
        expectExact(responseMarker, "the response marker line");
        block.answer = readAnswer(takeInside(), texts_.answer);
    }

    // An answer's lines up to the closing rule that ends it, joined by the line ends they had,
    // into `answer`, which is given back.
    // A new block or header where the closing rule should be means the rule was damaged.
    const std::string& readAnswer(const RecordLine& first, std::string& answer) {
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
                    return answer;
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
    // What the texts of blocks and headers read line by line view: the lines' own memory moves
    // on. Their memory serves every one.
    struct BlockTexts {
        std::string time;
        std::string date;
        std::string question;
        std::string answer;
    } texts_;
    struct HeaderTexts {
        std::string studentName;
        std::string assignmentNumber;
        std::string assignmentHeader;
        std::string initials;
        std::string date;
        std::string time;
    } headerTexts_;
    BlockOutlet outlet_;
    WholeBlocks whole_;
    bool wholeBlocks_;
};

} // namespace

void readRecordFile(RecordBytes bytes, const RecordFileName& name, RecordVisitor& visitor,
                    RecordReading reading) {
    Parser(bytes, name, visitor, reading).run();
}

} // namespace drilbank
