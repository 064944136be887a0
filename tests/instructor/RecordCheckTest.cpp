// The reader's problems on record files broken on purpose, and none on whole ones.
#include "encoding/Cp1252.h"
#include "format/RecordFormat.h"
#include "instructor/RecordSearch.h"
#include "os/CodePage.h"
#include "reading/ByteScan.h"
#include "reading/DiskOffsets.h"
#include "reading/Fingerprint.h"
#include "reading/JoinedCopies.h"
#include "reading/RecordReader.h"
#include "reading/RecordWindow.h"
#include "support/AsUnprivilegedUser.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <optional>
#include <sstream>
#ifndef _WIN32
#include <sys/stat.h>
#endif

// The largest single allocation since it was last reset: the reader's window is one block of
// bytes, so this tells how much of a long line it held at once. AddressSanitizer keeps the
// allocator to itself, so there nothing is counted.
#if defined(__SANITIZE_ADDRESS__)
#define DRILBANK_COUNTS_ALLOCATIONS 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define DRILBANK_COUNTS_ALLOCATIONS 0
#endif
#endif
#ifndef DRILBANK_COUNTS_ALLOCATIONS
#define DRILBANK_COUNTS_ALLOCATIONS 1
#endif
namespace {
std::atomic<std::size_t> largestAllocation{0};
}

#if DRILBANK_COUNTS_ALLOCATIONS
void* operator new(std::size_t size) {
    std::size_t seen = largestAllocation.load(std::memory_order_relaxed);
    while (size > seen && !largestAllocation.compare_exchange_weak(seen, size)) {
    }
    if (void* memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}
// The pair is malloc and free, which the compiler cannot see through the replacement.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
#endif

namespace drilbank {
namespace {

const std::filesystem::path sessionFolder = std::filesystem::path(DRILBANK_TEST_DATA) / "session";
const char* const goldenNames[] = {"masterFile_Ann_Lee_Smith.txt", "send_0416Ann_Lee_Smith.txt",
                                   "notes_Ann_Lee_Smith.txt"};

std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// A block or header as told, its texts copied: those told view the reader's memory only
// while told.
struct KeptBlock {
    explicit KeptBlock(const RecordBlock& block)
        : kind(block.kind), place(block.place), time(block.time), date(block.date),
          questionNumber(block.questionNumber), question(block.question), answer(block.answer) {}
    RecordBlock::Kind kind;
    RecordPlace place;
    std::string time;
    std::string date;
    std::string questionNumber;
    std::string question;
    std::string answer;
};

// A header as told: its coding number, and all of it as a line to compare readings by.
struct KeptHeader {
    explicit KeptHeader(const RecordHeader& header) : codingNumber(header.codingNumber) {
        described = std::to_string(header.place.line) + " " + std::to_string(header.place.offset) +
                    " header " + std::to_string(header.codingNumber.value_or(-1));
        for (const std::string_view text :
             {header.studentName, header.assignmentNumber, header.assignmentHeader, header.initials,
              header.date, header.time}) {
            described.append("|").append(text);
        }
    }
    std::optional<int> codingNumber;
    std::string described;
};

struct Findings final : RecordVisitor {
    std::vector<RecordProblem> problems;
    std::vector<KeptBlock> blocks;
    std::vector<KeptHeader> headers;
    std::string order; // what was told, in turn
    bool texts = true;
    bool wantsTexts() const override { return texts; }
    void header(const RecordHeader& header) override {
        headers.emplace_back(header);
        order += "header " + std::to_string(header.place.offset) + "\n";
    }
    void block(const RecordBlock& block) override {
        // A text said to read the same in UTF-8 is handed on unconverted: it must.
        const auto plain = [](std::string_view text) {
            return std::ranges::none_of(
                text, [](char c) { return c == '&' || static_cast<unsigned char>(c) >= 0x80; });
        };
        EXPECT_TRUE(!block.questionPlain || plain(block.question)) << block.question;
        EXPECT_TRUE(!block.answerPlain || plain(block.answer)) << block.answer;
        blocks.emplace_back(block);
        order += "block " + std::to_string(block.place.offset) + "\n";
    }
    void problem(const RecordProblem& problem) override {
        problems.push_back(problem);
        order += "problem " + std::to_string(problem.place.offset) + "\n";
    }
    void note(const RecordProblem& note) override {
        notes.push_back(note);
        order += "note " + std::to_string(note.place.offset) + "\n";
    }
    std::vector<RecordProblem> notes;
};

std::string describe(const Findings& findings) {
    std::string text;
    for (const RecordProblem& problem : findings.problems) {
        text += std::to_string(problem.place.line) + ": byte " +
                std::to_string(problem.place.offset) + ": " + problem.what + "\n";
    }
    return text;
}

// Everything a reading told, to compare two; with `texts` the blocks' question and answer.
std::string everything(const Findings& findings, bool texts = true) {
    std::string text = findings.order + describe(findings);
    for (const KeptHeader& header : findings.headers) {
        text += header.described + "\n";
    }
    for (const KeptBlock& block : findings.blocks) {
        text += std::to_string(block.place.line) + " " + std::to_string(block.place.offset) +
                (block.kind == RecordBlock::Kind::Note ? " note " : " response ") + block.time +
                "|" + block.date + "|" + block.questionNumber +
                (texts ? "|" + block.question + "|" + block.answer : "") + "\n";
    }
    return text;
}

// Two readings alike, or the first line that differs, kept short.
::testing::AssertionResult same(const std::string& first, const std::string& second) {
    if (first == second) {
        return ::testing::AssertionSuccess();
    }
    std::size_t at = 0;
    while (at < first.size() && at < second.size() && first[at] == second[at]) {
        ++at;
    }
    const std::size_t from = first.rfind('\n', at) == std::string::npos ? 0 : first.rfind('\n', at);
    return ::testing::AssertionFailure() << "differ from byte " << at << ":\n"
                                         << first.substr(from, 200) << "\nand\n"
                                         << second.substr(from, 200);
}

// Every file is read from a stream, once more by a visitor that wants no texts, which must
// be told the same but for those, and once more from a file on disk, as the tool reads it.
Findings check(const std::string& bytes, const std::string& fileName) {
    Findings findings[3];
    findings[1].texts = false;
    for (std::size_t way = 0; way < 2; ++way) {
        std::istringstream in(bytes);
        readRecordFile(in, *parseRecordFileName(fileName), findings[way]);
    }
    EXPECT_TRUE(same(everything(findings[0], false), everything(findings[1], false))) << fileName;
    const testing::TemporaryFolder folder;
    std::ofstream(folder.path() / fileName, std::ios::binary) << bytes;
    std::ifstream file(folder.path() / fileName, std::ios::binary);
    readRecordFile(file, *parseRecordFileName(fileName), findings[2]);
    EXPECT_TRUE(same(everything(findings[0]), everything(findings[2]))) << fileName;
    return findings[0];
}

std::size_t lastBlockStart(const std::string& bytes, const std::string& fileName) {
    const Findings findings = check(bytes, fileName);
    return findings.blocks.empty() ? 0 : findings.blocks.back().place.offset;
}

TEST(RecordCheck, WholeFilesHaveNoProblems) {
    for (const auto& folder : {sessionFolder, std::filesystem::path(DRILBANK_GUI_GOLDEN)}) {
        for (const char* name : goldenNames) {
            const Findings findings = check(readBytes(folder / name), name);
            EXPECT_EQ(describe(findings), "") << folder / name;
            EXPECT_FALSE(findings.blocks.empty()) << folder / name;
        }
    }
}

TEST(RecordCheck, ATailCutAtEveryByteOfTheLastBlockIsTornThere) {
    for (const char* name : goldenNames) {
        const std::string whole = readBytes(sessionFolder / name);
        const Findings intact = check(whole, name);
        ASSERT_FALSE(intact.blocks.empty());
        const std::size_t start = intact.blocks.back().place.offset;
        EXPECT_EQ(describe(check(whole.substr(0, start), name)), "") << name;
        for (std::size_t cut = start + 1; cut < whole.size(); ++cut) {
            const Findings findings = check(whole.substr(0, cut), name);
            ASSERT_EQ(findings.problems.size(), 1u) << name << " cut at " << cut << ":\n"
                                                    << describe(findings);
            EXPECT_EQ(findings.problems[0].place.offset, start) << name << " cut at " << cut;
            EXPECT_TRUE(findings.problems[0].what.starts_with("torn tail")) << describe(findings);
            EXPECT_EQ(findings.blocks.size(), intact.blocks.size() - 1);
        }
        // After a header, stray lines, then one cut short: told in file order, the lines
        // first (after a block's closing rule they would be read as typed text).
        if (intact.headers.empty()) {
            continue;
        }
        const std::size_t afterHeader = intact.blocks.front().place.offset;
        const Findings stray = check(whole.substr(0, afterHeader) + "stray\r\nstray\r\ncut", name);
        ASSERT_EQ(stray.problems.size(), 2u) << describe(stray);
        EXPECT_EQ(stray.problems[0].what, "2 lines outside any block");
        EXPECT_EQ(stray.problems[0].place.offset, afterHeader);
        EXPECT_EQ(stray.problems[1].what, "torn tail: the file ends inside a line");
        EXPECT_EQ(stray.problems[1].place.offset, afterHeader + 14);
    }
}

// Two clicks on the same answer in the same second write the same block twice: both count.
// A file with a copy of itself joined on is one problem, at the copy, and is read once.
TEST(RecordCheck, IdenticalClicksAreKeptAndAJoinedCopyIsReadOnce) {
    for (const char* name : goldenNames) {
        const std::string whole = readBytes(sessionFolder / name);
        const Findings intact = check(whole, name);
        const std::size_t start = lastBlockStart(whole, name);
        const Findings twice = check(whole + whole.substr(start), name);
        EXPECT_EQ(describe(twice), "") << name;
        EXPECT_EQ(twice.blocks.size(), intact.blocks.size() + 1) << name;

        const Findings joined = check(whole + whole, name);
        ASSERT_EQ(joined.problems.size(), 1u) << name << "\n" << describe(joined);
        EXPECT_EQ(joined.problems[0].place.offset, whole.size()) << name;
        EXPECT_TRUE(joined.problems[0].what.starts_with("from here the file repeats"));
        EXPECT_EQ(joined.blocks.size(), intact.blocks.size()) << name;
        EXPECT_EQ(joined.headers.size(), intact.headers.size()) << name;
    }
}

// Lines are scanned for their end many bytes at a time: every byte value is told right at
// every place in a stretch of those, and in the bytes after them.
TEST(RecordCheck, TheLineScanFindsEachByteALineEndsOrBreaksAt) {
    for (int value = 0; value < 256; ++value) {
        const bool control = value < 0x20 || value == 0x7F;
        for (std::size_t at = 0; at < 40; ++at) {
            std::string bytes(40, 'a');
            bytes[at] = static_cast<char>(value);
            const char* end = bytes.data() + bytes.size();
            const char* expected = control ? bytes.data() + at : end;
            EXPECT_EQ(bytescan::firstControl<false>(bytes.data(), end), expected) << value;
            EXPECT_EQ(bytescan::firstControl<true>(bytes.data(), end),
                      control || value >= 0x80 ? bytes.data() + at : end)
                << value;
        }
    }
}

// A block read line by line is fingerprinted in pieces, one read whole in one call: a copy is
// told either way only if the two agree, whatever the sizes, and told apart by any byte.
TEST(RecordCheck, AFingerprintIsTheSameInPiecesOfAnySize) {
    std::string bytes;
    for (int at = 0; at < 100; ++at) {
        bytes += static_cast<char>(at * 37 + 11);
    }
    std::vector<std::uint64_t> seen;
    for (std::size_t size = 0; size <= bytes.size(); ++size) {
        const std::string_view whole = std::string_view(bytes).substr(0, size);
        seen.push_back(fingerprint(0, whole));
        for (const std::size_t piece : {1, 5, 31, 32, 33}) {
            Fingerprinter pieces;
            for (std::size_t at = 0; at < size; at += piece) {
                pieces.add(whole.substr(at, piece));
            }
            EXPECT_EQ(pieces.value(), seen.back()) << size << " in pieces of " << piece;
        }
        // Every byte counts, those of the last, padded stripe too.
        for (std::size_t at = 0; at < size; ++at) {
            std::string changed(whole);
            changed[at] = static_cast<char>(changed[at] ^ 0x40);
            EXPECT_NE(fingerprint(0, changed), seen.back()) << "byte " << at << " of " << size;
        }
    }
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(std::unique(seen.begin(), seen.end()), seen.end()) << "two lengths alike";
}

// The copy finder holds a bounded number of blocks. Headers are found among many; past the
// bound a copy of what is held is still found, and what came later is read as new.
TEST(RecordCheck, TheCopyFinderIsBounded) {
    using Kind = JoinedCopies::Kind;
    using Verdict = JoinedCopies::Verdict;
    std::uint64_t original = 0;
    JoinedCopies many;
    for (std::uint64_t header = 1; header <= 1000; ++header) {
        ASSERT_EQ(many.see(header * 7919, header, Kind::Header, 0, original), Verdict::New);
    }
    EXPECT_EQ(many.see(500 * 7919, 2000, Kind::Header, 0, original), Verdict::CopyStarts);
    EXPECT_EQ(original, 500u);

    JoinedCopies bounded(3);
    EXPECT_EQ(bounded.see(1, 1, Kind::Header, 0, original), Verdict::New);
    EXPECT_EQ(bounded.see(2, 7, Kind::Response, 0, original), Verdict::New);
    EXPECT_EQ(bounded.see(3, 17, Kind::Header, 0, original), Verdict::New);
    EXPECT_TRUE(bounded.full());
    EXPECT_EQ(bounded.see(4, 23, Kind::Header, 0, original), Verdict::New);
    EXPECT_EQ(bounded.see(4, 29, Kind::Header, 0, original), Verdict::New);
    EXPECT_EQ(bounded.see(1, 35, Kind::Header, 0, original), Verdict::CopyStarts);
    EXPECT_EQ(original, 1u);
    EXPECT_EQ(bounded.see(2, 41, Kind::Response, 0, original), Verdict::Copy);
}

// One byte changed in each kind of line of the master file; each is reported on that line. A
// closing rule changed is no longer one, and one before a block that is not as the program
// writes it ends no answer: the answer reads on to the next, and that is said as a note. Any byte
// in a text (a control character too) is text: read, and no problem.
std::string replacedAll(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size()) {
        text.replace(at, from.size(), to);
    }
    return text;
}

// Runs of a file, each a year before the last, whose answers hold characters inside the code
// page and outside it and a typed reference: far more than the reader holds at once.
std::string runsBeyondAscii(const char* fileName) {
    const std::string run =
        replacedAll(readBytes(sessionFolder / fileName), "The depth",
                    "The d\xE9pth \x80\x83 &#1046;&#1076; &#128512; &#38;#916; d\xE9pth");
    std::string bytes;
    for (int year = 1999; bytes.size() < (std::size_t{1} << 19); --year) {
        bytes += replacedAll(run, "-2003", "-" + std::to_string(year));
    }
    return bytes;
}

// Saved again in UTF-8 as editors save it (with a byte-order mark or without, an accented
// letter whole or as the letter and a combining accent), a file whose first line is beyond
// ASCII tells that first, at its start; then all it told as the program wrote it, each at the
// byte it lies at on disk.
void expectToldAtBytesOnDisk(const std::string& bytes, const char* fileName) {
    for (const auto& [mark, accentsApart] :
         {std::pair{"", false}, std::pair{"\xEF\xBB\xBF", false}, std::pair{"", true}}) {
        const auto utf8 = [apart = accentsApart](std::string_view text) {
            const std::string utf8 = cp1252ToUtf8(text);
            return apart ? replacedAll(utf8, "\xC3\xA9", "e\xCC\x81") : utf8;
        };
        std::vector<std::size_t> lineStarts{0};
        std::string saved = mark;
        std::vector<std::size_t> savedLineStarts{saved.size()};
        for (std::size_t at = 0; at < bytes.size(); at = lineStarts.back()) {
            lineStarts.push_back(std::min(bytes.find('\n', at), bytes.size() - 1) + 1);
            saved += utf8(std::string_view(bytes).substr(at, lineStarts.back() - at));
            savedLineStarts.push_back(saved.size());
        }
        std::istringstream told(check(bytes, fileName).order);
        std::string expected = "problem 0\n"; // saved again in UTF-8
        std::string kind;
        std::size_t offset = 0;
        while (told >> kind >> offset) {
            const auto line = static_cast<std::size_t>(
                std::ranges::upper_bound(lineStarts, offset) - lineStarts.begin() - 1);
            const std::size_t start = lineStarts[line];
            expected +=
                kind + " " +
                std::to_string(savedLineStarts[line] +
                               utf8(std::string_view(bytes).substr(start, offset - start)).size()) +
                "\n";
        }
        EXPECT_TRUE(same(expected, check(saved, fileName).order))
            << fileName << (*mark != '\0' ? ", with a mark" : "")
            << (accentsApart ? ", accents apart" : "");
    }
}

// Each change is found on its line, and at its byte on disk in the file saved again in UTF-8
// after many runs beyond ASCII.
TEST(RecordCheck, OneByteChangedInEachLineKindIsFoundOnItsLine) {
    enum class Said { Problem, Note, Nothing };
    struct Change {
        const char* lineKind;
        const char* lineStart; // the first line of the file that begins so
        std::size_t at;        // the byte within that line
        char replacement;
        const char* file = goldenNames[0];
        Said said = Said::Problem;
    };
    const Change changes[] = {
        {"key line", "", 0, 'u'},
        {"student name label", "Student Name", 3, 'x'},
        {"student name", "Student Name", 16, 'X'},
        {"assignment label", "assignment #", 0, 'A'},
        {"assignment's header line", "001.", 2, '2'},
        {"initials label", "Initials", 1, 'N'},
        {"initials", "Initials", 12, '\x01', goldenNames[0], Said::Nothing},
        {"header date", "Date and Time", 16, '/'},
        {"blank between a send file's header date and time", "Date and Time", 24, '0',
         goldenNames[1]},
        {"opening rule", "......!!", 7, '.'},
        {"time line", "                                    14:05:11", 38, '9'},
        {"empty line", "\r\n\r\n`question", 0, ' '},
        {"question-number tag", "`question", 3, 'Q'},
        {"question number", "`question", 17, 'x'},
        {"script line", "Suppose", 4, '\x1F', goldenNames[0], Said::Nothing},
        {"response marker", "RESPONSE", 9, '='},
        {"response line", "The depth", 2, '\x7F', goldenNames[0], Said::Nothing},
        {"closing rule", ".................................................\r\n......!!", 48, 'x',
         goldenNames[0], Said::Note},
        {"date-time line", "                                    04-16", 40, '/', goldenNames[0],
         Said::Note},
        {"notes marker", "NOTES", 1, '0', goldenNames[0], Said::Note},
        {"notes line", "NOTES", 20, '\x02', goldenNames[0], Said::Nothing},
        {"opening rule after a padded closing rule",
         ".................................................  ", 58, '\x03', goldenNames[1],
         Said::Note},
    };
    for (const Change& change : changes) {
        const std::string whole = readBytes(sessionFolder / change.file);
        std::size_t lineOffset = whole.find(change.lineStart);
        if (lineOffset > 0) {
            lineOffset = whole.find(std::string("\n") + change.lineStart) + 1;
        }
        ASSERT_NE(lineOffset, std::string::npos) << change.lineKind;
        const std::size_t lineEnd = whole.find('\n', lineOffset);
        std::string broken = whole;
        broken[lineOffset + change.at] = change.replacement;
        expectToldAtBytesOnDisk(runsBeyondAscii(change.file) + broken, change.file);
        const Findings findings = check(broken, change.file);
        if (change.said == Said::Nothing) {
            EXPECT_EQ(describe(findings), "") << change.lineKind;
            EXPECT_EQ(findings.blocks.size(), check(whole, change.file).blocks.size());
            continue;
        }
        const std::vector<RecordProblem>& said =
            change.said == Said::Note ? findings.notes : findings.problems;
        ASSERT_FALSE(said.empty()) << change.lineKind << "\n" << describe(findings);
        const RecordProblem& first = said.front();
        const auto lineNumber =
            static_cast<std::uint64_t>(std::count(whole.begin(), whole.begin() + lineOffset, '\n'));
        if (change.said == Said::Note) {
            // Said where the answer before reads on: the closing rule above, or the line itself.
            EXPECT_LE(first.place.line, lineNumber + 1) << change.lineKind;
            EXPECT_GE(first.place.line + 6, lineNumber + 1) << change.lineKind;
            EXPECT_TRUE(findings.problems.empty()) << describe(findings);
            continue;
        }
        EXPECT_GE(first.place.offset, lineOffset) << change.lineKind << "\n" << describe(findings);
        EXPECT_LE(first.place.offset, lineEnd) << change.lineKind << "\n" << describe(findings);
        EXPECT_EQ(first.place.line, lineNumber + 1) << change.lineKind;
    }
}

// Each "|" of `turned` lies at its own byte of `whole` on disk, as `onDisk` tells it.
template <typename OnDisk>
void expectBarsAtTheirBytes(const std::string& turned, const std::string& whole, OnDisk onDisk,
                            const std::string& line) {
    std::size_t raw = 0;
    for (std::size_t at = 0; (at = turned.find('|', at)) != std::string::npos; ++at, ++raw) {
        raw = whole.find('|', raw);
        ASSERT_NE(raw, std::string::npos) << line;
        ASSERT_EQ(onDisk(at), raw) << line.substr(0, 80) << " at " << at;
    }
    EXPECT_EQ(onDisk(turned.size()), whole.size()) << line.substr(0, 80);
}

// UTF-8 turned back a piece at a time, in two reads, reads as it does whole; each "|" lies
// at its own byte on disk though the pieces around it change length. So too through the window
// when each line, and lines with no ASCII byte that ends a reference, run on far longer than
// the window holds unconverted: it turns them back before they end.
TEST(RecordCheck, Utf8TurnedBackInPiecesReadsAsWholeAndAtItsBytes) {
    const std::string lines[] = {
        "caf\xC3\xA9|\xE2\x82\xAC|\xC6\x92|\xD0\x94\xD0\xB0|\xF0\x9F\x98\x80|",
        "e\xCC\x81|A\xCC\x8A|1\xCC\x81|\xE2\x84\xAB|x|\xCC\x81|\xC3\xA9\xC3\xA9|",
        "&#916;|&#38;#916;|&&#916;&|&#65;|&#|&#38;#38;#128512;|&",
        "&#46;" + std::string(48, '.') + "|&#46;" + std::string(47, '.') + "|",
        "&#916\xCD\xBE|&#46\xCD\xBE" + std::string(48, '.') + "|", // a Greek question mark
        "a\xC3|\xC0\xAF|\xED\xA0\x80|\xF4\x90\x80\x80|\xFF|",
        "only ASCII | here |",
    };
    for (const std::string& line : lines) {
        const std::string first = line + "\r\n";
        const std::string whole = first + line;
        DiskOffsets offsets;
        std::string turned;
        cp1252FromUtf8Telling(first, 0, turned, 0, offsets);
        std::string second;
        cp1252FromUtf8Telling(line, first.size(), second, turned.size(), offsets);
        const std::size_t firstRead = turned.size();
        turned += second;
        ASSERT_EQ(turned, cp1252FromUtf8(whole)) << line;
        expectBarsAtTheirBytes(
            turned, whole,
            [&](std::size_t at) {
                if (at >= firstRead) {
                    offsets.forgetBefore(firstRead); // what the first read held is let go
                }
                return offsets.onDisk(at);
            },
            line);
    }
    // What an "&" reads on through only; combining accents only, with no cut known exact.
    // Beyond ASCII, accents, references and what an "&" reads on through only, and letters
    // beyond ASCII with accents that join them, where the system tells where normalisation
    // may cut them (elsewhere such a line is cut past a bound, as it must be).
    std::vector<std::string> longLines(std::begin(lines), std::end(lines));
    longLines.push_back("&#46;" + std::string(48, '.') + "0123;#&#38;#38;#128512;&#46;" +
                        std::string(47, '.') + "9");
    longLines.push_back("\xCC\x81");
    if (codepage::startsNormalisationBoundary(U'\u00E9')) {
        longLines.push_back("\xC3\xA9\xCC\x81\xD0\x94&#916\xCD\xBE\xE2\x82\xAC"
                            "1\xCC\x81&#38;#916;\xF0\x9F\x98\x80\xCC\x81");
        longLines.push_back("\xD0\x98\xCC\x86\xC3\xAA\xCC\x81\xD0\x94");
    }
    for (const std::string& line : longLines) {
        std::string whole = lines[0] + "\r\n";
        while (whole.size() < (std::size_t{5} << 18)) {
            whole += line;
        }
        whole += "\r\n" + lines[0];
        std::istringstream in(whole);
        RecordWindow window(in);
        while (window.more(0)) {
        }
        ASSERT_TRUE(window.utf8From().has_value()) << line;
        const std::string turned(window.from(0));
        ASSERT_TRUE(turned == cp1252FromUtf8(whole)) << line;
        expectBarsAtTheirBytes(
            turned, whole, [&](std::size_t at) { return window.onDisk(at); }, line);
    }
}

// A line of 32 MB in an answer or outside any block, in the code page or saved again in UTF-8
// (words, characters beyond ASCII with no ASCII byte that ends a reference, an endless
// "&#38;#38;..."), read whole by the reader: the window holds a few megabytes of it at once,
// and what is said is what a short line there gives, with the block too long said at its start.
TEST(RecordCheck, ALongLineInOrOutsideABlockIsReadFlatInItsLength) {
    const std::string whole = readBytes(sessionFolder / goldenNames[0]);
    const std::string answer =
        "The depth drops by less in each interval, so the graph gets less steep.";
    const std::size_t answerAt = whole.find(answer);
    ASSERT_NE(answerAt, std::string::npos);
    // A block opens with two rules, its question between them.
    const std::string rule = std::string(openingRule) + "\r\n";
    const std::size_t blockAt = whole.rfind(rule, whole.rfind(rule, answerAt) - 1);
    const auto blockLine = static_cast<std::uint64_t>(
        1 + std::count(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(blockAt), '\n'));
    const struct {
        const char* where;
        std::string pattern;
        bool inAnswer;
        std::string head = ""; // before the pattern's repeats
    } cases[] = {
        {"answer, code page", "d\xE9pth ", true},
        {"answer, UTF-8", "d\xC3\xA9pth ", true},
        {"outside any block, code page", "d\xE9pth ", false},
        {"outside any block, UTF-8", "d\xC3\xA9pth ", false},
        // No ASCII byte that ends a reference: cut between characters.
        {"answer, UTF-8 beyond ASCII", "\xC3\xA9\xD0\x94;1\xE2\x82\xAC#\xF0\x9F\x98\x80", true},
        // An "&" that reads on and on: cut, at last, after a whole character.
        {"outside any block, UTF-8 read on through", "#38;", false, "caf\xC3\xA9 &"},
    };
    for (const auto& line : cases) {
        const auto fileWith = [&](std::size_t repeats) {
            std::string text = line.head;
            for (std::size_t count = 0; count < repeats; ++count) {
                text += line.pattern;
            }
            if (line.inAnswer) {
                return std::string(whole).replace(answerAt, answer.size(), text);
            }
            // Before the file's header, behind stray lines, so that it is passed over.
            return "stray\r\nstray\r\n" + text + "\r\n" + whole;
        };
        const Findings shortLine = check(fileWith(4), goldenNames[0]);
        const std::string longFile = fileWith((std::size_t{32} << 20) / line.pattern.size());
        std::istringstream in(longFile);
        Findings findings;
        largestAllocation = 0;
        readRecordFile(in, *parseRecordFileName(goldenNames[0]), findings);
        if (DRILBANK_COUNTS_ALLOCATIONS) {
            EXPECT_LE(largestAllocation.load(), std::size_t{16} << 20) << line.where;
        }
        std::vector<RecordProblem> expected = shortLine.problems;
        // What is said past the line lies as much further on as the line is longer.
        const std::size_t lineAt =
            line.inAnswer ? answerAt : std::string_view("stray\r\nstray\r\n").size();
        for (RecordProblem& problem : expected) {
            if (problem.place.offset > lineAt) {
                problem.place.offset += longFile.size() - fileWith(4).size();
            }
        }
        if (line.inAnswer) {
            expected.insert(expected.begin(), RecordProblem{{blockAt, blockLine}, tooLong()});
            EXPECT_EQ(findings.blocks.size() + 1, shortLine.blocks.size()) << line.where;
        } else {
            EXPECT_EQ(findings.blocks.size(), shortLine.blocks.size()) << line.where;
        }
        ASSERT_EQ(findings.problems.size(), expected.size())
            << line.where << (findings.problems.empty() ? "" : findings.problems[0].what);
        for (std::size_t at = 0; at < expected.size(); ++at) {
            EXPECT_EQ(findings.problems[at].what, expected[at].what) << line.where;
            EXPECT_EQ(findings.problems[at].place.offset, expected[at].place.offset) << line.where;
            EXPECT_EQ(findings.problems[at].place.line, expected[at].place.line) << line.where;
        }
    }
}

TEST(RecordCheck, KeyLinesAreCheckedAndGiveTheirCodingNumber) {
    const std::string whole = readBytes(sessionFolder / goldenNames[0]);
    const std::size_t keyEnd = whole.find("\r\n");
    const std::string rest = whole.substr(keyEnd);
    const struct {
        std::string keyLine;
        std::optional<int> codingNumber; // nothing: not a valid key line
    } cases[] = {
        {std::string(19, '\xC8'), 19},
        {"B" + std::string(27, '\xFF') + "t\x76", 28},
        {std::string(18, '\xC8'), std::nullopt},        // too few key characters
        {std::string(29, '\xC8'), std::nullopt},        // too many
        {"BB" + std::string(20, '\xC8'), std::nullopt}, // two fillers in a row
        {std::string(20, '\xC8') + "u", std::nullopt},  // code 117 never occurs
        {std::string(20, '\xC8') + "B", std::nullopt},  // a filler leads no key character
    };
    for (const auto& testCase : cases) {
        const Findings findings = check(testCase.keyLine + rest, goldenNames[0]);
        ASSERT_EQ(findings.headers.size(), 1u);
        EXPECT_EQ(findings.headers[0].codingNumber, testCase.codingNumber);
        const bool reported = !findings.problems.empty() &&
                              findings.problems[0].place.offset == 0 &&
                              findings.problems[0].what == "the key line is not a valid key line";
        EXPECT_EQ(reported, !testCase.codingNumber.has_value()) << describe(findings);
        // The same key line opening a second run, where the header is first read looking past
        // the closing rule before it.
        const std::string twoRuns = whole + replacedAll(testCase.keyLine + rest, "-2003", "-2004");
        const Findings second = check(twoRuns, goldenNames[0]);
        ASSERT_EQ(second.headers.size(), 2u) << describe(second);
        EXPECT_EQ(second.headers[1].codingNumber, testCase.codingNumber);
        const bool reportedThere =
            !second.problems.empty() && second.problems[0].place.offset == whole.size() &&
            second.problems[0].what == "the key line is not a valid key line";
        EXPECT_EQ(reportedThere, !testCase.codingNumber.has_value()) << describe(second);
    }
}

TEST(RecordCheck, HeadersMustAgreeWithTheFileName) {
    const std::string send = readBytes(sessionFolder / goldenNames[1]);
    const struct {
        const char* fileName;
        const char* problem; // nothing expected when empty
    } cases[] = {
        {"send_0416Ann_Lee_Smith.txt", ""},
        {"send_0417Ann_Lee_Smith.txt", "the date disagrees with the send file's name"},
        {"send_0516Ann_Lee_Smith.txt", "the date disagrees with the send file's name"},
        {"send_1604Ann_Lee_Smith.txt", "the date disagrees with the send file's name"},
        {"send_0416Bob.txt", "the student name disagrees with the file name"},
    };
    // A second run's header too is told, where it is first read looking past a closing rule.
    const std::string twoRuns = send + replacedAll(send, "-2003", "-2004");
    for (const auto& testCase : cases) {
        const Findings findings = check(send, testCase.fileName);
        const std::string found = findings.problems.empty() ? "" : findings.problems[0].what;
        EXPECT_EQ(found, testCase.problem) << testCase.fileName;
        const Findings both = check(twoRuns, testCase.fileName);
        ASSERT_EQ(both.problems.size(), *testCase.problem == '\0' ? 0u : 2u) << describe(both);
        for (const RecordProblem& problem : both.problems) {
            EXPECT_EQ(problem.what, testCase.problem) << testCase.fileName;
        }
        if (!both.problems.empty()) {
            EXPECT_EQ(both.problems[1].place.offset, both.problems[0].place.offset + send.size())
                << describe(both);
        }
    }
}

// Files changed after the program wrote them, each said once, in words, and read all the same.
TEST(RecordCheck, FilesChangedSinceAreReadAndSaidOnce) {
    const std::string master = readBytes(sessionFolder / goldenNames[0]);
    const std::string send = readBytes(sessionFolder / goldenNames[1]);
    const Findings intact = check(master, goldenNames[0]);
    // A second run, whose student name line alone ends in a line feed: told before the last
    // block of the run before, whose end it shows.
    std::string twoRuns = master + replacedAll(master, "-2003", "-2004");
    twoRuns.erase(twoRuns.find('\r', twoRuns.rfind(studentNameLabel)), 1);
    const struct {
        const char* change;
        std::string bytes;
        const char* fileName;
        const char* problem; // the start of the one problem said
        std::size_t blocks;
    } cases[] = {
        {"emptied", "", goldenNames[0], "the file is empty", 0},
        {"line ends changed", replacedAll(master, "\r\n", "\n"), goldenNames[0],
         "the file's line ends were changed", intact.blocks.size()},
        {"saved as UTF-8", cp1252ToUtf8(master), goldenNames[0],
         "the file was saved again in UTF-8", intact.blocks.size()},
        {"saved as UTF-8 with a mark", "\xEF\xBB\xBF" + cp1252ToUtf8(master), goldenNames[0],
         "the file was saved again in UTF-8", intact.blocks.size()},
        {"renamed without its date", send, "send_Ann_Lee_Smith.txt",
         "the send file's name has no date", intact.blocks.size()},
        {"renamed in capitals", master, "MASTERFILE_ANN_LEE_SMITH.TXT", nullptr,
         intact.blocks.size()},
        {"an answer of one endless line",
         std::string(master).insert(master.rfind(responseMarker) + 16, std::string(6 << 20, 'x')),
         goldenNames[0], "a header or block of more than 5 MB", intact.blocks.size() - 1},
        {"one line end changed after a run", twoRuns, goldenNames[0],
         "the file's line ends were changed", 2 * intact.blocks.size()},
    };
    for (const auto& testCase : cases) {
        const Findings findings = check(testCase.bytes, testCase.fileName);
        if (testCase.problem == nullptr) {
            EXPECT_EQ(describe(findings), "") << testCase.change;
        } else {
            ASSERT_EQ(findings.problems.size(), 1u) << testCase.change << "\n"
                                                    << describe(findings);
            EXPECT_TRUE(findings.problems[0].what.starts_with(testCase.problem)) << testCase.change;
        }
        ASSERT_EQ(findings.blocks.size(), testCase.blocks) << testCase.change;
        for (std::size_t index = 0; index < findings.blocks.size(); ++index) {
            EXPECT_EQ(findings.blocks[index].answer,
                      intact.blocks[index % intact.blocks.size()].answer)
                << testCase.change;
        }
    }
}

// Files longer than the reader's buffer, each run a year after the last and each file a run
// longer than the one before, so that refills fall everywhere, the file's end too: every block
// is read whole and at its own byte.
TEST(RecordCheck, FilesLongerThanTheBufferAreReadWholeAtEveryByte) {
    for (const char* name : goldenNames) {
        const std::string run = readBytes(sessionFolder / name);
        const Findings intact = check(run, name);
        std::string bytes;
        // Eight lengths from 1 MB on, 37 KB apart: the file's end falls all over the buffer.
        std::size_t length = std::size_t{1} << 20;
        for (int year = 2003; length < (std::size_t{1} << 20) + 8 * (37 << 10); ++year) {
            bytes += replacedAll(run, "-2003", "-" + std::to_string(year));
            if (bytes.size() < length) {
                continue;
            }
            length += 37 << 10;
            const Findings findings = check(bytes, name);
            ASSERT_TRUE(findings.problems.empty()) << name << ": " << findings.problems[0].what;
            ASSERT_EQ(findings.blocks.size(), intact.blocks.size() * (bytes.size() / run.size()));
            for (std::size_t index = 0; index < findings.blocks.size(); ++index) {
                const KeptBlock& block = findings.blocks[index];
                const KeptBlock& original = intact.blocks[index % intact.blocks.size()];
                const std::size_t copy = index / intact.blocks.size();
                ASSERT_EQ(block.place.offset, copy * run.size() + original.place.offset) << name;
                ASSERT_EQ(block.answer, original.answer) << name << " block " << index;
                ASSERT_EQ(block.question, original.question) << name << " block " << index;
            }
        }
    }
}

// A file handed in twice is read once; a pipe named as a record file is never opened.
TEST(RecordCheck, CopiesAreReadOnceAndOnlyRegularFilesOpened) {
    testing::TemporaryFolder folder;
    for (const char* copy : {"a", "b"}) {
        std::filesystem::create_directories(folder.path() / copy);
        std::filesystem::copy_file(sessionFolder / goldenNames[0],
                                   folder.path() / copy / goldenNames[0]);
    }
    std::vector<std::string> paths{folder.path().string()};
#ifndef _WIN32
    const std::filesystem::path pipe = folder.path() / "a" / "send_0416Ann_Lee_Smith.txt";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    paths.push_back(pipe.string());
#endif
    const auto found = instructor::findRecordFiles(paths);
    ASSERT_EQ(found.errors.size(), 2 * (paths.size() - 1)); // in the folder and given alone
    for (const std::string& error : found.errors) {
        EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
    }
    ASSERT_EQ(found.files.size(), 2u);
    std::vector<std::size_t> problems;
    for (const auto& file : found.files) {
        Findings findings;
        instructor::readFoundFile(file, findings);
        problems.push_back(findings.problems.size());
        EXPECT_EQ(findings.blocks.empty(), file.sameAs.has_value());
    }
    EXPECT_EQ(problems, (std::vector<std::size_t>{0, 1}));
}

// A master file of `years` runs, each a year after the last.
std::string yearsOfRuns(int years) {
    const std::string run = readBytes(sessionFolder / goldenNames[0]);
    std::string bytes;
    for (int year = 2003; year < 2003 + years; ++year) {
        bytes += replacedAll(run, "-2003", "-" + std::to_string(year));
    }
    return bytes;
}

constexpr std::string_view lostBytes = "part of the file could not be read";

// Bytes whose disk fails after the first `good` of them, as a dropped network drive does.
class FailingBytes final : public std::streambuf {
public:
    FailingBytes(std::string bytes, std::size_t good) : bytes_(std::move(bytes)) {
        setg(bytes_.data(), bytes_.data(), bytes_.data() + good);
    }

private:
    int_type underflow() override { throw std::ios_base::failure("the network failed"); }
    std::string bytes_;
};

// A read the disk or the network fails is said, not taken for the file's end; a file that
// gives nothing at all is not called empty.
TEST(RecordCheck, BytesThatCannotBeReadAreSaid) {
    const std::string whole = yearsOfRuns(120); // longer than the reader's first read
    for (const std::size_t good : {std::size_t{0}, whole.size() - 1000}) {
        FailingBytes failing(whole, good);
        std::istream in(&failing);
        Findings findings;
        readRecordFile(in, *parseRecordFileName(goldenNames[0]), findings);
        ASSERT_FALSE(findings.problems.empty()) << good;
        EXPECT_NE(findings.problems.back().what.find(lostBytes), std::string::npos) << good;
        EXPECT_EQ(findings.problems.front().what.find("empty"), std::string::npos) << good;
        EXPECT_EQ(findings.blocks.empty(), good == 0);
    }
}

#ifndef _WIN32
// The student's program may cut a torn tail off a file while the tool reads it: the reader
// sees the file end where it was cut, as if it had been cut before, and says no more.
TEST(RecordCheck, AFileCutWhileReadEndsThere) {
    const testing::TemporaryFolder folder;
    const std::filesystem::path file = folder.path() / goldenNames[0];
    const std::string whole = yearsOfRuns(120); // longer than the reader's first read
    for (const std::size_t cutAt : {std::size_t{4096 + 10}, whole.size() - 1000}) {
        std::ofstream(file, std::ios::binary) << whole;
        std::ifstream in(file, std::ios::binary);
        std::filesystem::resize_file(file, cutAt);
        Findings findings;
        readRecordFile(in, *parseRecordFileName(goldenNames[0]), findings);
        Findings cut;
        std::istringstream before(whole.substr(0, cutAt));
        readRecordFile(before, *parseRecordFileName(goldenNames[0]), cut);
        EXPECT_TRUE(same(everything(findings), everything(cut))) << cutAt;
        ASSERT_FALSE(findings.problems.empty()) << cutAt;
        EXPECT_NE(findings.problems.back().what.find("torn tail"), std::string::npos) << cutAt;
    }
}

// A folder of the class that cannot be read is named, and the rest is still read.
TEST(RecordCheck, AFolderThatCannotBeReadIsSaid) {
    testing::TemporaryFolder folder;
    for (const char* student : {"open", "locked"}) {
        std::filesystem::create_directories(folder.path() / student);
        std::filesystem::copy_file(sessionFolder / goldenNames[0],
                                   folder.path() / student / goldenNames[0]);
    }
    ::chmod(folder.path().c_str(), 0755);
    ::chmod((folder.path() / "open").c_str(), 0755);
    ::chmod((folder.path() / "open" / goldenNames[0]).c_str(), 0644);
    ::chmod((folder.path() / "locked").c_str(), 0);
    const int found = testing::resultAsUnprivilegedUser([&] {
        const auto result = instructor::findRecordFiles({folder.path().string()});
        const bool said =
            result.errors.size() == 1 &&
            result.errors[0].find("locked: this folder cannot be read") != std::string::npos;
        return static_cast<int>(result.files.size()) + (said ? 10 : 0);
    });
    EXPECT_EQ(found, 11); // said once, and the open folder's file found
}
#endif

} // namespace
} // namespace drilbank
