#include "record/SaveAsNotes.h"
#include "coding/QueryCoder.h"
#include "core/DrillRun.h"
#include "record/EnterResponse.h"
#include "script/NextQuestion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

namespace drilbank {
namespace {

using testing::DrillRun;
using testing::gained;

const std::string answerSeparator = " YOUR ANSWER  ->->->->  ";
const std::string zoneEnding(7, ' ');

struct SaveAsNotes : testing::ShowingFirstQuestion {};

TEST_F(SaveAsNotes, ThePromptStillInTheBoxRecordsNothingButEmptiesBothBoxes) {
    drill.click(&nextQuestionClicked);
    const std::string master = drill.master();
    const RunState before = state;
    drill.click(&saveAsNotesClicked);
    EXPECT_EQ(drill.master(), master);
    EXPECT_FALSE(platform.fileExists(state.notesFilePath));
    EXPECT_TRUE(state.responsePending);
    EXPECT_EQ(state.workText, before.workText);
    EXPECT_EQ(state.cumulativeText, before.cumulativeText);
    EXPECT_EQ(platform.question, "");
    EXPECT_EQ(platform.answer, "");
}

TEST_F(SaveAsNotes, TheFirstNoteCreatesTheNotesFile) {
    EXPECT_FALSE(platform.fileExists(state.notesFilePath));
    platform.answer = "";
    drill.click(&saveAsNotesClicked);
    ASSERT_TRUE(platform.fileExists(state.notesFilePath));
    EXPECT_NE(drill.notes().find("\r\nNOTES -------> \r\n"), std::string::npos)
        << "an empty answer gives exactly the marker";
    EXPECT_EQ(state.workText, "NOTES -------> ");
    EXPECT_FALSE(state.responsePending);
}

TEST_F(SaveAsNotes, EachFileGrowsBySevenLinesAndOnlyTheMasterEndsOne) {
    const std::string master = drill.master();
    const std::string send = drill.send();
    platform.answer = "Depth falls ever slower.";
    drill.click(&saveAsNotesClicked);
    const std::pair<std::string, long> blocks[] = {
        {gained(master, drill.master()), 7}, {gained(send, drill.send()), 6}, {drill.notes(), 6}};
    for (const auto& [block, lineEnds] : blocks) {
        EXPECT_EQ(std::count(block.begin(), block.end(), '\n'), lineEnds);
        EXPECT_EQ(std::count(block.begin(), block.end(), '\r'), lineEnds);
    }
    EXPECT_TRUE(drill.master().ends_with(std::string(49, '.') + "\r\n"));
    EXPECT_TRUE(drill.send().ends_with("\r\n" + std::string(49, '.') + zoneEnding));
    EXPECT_TRUE(drill.notes().ends_with("\r\n" + std::string(49, '.') + zoneEnding));
    for (int channel = 1; channel <= 3; ++channel) {
        EXPECT_FALSE(platform.files().isOpen(channel));
    }
}

TEST_F(SaveAsNotes, TheMarkedNoteGoesInFrontOfTheTranscript) {
    state.cumulativeText.clear();
    platform.answer = "R1";
    drill.click(&enterResponseClicked);
    platform.answer = "N2";
    drill.click(&saveAsNotesClicked);
    EXPECT_EQ(state.cumulativeText, answerSeparator + "NOTES -------> N2" + answerSeparator + "R1");
    EXPECT_EQ(state.workText, "NOTES -------> N2");
}

TEST_F(SaveAsNotes, ChannelsTheQueryCoderLeftOpenDoNotStopIt) {
    std::ofstream(platform.localPath("c:\\drilbank\\query.txt"), std::ios::binary)
        << "assign01\r\nQuery 1 Why?\r\n";
    ASSERT_TRUE(drill.click(&codeFile));
    ASSERT_TRUE(platform.files().isOpen(1));
    const std::string master = drill.master();
    platform.answer = "still recorded";
    drill.click(&saveAsNotesClicked);
    EXPECT_TRUE(platform.messages.empty());
    const std::string block = gained(master, drill.master());
    EXPECT_EQ(std::count(block.begin(), block.end(), '\n'), 7);
    EXPECT_EQ(platform.fileBytes("c:\\drilbank\\queri.txt"), "assign01\r\nquery Why?\r\n")
        << "closing the coder's channels committed its output";
}

} // namespace
} // namespace drilbank
