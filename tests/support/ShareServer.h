#pragma once

#include "FaultInjectingFiles.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace drilbank::testing {

// The server of a real share that scripts/test-smb-share.sh serves: it names the folder of
// the drives (drive i is the share) and a folder of requests. A request is a file whose
// name ends in ".stop" or ".start"; the script carries it out and removes it, leaving
// "<name>.failed" if it could not. A test under Wine asks the same way, as it cannot start
// the script's programs itself.
class ShareServer {
public:
    // Null when no share is served.
    static std::unique_ptr<ShareServer> fromEnvironment();

    const std::filesystem::path& drives() const { return drives_; }
    // Kills the server as a crash would; starts it and waits until it listens. Each gives
    // whether it was done.
    bool stop();
    bool start();

private:
    ShareServer(std::filesystem::path drives, std::filesystem::path requests);
    bool ask(const std::string& what);

    std::filesystem::path drives_;
    std::filesystem::path requests_;
    int asked_ = 0;
};

// A student at the program on the share: types an answer, clicks Enter Response, sees what
// the box still holds and how many messages were shown; the program's files go through
// `files`, whose hook stops the server part way through a click.
class ShareStudent {
public:
    virtual ~ShareStudent() = default;
    virtual void type(const std::string& answer) = 0;
    virtual void clickEnterResponse() = 0;
    virtual bool answerLeft() = 0;
    virtual std::size_t messagesShown() = 0;
    virtual FaultInjectingFiles& files() = 0;
};

struct ShareSessionFigures {
    std::vector<std::string> answers; // one a click, in order
    int restarts = 0;                 // the server stopped and started again
    int toldWhileGone = 0;            // clicks while it was gone that showed a message
};

// Clicks `clicks` answers, stopping the server before every third click from the second and
// part way through every third from the third, starting it again after each such click; the
// student clicks again a moment later until the answer goes. The test fails when it never
// does.
ShareSessionFigures clickWhileTheServerRestarts(ShareServer& server, ShareStudent& student,
                                                int clicks);

// The test fails unless each answer stands once in the record file's bytes and the file
// reads whole, as the instructor's tool reads it.
void expectEachAnswerOnce(const std::string& bytes, const std::string& windowsPath,
                          const std::vector<std::string>& answers);

} // namespace drilbank::testing
