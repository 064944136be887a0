#include "handling/FailureMessages.h"
#include "os/Failure.h"
#include "startup/StartUpDialogue.h"
#include "support/FakePlatform.h"
#include "window/Handler.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

namespace drilbank {
namespace {

using testing::FakePlatform;

struct StartUp : ::testing::Test {
    FakePlatform platform;
    drilbank::Run run{platform};

    void startUp(const std::string& homeOrLan, const std::string& name, const std::string& initials,
                 const std::string& assignment) {
        testing::answerStartUp(platform, homeOrLan, name, initials, assignment);
        startUpDialogue(run);
    }
};

TEST(AssignmentNumbers, PaddingCountsOnlyTheLength) {
    const std::pair<std::string, std::string> cases[] = {
        {"7", "007"}, {"07", "007"}, {"007", "007"}, {"99", "099"}, {"1234", "1234"},
        {"", ""},     {" 7", "0 7"}, {"a", "00a"},   {"-2", "0-2"},
    };
    for (const auto& [typed, padded] : cases) {
        EXPECT_EQ(padAssignmentNumber(typed), padded) << typed;
    }
}

TEST(AssignmentNumbers, FollowingNumberIsPaddedTooAndNeverEmpty) {
    const std::pair<std::string, std::string> cases[] = {
        {"001", "002"}, {"099", "100"}, {"999", "1000"}, {"1234", "1235"}, {"", "001"},
        {"0 7", "008"}, {"12a", "013"}, {"0-2", "001"},  {"1e1", "011"},
    };
    for (const auto& [padded, following] : cases) {
        EXPECT_EQ(followingAssignmentNumber(padded), following) << padded;
    }
}

TEST_F(StartUp, AsksTheFourQuestionsInOrderAndDerivesTheRun) {
    platform.fakeClock.date = "04-16-2003";
    startUp("1", "Ann Lee Smith", "ALS", "7");

    ASSERT_EQ(platform.prompts.size(), 4u);
    EXPECT_EQ(platform.prompts[0], "Enter 1 for home user, 2 for TARN LAN user");
    EXPECT_EQ(platform.prompts[1], "Your full name:  ");
    EXPECT_EQ(platform.prompts[2],
              "Your initials (use all 3 initials and always use the same three "
              "initials when submitting work):  ");
    EXPECT_EQ(platform.prompts[3], "Assignment Number:  ");
    EXPECT_TRUE(platform.messages.empty());

    const RunState& state = run.state;
    EXPECT_EQ(state.workDir, "c:\\drilbank");
    EXPECT_EQ(state.masterFilePath, "c:\\drilbank\\masterFile_Ann_Lee_Smith.txt");
    EXPECT_EQ(state.sendFilePath, "c:\\drilbank\\send_0416Ann_Lee_Smith.txt");
    EXPECT_EQ(state.notesFilePath, "c:\\drilbank\\notes_Ann_Lee_Smith.txt");
    EXPECT_EQ(state.studentName, "Ann Lee Smith");
    EXPECT_EQ(state.initials, "ALS");
    EXPECT_EQ(state.assignmentNumber, "007");
    EXPECT_EQ(state.nextAssignmentNumber, "008");
    EXPECT_EQ(state.answerPrompt.size(), 502u);
    EXPECT_EQ(state.answerPrompt.substr(193, 4), "\r\n\r\n");
    EXPECT_EQ(state.questionSeparator, " <-<-<-<-  Q/A:   ");
    EXPECT_EQ(state.answerSeparator, " YOUR ANSWER  ->->->->  ");
    EXPECT_EQ(state.scriptIndex, 19);
    EXPECT_EQ(state.scriptLines[1], "001.  Day 5 quiz");

    // The generator is seeded from the clock, the local directory made, both scales set.
    EXPECT_EQ(platform.fakeRandom.lastSeed, platform.fakeClock.secondsSinceMidnight());
    EXPECT_TRUE(std::filesystem::is_directory(platform.localPath("c:\\drilbank")));
    EXPECT_EQ(platform.pictureCalls.size(), 2u);
    // No record file is made before positioning.
    EXPECT_FALSE(platform.fileExists(state.masterFilePath));
}

// The texts a student sees, written out here once more so that a slip in either copy shows.
TEST_F(StartUp, TheProgramsOwnTextsAreExact) {
    startUp("1", "A", "B", "1");
    EXPECT_EQ(run.state.answerPrompt,
              "Enter, as appropriate, an answer to the question, a critique of your answer in "
              "response to a given answer, your insights regarding the situation at this point, "
              "notes to yourself, or just an OK.\r\n\r\nAlways critique your solutions by "
              "describing any insights you had or errors you makde, and by explaining how you can "
              "make use of the insight or how you now know how to avoid certain errors.  Also pose "
              "for the instructor any question or questions that you have related to the problem "
              "or series of problems.");
    EXPECT_EQ(std::string(invalidAssignmentMessage),
              "You have probably not entered a valid assignment number.  Make sure the assignment "
              "number is a number, like 1 or 8 or 15 or 27 etc., and make sure that this "
              "assignment is supposed to be in the current ruv_.  This program will end and you "
              "will need to start over.  If you are sure you have entered a valid assignment "
              "number email the instructor and specify that you have received a 'subscript out "
              "of range' error");
    EXPECT_EQ(generalErrorMessage(13),
              "You have encountered an error.  If you are encountering this error repeatedly you "
              "should report the error number to the instructor and explain exactly what you were "
              "doing, keystroke by keystroke, when the error occurred.  The error is:  13");
}

TEST_F(StartUp, TheFirstAnswerChoosesTheDirectoryByItsNumber) {
    const std::pair<std::string, std::string> cases[] = {
        {"2", lanDirectory},   {" 2 ", lanDirectory}, {"2.0", lanDirectory},  {"1", localDirectory},
        {"0", localDirectory}, {"7", localDirectory}, {"-2", localDirectory},
    };
    for (const auto& [answer, directory] : cases) {
        FakePlatform fresh;
        drilbank::Run freshRun(fresh);
        testing::answerStartUp(fresh, answer, "A", "B", "1");
        startUpDialogue(freshRun);
        EXPECT_EQ(freshRun.state.workDir, directory) << answer;
        EXPECT_TRUE(fresh.messages.empty()) << answer;
    }
}

TEST_F(StartUp, CodingNumberStaysWithinNineteenToTwentyEight) {
    for (float draw : {0.0f, 0.0999f, 0.5f, 0.99999994f}) {
        FakePlatform fresh;
        drilbank::Run freshRun(fresh);
        fresh.fakeRandom.scripted = {draw};
        testing::answerStartUp(fresh, "1", "A", "B", "1");
        startUpDialogue(freshRun);
        EXPECT_GE(freshRun.state.codeNbr, 19.0f);
        EXPECT_LE(freshRun.state.codeNbr, 28.0f);
        EXPECT_EQ(freshRun.state.codeNbr, std::floor(freshRun.state.codeNbr));
    }
}

TEST_F(StartUp, BlanksInTheNameBecomeUnderscoresAndAnEmptyNameStillNamesFiles) {
    platform.fakeClock.date = "12-08-2026";
    startUp("1", "  Jo  Ng ", "", "");
    EXPECT_EQ(run.state.masterFilePath, "c:\\drilbank\\masterFile___Jo__Ng_.txt");
    EXPECT_EQ(run.state.sendFilePath, "c:\\drilbank\\send_1208__Jo__Ng_.txt");

    FakePlatform emptyName;
    drilbank::Run emptyRun(emptyName);
    testing::answerStartUp(emptyName, "1", "", "", "1");
    startUpDialogue(emptyRun);
    EXPECT_EQ(emptyRun.state.masterFilePath, "c:\\drilbank\\masterFile_.txt");
    EXPECT_EQ(emptyRun.state.notesFilePath, "c:\\drilbank\\notes_.txt");
}

TEST_F(StartUp, AFirstAnswerThatIsNoNumberStopsWithFailureThirteen) {
    startUp("home", "Ann", "A", "1");
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0], generalErrorMessage(failure::TypeMismatch));
    EXPECT_TRUE(platform.messages[0].ends_with("The error is:  13"));
    // The later questions are never asked and their fields keep their initial values.
    EXPECT_EQ(platform.prompts.size(), 1u);
    EXPECT_EQ(run.state.studentName, "");
    EXPECT_EQ(run.state.assignmentNumber, "");
    EXPECT_EQ(run.state.scriptIndex, 0);
    EXPECT_EQ(run.state.scriptLines[1], "");
    EXPECT_GE(run.state.codeNbr, 19.0f);
}

// The form comes up as the last box closes, before any file is written, so the student does
// not wait for the headers; a run that cannot start never shows it.
TEST_F(StartUp, TheFormIsShownOnceTheLastBoxIsAnsweredAndBeforeTheHeaders) {
    testing::answerStartUp(platform, "1", "Ann Lee Smith", "ALS", "1");
    EXPECT_TRUE(runHandler(run, &loadWindow));
    ASSERT_EQ(platform.formShown.size(), 1u);
    EXPECT_EQ(platform.formShown[0].prompts, 4u);
    EXPECT_EQ(platform.formShown[0].files, 0u);
    EXPECT_TRUE(platform.fileExists(run.state.masterFilePath));
    EXPECT_TRUE(platform.fileExists(run.state.sendFilePath));

    for (const std::size_t answered : {0u, 1u, 2u, 3u}) {
        FakePlatform leaving;
        drilbank::Run leavingRun(leaving);
        testing::answerStartUp(leaving, "1", "Ann", "A", "1");
        leaving.answers[answered] = std::nullopt;
        EXPECT_FALSE(runHandler(leavingRun, &loadWindow));
        EXPECT_TRUE(leaving.formShown.empty()) << answered;
    }
    // A failure among the answers, or an assignment the script lacks, ends the run unseen.
    for (const auto& [homeOrLan, assignment] :
         {std::pair{"home", "1"}, std::pair{"1", "99"}, std::pair{"1", ""}}) {
        FakePlatform failing;
        drilbank::Run failingRun(failing);
        testing::answerStartUp(failing, homeOrLan, "Ann", "A", assignment);
        EXPECT_FALSE(runHandler(failingRun, &loadWindow));
        EXPECT_TRUE(failing.formShown.empty()) << homeOrLan << " " << assignment;
    }
}

TEST_F(StartUp, NotANumberThenEndsTheRunAtPositioningWithNoRecordFile) {
    for (const char* answer : {"", "home"}) {
        FakePlatform fresh;
        drilbank::Run freshRun(fresh);
        testing::answerStartUp(fresh, answer, "Ann", "A", "1");
        EXPECT_FALSE(runHandler(freshRun, &loadWindow));
        ASSERT_EQ(fresh.messages.size(), 2u);
        EXPECT_EQ(fresh.messages[0], generalErrorMessage(13));
        EXPECT_EQ(fresh.messages[1], invalidAssignmentMessage);
        EXPECT_TRUE(fresh.ended);
        EXPECT_TRUE(std::filesystem::is_empty(fresh.localPath("c:\\drilbank")));
    }
}

} // namespace
} // namespace drilbank
