#include "reading/RecordGrammar.h"

#include "encoding/Cp1252.h"
#include "format/RecordFormat.h"
#include "os/SystemDrives.h"
#include "reading/RecordLineShapes.h"

#include <algorithm>

namespace drilbank::reading {
namespace {

constexpr std::string_view opening = openingRule;
constexpr std::string_view closing = closingRule;
constexpr std::size_t timeLineLength = timeIndentWidth + timeTextLength;
constexpr std::size_t dateTimeLineLength = timeLineLength + dateTextLength;
// The blanks after a closing rule that pad it to the next print zone.
constexpr std::size_t zonePadding = printZoneWidth - closing.size() % printZoneWidth;
// Made once: every closing rule the program pads is compared with it.
const std::string zonedClosing = std::string(closing).append(zonePadding, ' ');

// A line the file ended in part of may be the start of what is expected.
bool startsLike(const Line& line, std::string_view expected) {
    return line.text.starts_with(expected) ||
           (line.end == Line::End::Missing && expected.starts_with(line.text));
}

// What is wrong beside a header or block that is read all the same.
void remark(std::vector<RecordProblem>& problems, RecordPlace place, std::string what) {
    problems.push_back({place, std::move(what)});
}

// Where an expected line is not: torn when the file ends inside it.
[[noreturn]] void missing(const Cursor& lines, RecordPlace start, const std::string& what) {
    if (lines.fileEndsInLine()) {
        throw Fault{start, "", true};
    }
    throw Fault{lines.place(), "expected " + what};
}

// Inline, so that each fixed line is compared at its known length without a library call.
[[gnu::always_inline]] inline void expect(Cursor& lines, std::string_view text, RecordPlace start,
                                          const char* what) {
    if (!lines.take(text)) {
        missing(lines, start, what);
    }
}

// The next line of a header or block, which the file must not end inside. Inline: most of a
// block's lines are taken so.
[[gnu::always_inline]] inline Line inside(Cursor& lines, RecordPlace start, bool text = false) {
    const Line line = lines.next(text);
    if (line.end == Line::End::Missing) {
        throw Fault{start, "", true};
    }
    return line;
}

Line labelled(Cursor& lines, RecordPlace start, std::string_view label, const char* what) {
    const RecordPlace place = lines.place();
    Line line = inside(lines, start);
    if (!line.text.starts_with(label)) {
        throw Fault{place, std::string("expected ") + what};
    }
    line.text.remove_prefix(label.size());
    return line;
}

// Whether the line the file ends in may be the start of a block or a header cut short: of the
// opening rule, or of a key line (its characters from 66 on, never 117).
bool startsLikeCut(Cursor lines) {
    const std::string_view rest = lines.next().text;
    return opening.starts_with(rest) || std::all_of(rest.begin(), rest.end(), [](char c) {
               const auto code = static_cast<unsigned char>(c);
               return code >= fillerCodeLowest && code != fillerCodeHighest + 1;
           });
}

std::string expectedDateLine(RecordFileKind kind) {
    return std::string("expected the date line of a ") + kindWord(kind) + " file header";
}

} // namespace

bool RecordGrammar::lookedAt(const Cursor& lines, bool header) const {
    return looked_.at == lines.bytes().data() + lines.at() &&
           looked_.offset == lines.place().offset && looked_.isHeader == header;
}

// Kept unless looking found the file's first changed line end, which taking it would not tell.
void RecordGrammar::keepLooked(const Cursor& from, const Cursor& past, bool header) {
    if (!past.bareEnd() || from.bareEnd()) {
        looked_.at = from.bytes().data() + from.at();
        looked_.offset = from.place().offset;
        looked_.bytes = past.at() - from.at();
        looked_.lineEnds = past.lineEnds() - from.lineEnds();
        looked_.isHeader = header;
    }
}

// Takes what was looked at here, if it was a header (or a block) as asked; what was looked at
// is let go either way, being read now.
bool RecordGrammar::takeLooked(Cursor& lines, bool header) {
    const bool taken = lookedAt(lines, header);
    if (taken) {
        lines.advance(looked_.bytes, looked_.lineEnds);
    }
    looked_.at = nullptr;
    return taken;
}

void RecordGrammar::tellLooked(std::vector<RecordProblem>& problems) const {
    if (!looked_.problems.empty()) {
        problems.insert(problems.end(), looked_.problems.begin(), looked_.problems.end());
    }
}

bool RecordGrammar::atBlockStart(Cursor lines) const {
    if (lookedAt(lines, false)) {
        return true;
    }
    if (lookedAt(lines, true)) {
        return false;
    }
    if (lines.take(opening)) { // most blocks, told without a scan
        std::string_view time;
        if (lines.atFileEnd() || lines.takeShaped(timeLineLength, timeOfTimeLine, time)) {
            return true;
        }
    } else {
        const Line line = lines.next();
        return (line.text.starts_with(opening) ||
                (line.end == Line::End::Missing && opening.starts_with(line.text))) &&
               lines.atFileEnd();
    }
    // The block's second opening rule is followed by its marker line.
    if (lines.atFileEnd()) {
        return true;
    }
    const Line next = lines.next();
    return !(next.text == responseMarker || next.text.starts_with(notesMarker));
}

bool RecordGrammar::atHeaderStart(Cursor lines) const {
    if (lookedAt(lines, true)) {
        return true;
    }
    const Line key = lines.next();
    const bool keyLine = key.end != Line::End::Missing && isKeyLine(key.text);
    if (lines.atFileEnd()) {
        return keyLine;
    }
    return keyLine || startsLike(lines.next(), studentNameLabel);
}

bool RecordGrammar::agreesWithFileName(std::string_view studentName) {
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

void RecordGrammar::readHeader(Cursor& lines, RecordHeader& header,
                               std::vector<RecordProblem>& problems) {
    if (takeLooked(lines, true)) {
        // Read whole just now, looking past a closing rule.
        header = looked_.header;
        tellLooked(problems);
        return;
    }
    const RecordPlace start = lines.place();
    const Line key = inside(lines, start);
    header.codingNumber = codingNumberOfKeyLine(key.text);
    if (!header.codingNumber) {
        remark(problems, start, "the key line is not a valid key line");
    }
    if (name_.kind == RecordFileKind::Notes) {
        remark(problems, start, "a header block in a notes file");
    }
    const RecordPlace studentPlace = lines.place();
    header.studentName = labelled(lines, start, studentNameLabel, "the student name line").text;
    if (!agreesWithFileName(header.studentName)) {
        remark(problems, studentPlace, "the student name disagrees with the file name");
    }
    header.assignmentNumber = labelled(lines, start, assignmentLabel, "the assignment line").text;
    const RecordPlace assignmentPlace = lines.place();
    header.assignmentHeader = inside(lines, start).text;
    if (!header.assignmentHeader.starts_with(header.assignmentNumber) ||
        header.assignmentHeader.substr(header.assignmentNumber.size(), 1) != ".") {
        remark(problems, assignmentPlace, "the header line is not that of the assignment");
    }
    header.initials = labelled(lines, start, initialsLabel, "the initials line").text;
    const RecordPlace datePlace = lines.place();
    const std::string_view text = inside(lines, start).text;
    const std::string_view between = name_.kind == RecordFileKind::Send ? " " : "";
    const std::size_t label = std::string_view(dateAndTimeLabel).size();
    if (text.size() != label + dateTextLength + between.size() + timeTextLength) {
        throw Fault{datePlace, expectedDateLine(name_.kind)};
    }
    header.date = text.substr(label, dateTextLength);
    header.time = text.substr(text.size() - timeTextLength);
    if (!isHeaderDateLine(text, header.date, header.time, between)) {
        throw Fault{datePlace, expectedDateLine(name_.kind)};
    }
    if (!name_.allowsDate(header.date)) {
        remark(problems, datePlace, "the date disagrees with the send file's name");
    }
}

void RecordGrammar::readBlock(Cursor& lines, RecordBlock& block,
                              std::vector<RecordProblem>& problems, bool answer) {
    const RecordPlace start = lines.place();
    Line first;
    if (answer && takeLooked(lines, false)) {
        // Looked at whole just now, after the closing rule before it: taken as it was read.
        block = std::move(looked_.block);
        first = looked_.first;
        tellLooked(problems);
    } else {
        looked_.at = nullptr;
        readHead(lines, block, problems, first);
        if (!answer) {
            return;
        }
    }
    if (block.kind == RecordBlock::Kind::Response) {
        first = inside(lines, start, true);
    }
    readAnswer(lines, first, block, start);
}

// A block up to its answer: a note's first answer line is on its marker line, into `first`.
void RecordGrammar::readHead(Cursor& lines, RecordBlock& block,
                             std::vector<RecordProblem>& problems, Line& first) {
    const RecordPlace start = lines.place();
    block.place = start;
    block.date = {};
    block.questionNumber.clear();
    expect(lines, opening, start, "the opening rule");
    if (!lines.takeShaped(timeLineLength, timeOfTimeLine, block.time)) {
        missing(lines, start, "the time line");
    }
    if (lines.takeShaped(dateTimeLineLength, dateOfDateTimeLine, block.date)) {
        block.kind = RecordBlock::Kind::Note;
        const Line question = inside(lines, start);
        block.question = question.text;
        block.questionPlain = question.plain;
        expect(lines, opening, start, "the opening rule before the note");
        const RecordPlace markerPlace = lines.place();
        first = inside(lines, start, true);
        if (!first.text.starts_with(notesMarker)) {
            throw Fault{markerPlace, "expected the notes line"};
        }
        first.text.remove_prefix(std::string_view(notesMarker).size());
        return;
    }
    block.kind = RecordBlock::Kind::Response;
    if (name_.kind == RecordFileKind::Notes) {
        if (lines.fileEndsInLine()) {
            throw Fault{start, "", true}; // a note whose date line the file ends inside
        }
        remark(problems, start, "a response block in a notes file");
    }
    if (name_.kind == RecordFileKind::Master) {
        expect(lines, "", start, "an empty line before the question number");
        expect(lines, "", start, "an empty line before the question number");
        const RecordPlace numberPlace = lines.place();
        const std::optional<std::string> number = questionNumberOf(inside(lines, start).text);
        if (!number) {
            throw Fault{numberPlace, "expected the question-number line"};
        }
        block.questionNumber = *number;
    }
    const Line question = inside(lines, start);
    block.question = question.text;
    block.questionPlain = question.plain;
    expect(lines, opening, start, "the opening rule before the response");
    expect(lines, responseMarker, start, "the response marker line");
}

// The program writes an answer's first line whatever it holds; the answer then ends at the
// first closing rule that the file goes on after as the program writes it.
void RecordGrammar::readAnswer(Cursor& lines, const Line& first, RecordBlock& block,
                               RecordPlace start) {
    const char* const from = first.text.data();
    const char* to = from + first.text.size();
    bool plain = first.plain;
    Line::End lastEnd = first.end;
    std::uint64_t lastEnds = lines.lineEnds();
    RecordPlace previous = lines.placeOf(from, lastEnds - 1); // the line before, as it starts
    typedRecordLine_.reset();
    for (;;) {
        if (lines.startsWith(".")) {
            if (lines.startsWith(closing)) {
                Cursor after = lines;
                const bool whole = after.take(closing);
                const bool zoned = !whole && after.startsWith(zonedClosing);
                if (zoned) {
                    after.skip(zonedClosing.size());
                }
                if ((whole || zoned) && closesAnswer(after)) {
                    lines = after;
                    break;
                }
                if (!typedRecordLine_) {
                    typedRecordLine_ = {lines.place(), TypedLine::Rule};
                }
            } else if (!typedRecordLine_ && lines.startsWith(opening)) {
                Cursor after = lines;
                std::string_view time;
                if (after.take(opening) && after.takeShaped(timeLineLength, timeOfTimeLine, time)) {
                    typedRecordLine_ = {previous, TypedLine::BlockAfter};
                }
            }
        }
        previous = lines.place();
        const Line line = lines.next(true);
        if (line.end == Line::End::Missing) {
            throw Fault{start, "", true};
        }
        to = line.text.data() + line.text.size();
        plain = plain && line.plain;
        lastEnd = line.end;
        lastEnds = lines.lineEnds();
        if (static_cast<std::size_t>(to - from) > maxBlockLength) {
            throw Fault{start, tooLong()};
        }
    }
    if (static_cast<std::size_t>(to - from) > maxBlockLength) {
        throw Fault{start, tooLong()}; // one line that long
    }
    block.answer = std::string_view(from, static_cast<std::size_t>(to - from));
    block.answerPlain = plain;
    if (lastEnd == Line::End::Lf) {
        // The line end the program wrote after the answer is a line feed alone: an editor
        // changed the file's line ends, those typed in the answer too.
        lines.noteBareEnd(to, lastEnds - 1);
        answer_.clear();
        for (const char c : block.answer) {
            if (c == '\n' && (answer_.empty() || answer_.back() != '\r')) {
                answer_ += '\r';
            }
            answer_ += c;
        }
        block.answer = answer_;
    }
}

// Whether the file goes on after a closing rule as the program writes it (after one padded to
// the next print zone, on its line).
bool RecordGrammar::closesAnswer(Cursor after) {
    try {
        if (after.atFileEnd()) {
            return true;
        }
        const bool cut = after.fileEndsInLine();
        if (cut && startsLikeCut(after)) {
            return true; // a file cut inside what came next
        }
        if (after.startsWith(opening)) {
            // Kept, so that the block is not read twice when it is read next.
            Cursor head = after;
            looked_.at = nullptr;
            looked_.problems.clear();
            readHead(head, looked_.block, looked_.problems, looked_.first);
            keepLooked(after, head, false);
            return true;
        }
        looked_.at = nullptr;
        if (cut) {
            return false; // a line cut short that starts like no header
        }
        // Read as a header straight away (after a padded rule too: the next run's header goes
        // on on its line); a key line that is not one is a fault here, as is a line that only
        // starts like the student name line after it.
        Cursor header = after;
        looked_.problems.clear();
        readHeader(header, looked_.header, looked_.problems);
        if (!startsLikeHeaderOrBlock(header)) {
            return false;
        }
        keepLooked(after, header, true);
        return true;
    } catch (const Fault& fault) {
        return fault.torn;
    }
}

bool RecordGrammar::startsLikeHeaderOrBlock(Cursor lines) const {
    if (lines.atFileEnd() || lines.fileEndsInLine()) {
        return lines.atFileEnd() || startsLikeCut(lines);
    }
    if (lines.take(opening)) {
        std::string_view time;
        return lines.atFileEnd() || lines.fileEndsInLine() ||
               lines.takeShaped(timeLineLength, timeOfTimeLine, time);
    }
    const Line key = lines.next();
    return isKeyLine(key.text) &&
           (lines.atFileEnd() || lines.fileEndsInLine() || lines.startsWith(studentNameLabel));
}

} // namespace drilbank::reading
