#include "record/ReviewDisplays.h"
#include "core/DrillRun.h"
#include "platform/Failure.h"
#include "run/FailureMessages.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace drilbank {
namespace {

using testing::DrillRun;

struct DisplayNotes : testing::StartedRun {
    void SetUp() override {
        StartedRun::SetUp();
        platform.question = "Q";
        state.workText = "W";
    }
    void writeNotesFile(const std::string& bytes) {
        std::ofstream(platform.localPath(state.notesFilePath), std::ios::binary) << bytes;
    }
};

TEST_F(DisplayNotes, AnEmptyNotesFileAddsOnlyTheOldWorkText) {
    writeNotesFile("");
    drill.click(&displayNotesClicked);
    EXPECT_EQ(platform.question, "QW");
    EXPECT_EQ(state.workText, "W");
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(DisplayNotes, LinesAreJoinedAfterTheWorkTextAndTheQuestionBox) {
    writeNotesFile("A\r\nB\r\nC\r\n");
    drill.click(&displayNotesClicked);
    EXPECT_EQ(platform.question, "QWABC");
    EXPECT_EQ(state.workText, "WABC");
    EXPECT_FALSE(platform.files().isOpen(3));
}

TEST_F(DisplayNotes, ALastLineWithoutLineEndKeepsItsTrailingSpaces) {
    writeNotesFile("A\r\n" + std::string(49, '.') + std::string(7, ' '));
    drill.click(&displayNotesClicked);
    EXPECT_EQ(state.workText, "WA" + std::string(49, '.') + std::string(7, ' '));
}

TEST_F(DisplayNotes, PressingTwiceRepeatsTheWorkTextAndTheNotes) {
    writeNotesFile("N1\r\nN2");
    drill.click(&displayNotesClicked);
    EXPECT_EQ(platform.question, "QWN1N2");
    EXPECT_EQ(state.workText, "WN1N2");
    drill.click(&displayNotesClicked);
    EXPECT_EQ(platform.question, "QWN1N2WN1N2N1N2");
    EXPECT_EQ(state.workText, "WN1N2N1N2");
}

TEST_F(DisplayNotes, NoNotesYetIsToldAndChangesNothing) {
    ASSERT_FALSE(platform.fileExists(state.notesFilePath));
    EXPECT_TRUE(drill.click(&displayNotesClicked));
    EXPECT_EQ(platform.messages, std::vector<std::string>{noNotesMessage});
    EXPECT_EQ(platform.question, "Q");
    EXPECT_EQ(state.workText, "W");
    EXPECT_FALSE(platform.files().isOpen(3));
}

TEST_F(DisplayNotes, ANotesFileThatCannotBeReadIsAFault) {
    std::filesystem::create_directory(platform.localPath(state.notesFilePath));
    drill.click(&displayNotesClicked);
    EXPECT_EQ(platform.messages,
              std::vector<std::string>{generalErrorMessage(failure::PathFileAccessError)});
    EXPECT_EQ(platform.question, "Q");
    EXPECT_EQ(state.workText, "W");
    EXPECT_FALSE(platform.files().isOpen(3));
}

TEST_F(DisplayNotes, AMissingWorkingFolderIsAFaultNotAnEmptyNotesFile) {
    std::filesystem::remove_all(platform.localPath("c:\\drilbank"));
    drill.click(&displayNotesClicked);
    EXPECT_EQ(platform.messages,
              std::vector<std::string>{generalErrorMessage(failure::PathNotFound)});
    EXPECT_EQ(platform.question, "Q");
    EXPECT_EQ(state.workText, "W");
}

TEST_F(DisplayNotes, AChannelLeftOpenIsClosedFirst) {
    writeNotesFile("A\r\n");
    platform.files().open(3, state.notesFilePath, ChannelMode::Input);
    drill.click(&displayNotesClicked);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(platform.question, "QWA");
}

TEST(DisplayEverything, ReplacesTheQuestionBoxWithTheTranscript) {
    DrillRun drill;
    drill.startUp();
    drill.platform.question = "shown";
    drill.click(&displayEverythingClicked);
    EXPECT_EQ(drill.platform.question, "") << "nothing read yet: the transcript is empty";
    drill.run.state.cumulativeText = "newest"
                                     "oldest";
    drill.click(&displayEverythingClicked);
    EXPECT_EQ(drill.platform.question, "newestoldest");
    EXPECT_EQ(drill.run.state.cumulativeText, "newestoldest");
}

TEST(ClearBox, EmptiesTheAnswerBoxAndNothingElse) {
    DrillRun drill;
    drill.startUp();
    drill.run.state.responsePending = true;
    drill.platform.question = "Q";
    drill.platform.answer = "typed";
    drill.click(&clearBoxClicked);
    EXPECT_EQ(drill.platform.answer, "");
    EXPECT_EQ(drill.platform.question, "Q");
    EXPECT_TRUE(drill.run.state.responsePending);
    drill.click(&clearBoxClicked);
    EXPECT_EQ(drill.platform.answer, "");
}

} // namespace
} // namespace drilbank
