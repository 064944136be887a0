// A session recorded on a real network share, whose server is stopped and started again
// between clicks and part way through a click. scripts/test-smb-share.sh serves and mounts
// the share and names it here; without it the test is skipped.
#include "record/EnterResponse.h"
#include "support/FakePlatform.h"
#include "support/ShareServer.h"
#include "window/Handler.h"

#include <gtest/gtest.h>

#include <iostream>

namespace drilbank {
namespace {

TEST(RealShare, EveryClickOnceThoughTheServerStopsBetweenAndDuringClicks) {
    const std::unique_ptr<testing::ShareServer> server = testing::ShareServer::fromEnvironment();
    if (!server) {
        GTEST_SKIP() << "no share served: scripts/test-smb-share.sh serves one";
    }
    testing::FakePlatform platform{server->drives()};
    drilbank::Run run(platform);
    testing::answerStartUp(platform, "2", "Ann Lee Smith", "AL", "1");
    runHandler(run, &loadWindow);
    ASSERT_TRUE(platform.messages.empty()) << platform.details.front();

    struct : testing::ShareStudent {
        testing::FakePlatform* platform;
        drilbank::Run* run;
        void type(const std::string& answer) override { platform->answer = answer; }
        void clickEnterResponse() override { runHandler(*run, &enterResponseClicked); }
        bool answerLeft() override { return !platform->answer.empty(); }
        std::size_t messagesShown() override { return platform->messages.size(); }
        testing::FaultInjectingFiles& files() override { return platform->faults; }
    } student;
    student.platform = &platform;
    student.run = &run;
    const testing::ShareSessionFigures figures =
        testing::clickWhileTheServerRestarts(*server, student, 9);
    for (const std::string& file : {run.state.masterFilePath, run.state.sendFilePath}) {
        testing::expectEachAnswerOnce(platform.fileBytes(file), file, figures.answers);
    }
    EXPECT_GE(figures.restarts, 5);
    EXPECT_EQ(figures.toldWhileGone, figures.restarts);
    std::cout << "[ figures  ] " << figures.answers.size() << " clicks on the share, "
              << figures.restarts << " server restarts, the student told " << figures.toldWhileGone
              << " times while it was gone; every click once in master and send\n";
}

} // namespace
} // namespace drilbank
