// A session recorded on a real network share, whose server is stopped and started again
// between clicks and part way through a click. scripts/test-smb-share.sh serves and mounts
// the share and names it here; without it the test is skipped.
#include "record/EnterResponse.h"
#include "support/AnswerCounts.h"
#include "support/FakePlatform.h"
#include "window/Handler.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <map>
#include <sstream>
#include <thread>

namespace drilbank {
namespace {

namespace fs = std::filesystem;

TEST(RealShare, EveryClickOnceThoughTheServerStopsBetweenAndDuringClicks) {
    const char* drives = std::getenv("DRILBANK_SHARE_DRIVES");
    const char* server = std::getenv("DRILBANK_SHARE_SERVER"); // a command: stop or start
    if (drives == nullptr || server == nullptr) {
        GTEST_SKIP() << "no share served: scripts/test-smb-share.sh serves one";
    }
    const auto serverDoes = [&](const std::string& what) {
        ASSERT_EQ(std::system((std::string(server) + " " + what).c_str()), 0) << what;
    };
    testing::FakePlatform platform{fs::path(drives)};
    drilbank::Run run(platform);
    testing::answerStartUp(platform, "2", "Ann Lee Smith", "AL", "1");
    runHandler(run, &loadWindow);
    ASSERT_TRUE(platform.messages.empty()) << platform.details.front();

    constexpr int clicks = 9;
    int restarts = 0;
    int toldWhileGone = 0;
    for (int click = 0; click < clicks; ++click) {
        platform.answer = "share answer " + std::to_string(click);
        const std::size_t told = platform.messages.size();
        if (click % 3 == 1) {
            serverDoes("stop"); // between clicks
            ++restarts;
        } else if (click % 3 == 2) {
            platform.faults.hookAtCall = 3 + click; // part way through the click
            platform.faults.hook = [&] { serverDoes("stop"); };
            ++restarts;
        }
        runHandler(run, &enterResponseClicked);
        platform.faults = testing::FaultInjectingFiles();
        if (click % 3 != 0) {
            toldWhileGone += platform.messages.size() > told &&
                             platform.answer == "share answer " + std::to_string(click);
            serverDoes("start");
        }
        // The student clicks again a moment later, as often as it takes.
        for (int retry = 0; retry < 50 && !platform.answer.empty(); ++retry) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            runHandler(run, &enterResponseClicked);
        }
        EXPECT_EQ(platform.answer, "")
            << "click " << click << " never went through: " << platform.details.back();
    }
    for (const std::string& file : {run.state.masterFilePath, run.state.sendFilePath}) {
        std::istringstream bytes(platform.fileBytes(file));
        const std::map<std::string, int> answers =
            testing::answersIn(bytes, file.substr(file.rfind('\\') + 1));
        for (int click = 0; click < clicks; ++click) {
            const auto found = answers.find("share answer " + std::to_string(click));
            EXPECT_TRUE(found != answers.end() && found->second == 1) << file << " " << click;
        }
        for (const auto& [text, count] : answers) {
            EXPECT_EQ(text.find("problem"), std::string::npos) << text;
        }
    }
    EXPECT_GT(toldWhileGone, 0);
    std::cout << "[ figures  ] " << clicks << " clicks on the share, " << restarts
              << " server restarts, the student told " << toldWhileGone
              << " times while it was gone; every click once in master and send\n";
}

} // namespace
} // namespace drilbank
