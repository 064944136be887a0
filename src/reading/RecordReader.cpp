#include "reading/RecordReader.h"

#include "reading/BlockOutlet.h"
#include "reading/Fingerprint.h"
#include "reading/RecordCursor.h"
#include "reading/RecordGrammar.h"
#include "reading/RecordWindow.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace drilbank {
namespace {

using reading::Cursor;
using reading::Fault;
using reading::NeedMore;

// The fingerprint of a block's bytes, each byte counted once: its texts by their print, made
// already, and the bytes around them, each piece's length with it. An answer not seen in place (its
// line ends mended) is printed again with the rest.
std::uint64_t blockPrint(std::string_view bytes, const RecordBlock& block) {
    const auto offsetOf = [&](std::string_view text) {
        return reinterpret_cast<std::uintptr_t>(text.data()) -
               reinterpret_cast<std::uintptr_t>(bytes.data());
    };
    const std::uintptr_t question = offsetOf(block.question);
    const std::uintptr_t answer = offsetOf(block.answer);
    const std::size_t questionEnd = question + block.question.size();
    const std::size_t answerEnd = answer + block.answer.size();
    if (question > bytes.size() || answer > bytes.size() || questionEnd > answer ||
        answerEnd > bytes.size()) {
        return fingerprint(block.textPrint, bytes);
    }
    // Each piece printed whole, going on from the print before: the pieces are short, and
    // a stream's carry would copy every one of them.
    const std::uint64_t head = fingerprint(block.textPrint, bytes.substr(0, question));
    const std::uint64_t between =
        fingerprint(head, bytes.substr(questionEnd, answer - questionEnd));
    return fingerprint(between, bytes.substr(answerEnd));
}

// Reads a file a header or block at a time, each from its first byte in the window; one the
// window ends inside is read again from its start once more is read. Between them, lines that
// are neither (after damage, or stray) are passed over one at a time, letting their bytes go.
class Reader {
public:
    Reader(std::istream& in, const RecordFileName& name, RecordVisitor& visitor)
        : window_(in), name_(name), visitor_(visitor), grammar_(name), outlet_(visitor) {}

    void run() {
        window_.more(0);
        tellUtf8();
        if (window_.end() == 0 && window_.atFileEnd()) {
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
            try {
                if (!step()) {
                    break;
                }
            } catch (const NeedMore&) {
                if (passing_ == Passing::None && window_.end() - pos_ > maxBlockLength) {
                    report(onDisk({pos_, line_}), tooLong());
                    outlet_.interrupt();
                    passing_ = Passing::AfterFault;
                    midLine_ = true;
                }
                window_.more(pos_);
                tellUtf8();
            }
        }
        reportedLostBytes();
    }

private:
    // Past damage, past lines outside any block, or over a file's first lines while it may be
    // no record file at all.
    enum class Passing { None, AfterFault, Stray, NoRecord };

    void report(RecordPlace place, std::string what) { visitor_.problem({place, std::move(what)}); }

    // A place as it lies in the file on disk, taken while its bytes are held: every place
    // told is one. Places the reader goes on from stay those of the bytes as read.
    RecordPlace onDisk(RecordPlace place) const {
        return {window_.onDisk(place.offset), place.line};
    }

    bool reportedLostBytes() {
        if (!window_.lostBytes()) {
            return false;
        }
        report({0, 1}, "part of the file could not be read: the disk or the network failed "
                       "while it was read; read it again");
        return true;
    }

    void tellUtf8() {
        if (toldUtf8_ || !window_.utf8From()) {
            return;
        }
        toldUtf8_ = true;
        const std::uint64_t at = std::max(*window_.utf8From(), pos_);
        const std::string_view before = window_.from(pos_).substr(0, at - pos_);
        // Told where the telling line starts, before a byte-order mark rather than after it.
        report({at == *window_.utf8From() ? at : window_.onDisk(at),
                line_ + static_cast<std::uint64_t>(std::count(before.begin(), before.end(), '\n'))},
               "the file was saved again in UTF-8, as an editor does; it was read as UTF-8");
    }

    // Reads one header or block, or passes over one line; false at the end of the file.
    bool step() {
        Cursor lines(window_.from(pos_), window_.atFileEnd(), pos_, line_);
        if (passing_ != Passing::None) {
            return passLine(lines);
        }
        if (lines.atFileEnd()) {
            return false;
        }
        try {
            if (grammar_.atBlockStart(lines)) {
                readBlock(lines);
            } else if (grammar_.atHeaderStart(lines)) {
                readHeader(lines);
            } else {
                // Lines before any header or block: the file may hold none.
                passing_ = pos_ == 0 ? Passing::NoRecord : Passing::Stray;
                strayStart_ = onDisk(lines.place());
                strayLines_ = 0;
            }
        } catch (const Fault& fault) {
            if (fault.torn) {
                report(onDisk({pos_, line_}),
                       "torn tail: the file ends inside the block that starts here");
                pos_ = window_.end();
                return false;
            }
            report(onDisk(fault.place), fault.what);
            outlet_.interrupt();
            passing_ = Passing::AfterFault;
            midLine_ = fault.place.offset == pos_;
            pos_ = fault.place.offset;
            line_ = fault.place.line;
        }
        return true;
    }

    void readBlock(Cursor& lines) {
        problems_.clear();
        grammar_.readBlock(lines, block_, problems_);
        block_.questionPrint = fingerprint(0, block_.question);
        block_.textPrint = fingerprint(block_.questionPrint ^ block_.answer.size(), block_.answer);
        const std::uint64_t print = blockPrint(lines.bytes().substr(0, lines.at()), block_);
        commit(lines);
        if (grammar_.typedRecordLine() && !toldTyped_) {
            toldTyped_ = true;
            const auto& typed = *grammar_.typedRecordLine();
            visitor_.note(
                {onDisk(typed.place),
                 typed.kind == reading::RecordGrammar::TypedLine::Rule
                     ? "an answer holds this line of full stops, after which the file does not "
                       "go on as the program writes it: read as part of the answer, as typed "
                       "before the program stored such lines otherwise (&#46;)"
                     : "an answer holds, after this line, what reads as the start of a block: "
                       "read as part of the answer, as typed, since the file goes on as the "
                       "program writes it only after the closing rule that follows (or this "
                       "line is a closing rule that was damaged)"});
        }
        block_.place = onDisk(block_.place);
        outlet_.deliver(block_, print);
    }

    void readHeader(Cursor& lines) {
        problems_.clear();
        grammar_.readHeader(lines, header_, problems_);
        header_.place = onDisk({pos_, line_});
        const std::uint64_t print = fingerprint(0, lines.bytes().substr(0, lines.at()));
        commit(lines);
        outlet_.deliver(header_, print);
    }

    // What a header or block read whole told beside it, and on past it.
    void commit(const Cursor& lines) {
        for (const RecordProblem& problem : problems_) {
            visitor_.problem({onDisk(problem.place), problem.what});
        }
        if (lines.bareEnd() && !toldLineEnds_) {
            toldLineEnds_ = true;
            report(onDisk(*lines.bareEnd()),
                   "the file's line ends were changed (a line feed without its carriage return, "
                   "first here), as an editor or a mail program does; it was read all the same");
        }
        pos_ += lines.at();
        line_ += lines.lineEnds();
    }

    // Passes over one line that is in no header or block, until one starts.
    bool passLine(Cursor& lines) {
        if (lines.atFileEnd()) {
            endPassing(true);
            return false;
        }
        if (!midLine_ && startsHere(lines)) {
            endPassing(false);
            return true;
        }
        if (!midLine_) {
            lineStart_ = onDisk(lines.place());
        }
        const std::string_view held = lines.bytes();
        const void* feed = std::memchr(held.data(), '\n', held.size());
        if (feed == nullptr) {
            if (window_.atFileEnd()) {
                // The lines passed over are told first: they stand before the torn one.
                const bool torn = passing_ == Passing::Stray;
                pos_ = window_.end();
                endPassing(true);
                if (torn) {
                    report(lineStart_, "torn tail: the file ends inside a line");
                }
                return false;
            }
            // A long line: its bytes go as they are passed over.
            midLine_ = true;
            pos_ = window_.end();
            throw NeedMore{};
        }
        pos_ += static_cast<std::uint64_t>(static_cast<const char*>(feed) - held.data()) + 1;
        ++line_;
        ++strayLines_;
        midLine_ = false;
        return true;
    }

    // Whether a header or block starts at the line passed over next. One that would need more
    // than a block's length to tell is neither: it would not be read, and waiting for its
    // line end would hold a pasted line whole.
    bool startsHere(Cursor& lines) {
        try {
            return grammar_.atBlockStart(lines) || grammar_.atHeaderStart(lines);
        } catch (const NeedMore&) {
            if (lines.bytes().size() > maxBlockLength) {
                return false;
            }
            throw;
        }
    }

    void endPassing(bool atEnd) {
        if (passing_ == Passing::NoRecord) {
            if (atEnd) {
                visitor_.notARecord({{0, 1},
                                     "no header and no block anywhere: not a record file, "
                                     "though named like one; not read"});
                passing_ = Passing::None;
                return;
            }
            strayStart_ = {0, 1};
            passing_ = Passing::Stray;
        }
        if (passing_ == Passing::Stray && strayLines_ > 0) {
            report(strayStart_, std::to_string(strayLines_) +
                                    (strayLines_ == 1 ? " line" : " lines") + " outside any block");
        }
        passing_ = Passing::None;
        midLine_ = false;
    }

    RecordWindow window_;
    const RecordFileName& name_;
    RecordVisitor& visitor_;
    reading::RecordGrammar grammar_;
    BlockOutlet outlet_;
    std::uint64_t pos_ = 0;  // where the next header, block or line starts
    std::uint64_t line_ = 1; // its line
    Passing passing_ = Passing::None;
    bool midLine_ = false; // passing over a line from inside it
    RecordPlace lineStart_;
    RecordPlace strayStart_;
    std::uint64_t strayLines_ = 0;
    std::vector<RecordProblem> problems_;
    RecordBlock block_;
    RecordHeader header_;
    bool toldUtf8_ = false;
    bool toldLineEnds_ = false;
    bool toldTyped_ = false;
};

} // namespace

std::string tooLong() {
    return "a header or block of more than " + std::to_string(maxBlockLength >> 20) +
           " MB, far longer than the program writes (a line or an answer that long); it was "
           "not read";
}

void readRecordFile(std::istream& in, const RecordFileName& name, RecordVisitor& visitor) {
    Reader(in, name, visitor).run();
}

} // namespace drilbank
