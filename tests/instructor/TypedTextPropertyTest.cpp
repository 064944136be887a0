// Whatever a student types comes back exactly, with no problem: random texts, weighted towards
// the record format's own lines (rules, markers, header labels, time and date lines, the zone
// ending), control characters, references typed as such, CR, LF and CR LF mixed and long
// lines, recorded through the real core as responses and notes, read back by the export's
// rows. Files written before typed lines of full stops were stored as "&#46;" are read as the
// README says: no problem, and every text that holds no line of full stops back exactly.
// DRILBANK_PROPERTY_TEXTS and DRILBANK_PROPERTY_SEED set the count and the seed.
#include "encoding/Cp1252.h"
#include "format/RecordFormat.h"
#include "instructor/RecordRows.h"
#include "record/EnterResponse.h"
#include "record/RecordBlocks.h"
#include "record/RecordChannels.h"
#include "record/SaveAsNotes.h"
#include "script/NextQuestion.h"
#include "support/FakePlatform.h"
#include "support/TemporaryFolder.h"
#include "window/Handler.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <random>
#include <sstream>

namespace drilbank::instructor {
namespace {

// A count or seed from the environment where one is given.
std::size_t given(const char* name, std::size_t fallback) {
    const char* const value = std::getenv(name);
    const unsigned long number = value != nullptr ? std::strtoul(value, nullptr, 10) : 0;
    return number > 0 ? static_cast<std::size_t>(number) : fallback;
}

// Typed texts in UTF-8, as a window hands them to the core after its code-page conversion.
class TypedTexts {
public:
    explicit TypedTexts(std::uint64_t seed) : random_(seed) {}

    std::string next() {
        std::string text;
        const std::size_t lines = pick(6) == 0 ? 0 : 1 + pick(6);
        for (std::size_t line = 0; line < lines; ++line) {
            if (line > 0) {
                static const char* const breaks[] = {"\r\n", "\r\n", "\n", "\r", "\r\n\r\n"};
                text += breaks[pick(std::size(breaks))];
            }
            text += piece();
            if (pick(4) == 0) {
                text += piece();
            }
        }
        return text;
    }

private:
    std::size_t pick(std::size_t count) {
        return std::uniform_int_distribution<std::size_t>(0, count - 1)(random_);
    }

    std::string piece() {
        const std::string rule = closingRule;
        const std::string zone(printZoneWidth - rule.size() % printZoneWidth, ' ');
        switch (pick(24)) {
        case 0:
        case 1:
            return rule;
        case 2:
            return std::string(openingRule);
        case 3:
            return rule + zone + openingRule;
        case 4:
            return rule + ".";
        case 5:
            return rule + " typed after";
        case 6:
            return timeLineText("14:05:1" + std::to_string(pick(10)));
        case 7:
            return dateTimeLineText("04-16-2003", "14:05:18");
        case 8:
            return responseMarker;
        case 9:
            return std::string(notesMarker) + "a note";
        case 10:
            return std::string(questionNumberTag) + " 10000 ";
        case 11: {
            static const char* const header[] = {"Student Name:  Mallory",
                                                 "assignment #001",
                                                 "001.  Day 5 quiz",
                                                 "Initials:  MM",
                                                 "Date and Time 04-16-200314:05:09",
                                                 ""};
            return header[pick(std::size(header))];
        }
        case 12:
            return "\xC3\x88\xC3\x88\xC3\x88\xC3\x88\xC3\x88\xC3\x88\xC3\x88\xC3\x88\xC3\x88\xC3"
                   "\x88\xC3\x88\xC3\x88\xC3\x88\xC3\x88\xC3\x88\xC3\x88\xC3\x88\xC3\x88\xC3\x88"
                   "\xC3\x88"; // twenty key characters: a key line
        case 13: {
            std::string controls;
            for (std::size_t count = 1 + pick(4); count > 0; --count) {
                const std::size_t code = pick(33);
                controls += static_cast<char>(code == 32                 ? 0x7F
                                              : code == 10 || code == 13 ? 7
                                                                         : code);
            }
            return controls;
        }
        case 14: {
            static const char* const references[] = {"&#916;", "&#38;#916;", "&#46;",
                                                     "&#38;",  "&amp;",      "&#"};
            return references[pick(std::size(references))];
        }
        case 15:
            return typedReference_ ? std::string(typedFullStop) + rule.substr(1) : "x";
        case 16:
            return std::string(pick(50) == 0 ? 70000 : 300, 'w');
        case 17:
            return "\xCE\x94x \xE2\x89\x88 \xF0\x9F\x98\x80 caf\xC3\xA9";
        case 18:
            return std::string(pick(3), ' ');
        default:
            return "the answer " + std::to_string(pick(1000));
        }
    }

public:
    bool typedReference_ = true; // a typed "&#46;" and the 48 full stops of a rule after it

private:
    std::mt19937_64 random_;
};

struct Recorded {
    std::string kind;
    std::string answer; // UTF-8, as typed
};
using ByFile = std::map<std::string, std::vector<Recorded>>;

// Runs of one student, each on a day of its own. The first texts of a run are recorded a click
// each, as the student records them; the rest go through the same block writer a batch to a
// click, so that a great many are recorded in seconds. What each file should give back, in
// order.
ByFile record(const std::filesystem::path& drives, TypedTexts& texts, std::size_t count,
              std::size_t runs) {
    constexpr std::size_t clicked = 500;
    constexpr std::size_t batch = 100;
    ByFile expected;
    std::mt19937 choice(7);
    for (std::size_t run = 0; run < runs; ++run) {
        testing::FakePlatform platform(drives);
        // Two runs a day: the second's header goes on where the send file's last block ends,
        // on the line of a note's padded closing rule.
        const std::string day = std::to_string(10 + run / 2);
        platform.fakeClock.date = "04-" + day + "-2003";
        platform.fakeClock.secondsOfDay = static_cast<int>(run % 2 * 40000);
        testing::answerStartUp(platform, "1", "Ann Lee Smith", "ALS", "1");
        Run session{platform};
        runHandler(session, &loadWindow);
        runHandler(session, &nextQuestionClicked);
        const std::string send = "send_04" + day + "Ann_Lee_Smith.txt";
        const auto expect = [&](bool note, const std::string& typed) {
            const Recorded recorded{note ? "note" : "response", typed};
            expected["masterFile_Ann_Lee_Smith.txt"].push_back(recorded);
            expected[send].push_back(recorded);
            if (note) {
                expected["notes_Ann_Lee_Smith.txt"].push_back(recorded);
            }
        };
        std::size_t index = 0;
        for (; index < clicked && index < count / runs; ++index) {
            const std::string typed = texts.next();
            const bool note = choice() % 3 == 0;
            platform.answer = cp1252FromUtf8(typed);
            platform.fakeClock.secondsOfDay = static_cast<int>(run % 2 * 40000 + 1 + index);
            runHandler(session, note ? &saveAsNotesClicked : &enterResponseClicked);
            session.state.cumulativeText.clear(); // the transcript: not what is tested here
            expect(note, typed);
        }
        RecordFiles& files = platform.files();
        const RunState& state = session.state;
        while (index < count / runs) {
            files.nameClick(std::to_string(index));
            usingChannels(files, {masterChannel, sendChannel, notesChannel}, [&] {
                files.open(masterChannel, state.masterFilePath, ChannelMode::Append);
                files.open(sendChannel, state.sendFilePath, ChannelMode::Append);
                files.open(notesChannel, state.notesFilePath, ChannelMode::Append);
                for (std::size_t inBatch = 0; inBatch < batch && index < count / runs;
                     ++inBatch, ++index) {
                    const std::string typed = texts.next();
                    const bool note = choice() % 3 == 0;
                    platform.fakeClock.secondsOfDay =
                        static_cast<int>(run % 2 * 40000 + 600 + index % 39000);
                    if (note) {
                        writeNotesBlock(session, notesMarker + cp1252FromUtf8(typed));
                    } else {
                        writeResponseBlock(session, cp1252FromUtf8(typed));
                    }
                    expect(note, typed);
                }
            });
        }
    }
    return expected;
}

struct ReadBack {
    ByFile rows;
    std::size_t problems = 0;
    std::vector<std::string> said;
};

// Memory-backed where the system has it: a click flushes its journal, which costs a disk far
// more than the rest of the click.
std::filesystem::path quickFolder() {
    std::error_code error;
    return std::filesystem::is_directory("/dev/shm", error)
               ? "/dev/shm"
               : std::filesystem::temp_directory_path();
}

ReadBack readBack(const std::filesystem::path& drives) {
    ReadBack back;
    RecordRows reader;
    for (const RecordFile& file : findRecordFiles({drives.string()}).files) {
        const FileReport report = reader.read(file, [&](const RecordRow& row) {
            back.rows[std::string(row.file)].push_back(
                {std::string(row.kind), std::string(row.answer)});
        });
        back.problems += report.problemCount;
        for (const RecordProblem& problem : report.problems) {
            if (back.said.size() < 5) {
                back.said.push_back(utf8Of(file.path.filename()) + ":" +
                                    std::to_string(problem.place.line) + ": " + problem.what);
            }
        }
    }
    return back;
}

std::string shown(const std::string& text) {
    std::string shown;
    for (const char c : text.substr(0, 300)) {
        shown +=
            static_cast<unsigned char>(c) < 0x20 ? "\\x" + std::to_string(c) : std::string(1, c);
    }
    return shown;
}

TEST(TypedTextProperty, EveryTypedTextComesBackExactlyWithNoProblem) {
    const std::size_t count = given("DRILBANK_PROPERTY_TEXTS", 100000);
    TypedTexts texts(given("DRILBANK_PROPERTY_SEED", 24));
    const testing::TemporaryFolder drives(quickFolder());
    const ByFile expected = record(drives.path(), texts, count, 4);
    const ReadBack back = readBack(drives.path());
    EXPECT_EQ(back.problems, 0u) << (back.said.empty() ? "" : back.said.front());
    ASSERT_EQ(back.rows.size(), expected.size());
    std::size_t compared = 0;
    for (const auto& [file, rows] : expected) {
        const std::vector<Recorded>& read = back.rows.at(file);
        ASSERT_EQ(read.size(), rows.size()) << file;
        for (std::size_t index = 0; index < rows.size(); ++index) {
            ASSERT_EQ(read[index].kind, rows[index].kind) << file << " row " << index;
            ASSERT_EQ(read[index].answer, rows[index].answer)
                << file << " row " << index << ": " << shown(rows[index].answer);
            ++compared;
        }
    }
    EXPECT_GE(compared, count);
}

// The files as the program wrote them before: a typed line of full stops stored as typed.
std::string asWrittenBefore(std::string bytes) {
    const std::string stored =
        std::string("\n") + typedFullStop + std::string(closingRule).substr(1);
    const std::string before = std::string("\n") + closingRule;
    for (std::size_t at = 0; (at = bytes.find(stored, at)) != std::string::npos;
         at += before.size()) {
        bytes.replace(at, stored.size(), before);
    }
    return bytes;
}

TEST(TypedTextProperty, FilesWrittenBeforeAreReadWithNoProblem) {
    const std::size_t count = given("DRILBANK_PROPERTY_TEXTS", 100000) / 10;
    TypedTexts texts(given("DRILBANK_PROPERTY_SEED", 24) + 1);
    texts.typedReference_ = false; // typed as a reference, it was always stored as typed
    const testing::TemporaryFolder drives(quickFolder());
    const ByFile expected = record(drives.path(), texts, count, 2);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(drives.path())) {
        if (entry.is_regular_file() && !entry.path().filename().string().starts_with(".")) {
            std::ifstream in(entry.path(), std::ios::binary);
            const std::string bytes = (std::ostringstream() << in.rdbuf()).str();
            in.close();
            std::ofstream(entry.path(), std::ios::binary) << asWrittenBefore(bytes);
        }
    }
    const ReadBack back = readBack(drives.path());
    EXPECT_EQ(back.problems, 0u) << (back.said.empty() ? "" : back.said.front());
    // Every text without a line of full stops in it comes back, in order, among the rows.
    const std::string rule = closingRule;
    for (const auto& [file, rows] : expected) {
        const std::vector<Recorded>& read = back.rows.at(file);
        std::size_t at = 0;
        for (const Recorded& row : rows) {
            if (row.answer.find(rule) != std::string::npos) {
                continue;
            }
            while (at < read.size() && read[at].answer != row.answer) {
                ++at;
            }
            ASSERT_LT(at, read.size()) << file << ": " << shown(row.answer);
            ++at;
        }
    }
}

} // namespace
} // namespace drilbank::instructor
