#include "record/EnterResponse.h"
#include "core/DrillRun.h"
#include "handling/FailureMessages.h"
#include "os/Failure.h"
#include "record/SaveAsNotes.h"
#include "script/NextQuestion.h"
#include "script/ScriptStore.h"
#include "startup/OpenAssignment.h"
#include "support/AsUnprivilegedUser.h"
#include "support/WriteRefusal.h"
#include "texts/StudentTexts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>

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
    // The click stops part way through the send file and stays so, as a kill would leave it.
    void interruptInTheSendFile() {
        platform.faults.failingName = platform.localPath(state.sendFilePath).filename().string();
        platform.faults.bytesBeforeFault = 30;
        platform.faults.cutsFail = true;
        drill.click(&enterResponseClicked);
        platform.faults = testing::FaultInjectingFiles();
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

// The fault matrix: each file of a click failing in each way, then the cause fixed and the
// same click once more. Every file then holds the click's block exactly once.
enum class Fault { DiskFullPartWay, DiskFullCutBack, FolderInPlace };
enum class RecordFile { Master, Send, Notes };

struct FaultCase {
    HandlerFunction click;
    RecordFile failing;
    Fault fault;
};

TEST_F(RecordingFault, EveryFileOfAClickHoldsItExactlyOnceAfterOneRetry) {
    const std::vector<FaultCase> cases = [] {
        std::vector<FaultCase> all;
        for (const Fault fault :
             {Fault::DiskFullPartWay, Fault::DiskFullCutBack, Fault::FolderInPlace}) {
            for (const RecordFile file : {RecordFile::Master, RecordFile::Send}) {
                all.push_back({&enterResponseClicked, file, fault});
            }
            for (const RecordFile file :
                 {RecordFile::Master, RecordFile::Send, RecordFile::Notes}) {
                all.push_back({&saveAsNotesClicked, file, fault});
            }
        }
        return all;
    }();
    int faultsInjected = 0;
    for (const FaultCase& faultCase : cases) {
        const bool note = faultCase.click == &saveAsNotesClicked;
        SCOPED_TRACE(std::string(note ? "note, " : "response, ") + "file " +
                     std::to_string(static_cast<int>(faultCase.failing)) + ", fault " +
                     std::to_string(static_cast<int>(faultCase.fault)));
        platform.messages.clear();
        typeAnswer();
        const std::string notes = platform.fileExists(state.notesFilePath) ? drill.notes() : "";
        const std::string windowsPath =
            faultCase.failing == RecordFile::Master ? state.masterFilePath
            : faultCase.failing == RecordFile::Send ? state.sendFilePath
                                                    : state.notesFilePath;
        const auto local = platform.localPath(windowsPath);
        const std::string kept =
            platform.fileExists(windowsPath) ? platform.fileBytes(windowsPath) : "";
        if (faultCase.fault == Fault::FolderInPlace) {
            blockWithFolder(windowsPath);
        } else {
            platform.faults.failingName = local.filename().string();
            platform.faults.bytesBeforeFault = 100;
            platform.faults.cutsFail = faultCase.fault == Fault::DiskFullPartWay;
        }
        drill.click(faultCase.click);
        expectNothingChanged(faultCase.fault == Fault::FolderInPlace ? failure::PathFileAccessError
                                                                     : failure::DiskFull);
        faultsInjected += platform.faults.faultsInjected;

        // The student fixes the cause and clicks again.
        platform.faults = testing::FaultInjectingFiles();
        if (faultCase.fault == Fault::FolderInPlace) {
            std::filesystem::remove(local);
            std::ofstream(local, std::ios::binary) << kept;
        }
        platform.messages.clear();
        drill.click(faultCase.click);
        EXPECT_EQ(platform.messages, std::vector<std::string>());
        EXPECT_EQ(platform.answer, "");
        EXPECT_EQ(lineEnds(gained(master, drill.master())), note ? 7 : 10);
        EXPECT_EQ(lineEnds(gained(send, drill.send())), note ? 6 : 7);
        EXPECT_EQ(lineEnds(gained(notes, drill.notes())), note ? 6 : 0);
        EXPECT_EQ(state.cumulativeText.find(before.answerSeparator +
                                            (note ? "NOTES -------> " : "") +
                                            "Something worth keeping"),
                  0u);
    }
    std::cout << "[ figures  ] " << cases.size() << " fault cases, " << faultsInjected
              << " injected disk-full faults, 0 duplicates\n";
}

// The permission kind of the matrix, as an ordinary user so that permissions apply: each
// file of a note refusing writes, then writable again.
TEST(RecordingFaultAsUser, AReadOnlyFileThenWritableAgainTakesTheNoteOnce) {
    const int result = testing::resultAsUnprivilegedUser([] {
        for (int file = 0; file < 3; ++file) {
            DrillRun drill;
            drill.startUp();
            drill.platform.answer = "an earlier note";
            drill.click(&saveAsNotesClicked);
            const RunState& state = drill.run.state;
            const std::string paths[] = {state.masterFilePath, state.sendFilePath,
                                         state.notesFilePath};
            const std::string master = drill.master();
            const std::string send = drill.send();
            const std::string notes = drill.notes();
            const auto local = drill.platform.localPath(paths[file]);
            testing::WriteRefusal refusal(local);
            if (!refusal.active()) {
                return 30 + file;
            }
            drill.platform.answer = "kept";
            drill.click(&saveAsNotesClicked);
            if (drill.platform.messages !=
                    std::vector<std::string>{generalErrorMessage(failure::PermissionDenied)} ||
                drill.platform.answer != "kept" || drill.master() != master) {
                return 10 + file;
            }
            refusal.release();
            drill.click(&saveAsNotesClicked);
            if (drill.platform.messages.size() != 1 || !drill.platform.answer.empty() ||
                lineEnds(gained(master, drill.master())) != 7 ||
                lineEnds(gained(send, drill.send())) != 6 ||
                lineEnds(gained(notes, drill.notes())) != 6) {
                return 20 + file;
            }
        }
        return 0;
    });
    EXPECT_EQ(result, 0);
}

// An earlier click left unfinished (here the start-up's header) is never taken for the
// answer in the box: when it cannot be completed, or the click fails for a cause of its own,
// or the journal itself fails, the answer is recorded once the cause is gone.
TEST_F(RecordingFault, AnAnswerIsNeverTakenForAnEarlierUnfinishedClick) {
    enum class Cause { EarlierStillFails, OwnFault, TornJournal };
    for (const Cause cause : {Cause::EarlierStillFails, Cause::OwnFault, Cause::TornJournal}) {
        SCOPED_TRACE(static_cast<int>(cause));
        DrillRun fresh;
        fresh.startUp();
        testing::FaultInjectingFiles& faults = fresh.platform.faults;
        const auto masterFile = fresh.platform.localPath(fresh.run.state.masterFilePath);
        if (cause != Cause::TornJournal) {
            faults.failingName =
                fresh.platform.localPath(fresh.run.state.sendFilePath).filename().string();
            fresh.click(&openAssignment); // a second header, cut short in the send file
        }
        const std::string kept = fresh.master();
        if (cause == Cause::OwnFault) {
            faults = testing::FaultInjectingFiles();
            std::filesystem::remove(masterFile);
            std::filesystem::create_directory(masterFile);
        } else if (cause == Cause::TornJournal) {
            faults.failingName = ".drilbank-journal_Ann_Lee_Smith";
            faults.bytesBeforeFault = 20;
            faults.cutsFail = true;
        }
        fresh.platform.answer = "an answer of its own";
        fresh.click(&enterResponseClicked);
        EXPECT_EQ(fresh.platform.answer, "an answer of its own");

        faults = testing::FaultInjectingFiles();
        if (cause == Cause::OwnFault) {
            std::filesystem::remove(masterFile);
            std::ofstream(masterFile, std::ios::binary) << kept;
        }
        fresh.platform.messages.clear();
        fresh.click(&enterResponseClicked);
        EXPECT_EQ(fresh.platform.answer, "");
        for (const std::string& bytes : {fresh.master(), fresh.send()}) {
            const std::size_t at = bytes.find("an answer of its own");
            EXPECT_NE(at, std::string::npos);
            EXPECT_EQ(bytes.find("an answer of its own", at + 1), std::string::npos);
        }
    }
}

TEST_F(RecordingFault, AnotherAnswerAfterAFaultIsRecordedAfterTheInterruptedOne) {
    typeAnswer();
    interruptInTheSendFile();
    answerWith("A better answer");
    platform.messages.clear();
    drill.click(&enterResponseClicked);
    EXPECT_TRUE(platform.messages.empty());
    const std::string sent = gained(send, drill.send());
    EXPECT_EQ(lineEnds(gained(master, drill.master())), 20);
    EXPECT_EQ(lineEnds(sent), 14);
    EXPECT_LT(sent.find("Something worth keeping"), sent.find("A better answer"));
    EXPECT_EQ(state.cumulativeText.find(before.answerSeparator + "A better answer" +
                                        before.answerSeparator + "Something worth keeping"),
              0u);
}

// Another copy of the program holds the student's journal: after half a second the wait is
// said, it ends by the clock in failure 70 that says why, and the answer goes through once
// the other copy lets go.
TEST_F(RecordingFault, AnotherCopyHoldingTheFolderIsWaitedForThenSaid) {
    typeAnswer();
    platform.files().lockWait.limit = std::chrono::milliseconds(1200);
    auto otherCopy = systemFiles().open(
        platform.localPath("c:\\drilbank\\.drilbank-journal_Ann_Lee_Smith"), FileAccess::Append);
    ASSERT_TRUE(otherCopy->tryLock());
    drill.click(&enterResponseClicked);
    expectNothingChanged(failure::PermissionDenied);
    EXPECT_NE(platform.details.at(0).find("another copy of the program holds this folder"),
              std::string::npos);
    EXPECT_EQ(platform.waitingNotices, (std::vector<std::string>{waitingForAnotherCopyNotice, ""}));
    EXPECT_EQ(drill.master(), master);
    otherCopy.reset();
    platform.messages.clear();
    drill.click(&enterResponseClicked);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(lineEnds(gained(master, drill.master())), 10);
}

// A retry after an interrupted click, with the working folder gone, is no success: the
// journal cannot be read, so the answer stays; it is recorded once the folder is back.
TEST_F(RecordingFault, TheFolderGoneAfterAnInterruptedClickIsNoSuccess) {
    typeAnswer();
    interruptInTheSendFile();
    const auto folder = platform.localPath("c:\\drilbank");
    std::filesystem::rename(folder, folder.parent_path() / "elsewhere");
    platform.messages.clear();
    drill.click(&enterResponseClicked);
    EXPECT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.answer, "Something worth keeping");
    std::filesystem::rename(folder.parent_path() / "elsewhere", folder);
    drill.click(&enterResponseClicked);
    EXPECT_EQ(platform.answer, "");
    EXPECT_EQ(lineEnds(gained(master, drill.master())), 10);
    EXPECT_EQ(lineEnds(gained(send, drill.send())), 7);
}

TEST_F(RecordingFault, AMissingWorkingFolder) {
    typeAnswer();
    std::filesystem::remove_all(platform.localPath("c:\\drilbank"));
    drill.click(&enterResponseClicked);
    expectNothingChanged(failure::PathNotFound);
}

} // namespace
} // namespace drilbank
