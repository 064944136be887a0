#include "handling/TypedWorkGuard.h"
#include "core/DrillRun.h"
#include "record/EnterResponse.h"
#include "record/ReviewDisplays.h"

#include <gtest/gtest.h>

namespace drilbank {
namespace {

// The guards ask only when typed work is at stake: never for the prompt, the empty text or
// the single blank the box starts with, and not on "Next" after Enter Response, when no
// prompt goes back over the box. (Each guard with both choices: the window's tests.)
TEST(TypedWorkGuards, AskOnlyWhenTypedWorkWouldBeLost) {
    for (const HandlerFunction handler : {&nextQuestionClicked, &clearBoxClicked, &closeWindow}) {
        for (const char* untyped : {"", " ", "the prompt"}) {
            testing::DrillRun drill;
            drill.startUp();
            drill.click(&nextQuestionClicked);
            drill.platform.answer =
                untyped == std::string("the prompt") ? drill.run.state.answerPrompt : untyped;
            drill.click(handler);
            EXPECT_TRUE(drill.platform.guardQuestions.empty()) << untyped;
        }
    }
    testing::DrillRun drill;
    drill.startUp();
    drill.click(&nextQuestionClicked);
    drill.platform.answer = "Recorded";
    drill.click(&enterResponseClicked);
    drill.platform.answer = "typed after recording";
    drill.click(&nextQuestionClicked);
    EXPECT_TRUE(drill.platform.guardQuestions.empty());
    EXPECT_EQ(drill.platform.answer, "typed after recording");
}

} // namespace
} // namespace drilbank
