// Records written by the core through the fake platform, read back by the export's rows.
#include "encoding/Cp1252.h"
#include "instructor/RecordRows.h"
#include "os/DurableFiles.h"
#include "reading/RecordReader.h"
#include "record/EnterResponse.h"
#include "record/SaveAsNotes.h"
#include "script/BuiltInScript.h"
#include "script/NextQuestion.h"
#include "support/FakePlatform.h"
#include "support/TemporaryFolder.h"
#include "window/Handler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <fstream>
#include <map>

namespace drilbank::instructor {
namespace {

using Rows = std::map<std::string, std::vector<std::vector<std::string>>>; // by file

// What the window would store for text typed in UTF-8.
std::string typed(const std::string& utf8) {
    return cp1252FromUtf8(utf8);
}

// One run of the program for a student (Ann Lee Smith unless named, in UTF-8) on a day of its
// own, over shared drives; every block it records is noted as the row the export should give
// for each file it went to. `draws` script the random source: the coding number, then the
// key line.
class StudentRun {
public:
    StudentRun(const std::filesystem::path& drives, const std::string& date, int seconds,
               const std::string& initials, Rows& expected,
               const std::string& student = "Ann Lee Smith", std::deque<float> draws = {})
        : platform_(drives), expected_(expected), initials_(initials), student_(student) {
        platform_.fakeClock.date = date;
        platform_.fakeClock.secondsOfDay = seconds;
        platform_.fakeRandom.scripted = std::move(draws);
        testing::answerStartUp(platform_, "1", typed(student), typed(initials), "1");
        runHandler(run_, &loadWindow);
        std::string name = student;
        std::replace(name.begin(), name.end(), ' ', '_');
        masterFile_ = "masterFile_" + name + ".txt";
        sendFile_ = "send_" + date.substr(0, 2) + date.substr(3, 2) + name + ".txt";
        notesFile_ = "notes_" + name + ".txt";
    }

    // Shows the next question at the given time and records the answer typed in UTF-8, with
    // as many separate clicks.
    void answer(int seconds, const std::string& utf8, bool asNote, const std::string& isoDate,
                int clicks = 1) {
        runHandler(run_, &nextQuestionClicked);
        platform_.fakeClock.secondsOfDay = seconds;
        const std::string question = run_.state.currentLine;
        for (int click = 0; click < clicks; ++click) {
            platform_.answer = typed(utf8);
            runHandler(run_, asNote ? &saveAsNotesClicked : &enterResponseClicked);
            expect(seconds, utf8, asNote, isoDate, question);
        }
    }

private:
    void expect(int seconds, const std::string& utf8, bool asNote, const std::string& isoDate,
                const std::string& question) {
        char time[16];
        std::snprintf(time, sizeof time, "%02d:%02d:%02d", seconds / 3600 % 24, seconds / 60 % 60,
                      seconds % 60);
        for (const std::string& file : {masterFile_, sendFile_, notesFile_}) {
            if (!asNote && file.starts_with("notes_")) {
                continue;
            }
            const bool master = file.starts_with("master");
            // The path from the drives, as the folder given to the search.
            expected_[file].push_back({student_, initials_, "001", master && !asNote ? "10000" : "",
                                       asNote ? "note" : "response", isoDate, time,
                                       cp1252ToUtf8(question), utf8, file, "c/drilbank/" + file, "",
                                       "", "", ""});
        }
    }

    testing::FakePlatform platform_;
    Run run_{platform_};
    Rows& expected_;
    std::string initials_;
    std::string student_;
    std::string masterFile_;
    std::string sendFile_;
    std::string notesFile_;
};

// Reads every record file under the drives: each whole, and its rows by file.
Rows readBack(const std::filesystem::path& drives, std::size_t files) {
    const SearchResult found = findRecordFiles({drives.string()});
    EXPECT_TRUE(found.errors.empty());
    EXPECT_EQ(found.files.size(), files);
    RecordRows reader;
    Rows actual;
    std::vector<RecordRow> kept; // copies, which hold their texts once the reader moves on
    for (const RecordFile& file : found.files) {
        const FileReport report = reader.read(file, [&](const RecordRow& row) {
            const RowTexts values = rowValues(row);
            actual[std::string(row.file)].emplace_back(values.begin(), values.end());
            kept.push_back(row);
        });
        for (const RecordProblem& problem : report.problems) {
            ADD_FAILURE() << file.path << ":" << problem.place.line << ": " << problem.what;
        }
    }
    Rows fromCopies;
    for (const RecordRow& row : kept) {
        const RowTexts values = rowValues(row);
        fromCopies[std::string(row.file)].emplace_back(values.begin(), values.end());
    }
    EXPECT_EQ(fromCopies, actual);
    return actual;
}

TEST(RecordRoundTrip, ExportGivesBackWhatTwoRunsOnTwoDaysRecorded) {
    testing::TemporaryFolder drives;
    Rows expected;
    {
        // The first run passes midnight: its later responses carry the next day's date.
        StudentRun run(drives.path(), "04-16-2003", 23 * 3600 + 59 * 60, "ALS", expected);
        run.answer(23 * 3600 + 59 * 60 + 20, "\xCE\x94x = 3 \xC2\xB5m, \xCE\xBB \xE2\x89\x88 1",
                   false, "2003-04-16");
        run.answer(23 * 3600 + 59 * 60 + 40, "first line\r\nsecond, \"quoted\"\r\n\r\nlast", true,
                   "2003-04-16");
        run.answer(10, "ok \xF0\x9F\x98\x80 and a literal &#65;", false, "2003-04-17");
        run.answer(20, "", false, "2003-04-17");
    }
    {
        StudentRun run(drives.path(), "04-18-2003", 9 * 3600, "AS", expected);
        run.answer(9 * 3600 + 5, "\xCE\xB1\r\n\xCE\xB2", false, "2003-04-18");
        run.answer(9 * 3600 + 9, "\xCF\x89 caf\xC3\xA9", true, "2003-04-18");
    }

    EXPECT_EQ(readBack(drives.path(), 4), expected); // master, two send files, notes
}

// What the program writes that looks like something else: a line of full stops (the closing
// rule) inside an answer, two clicks on one answer in one second, typed references, names in
// Cyrillic and with accents, and a key line whose key characters are DEL (0x7F).
TEST(RecordRoundTrip, AnswersThatLookLikeTheFormatComeBackAsTyped) {
    testing::TemporaryFolder drives;
    Rows expected;
    const std::string rule(49, '.');
    {
        // Every draw 0.0657: a filler "E" and the key character 118 + 9 = 127 each time.
        StudentRun run(drives.path(), "04-16-2003", 9 * 3600, "\xD0\x90\xD0\x81", expected,
                       "\xD0\x90\xD0\xBD\xD0\xBD\xD0\xB0 \xD0\x81\xD0\xBB\xD0\xBA\xD0\xB0",
                       std::deque<float>(80, 0.0657f));
        run.answer(9 * 3600 + 1, "above\r\n" + rule + "\r\nbelow the rule", false, "2003-04-16");
        run.answer(9 * 3600 + 2, rule, false, "2003-04-16");
        run.answer(9 * 3600 + 3, "same answer", false, "2003-04-16", 2);
        // As long as a line may be: the reader's buffer grows to hold it, then reads on.
        run.answer(9 * 3600 + 3, std::string(maxLineLength - 1, 'x') + "\r\nand after it", false,
                   "2003-04-16");
        run.answer(9 * 3600 + 4, rule + "\r\n" + rule, true, "2003-04-16");
        run.answer(9 * 3600 + 5, "typed &#916; and &#38;#916; and &amp;", false, "2003-04-16");
        run.answer(9 * 3600 + 6, "the same note", true, "2003-04-16", 2);
    }
    {
        StudentRun run(drives.path(), "04-16-2003", 10 * 3600, "JN", expected,
                       "Jos\xC3\xA9 N\xC3\xBA\xC3\xB1"
                       "ez");
        run.answer(10 * 3600 + 1, rule + "\r\n" + std::string(14, ' ') + rule, true, "2003-04-16");
        run.answer(10 * 3600 + 2, "\xE2\x80\x99 \xC5\xA0", false, "2003-04-16");
    }
    EXPECT_EQ(readBack(drives.path(), 6), expected);
    std::ifstream master(drives.path() / "c/drilbank" /
                             pathFromUtf8("masterFile_\xD0\x90\xD0\xBD\xD0\xBD\xD0\xB0_"
                                          "\xD0\x81\xD0\xBB\xD0\xBA\xD0\xB0.txt"),
                         std::ios::binary);
    std::string keyLine;
    std::getline(master, keyLine);
    EXPECT_NE(keyLine.find('\x7F'), std::string::npos) << "the key line holds no DEL";
}

} // namespace
} // namespace drilbank::instructor
