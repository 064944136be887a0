#include "run/TypedWorkGuard.h"
#include "core/DrillRun.h"
#include "record/EnterResponse.h"
#include "record/ReviewDisplays.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace drilbank {
namespace {

struct GuardCase {
    const char* action;
    HandlerFunction handler;
    const GuardQuestion* question;
};

const GuardCase guardedActions[] = {
    {"next", &nextQuestionClicked, &nextQuestionGuard},
    {"clear box", &clearBoxClicked, &clearBoxGuard},
    {"close", &closeWindow, &closeWindowGuard},
};

struct TypedWorkGuard : testing::ShowingFirstQuestion {};

// Typed work is asked about before it is lost; the safe answer leaves everything as it was,
// the other takes the action as before. Nothing typed means nothing is asked.
TEST(TypedWorkGuards, AskBeforeTypedWorkIsLostAndTheSafeChoiceKeepsIt) {
    for (const GuardCase& guarded : guardedActions) {
        for (const bool goOn : {false, true}) {
            testing::DrillRun drill;
            drill.startUp();
            drill.click(&nextQuestionClicked);
            const std::string question = drill.platform.question;
            const RunState before = drill.run.state;
            drill.platform.answer = "My unrecorded answer";
            drill.platform.goOnAnswers = {goOn};
            const bool runGoesOn = drill.click(guarded.handler);
            SCOPED_TRACE(std::string(guarded.action) + (goOn ? " go on" : " keep"));
            EXPECT_EQ(drill.platform.guardQuestions,
                      std::vector<std::string>{guarded.question->text});
            if (!goOn) {
                EXPECT_TRUE(runGoesOn);
                EXPECT_EQ(drill.platform.answer, "My unrecorded answer");
                EXPECT_EQ(drill.platform.question, question);
                EXPECT_EQ(drill.run.state.scriptIndex, before.scriptIndex);
                continue;
            }
            const bool closing = guarded.handler == &closeWindow;
            EXPECT_EQ(runGoesOn, !closing);
            EXPECT_EQ(drill.platform.ended, closing);
            if (!closing) {
                EXPECT_NE(drill.platform.answer, "My unrecorded answer");
            }
        }
    }
}

TEST(TypedWorkGuards, NothingTypedIsNeverAsked) {
    for (const GuardCase& guarded : guardedActions) {
        for (const char* untyped : {"", " ", "the prompt"}) {
            testing::DrillRun drill;
            drill.startUp();
            drill.click(&nextQuestionClicked);
            drill.platform.answer =
                untyped == std::string("the prompt") ? drill.run.state.answerPrompt : untyped;
            drill.click(guarded.handler);
            EXPECT_TRUE(drill.platform.guardQuestions.empty()) << guarded.action;
        }
    }
}

// After Enter Response the box is empty and the next line puts no prompt back, so text typed
// then is not at stake on "Next".
TEST_F(TypedWorkGuard, NextAsksOnlyWhenThePromptWouldGoBackOverTheAnswer) {
    platform.answer = "Recorded";
    drill.click(&enterResponseClicked);
    platform.answer = "typed after recording";
    drill.click(&nextQuestionClicked);
    EXPECT_TRUE(platform.guardQuestions.empty());
    EXPECT_EQ(platform.answer, "typed after recording");
}

// The answer a failed recording kept in the box is protected on the next "Next".
TEST_F(TypedWorkGuard, AnAnswerKeptAfterARecordingFaultIsProtected) {
    platform.answer = "Kept after the fault";
    std::filesystem::remove(platform.localPath(state.masterFilePath));
    std::filesystem::create_directory(platform.localPath(state.masterFilePath));
    drill.click(&enterResponseClicked);
    ASSERT_EQ(platform.messages.size(), 1u);
    ASSERT_EQ(platform.answer, "Kept after the fault");
    const int index = state.scriptIndex;
    drill.click(&nextQuestionClicked);
    EXPECT_EQ(platform.guardQuestions.size(), 1u);
    EXPECT_EQ(platform.answer, "Kept after the fault");
    EXPECT_EQ(state.scriptIndex, index);
}

} // namespace
} // namespace drilbank
