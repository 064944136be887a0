#include "handling/TypedWorkGuard.h"
#include "core/DrillRun.h"
#include "record/EnterResponse.h"
#include "record/ReviewDisplays.h"
#include "window/Handler.h"

#include <gtest/gtest.h>

namespace drilbank {
namespace {

// The guards ask only when typed work is at stake: never for the prompt, the empty text or
// the single blank the box starts with, and not on "Next" after Enter Response, when no
// prompt goes back over the box. (Each guard with both choices: the window's tests.)
TEST(TypedWorkGuards, AskOnlyWhenTypedWorkWouldBeLost) {
    for (const HandlerFunction handler :
         {&nextQuestionClicked, &clearBoxClicked, &closeWindow, &quitClicked}) {
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

// Text typed into the question box stays typed work while the program adds to the box, is
// asked about before "display everything" or quitting would lose it, and blanks alone or what
// the program itself put there never count.
TEST(TypedWorkGuards, TextTypedInTheQuestionBoxIsTrackedUntilRecordedOrGivenUp) {
    testing::DrillRun drill;
    drill.startUp();
    drill.click(&nextQuestionClicked);
    drill.platform.question += " \r\n ";
    drill.click(&displayEverythingClicked);
    EXPECT_TRUE(drill.platform.guardQuestions.empty());

    drill.click(&nextQuestionClicked);
    const std::string question = drill.platform.question;
    drill.platform.question.insert(10, "my thought");
    drill.platform.answer = drill.run.state.answerPrompt;
    drill.click(&nextQuestionClicked); // keeps the box's text and adds the next line
    drill.click(&displayNotesClicked); // the same
    EXPECT_TRUE(drill.platform.guardQuestions.empty());
    EXPECT_NE(drill.platform.question.find("my thought"), std::string::npos);

    drill.click(&displayEverythingClicked); // kept
    drill.click(&quitClicked);              // kept
    ASSERT_EQ(drill.platform.guardQuestions.size(), 2u);
    EXPECT_NE(drill.platform.guardQuestions[0].find("in the question box has not been recorded"),
              std::string::npos);
    EXPECT_FALSE(drill.platform.ended);
    drill.platform.goOnAnswers = {true};
    drill.click(&displayEverythingClicked);
    EXPECT_EQ(drill.platform.question.find("my thought"), std::string::npos);
    EXPECT_TRUE(drill.click(&quitClicked) == false && drill.platform.guardQuestions.size() == 3);
}

} // namespace
} // namespace drilbank
