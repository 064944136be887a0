#pragma once

#include "run/Run.h"
#include "script/NextQuestion.h"
#include "support/FakePlatform.h"
#include "window/Handler.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>

namespace drilbank::testing {

// A run of the program on the fake platform, for the drill-flow tests.
struct DrillRun {
    FakePlatform platform;
    Run run{platform};

    // Runs one handler as the window would; false when the run ended inside it.
    bool click(HandlerFunction handler) { return runHandler(run, handler); }

    // Start-up for Ann Lee Smith (ALS) at home, with the assignment given.
    void startUp(const std::string& assignment = "1") {
        answerStartUp(platform, "1", "Ann Lee Smith", "ALS", assignment);
        click(&loadWindow);
    }

    // A run positioned on slot `cursor` of a script of its own, with the texts start-up sets.
    void useScript(std::initializer_list<std::string_view> lines, int cursor = 0) {
        RunState& state = run.state;
        int slot = 1;
        for (const std::string_view line : lines) {
            state.scriptLines[static_cast<std::size_t>(slot++)] = std::string(line);
        }
        state.scriptIndex = cursor;
        state.presentationMode = 1;
        state.questionSeparator = " <-<-<-<-  Q/A:   ";
        state.answerSeparator = " YOUR ANSWER  ->->->->  ";
        state.answerPrompt = "PROMPT";
        state.assignmentNumber = "001";
        state.nextAssignmentNumber = "002";
    }

    std::string master() const { return platform.fileBytes(run.state.masterFilePath); }
    std::string send() const { return platform.fileBytes(run.state.sendFilePath); }
    std::string notes() const { return platform.fileBytes(run.state.notesFilePath); }
};

// A run after its start-up, as a test fixture.
struct StartedRun : ::testing::Test {
    DrillRun drill;
    RunState& state = drill.run.state;
    FakePlatform& platform = drill.platform;

    void SetUp() override { drill.startUp(); }
};

// A started run showing the first question, for the recording tests.
struct ShowingFirstQuestion : StartedRun {
    void SetUp() override {
        StartedRun::SetUp();
        drill.click(&nextQuestionClicked);
    }
};

// The bytes a file gained since `before`, which must be its start.
inline std::string gained(const std::string& before, const std::string& after) {
    EXPECT_EQ(after.substr(0, before.size()), before) << "the file was not appended to";
    return after.size() < before.size() ? std::string() : after.substr(before.size());
}

} // namespace drilbank::testing
