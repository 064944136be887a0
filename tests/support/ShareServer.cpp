#include "ShareServer.h"

#include "AnswerCounts.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

namespace drilbank::testing {

namespace fs = std::filesystem;

std::unique_ptr<ShareServer> ShareServer::fromEnvironment() {
    const char* drives = std::getenv("DRILBANK_SHARE_DRIVES");
    const char* requests = std::getenv("DRILBANK_SHARE_REQUESTS");
    if (drives == nullptr || requests == nullptr) {
        return nullptr;
    }
    return std::unique_ptr<ShareServer>(new ShareServer(drives, requests));
}

ShareServer::ShareServer(fs::path drives, fs::path requests)
    : drives_(std::move(drives)), requests_(std::move(requests)) {}

bool ShareServer::stop() {
    return ask("stop");
}

bool ShareServer::start() {
    return ask("start");
}

bool ShareServer::ask(const std::string& what) {
    const std::string name = std::to_string(++asked_) + "." + what;
    // Made under another name first, so that the script never reads half a request.
    std::ofstream(requests_ / (name + ".new")).close();
    fs::rename(requests_ / (name + ".new"), requests_ / name);
    for (int wait = 0; wait < 600 && fs::exists(requests_ / name); ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return !fs::exists(requests_ / name) && !fs::exists(requests_ / (name + ".failed"));
}

ShareSessionFigures clickWhileTheServerRestarts(ShareServer& server, ShareStudent& student,
                                                int clicks) {
    ShareSessionFigures figures;
    for (int click = 0; click < clicks; ++click) {
        figures.answers.push_back("share answer " + std::to_string(click));
        student.type(figures.answers.back());
        const std::size_t told = student.messagesShown();
        bool stopped = false;
        if (click % 3 == 1) {
            stopped = server.stop(); // between clicks
            EXPECT_TRUE(stopped);
        } else if (click % 3 == 2) {
            student.files().hookAtCall = 3 + click; // part way through the click
            student.files().hook = [&] {
                stopped = server.stop();
                EXPECT_TRUE(stopped);
            };
        }
        student.clickEnterResponse();
        student.files() = FaultInjectingFiles();
        if (stopped) {
            ++figures.restarts;
            figures.toldWhileGone += student.messagesShown() > told && student.answerLeft();
            EXPECT_TRUE(server.start());
        }
        for (int retry = 0; retry < 50 && student.answerLeft(); ++retry) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            student.clickEnterResponse();
        }
        EXPECT_FALSE(student.answerLeft()) << "click " << click << " never went through";
    }
    return figures;
}

void expectEachAnswerOnce(const std::string& bytes, const std::string& windowsPath,
                          const std::vector<std::string>& answers) {
    std::istringstream in(bytes);
    const std::map<std::string, int> read =
        answersIn(in, windowsPath.substr(windowsPath.rfind('\\') + 1));
    for (const std::string& answer : answers) {
        const auto found = read.find(answer);
        EXPECT_TRUE(found != read.end() && found->second == 1) << windowsPath << ": " << answer;
    }
    for (const auto& [text, count] : read) {
        EXPECT_EQ(text.find("problem"), std::string::npos) << windowsPath << ": " << text;
    }
}

} // namespace drilbank::testing
