#include "record/ReviewDisplays.h"
#include "core/DrillRun.h"
#include "handling/FailureMessages.h"
#include "handling/TypedWorkGuard.h"
#include "os/Failure.h"
#include "texts/StudentTexts.h"

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
    EXPECT_EQ(platform.questionInViewFrom, 5u) << "the newest note, at the end, in view";
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

// Of a notes file larger than the bound only the newest part is shown, from a line start,
// after a line that says where the rest is; pressing again and again keeps the box bounded.
TEST_F(DisplayNotes, ALargeNotesFileShowsItsNewestPartAndTheBoxStaysBounded) {
    std::string notes;
    for (int line = 0; notes.size() < 3 * shownNotesBytes; ++line) {
        notes += "note " + std::to_string(line) + " " + std::string(70, '.') + "\r\n";
    }
    notes += "the newest note";
    writeNotesFile(notes);
    drill.click(&displayNotesClicked);
    const std::string rest = "[Older notes are not shown here. All your notes are in the notes "
                             "file c:\\drilbank\\notes_Ann_Lee_Smith.txt (on this computer: " +
                             platform.localPath(state.notesFilePath).string() + ").]\r\n";
    const std::size_t shownFrom = platform.question.find(rest);
    ASSERT_NE(shownFrom, std::string::npos);
    EXPECT_EQ(platform.question.substr(0, shownFrom), "QW");
    const std::string shown = platform.question.substr(shownFrom + rest.size());
    EXPECT_TRUE(shown.starts_with("note ")) << "from a line start";
    EXPECT_TRUE(shown.ends_with("the newest note"));
    EXPECT_LE(shown.size(), shownNotesBytes);
    EXPECT_GT(shown.size(), shownNotesBytes * 9 / 10) << "each line break is left out";
    for (int press = 0; press < 8; ++press) {
        drill.click(&displayNotesClicked);
    }
    EXPECT_TRUE(platform.question.starts_with(rest));
    EXPECT_TRUE(platform.question.ends_with("the newest note"));
    EXPECT_EQ(platform.questionInViewFrom, platform.question.size()) << "a cut text, its end";
    EXPECT_LE(platform.question.size(), questionBoxBytes + rest.size());
    EXPECT_LE(state.workText.size(), questionBoxBytes);
    EXPECT_EQ(drill.notes(), notes) << "the notes file is only read";
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
    showInQuestionBox(drill.run, "shown", 5);
    drill.click(&displayEverythingClicked);
    EXPECT_EQ(drill.platform.question, "") << "nothing read yet: the transcript is empty";
    drill.run.state.cumulativeText = "newest"
                                     "oldest";
    drill.click(&displayEverythingClicked);
    EXPECT_EQ(drill.platform.question, "newestoldest");
    EXPECT_EQ(drill.platform.questionInViewFrom, 0u) << "a new text from its top";
    EXPECT_EQ(drill.run.state.cumulativeText, "newestoldest");

    // A transcript beyond the bound shows its newest entries and says where the rest is.
    drill.run.state.cumulativeText = "newest" + std::string(questionBoxBytes, 'o');
    drill.click(&displayEverythingClicked);
    EXPECT_TRUE(drill.platform.question.starts_with("newest"));
    EXPECT_NE(drill.platform.question.find("\r\n[Older entries are not shown here."),
              std::string::npos);
    EXPECT_LE(drill.platform.question.size(), questionBoxBytes + 400);
}

TEST(ClearBox, EmptiesTheAnswerBoxAndNothingElse) {
    DrillRun drill;
    drill.startUp();
    drill.run.state.responsePending = true;
    drill.platform.question = "Q";
    drill.platform.answer = "typed";
    drill.platform.goOnAnswers = {true};
    drill.click(&clearBoxClicked);
    EXPECT_EQ(drill.platform.answer, "");
    EXPECT_EQ(drill.platform.question, "Q");
    EXPECT_TRUE(drill.run.state.responsePending);
    drill.click(&clearBoxClicked);
    EXPECT_EQ(drill.platform.answer, "");
    EXPECT_EQ(drill.platform.guardQuestions.size(), 1u) << "an empty box asks nothing";
}

} // namespace
} // namespace drilbank
