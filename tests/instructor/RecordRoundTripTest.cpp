// Records written by the core through the fake platform, read back by the export's rows.
#include "instructor/RecordRows.h"
#include "platform/Cp1252.h"
#include "record/EnterResponse.h"
#include "record/SaveAsNotes.h"
#include "script/BuiltInScript.h"
#include "script/NextQuestion.h"
#include "support/FakePlatform.h"
#include "support/TemporaryFolder.h"
#include "window/Handler.h"

#include <gtest/gtest.h>

#include <map>

namespace drilbank::instructor {
namespace {

using Rows = std::map<std::string, std::vector<std::vector<std::string>>>; // by file

// What the window would store for text typed in UTF-8.
std::string typed(const std::string& utf8) {
    return cp1252FromUtf8(utf8);
}

// One run of the program for Ann Lee Smith on a day of its own, over shared drives; every
// block it records is noted as the row the export should give for each file it went to.
class StudentRun {
public:
    StudentRun(const std::filesystem::path& drives, const std::string& date, int seconds,
               const std::string& initials, Rows& expected)
        : platform_(drives), expected_(expected), initials_(initials) {
        platform_.fakeClock.date = date;
        platform_.fakeClock.secondsOfDay = seconds;
        testing::answerStartUp(platform_, "1", "Ann Lee Smith", initials, "1");
        runHandler(run_, &loadWindow);
        sendFile_ = "send_" + date.substr(0, 2) + date.substr(3, 2) + "Ann_Lee_Smith.txt";
    }

    // Shows the next question at the given time and records the answer typed in UTF-8.
    void answer(int seconds, const std::string& utf8, bool asNote, const std::string& isoDate) {
        runHandler(run_, &nextQuestionClicked);
        platform_.fakeClock.secondsOfDay = seconds;
        platform_.answer = typed(utf8);
        const std::string question = run_.state.currentLine;
        runHandler(run_, asNote ? &saveAsNotesClicked : &enterResponseClicked);
        char time[16];
        std::snprintf(time, sizeof time, "%02d:%02d:%02d", seconds / 3600 % 24, seconds / 60 % 60,
                      seconds % 60);
        for (const std::string& file : {std::string("masterFile_Ann_Lee_Smith.txt"), sendFile_,
                                        std::string("notes_Ann_Lee_Smith.txt")}) {
            if (!asNote && file.starts_with("notes_")) {
                continue;
            }
            const bool master = file.starts_with("master");
            expected_[file].push_back(
                {"Ann Lee Smith", initials_, "001", master && !asNote ? "10000" : "",
                 asNote ? "note" : "response", isoDate, time, question, utf8, file});
        }
    }

private:
    testing::FakePlatform platform_;
    Run run_{platform_};
    Rows& expected_;
    std::string initials_;
    std::string sendFile_;
};

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

    const SearchResult found = findRecordFiles({drives.path().string()});
    ASSERT_TRUE(found.errors.empty());
    ASSERT_EQ(found.files.size(), 4u); // master, two send files, notes
    RecordRows reader;
    Rows actual;
    for (const RecordFile& file : found.files) {
        const FileReport report = reader.read(
            file, [&](const RecordRow& row) { actual[row.file].push_back(rowValues(row)); });
        EXPECT_TRUE(report.problems.empty()) << file.path;
    }
    EXPECT_EQ(actual, expected);
}

} // namespace
} // namespace drilbank::instructor
