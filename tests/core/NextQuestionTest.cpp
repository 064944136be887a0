#include "script/NextQuestion.h"
#include "core/DrillRun.h"
#include "handling/FailureMessages.h"
#include "handling/RecordPlaces.h"
#include "os/Failure.h"

#include <gtest/gtest.h>

namespace drilbank {
namespace {

using testing::DrillRun;

const std::string questionSeparator = " <-<-<-<-  Q/A:   ";

TEST(RemSpaces, DropsEveryBlankAndHyphenAndNothingElse) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"Graph-1", "Graph1"},
        {"exit prog", "exitprog"},
        {"EXIT-PROG", "EXITPROG"},
        {" - -  ", ""},
        {"a\tb_c.d", "a\tb_c.d"},
        {" graph 2 ", "graph2"},
    };
    for (const auto& [text, kept] : cases) {
        EXPECT_EQ(remSpaces(text), kept) << '"' << text << '"';
    }
}

TEST(RunRoutine, OnlyTheThreeGraphNamesLetTheRunGoOn) {
    const std::pair<std::string, bool> cases[] = {
        {"graph1", false}, {"graph2", false},  {"graph3", false},  {"GRAPH1", false},
        {"Graph3", false}, {"exitprog", true}, {"EXITPROG", true}, {"", true},
        {"graph4", true},  {"graph", true},    {"graph1 ", true},  {"graph-1", true},
        {"xgraph1", true}, {"graph10", true},
    };
    for (const auto& [name, ends] : cases) {
        if (ends) {
            EXPECT_THROW(runRoutine(name), RunEnded) << '"' << name << '"';
        } else {
            EXPECT_NO_THROW(runRoutine(name)) << '"' << name << '"';
        }
    }
}

TEST(NextQuestion, TheNewLineJoinsTheQuestionBoxWithNothingBetween) {
    DrillRun drill;
    drill.useScript({"", "Which way does it drain?", "", "Why so fast?"});
    drill.platform.question = "Old text?";
    ASSERT_TRUE(drill.click(&nextQuestionClicked));
    EXPECT_EQ(drill.platform.question, "Old text?Which way does it drain?");
    EXPECT_EQ(drill.platform.questionInViewFrom, 9u) << "the new question from its start";
    ASSERT_TRUE(drill.click(&nextQuestionClicked));
    EXPECT_EQ(drill.platform.question, "Old text?Which way does it drain?Why so fast?");
    EXPECT_EQ(drill.platform.questionInViewFrom, 33u);
    EXPECT_EQ(drill.run.state.workText, drill.platform.question);
    EXPECT_EQ(drill.run.state.displayText, "");
}

// Routine lines met by "Next Question / Answer": the line carried out and the one after it.
struct RoutineCase {
    std::string routineLine;
    bool ends;
};

TEST(NextQuestion, ARoutineLineIsCarriedOutAndTheNextLineShown) {
    const RoutineCase cases[] = {
        {"`routine Graph-1", false},      {"`ROUTINE graph2", false},  {"`routine:graph3", false},
        {"`routine  g r a p h 1", false}, {"`routine exitprog", true}, {"`routine exit prog", true},
        {"`routine EXIT-PROG", true},     {"`routine graph4", true},   {"`routine ", true},
        {"`routinegraph1", true}, // character 9 is dropped whatever it is: "raph1"
    };
    for (const auto& [routineLine, ends] : cases) {
        DrillRun drill;
        drill.useScript({routineLine, "After the routine"});
        drill.platform.question = "Q";
        EXPECT_EQ(drill.click(&nextQuestionClicked), !ends) << routineLine;
        EXPECT_EQ(drill.platform.ended, ends) << routineLine;
        const RunState& state = drill.run.state;
        if (ends) {
            EXPECT_EQ(drill.platform.question, "Q") << "nothing is shown";
            EXPECT_FALSE(state.responsePending);
            EXPECT_EQ(state.cumulativeText, questionSeparator + routineLine);
        } else {
            EXPECT_EQ(drill.platform.question, "QAfter the routine") << routineLine;
            EXPECT_TRUE(state.responsePending);
            EXPECT_EQ(state.scriptIndex, 2);
            EXPECT_EQ(state.cumulativeText,
                      questionSeparator + "After the routine" + questionSeparator + routineLine);
        }
    }
}

TEST(NextQuestion, TheBareRoutineMarkerIsShownAsText) {
    DrillRun drill;
    drill.useScript({"`routine", "Next"});
    ASSERT_TRUE(drill.click(&nextQuestionClicked));
    EXPECT_EQ(drill.platform.question, "`routine");
    EXPECT_EQ(drill.run.state.scriptIndex, 1);
}

TEST(NextQuestion, ASecondRoutineLineInARowIsShownAsText) {
    DrillRun drill;
    drill.useScript({"`routine graph1", "`routine exitprog", "Text"});
    ASSERT_TRUE(drill.click(&nextQuestionClicked));
    EXPECT_FALSE(drill.platform.ended);
    EXPECT_EQ(drill.platform.question, "`routine exitprog");
    EXPECT_FALSE(drill.run.state.responsePending);
    EXPECT_EQ(drill.run.state.scriptIndex, 2);
}

TEST(NextQuestion, TheRoutinesFollowingLineCanEndTheScript) {
    DrillRun drill;
    drill.useScript({"`routine graph2"}); // nothing after it up to slot 5000
    drill.platform.question = "Q";
    EXPECT_FALSE(drill.click(&nextQuestionClicked));
    EXPECT_EQ(drill.platform.messages, std::vector<std::string>{completionMessage(drill.run)});
    EXPECT_EQ(drill.platform.question, "Q");
}

// "next picture" with the cursor at k = 10; R(name) is a routine line naming it.
struct PictureCase {
    std::string slot11, slot12, slot13;
    int cursorAfter;
    bool ends;
};

std::string routine(const std::string& name) {
    return "`routine " + name;
}

TEST(NextPicture, LooksTwiceAndMovesTheCursorAsItsTableSays) {
    const PictureCase cases[] = {
        // Line k+1 a routine: slot k+2 is never looked at, the second look is slot k+3.
        {routine("graph1"), routine("exitprog"), routine("graph2"), 13, false},
        {routine("graph1"), routine("exitprog"), "Text", 11, false},
        {routine("graph1"), routine("exitprog"), "", 11, false},
        // Line k+1 not a routine: the second look is slot k+2.
        {"Text", routine("graph3"), routine("exitprog"), 12, false},
        {"", routine("Graph-2"), "", 12, false},
        {"Text", "Text", routine("exitprog"), 10, false},
        {"", "", "", 10, false},
        // A routine that ends the run ends it before the cursor moves.
        {routine("exitprog"), "", "", 10, true},
        {"Text", routine("graph9"), "", 10, true},
        {routine("graph1"), "", routine("exit prog"), 11, true},
        {"`routine", "", "", 10, true}, // no length test here: the empty name
        {"`Routine:graph1", "", "", 11, false},
    };
    for (const auto& [slot11, slot12, slot13, cursorAfter, ends] : cases) {
        DrillRun drill;
        drill.useScript({}, 10);
        drill.run.state.scriptLines[11] = slot11;
        drill.run.state.scriptLines[12] = slot12;
        drill.run.state.scriptLines[13] = slot13;
        const std::string where = slot11 + " | " + slot12 + " | " + slot13;
        EXPECT_EQ(drill.click(&nextPictureClicked), !ends) << where;
        EXPECT_EQ(drill.platform.ended, ends) << where;
        EXPECT_EQ(drill.run.state.scriptIndex, cursorAfter) << where;
    }
}

TEST(NextPicture, ChangesNothingButTheCursor) {
    DrillRun drill;
    drill.useScript({"Shown", routine("graph1"), "Next"});
    drill.click(&nextQuestionClicked);
    drill.platform.answer = "typing";
    const RunState before = drill.run.state;
    const std::string question = drill.platform.question;

    drill.click(&nextPictureClicked);
    const RunState& after = drill.run.state;
    EXPECT_EQ(after.scriptIndex, 2);
    EXPECT_EQ(after.displayText, before.displayText);
    EXPECT_EQ(after.responsePending, before.responsePending);
    EXPECT_EQ(after.currentLine, before.currentLine);
    EXPECT_EQ(after.cumulativeText, before.cumulativeText);
    EXPECT_EQ(after.workText, before.workText);
    EXPECT_EQ(drill.platform.question, question);
    EXPECT_EQ(drill.platform.answer, "typing");
}

TEST(NextPicture, ALookPastTheLastSlotFindsNoRoutine) {
    DrillRun drill;
    drill.useScript({}, 4999);
    drill.run.state.scriptLines[5000] = routine("graph1");
    EXPECT_TRUE(drill.click(&nextPictureClicked));
    EXPECT_EQ(drill.run.state.scriptIndex, 5000) << "slot 5000 is in the store";
    EXPECT_TRUE(drill.click(&nextPictureClicked));
    EXPECT_EQ(drill.run.state.scriptIndex, 5000);
    EXPECT_TRUE(drill.platform.messages.empty());
    EXPECT_FALSE(drill.platform.ended);
}

} // namespace
} // namespace drilbank
