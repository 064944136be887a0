#pragma once

#include "format/RecordFileName.h"
#include "reading/RecordCursor.h"
#include "reading/RecordReader.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace drilbank::reading {

// A header or block that cannot be read on; `torn` when the file ends inside it.
struct Fault {
    RecordPlace place;
    std::string what;
    bool torn = false;
};

// The record format's headers and blocks, as the reader takes them from a cursor: written
// once, for reading a file and for looking ahead at what follows a closing rule. What is
// wrong but leaves a header or block readable is added to `problems`, looking ahead too: a
// header whose name or date disagrees with the file's still ends the answer before it, rather
// than its run being taken into that answer unsaid.
//
// A block's answer ends at the first line that begins with the closing rule's 49 full stops
// (the rule itself, ended by CR LF or padded to the next print zone) after which the file goes
// on as the program writes it: at the end of the file, or with a header whole and followed by
// a header, a block or the end, or with a block whole up to its answer (or cut short by the
// end of the file). The program stores no typed line so (RecordFormat.h): in what it writes
// now that is the first such line. In files written before, a typed rule that the file does
// not go on after so is part of the answer, and that is said once for the file as a note.
class RecordGrammar {
public:
    explicit RecordGrammar(const RecordFileName& name) : name_(name) {}

    // Where a header or a block starts; at the end of the file, what may be its start.
    bool atBlockStart(Cursor lines) const;
    bool atHeaderStart(Cursor lines) const;

    void readHeader(Cursor& lines, RecordHeader& header, std::vector<RecordProblem>& problems);
    // With `answer` the block is read to its end; without, up to its answer.
    void readBlock(Cursor& lines, RecordBlock& block, std::vector<RecordProblem>& problems,
                   bool answer = true);

    // In the answer of the last block read, the first line of full stops that did not end it,
    // or the line after which what reads as the start of a block stands inside it.
    struct TypedLine {
        enum Kind { Rule, BlockAfter };
        RecordPlace place;
        Kind kind;
    };
    const std::optional<TypedLine>& typedRecordLine() const { return typedRecordLine_; }

private:
    void readHead(Cursor& lines, RecordBlock& block, std::vector<RecordProblem>& problems,
                  Line& first);
    void readAnswer(Cursor& lines, const Line& first, RecordBlock& block, RecordPlace start);
    bool closesAnswer(Cursor after);
    bool startsLikeHeaderOrBlock(Cursor lines) const;
    bool agreesWithFileName(std::string_view studentName);

    const RecordFileName& name_;
    std::string agreeingName_; // the last student name found to agree with the file's name
    std::string answer_;       // an answer whose line ends an editor changed, as written
    std::optional<TypedLine> typedRecordLine_;
    // The header or block after the closing rule last looked past (a block as far as its
    // answer), while it is where the next one is read: its first byte and offset, the bytes and
    // line ends it took. The offset too, so that bytes moved in the window are never taken.
    struct LookedAt {
        const char* at = nullptr;
        std::uint64_t offset = 0;
        std::size_t bytes = 0;
        std::uint64_t lineEnds = 0;
        bool isHeader = false;
        RecordBlock block;
        Line first;
        RecordHeader header;
        std::vector<RecordProblem> problems; // what is wrong beside it, told when it is taken
    } looked_;
    bool lookedAt(const Cursor& lines, bool header) const;
    void keepLooked(const Cursor& from, const Cursor& past, bool header);
    bool takeLooked(Cursor& lines, bool header);
    void tellLooked(std::vector<RecordProblem>& problems) const;
};

} // namespace drilbank::reading
