#include "startup/OpenAssignment.h"
#include "format/LineCode.h"
#include "handling/FailureMessages.h"
#include "os/Failure.h"
#include "os/RunRandom.h"
#include "record/EnterResponse.h"
#include "startup/StartUpDialogue.h"
#include "support/FakePlatform.h"
#include "window/Handler.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace drilbank {
namespace {

using testing::FakePlatform;

struct Positioning : ::testing::Test {
    FakePlatform platform;
    drilbank::Run run{platform};

    bool load(const std::string& homeOrLan, const std::string& name,
              const std::string& assignment) {
        testing::answerStartUp(platform, homeOrLan, name, "ALS", assignment);
        return runHandler(run, &loadWindow);
    }

    // The key line the run wrote: made again from the same seed and coding number.
    std::string expectedKeyLine() {
        RunRandom random;
        random.seed(platform.fakeRandom.lastSeed);
        random.next(); // the coding number's draw
        return makeCodeLine(run.state.codeNbr, random);
    }
};

TEST_F(Positioning, HeaderBlocksAreByteExactInBothFiles) {
    platform.fakeClock.date = "04-16-2003";
    platform.fakeClock.secondsOfDay = 14 * 3600 + 5 * 60 + 9;
    platform.fakeClock.tickOnEveryTimeReading = true;
    ASSERT_TRUE(load("1", "Ann Lee Smith", "1"));
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(run.state.scriptIndex, 1);
    EXPECT_EQ(run.state.presentationMode, 1);

    const std::string key = expectedKeyLine();
    const std::string common = key + "\r\n" + "Student Name:  Ann Lee Smith\r\n" +
                               "assignment #001\r\n" + "001.  Day 5 quiz\r\n" +
                               "Initials:  ALS\r\n";
    EXPECT_EQ(platform.fileBytes(run.state.masterFilePath),
              common + "Date and Time 04-16-200314:05:09\r\n");
    // The send file's date and time are read again, a second later here.
    EXPECT_EQ(platform.fileBytes(run.state.sendFilePath),
              common + "Date and Time 04-16-2003 14:05:10\r\n");
    EXPECT_FALSE(platform.fileExists(run.state.notesFilePath));
    EXPECT_FALSE(platform.files().isOpen(1));
    EXPECT_FALSE(platform.files().isOpen(2));
}

TEST_F(Positioning, ASecondRunAppendsAndANewDayStartsANewSendFile) {
    ASSERT_TRUE(load("1", "Ann", "1"));
    const std::string firstMaster = platform.fileBytes(run.state.masterFilePath);
    const std::string firstSendPath = run.state.sendFilePath;

    drilbank::Run second(platform);
    testing::answerStartUp(platform, "1", "Ann", "ALS", "001");
    ASSERT_TRUE(runHandler(second, &loadWindow));
    const std::string master = platform.fileBytes(second.state.masterFilePath);
    EXPECT_TRUE(master.starts_with(firstMaster));
    EXPECT_GT(master.size(), firstMaster.size());

    platform.fakeClock.date = "04-17-2003";
    drilbank::Run nextDay(platform);
    testing::answerStartUp(platform, "1", "Ann", "ALS", "1");
    ASSERT_TRUE(runHandler(nextDay, &loadWindow));
    EXPECT_EQ(nextDay.state.masterFilePath, second.state.masterFilePath);
    EXPECT_NE(nextDay.state.sendFilePath, firstSendPath);
    EXPECT_EQ(platform.fileBytes(firstSendPath).find("04-17-2003"), std::string::npos);
}

TEST_F(Positioning, AnAssignmentTheScriptDoesNotHoldEndsTheRunWithNoFile) {
    for (const char* assignment : {"2", "", "0001", "101", "1.4"}) {
        FakePlatform fresh;
        drilbank::Run freshRun(fresh);
        testing::answerStartUp(fresh, "1", "Ann", "ALS", assignment);
        EXPECT_FALSE(runHandler(freshRun, &loadWindow)) << assignment;
        ASSERT_EQ(fresh.messages.size(), 1u) << assignment;
        EXPECT_EQ(fresh.messages[0], invalidAssignmentMessage);
        EXPECT_TRUE(fresh.ended);
        EXPECT_FALSE(fresh.fileExists(freshRun.state.masterFilePath)) << assignment;
        EXPECT_FALSE(fresh.fileExists(freshRun.state.sendFilePath)) << assignment;
    }
}

TEST_F(Positioning, TheScanStopsAtSlotFiveThousand) {
    testing::answerStartUp(platform, "1", "Ann", "ALS", "42");
    startUpDialogue(run);
    run.state.scriptLines[lastScriptSlot] = "042.  Late";
    openAssignment(run);
    EXPECT_EQ(run.state.scriptIndex, lastScriptSlot);
    EXPECT_FALSE(platform.ended);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(Positioning, AFoundHeaderOutsideZeroToHundredCountsAsMissing) {
    testing::answerStartUp(platform, "1", "Ann", "ALS", "101");
    startUpDialogue(run);
    run.state.scriptLines[30] = "101.  Beyond the course";
    EXPECT_THROW(openAssignment(run), RunEnded);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0], invalidAssignmentMessage);
    // The master file is touched before the range test, and nothing is written to it.
    EXPECT_EQ(platform.fileBytes(run.state.masterFilePath), "");
    EXPECT_FALSE(platform.fileExists(run.state.sendFilePath));
}

TEST_F(Positioning, ABadNameIsReportedAndTheWindowStillComesUp) {
    for (const char* name : {"a/b", "x:y", "what?", "a*b", "<x>", "pipe|d", "q\"t", "..\\..\\x",
                             "../../x", "tab\there"}) {
        FakePlatform fresh;
        drilbank::Run freshRun(fresh);
        testing::answerStartUp(fresh, "1", name, "ALS", "1");
        EXPECT_TRUE(runHandler(freshRun, &loadWindow)) << name;
        ASSERT_EQ(fresh.messages.size(), 1u) << name;
        EXPECT_EQ(fresh.messages[0], generalErrorMessage(failure::BadFileName)) << name;
        EXPECT_FALSE(fresh.ended);
        EXPECT_FALSE(fresh.files().isOpen(1));
        EXPECT_FALSE(fresh.files().isOpen(2));
        // Nothing was written anywhere under the drives.
        for (const auto& entry :
             std::filesystem::recursive_directory_iterator(fresh.drivesRoot())) {
            EXPECT_FALSE(entry.is_regular_file()) << name << ": " << entry.path();
        }
    }
}

// A campus drive missing at start-up takes nothing from the run: the questions are shown
// whole-line, and once the folder is there the first click writes the run's header, as
// start-up made it, before its own block.
TEST_F(Positioning, AMissingCampusDriveIsAMissingPathAndTheHeaderComesWithTheFirstClick) {
    ASSERT_TRUE(load("2", "Ann", "1"));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0], generalErrorMessage(failure::PathNotFound));
    EXPECT_EQ(run.state.scriptIndex, 1);
    EXPECT_EQ(run.state.presentationMode, 1);

    std::filesystem::create_directories(platform.drivesRoot() / "i" / "bkp_000416" /
                                        "My Documents" / "distance students" /
                                        "interactive problems" / "lb1");
    platform.fakeClock.secondsOfDay += 60; // the click comes a minute later
    platform.answer = "an answer";
    runHandler(run, &enterResponseClicked);
    EXPECT_EQ(platform.messages.size(), 1u);
    const std::string header = expectedKeyLine() + "\r\nStudent Name:  Ann\r\nassignment #001" +
                               "\r\n001.  Day 5 quiz\r\nInitials:  ALS\r\n";
    const std::string master = platform.fileBytes(run.state.masterFilePath);
    EXPECT_EQ(master.find(header + "Date and Time 04-16-200314:05:09\r\n......"), 0u) << master;
    EXPECT_NE(master.find("14:06:09\r\n"), std::string::npos);
    EXPECT_EQ(platform.fileBytes(run.state.sendFilePath)
                  .find(header + "Date and Time 04-16-2003 14:05:09\r\n......"),
              0u);
}

} // namespace
} // namespace drilbank
