// Every call of the file layer, failed in turn: the N-th call of a click, a start-up or a
// start-up's recovery fails, for N = 1, 2, ... until the operation goes through with
// nothing injected, with each kind of fault once and from then on. Then the student retries
// and starts again, and every record file is read back as the instructor's tool reads it.
#include "format/RecordFileName.h"
#include "os/Failure.h"
#include "reading/RecordReader.h"
#include "record/EnterResponse.h"
#include "record/SaveAsNotes.h"
#include "support/FakePlatform.h"
#include "window/Handler.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <map>
#include <sstream>

namespace drilbank {
namespace {

namespace fs = std::filesystem;
using testing::FakePlatform;
using testing::InjectedFault;

enum class Scope { EnterResponse, SaveAsNotes, StartUpHeader, StartUpRecovery };

const std::map<Scope, const char*> scopeNames = {{Scope::EnterResponse, "Enter Response"},
                                                 {Scope::SaveAsNotes, "Save as Notes"},
                                                 {Scope::StartUpHeader, "start-up's header"},
                                                 {Scope::StartUpRecovery, "start-up recovery"}};
// Under Wine a case costs forty times what it does on Linux. There the kinds that differ in
// what reaches the Windows file layer are kept: nothing lands, a part lands, all of it lands.
// A "lie" is any call that does its work and then reports failure, as when a share's reply
// is lost.
const std::map<InjectedFault, const char*> faultNames = {
    {InjectedFault::NoSpace, "no space"},
#ifndef _WIN32
    {InjectedFault::IoError, "I/O error"},        {InjectedFault::Permission, "permission"},
    {InjectedFault::NetworkDrop, "network drop"}, {InjectedFault::Interrupted, "interrupted"},
#endif
    {InjectedFault::ShortWrite, "short write"},   {InjectedFault::Lie, "lie"}};

const std::string answer = "the answer\r\nin two lines";

// One run of the program over the shared drives, as a student starts it.
struct Session {
    FakePlatform platform;
    Run run{platform};

    Session(const fs::path& drives, const std::string& initials) : platform(drives) {
        testing::answerStartUp(platform, "1", "Ann Lee Smith", initials, "1");
    }
    void startUp() { runHandler(run, &loadWindow); }
    void click(bool asNote) {
        runHandler(run, asNote ? &saveAsNotesClicked : &enterResponseClicked);
    }
};

// What one record file holds, as the instructor's tool reads it.
struct FileReading final : RecordVisitor {
    std::map<std::string, int> headersByInitials;
    std::map<std::string, int> blocksByAnswer;
    int problems = 0;
    void header(const RecordHeader& read) override {
        ++headersByInitials[std::string(read.initials)];
    }
    void block(const RecordBlock& read) override { ++blocksByAnswer[std::string(read.answer)]; }
    void problem(const RecordProblem&) override { ++problems; }
};

FileReading readBack(const FakePlatform& platform, const std::string& windowsPath) {
    FileReading reading;
    std::istringstream bytes(platform.fileExists(windowsPath) ? platform.fileBytes(windowsPath)
                                                              : std::string());
    const std::string name = windowsPath.substr(windowsPath.rfind('\\') + 1);
    readRecordFile(bytes, *parseRecordFileName(name), reading);
    return reading;
}

struct Tally {
    int cases = 0;
    int lost = 0;
    int duplicated = 0;
    int torn = 0; // a torn tail, or a block repeated whole, as the reader reports them
    int earlierChanged = 0;
    int answerDropped = 0; // the box emptied while a file lacked the click
};

// One case: gives whether the faulted operation met an injected fault at all.
bool runCase(Scope scope, InjectedFault fault, bool persistent, int failAt, Tally& tally) {
    // In memory where the system has it: the sweep counts calls, not flushes.
    testing::TemporaryFolder drives(fs::is_directory("/dev/shm") ? fs::path("/dev/shm")
                                                                 : fs::temp_directory_path());
    const bool asNote = scope == Scope::SaveAsNotes;
    Session first(drives.path(), "R0");
    first.startUp();
    first.platform.answer = "an earlier answer";
    first.click(false);
    const RunState& state = first.run.state;
    std::vector<std::string> files = {state.masterFilePath, state.sendFilePath};
    if (asNote) {
        files.push_back(state.notesFilePath);
    }
    std::map<std::string, std::string> before;
    for (const std::string& file : files) {
        before[file] = first.platform.fileBytes(file);
    }
    const auto arm = [&](FakePlatform& platform) {
        platform.faults.failAtCall = failAt;
        platform.faults.fault = fault;
        platform.faults.persistent = persistent;
    };
    const auto disarm = [](FakePlatform& platform) {
        const bool met = platform.faults.faultsInjected > 0;
        platform.faults = testing::FaultInjectingFiles();
        return met;
    };
    const auto holdsOnce = [&](const FakePlatform& platform) {
        for (const std::string& file : files) {
            if (readBack(platform, file).blocksByAnswer[answer] != 1) {
                return false;
            }
        }
        return true;
    };
    // Each click as a student makes it: the answer typed, then clicked until it goes.
    const auto clickAsStudent = [&](Session& session, bool faulted) {
        session.platform.answer = answer;
        if (faulted) {
            arm(session.platform);
        }
        session.click(asNote);
        const bool met = disarm(session.platform);
        if (session.platform.answer.empty() && !holdsOnce(session.platform)) {
            ++tally.answerDropped;
        }
        if (!session.platform.answer.empty()) {
            session.click(asNote); // the retry
        }
        return met;
    };

    bool met = false;
    switch (scope) {
    case Scope::EnterResponse:
    case Scope::SaveAsNotes:
        met = clickAsStudent(first, true);
        break;
    case Scope::StartUpHeader: {
        Session second(drives.path(), "R1");
        arm(second.platform);
        second.startUp();
        met = disarm(second.platform);
        clickAsStudent(second, false);
        break;
    }
    case Scope::StartUpRecovery: {
        // A click left unfinished: the send file took part of it, and the process ended.
        first.platform.faults.failingName =
            first.platform.localPath(state.sendFilePath).filename().string();
        first.platform.faults.bytesBeforeFault = 10;
        first.platform.faults.cutsFail = true;
        first.platform.answer = answer;
        first.click(false);
        Session second(drives.path(), "R1");
        arm(second.platform);
        second.startUp();
        met = disarm(second.platform);
        break;
    }
    }
    Session last(drives.path(), "R9");
    last.startUp();

    ++tally.cases;
    for (const std::string& file : files) {
        const std::string bytes = last.platform.fileBytes(file);
        tally.earlierChanged += bytes.compare(0, before[file].size(), before[file]) != 0;
        FileReading reading = readBack(last.platform, file);
        tally.torn += reading.problems > 0;
        tally.lost += reading.blocksByAnswer[answer] == 0;
        tally.duplicated += reading.blocksByAnswer[answer] > 1;
        if (file != state.notesFilePath && scope == Scope::StartUpHeader) {
            tally.lost += reading.headersByInitials["R1"] == 0;
            tally.duplicated += reading.headersByInitials["R1"] > 1;
        }
    }
    return met;
}

TEST(FaultSweep, EveryCallOfTheFileLayerFailedInTurnLosesDuplicatesAndTearsNothing) {
    std::ostringstream figures;
    Tally total;
    for (const auto& [scope, scopeName] : scopeNames) {
        for (const auto& [fault, faultName] : faultNames) {
            for (const bool persistent : {false, true}) {
                SCOPED_TRACE(std::string(scopeName) + ", " + faultName +
                             (persistent ? ", persistent" : ", once"));
                Tally tally;
                int failAt = 1;
                while (runCase(scope, fault, persistent, failAt, tally) && failAt < 200) {
                    ++failAt;
                }
                EXPECT_LT(failAt, 200) << "the operation never went through";
                EXPECT_EQ(tally.lost, 0);
                EXPECT_EQ(tally.duplicated, 0);
                EXPECT_EQ(tally.torn, 0);
                EXPECT_EQ(tally.earlierChanged, 0);
                EXPECT_EQ(tally.answerDropped, 0);
                figures << "[ figures  ] " << scopeName << ", " << faultName
                        << (persistent ? " from then on: " : " once: ") << tally.cases
                        << " cases\n";
                total.cases += tally.cases;
                total.lost += tally.lost;
                total.duplicated += tally.duplicated;
                total.torn += tally.torn;
            }
        }
    }
    std::cout << figures.str() << "[ figures  ] " << total.cases << " cases; clicks lost "
              << total.lost << ", duplicated " << total.duplicated << ", torn or repeated "
              << total.torn << "\n";
}

} // namespace
} // namespace drilbank
