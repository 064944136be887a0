// A whole scripted session through the fake platform, its record files compared byte for
// byte with the golden files in tests/data/session (see the README there).
#include "core/DrillRun.h"
#include "handling/FailureMessages.h"
#include "handling/RecordPlaces.h"
#include "record/EnterResponse.h"
#include "record/ReviewDisplays.h"
#include "record/SaveAsNotes.h"
#include "script/BuiltInScript.h"
#include "script/NextQuestion.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace drilbank {
namespace {

using testing::DrillRun;

const std::filesystem::path goldenFolder = std::filesystem::path(DRILBANK_TEST_DATA) / "session";
const std::string questionSeparator = " <-<-<-<-  Q/A:   ";
const std::string answerSeparator = " YOUR ANSWER  ->->->->  ";

const std::string firstAnswer =
    "The depth drops by less in each interval, so the graph gets less steep.";
const std::string firstNote = "Trapezoid area: average of the two heights times the width.";
const std::string multiLineAnswer =
    "Rate = change in volume / change in time\r\n= 120 cm\xB3 / 5 s\r\n\r\n= 24 cm\xB3/s";
const std::string secondNote = "1/43 = .0232558... ; check it with the calculator.";

std::string builtIn(std::size_t slot) {
    return std::string(builtInScriptLines()[slot - 1]);
}

std::string readGolden(const std::string& name) {
    std::ifstream in(goldenFolder / name, std::ios::binary);
    EXPECT_TRUE(in) << "no golden file " << (goldenFolder / name);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Compares with the golden file; with DRILBANK_WRITE_GOLDEN set, the actual bytes are also
// written to that folder, to be checked by tests/data/session/checkGolden.py before use.
void expectGolden(const std::string& name, const std::string& actual) {
    if (const char* folder = std::getenv("DRILBANK_WRITE_GOLDEN")) {
        std::ofstream(std::filesystem::path(folder) / name, std::ios::binary) << actual;
    }
    const std::string golden = readGolden(name);
    if (actual == golden) {
        return;
    }
    std::size_t at = 0;
    while (at < actual.size() && at < golden.size() && actual[at] == golden[at]) {
        ++at;
    }
    ADD_FAILURE() << name << " differs from its golden file at byte " << at << " (sizes "
                  << actual.size() << " and " << golden.size()
                  << "):\n  actual: " << ::testing::PrintToString(actual.substr(at, 60))
                  << "\n  golden: " << ::testing::PrintToString(golden.substr(at, 60));
}

std::string withoutLineEnds(std::string text) {
    for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) {
        text.erase(at, 2);
    }
    return text;
}

TEST(Session, AWholeRunLeavesTheGoldenRecordFiles) {
    DrillRun drill;
    testing::FakePlatform& platform = drill.platform;
    const RunState& state = drill.run.state;
    platform.fakeClock.tickOnEveryTimeReading = true; // shows the order of every reading
    drill.startUp("1");
    ASSERT_TRUE(platform.messages.empty());

    // Question 1, answered.
    ASSERT_TRUE(drill.click(&nextQuestionClicked));
    EXPECT_EQ(platform.question, builtIn(3));
    platform.answer = firstAnswer;
    drill.click(&enterResponseClicked);

    // Question 2 skipped: question 3 brings the prompt back, and recording the prompt
    // writes nothing.
    drill.click(&nextQuestionClicked);
    drill.click(&nextQuestionClicked);
    EXPECT_EQ(platform.question, builtIn(5) + builtIn(7));
    EXPECT_EQ(platform.answer, state.answerPrompt);
    drill.click(&enterResponseClicked);
    EXPECT_EQ(platform.answer, "");

    // A note on question 3.
    platform.answer = firstNote;
    drill.click(&saveAsNotesClicked);

    // Question 4, a multi-line answer typed over a cleared box.
    drill.click(&nextQuestionClicked);
    platform.answer = "first try";
    drill.click(&clearBoxClicked);
    platform.answer = multiLineAnswer;
    drill.click(&enterResponseClicked);

    // Question 5, a second note; then the notes shown twice.
    drill.click(&nextQuestionClicked);
    platform.answer = secondNote;
    drill.click(&saveAsNotesClicked);
    drill.click(&displayNotesClicked);
    drill.click(&displayNotesClicked);
    const std::string notesText = withoutLineEnds(drill.notes());
    const std::string markedNote = "NOTES -------> " + secondNote;
    EXPECT_EQ(platform.question, markedNote + notesText + markedNote + notesText + notesText);
    EXPECT_EQ(state.workText, markedNote + notesText + notesText);

    // The transcript, newest first.
    drill.click(&displayEverythingClicked);
    EXPECT_EQ(platform.question, answerSeparator + markedNote + questionSeparator + builtIn(11) +
                                     answerSeparator + multiLineAnswer + questionSeparator +
                                     builtIn(9) + answerSeparator + "NOTES -------> " + firstNote +
                                     questionSeparator + builtIn(7) + questionSeparator +
                                     builtIn(5) + answerSeparator + firstAnswer +
                                     questionSeparator + builtIn(3));

    // Question 6 answered, 7 to 9 only read, then the script runs out.
    drill.click(&nextQuestionClicked);
    platform.answer = "OK";
    drill.click(&enterResponseClicked);
    for (std::size_t slot : {15u, 17u, 19u}) {
        ASSERT_TRUE(drill.click(&nextQuestionClicked));
        EXPECT_TRUE(platform.question.ends_with(builtIn(slot)));
    }
    EXPECT_FALSE(drill.click(&nextQuestionClicked));
    EXPECT_TRUE(platform.ended);
    EXPECT_EQ(platform.messages, std::vector<std::string>{completionMessage(drill.run)});

    expectGolden("masterFile_Ann_Lee_Smith.txt", drill.master());
    expectGolden("send_0416Ann_Lee_Smith.txt", drill.send());
    expectGolden("notes_Ann_Lee_Smith.txt", drill.notes());
}

} // namespace
} // namespace drilbank
