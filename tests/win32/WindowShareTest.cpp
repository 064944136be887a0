// The real window recording on a real network share (drive i:) whose server is stopped and
// started again between clicks and part way through a click. scripts/test-smb-share.sh
// serves and mounts the share and names it here; without it the test is skipped.
#include "WindowRun.h"

#include "support/FaultInjectingFiles.h"
#include "support/ShareServer.h"
#include "win32/WideText.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>

using drilbank::fromWide;
using drilbank::toWide;
using drilbank::testing::FaultInjectingFiles;
using drilbank::testing::ShareServer;
using drilbank::testing::WindowRun;

TEST(WindowShare, everyClickOnceThoughTheServerStopsBetweenAndDuringClicks) {
    const std::unique_ptr<ShareServer> server = ShareServer::fromEnvironment();
    if (!server) {
        GTEST_SKIP() << "no share served: scripts/test-smb-share.sh serves one";
    }
    struct Student final : drilbank::testing::ShareStudent {
        FaultInjectingFiles faults; // only its hook: the server stopped part way through a click
        WindowRun run;
        explicit Student(const std::filesystem::path& drives) : run(drives, faults) {}
        void type(const std::string& answer) override {
            SetWindowTextW(run.window().answerBox(), toWide(answer).c_str());
        }
        void clickEnterResponse() override { run.click("cmd_enter_response"); }
        bool answerLeft() override { return !run.text(run.window().answerBox()).empty(); }
        std::size_t messagesShown() override { return run.boxes.seen.size(); }
        FaultInjectingFiles& files() override { return faults; }
    } student(server->drives());
    WindowRun& run = student.run;
    // Another student than the core's test on the same share: files of her own.
    ASSERT_TRUE(run.start({L"2", L"Bea Lin Jones", L"BLJ", L"1"}));
    run.window().show();
    ASSERT_EQ(run.boxes.seen.size(), 4u) << "the share was not reached at start-up";

    const drilbank::testing::ShareSessionFigures figures =
        drilbank::testing::clickWhileTheServerRestarts(*server, student, 6);
    const drilbank::RunState& state = run.session().run().state;
    for (const std::string& file : {state.masterFilePath, state.sendFilePath}) {
        drilbank::testing::expectEachAnswerOnce(run.fileBytes(file), file, figures.answers);
    }
    EXPECT_GE(figures.restarts, 3);
    EXPECT_EQ(figures.toldWhileGone, figures.restarts);
    if (run.boxes.seen.size() > 4) { // what the student read, the first time it was gone
        std::cout << "[ figures  ] told: " << fromWide(run.boxes.seen[4]) << "\n";
    }
    std::cout << "[ figures  ] the window: " << figures.answers.size() << " clicks on the share, "
              << figures.restarts << " server restarts, the student told " << figures.toldWhileGone
              << " times while it was gone; every click once in master and send\n";
}
