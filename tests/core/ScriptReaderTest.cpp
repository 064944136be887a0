#include "script/ScriptReader.h"
#include "core/DrillRun.h"
#include "handling/FailureMessages.h"
#include "handling/RecordPlaces.h"
#include "script/BuiltInScript.h"
#include "script/NextQuestion.h"

#include <gtest/gtest.h>

namespace drilbank {
namespace {

using testing::DrillRun;

const std::string questionSeparator = " <-<-<-<-  Q/A:   ";

std::string builtIn(std::size_t slot) {
    return std::string(builtInScriptLines()[slot - 1]);
}

void readOnce(Run& run) {
    readNextQuestion(run);
}

TEST(ScriptReader, FirstCallSkipsTheBlankAndConsumesSlotThree) {
    DrillRun drill;
    drill.startUp();
    ASSERT_EQ(drill.run.state.scriptIndex, 1);
    ASSERT_TRUE(drill.click(&readOnce));

    const RunState& state = drill.run.state;
    EXPECT_EQ(state.scriptIndex, 3);
    EXPECT_EQ(state.currentLine, builtIn(3));
    EXPECT_EQ(state.displayText, builtIn(3));
    EXPECT_TRUE(state.responsePending);
    EXPECT_EQ(state.cumulativeText, questionSeparator + builtIn(3));
    EXPECT_EQ(drill.platform.answer, " ") << "no response was skipped";
    EXPECT_EQ(drill.platform.question, "") << "the reader does not touch the question box";
}

TEST(ScriptReader, ASkippedResponseBringsThePromptBack) {
    DrillRun drill;
    drill.startUp();
    drill.click(&readOnce);
    drill.platform.answer = "half typed";
    drill.click(&readOnce);
    EXPECT_EQ(drill.platform.answer, drill.run.state.answerPrompt);
    EXPECT_EQ(drill.run.state.scriptIndex, 5);
}

TEST(ScriptReader, TheTranscriptRunsNewestFirst) {
    DrillRun drill;
    drill.useScript({"001.  Quiz", "", "First?", "", "", "Second?", "Third?"}, 1);
    for (int read = 0; read < 3; ++read) {
        drill.click(&readOnce);
    }
    EXPECT_EQ(drill.run.state.cumulativeText, questionSeparator + "Third?" + questionSeparator +
                                                  "Second?" + questionSeparator + "First?");
    EXPECT_EQ(drill.run.state.scriptIndex, 7);
}

TEST(ScriptReader, RunningPastTheLastSlotFinishesTheAssignment) {
    DrillRun drill;
    drill.startUp();
    for (int question = 1; question <= 9; ++question) {
        ASSERT_TRUE(drill.click(&nextQuestionClicked)) << question;
    }
    ASSERT_EQ(drill.run.state.scriptIndex, 19);
    const std::string shown = drill.platform.question;

    EXPECT_FALSE(drill.click(&nextQuestionClicked));
    EXPECT_TRUE(drill.platform.ended);
    // A student who answered the last question is told so, not to start over.
    const std::string& done = drill.platform.messages.back();
    EXPECT_EQ(done, completionMessage(drill.run));
    for (const std::string& named :
         std::vector<std::string>{"assignment 001", "c:\\drilbank (on this computer: ",
                                  (drill.platform.drivesRoot() / "c" / "drilbank").string(),
                                  "send_0416Ann_Lee_Smith.txt"}) {
        EXPECT_NE(done.find(named), std::string::npos) << named;
    }
    EXPECT_EQ(drill.platform.question, shown) << "no text is added";
    EXPECT_EQ(drill.run.state.scriptIndex, 5001) << "the cursor keeps the new value";
}

TEST(ScriptReader, SlotFiveThousandIsStillRead) {
    DrillRun drill;
    drill.useScript({}, 4990);
    drill.run.state.scriptLines[5000] = "The very last line";
    EXPECT_TRUE(drill.click(&readOnce));
    EXPECT_EQ(drill.run.state.displayText, "The very last line");
    EXPECT_EQ(drill.run.state.scriptIndex, 5000);
}

struct MarkerCase {
    std::string line;
    std::string question; // currentQuestion afterwards, from "before"
};

TEST(ScriptReader, QuestionMarkersSetTheQuestionNumber) {
    const MarkerCase cases[] = {
        {"`q007 Fill the cylinder", "7"},
        {"`Q12 with a capital Q", "12"},
        {"`q12 ", "12"},
        {"`q 3x", "3"},
        {"`q\t4", "4"},
        {"`q", "0"},
        {"`qabc", "0"},
        {"`q12345", "123"},
        {"`q1.5", "1.5"},
        {"`q-5", "-5"},
        {"See `q5 in the text", "before"},
        {"q5", "before"},
        {"'q5", "before"},
    };
    for (const auto& [line, question] : cases) {
        DrillRun drill;
        drill.useScript({line});
        drill.run.state.currentQuestion = "before";
        drill.click(&readOnce);
        EXPECT_EQ(drill.run.state.currentQuestion, question) << line;
        EXPECT_EQ(drill.run.state.displayText, line) << "a marker line is shown like text";
        EXPECT_TRUE(drill.run.state.responsePending) << line;
    }
}

TEST(ScriptReader, ARoutineLineIsConsumedButAwaitsNoResponse) {
    DrillRun drill;
    drill.useScript({"`routine graph1"});
    drill.run.state.responsePending = true;
    drill.click(&readOnce);
    const RunState& state = drill.run.state;
    EXPECT_FALSE(state.responsePending);
    EXPECT_EQ(state.displayText, "`routine graph1");
    EXPECT_EQ(state.currentLine, "`routine graph1");
    EXPECT_EQ(state.cumulativeText, questionSeparator + "`routine graph1");
}

TEST(ScriptReader, TheNextAssignmentsHeaderEndsTheRunUnshown) {
    DrillRun drill;
    drill.useScript({"001.  Quiz", "", "002.  Next quiz", "Never read"}, 1);
    drill.platform.question = "Q";
    EXPECT_FALSE(drill.click(&nextQuestionClicked));
    EXPECT_TRUE(drill.platform.ended);
    EXPECT_TRUE(drill.platform.messages.empty());
    EXPECT_EQ(drill.platform.question, "Q");
    EXPECT_EQ(drill.run.state.cumulativeText, questionSeparator + "002.  Next quiz");
    EXPECT_EQ(drill.run.state.scriptIndex, 3);
}

TEST(ScriptReader, OnlyTheFullEndMarkerEndsTheRun) {
    const std::pair<std::string, bool> cases[] = {
        {"####.#", true},
        {"####.# and after", true},
        {"####", false},
        {"####.", false},
        {"####.x", false}, // only the full marker ends the run
                           // here
        {" ####.#", false},
        {"003.  Later quiz", false},
    };
    for (const auto& [line, ends] : cases) {
        DrillRun drill;
        drill.useScript({line});
        EXPECT_EQ(drill.click(&readOnce), !ends) << line;
        EXPECT_EQ(drill.platform.ended, ends) << line;
    }
}

TEST(ScriptReader, OtherPresentationModesLeaveTheDisplayTextAlone) {
    DrillRun drill;
    drill.useScript({"A line"});
    drill.run.state.presentationMode = 0;
    drill.run.state.displayText = "old";
    drill.click(&readOnce);
    EXPECT_EQ(drill.run.state.displayText, "old");
    EXPECT_EQ(drill.run.state.currentLine, "A line");
}

// Presentation mode 2: nothing selects it, but the reader provides for it.
TEST(ScriptReader, SentencesComeOnePieceAtATime) {
    RunState state;
    const std::string line = "One. Two. Three";
    EXPECT_EQ(nextSentence(state, line), "One. ");
    EXPECT_EQ(state.sentenceStart, 6);
    EXPECT_FALSE(state.responsePending);
    EXPECT_EQ(nextSentence(state, line), "Two. ");
    EXPECT_EQ(state.sentenceStart, 11);
    EXPECT_EQ(nextSentence(state, line), "Three");
    EXPECT_EQ(state.sentenceStart, 0);
    EXPECT_TRUE(state.responsePending);
}

TEST(ScriptReader, ABreakAtTheEndMakesTheLastPiece) {
    RunState state;
    EXPECT_EQ(nextSentence(state, "Only one. "), "Only one. ");
    EXPECT_EQ(state.sentenceStart, 0);
    EXPECT_TRUE(state.responsePending);

    RunState whole;
    EXPECT_EQ(nextSentence(whole, "No break.at all"), "No break.at all");
    EXPECT_EQ(whole.sentenceStart, 0);

    RunState past;
    past.sentenceStart = 40;
    EXPECT_EQ(nextSentence(past, "Short"), "");
    EXPECT_EQ(past.sentenceStart, 0);
}

TEST(ScriptReader, ModeTwoReadsANewLineOnlyWhenTheLastIsDone) {
    DrillRun drill;
    drill.useScript({"First. Second", "", "Next line"});
    RunState& state = drill.run.state;
    state.presentationMode = 2;

    drill.click(&readOnce);
    EXPECT_EQ(state.displayText, "First. ");
    EXPECT_EQ(state.scriptIndex, 1);
    drill.click(&readOnce);
    EXPECT_EQ(state.displayText, "Second");
    EXPECT_EQ(state.scriptIndex, 1) << "no new line while one is in progress";
    EXPECT_TRUE(state.responsePending);
    drill.click(&readOnce);
    EXPECT_EQ(state.displayText, "Next line");
    EXPECT_EQ(state.scriptIndex, 3);
    EXPECT_EQ(state.cumulativeText,
              questionSeparator + "Next line" + questionSeparator + "First. Second");
}

} // namespace
} // namespace drilbank
