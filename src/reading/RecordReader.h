#pragma once

#include "format/RecordFileName.h"

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <string_view>

namespace drilbank {

// Where something stands in a record file.
struct RecordPlace {
    std::uint64_t offset = 0; // bytes from the start of the file
    std::uint64_t line = 0;   // counted from 1
};

// A run's header block, as read back. Its texts, like a block's, view the reader's memory.
struct RecordHeader {
    RecordPlace place;
    std::optional<int> codingNumber; // nothing when the key line is not a valid one
    std::string_view studentName;
    std::string_view assignmentNumber;
    std::string_view assignmentHeader;
    std::string_view initials;
    std::string_view date; // MM-DD-YYYY
    std::string_view time; // HH:MM:SS
};

// A response or notes block, as read back. Texts are the file's bytes (Windows-1252). They
// view the reader's memory, valid while the block or header is handed to the visitor: what is
// read whole is not copied out of the file's bytes. A visitor that keeps texts copies them.
struct RecordBlock {
    enum class Kind { Response, Note };
    Kind kind = Kind::Response;
    RecordPlace place;
    std::string_view time;      // of the time line
    std::string_view date;      // a note's own date; a response carries none
    std::string questionNumber; // the master file's question number, as a plain number text
    std::string_view question;  // the script line
    std::string_view answer;    // what was typed, without marker; its line breaks as CR LF
    // Whether the question, and the answer, are known to hold neither a '&' nor a byte beyond
    // ASCII: the same bytes in UTF-8, with no reference to turn back. False when not known.
    bool questionPlain = false;
    bool answerPlain = false;
    // Fingerprints of the question, and of the question and answer together, made as the
    // block is read: they tell blocks of two files alike whatever the files' layouts.
    std::uint64_t questionPrint = 0;
    std::uint64_t textPrint = 0;
};

struct RecordProblem {
    RecordPlace place;
    std::string what;
};

// Told of every header, whole block and problem, in file order. A copy of the file's own
// blocks joined on to it is one problem and is not told again; blocks that are merely alike
// are all told. A note tells how something was read that is no problem: check says it beside
// the problems, and does not count it as one.
class RecordVisitor {
public:
    virtual ~RecordVisitor() = default;
    virtual void header(const RecordHeader& header) = 0;
    virtual void block(const RecordBlock& block) = 0;
    virtual void problem(const RecordProblem& problem) = 0;
    virtual void note(const RecordProblem& note) { static_cast<void>(note); }
    // A file with no header and no block anywhere, though named like a record file: told
    // once, as a problem unless the visitor tells it apart.
    virtual void notARecord(const RecordProblem& problem) { this->problem(problem); }
    // Whether blocks are wanted with their question and answer texts. Every reading views
    // them in place, so this costs nothing either way; a visitor that only counts may say no.
    virtual bool wantsTexts() const { return true; }
};

// Far longer than any line the program writes (an answer line of a whole book). A header or
// block of more than maxBlockLength, a megabyte more, is not read (said), so that a file of
// one endless line never fills the memory.
constexpr std::size_t maxLineLength = std::size_t{4} << 20;
constexpr std::size_t maxBlockLength = maxLineLength + (std::size_t{1} << 20);
// What is said of one.
std::string tooLong();

// Reads one record file by the layouts the program writes, in one pass with bounded memory.
// The name tells the file's kind and whose it should be. A file saved again as UTF-8 or with
// changed line ends is read as the program wrote it, and said so once. Every byte the
// program may store in a text (a control character too) is read as text.
void readRecordFile(std::istream& in, const RecordFileName& name, RecordVisitor& visitor);

} // namespace drilbank
