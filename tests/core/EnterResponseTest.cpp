#include "record/EnterResponse.h"
#include "core/DrillRun.h"
#include "platform/Failure.h"
#include "record/SaveAsNotes.h"
#include "run/FailureMessages.h"
#include "script/NextQuestion.h"
#include "script/ScriptStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace drilbank {
namespace {

using testing::DrillRun;
using testing::gained;

const std::string answerSeparator = " YOUR ANSWER  ->->->->  ";

long lineEnds(const std::string& text) {
    return std::count(text.begin(), text.end(), '\n');
}

struct EnterResponse : testing::ShowingFirstQuestion {
    void answerWith(const std::string& text) { platform.answer = text; }
};

TEST_F(EnterResponse, ThePromptStillInTheBoxRecordsNothingButEmptiesBothBoxes) {
    drill.click(&nextQuestionClicked); // skipped: the prompt comes back
    ASSERT_EQ(platform.answer, state.answerPrompt);
    const std::string master = drill.master();
    const std::string send = drill.send();
    const RunState before = state;

    drill.click(&enterResponseClicked);
    EXPECT_EQ(drill.master(), master);
    EXPECT_EQ(drill.send(), send);
    EXPECT_EQ(state.responsePending, before.responsePending);
    EXPECT_TRUE(state.responsePending);
    EXPECT_EQ(state.workText, before.workText);
    EXPECT_EQ(state.cumulativeText, before.cumulativeText);
    EXPECT_EQ(platform.question, "");
    EXPECT_EQ(platform.answer, "");

    // A second click, now on the empty box, records an empty response line.
    drill.click(&enterResponseClicked);
    EXPECT_NE(gained(master, drill.master()).find("RESPONSE -->  \r\n\r\n...."), std::string::npos);
    EXPECT_FALSE(state.responsePending);
}

TEST_F(EnterResponse, AnAnswerNearlyThePromptIsRecorded) {
    for (const std::string& answer :
         {lowerCase(state.answerPrompt), state.answerPrompt + " ", state.answerPrompt.substr(1)}) {
        const std::string send = drill.send();
        answerWith(answer);
        drill.click(&enterResponseClicked);
        EXPECT_EQ(lineEnds(gained(send, drill.send())), 7 + 2) << "the prompt has two line breaks";
    }
}

TEST_F(EnterResponse, GrowsTheMasterByTenLinesAndTheSendBySeven) {
    const std::string master = drill.master();
    const std::string send = drill.send();
    answerWith("Forty-eight.");
    drill.click(&enterResponseClicked);
    EXPECT_EQ(lineEnds(gained(master, drill.master())), 10);
    EXPECT_EQ(lineEnds(gained(send, drill.send())), 7);
    EXPECT_FALSE(platform.fileExists(state.notesFilePath));
    EXPECT_FALSE(state.responsePending);
    EXPECT_EQ(state.workText, "Forty-eight.");
    EXPECT_EQ(platform.question, "");
    EXPECT_EQ(platform.answer, "");
    EXPECT_FALSE(platform.files().isOpen(1));
    EXPECT_FALSE(platform.files().isOpen(2));
}

TEST_F(EnterResponse, ResponsesGoInFrontOfTheTranscript) {
    state.cumulativeText.clear();
    answerWith("R1");
    drill.click(&enterResponseClicked);
    answerWith("R2");
    drill.click(&enterResponseClicked);
    EXPECT_EQ(state.cumulativeText, answerSeparator + "R2" + answerSeparator + "R1");
}

TEST_F(EnterResponse, AClickBeforeAnyLineWasReadWritesAnEmptyScriptLine) {
    DrillRun fresh;
    fresh.startUp();
    const std::string send = fresh.send();
    fresh.platform.answer = "early";
    fresh.click(&enterResponseClicked);
    const std::string rule = "......!!!!!!!!...................................";
    EXPECT_EQ(gained(send, fresh.send()),
              rule + "\r\n" + std::string(36, ' ') + "14:05:09\r\n\r\n" + rule +
                  "\r\nRESPONSE -->  \r\nearly\r\n" + std::string(49, '.') + "\r\n");
}

// Faults: the general error message with the number; the run state, the boxes and the
// files stay as they were, and no channel is left open.
struct RecordingFault : EnterResponse {
    std::string master, send, question;
    RunState before;

    void typeAnswer() {
        answerWith("Something worth keeping");
        master = drill.master();
        send = drill.send();
        question = platform.question;
        before = state;
    }
    void expectNothingChanged(int failureNumber) {
        EXPECT_EQ(platform.messages, std::vector<std::string>{generalErrorMessage(failureNumber)});
        EXPECT_EQ(platform.answer, "Something worth keeping");
        EXPECT_EQ(platform.question, question);
        EXPECT_EQ(state.responsePending, before.responsePending);
        EXPECT_EQ(state.workText, before.workText);
        EXPECT_EQ(state.cumulativeText, before.cumulativeText);
        for (int channel = 1; channel <= 3; ++channel) {
            EXPECT_FALSE(platform.files().isOpen(channel)) << channel;
        }
        EXPECT_FALSE(platform.ended);
    }
    // A folder where the file should be: opening it fails on every system, as root too.
    void blockWithFolder(const std::string& windowsPath) {
        const auto local = platform.localPath(windowsPath);
        std::filesystem::remove(local);
        std::filesystem::create_directory(local);
    }
};

TEST_F(RecordingFault, AMasterFileThatCannotBeOpened) {
    typeAnswer();
    blockWithFolder(state.masterFilePath);
    drill.click(&enterResponseClicked);
    expectNothingChanged(failure::PathFileAccessError);
    EXPECT_EQ(drill.send(), send);
}

TEST_F(RecordingFault, ASendFileThatCannotBeOpened) {
    typeAnswer();
    blockWithFolder(state.sendFilePath);
    drill.click(&enterResponseClicked);
    expectNothingChanged(failure::PathFileAccessError);
    EXPECT_EQ(drill.master(), master);
}

TEST_F(RecordingFault, AMasterFileThatCannotBeWrittenStillLetsTheSendFileClose) {
    typeAnswer();
    const auto local = platform.localPath(state.masterFilePath);
    std::filesystem::remove(local);
    std::filesystem::create_symlink("/dev/full", local);
    drill.click(&enterResponseClicked);
    expectNothingChanged(failure::DiskFull);
    EXPECT_EQ(lineEnds(gained(send, drill.send())), 7) << "committed when its channel closed";
}

TEST_F(RecordingFault, AChannelLeftOpenIsReportedThenFreed) {
    typeAnswer();
    platform.files().open(1, "c:\\drilbank\\query.txt", ChannelMode::Append);
    drill.click(&enterResponseClicked);
    expectNothingChanged(failure::FileAlreadyOpen);

    platform.messages.clear();
    drill.click(&enterResponseClicked); // the student tries again
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(lineEnds(gained(master, drill.master())), 10);
    EXPECT_EQ(platform.answer, "");
}

TEST_F(RecordingFault, ANotesFileThatCannotBeOpenedKeepsTheNote) {
    typeAnswer();
    blockWithFolder(state.notesFilePath);
    drill.click(&saveAsNotesClicked);
    expectNothingChanged(failure::PathFileAccessError);
    EXPECT_EQ(drill.master(), master);
    EXPECT_EQ(drill.send(), send);
}

TEST_F(RecordingFault, ANoteTheMasterCannotTakeStillReachesTheOtherFiles) {
    typeAnswer();
    const auto local = platform.localPath(state.masterFilePath);
    std::filesystem::remove(local);
    std::filesystem::create_symlink("/dev/full", local);
    drill.click(&saveAsNotesClicked);
    expectNothingChanged(failure::DiskFull);
    EXPECT_EQ(lineEnds(gained(send, drill.send())), 6);
    EXPECT_EQ(lineEnds(drill.notes()), 6);
}

TEST_F(RecordingFault, AMissingWorkingFolder) {
    typeAnswer();
    std::filesystem::remove_all(platform.localPath("c:\\drilbank"));
    drill.click(&enterResponseClicked);
    expectNothingChanged(failure::PathNotFound);
}

} // namespace
} // namespace drilbank
