// A class on one campus folder: two students under accounts of their own record at once in
// the folder their administrator set up, each through a journal of their own, and one of
// them is killed part way through a click. POSIX accounts need root to be taken on.
#ifndef _WIN32
#include "format/RecordFileName.h"
#include "reading/RecordReader.h"
#include "record/EnterResponse.h"
#include "record/SaveAsNotes.h"
#include "support/ChildProcess.h"
#include "support/FakePlatform.h"
#include "window/Handler.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <grp.h>
#include <iostream>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace drilbank {
namespace {

namespace fs = std::filesystem;
using testing::ChildProcess;

constexpr gid_t classGroup = 61000;
const fs::path campus = fs::path("i") / "bkp_000416" / "My Documents" / "distance students" /
                        "interactive problems" / "lb1";

struct Student {
    uid_t account;
    const char* name;
    const char* fileNamePart;
};
const Student ann{61001, "Ann Lee", "Ann_Lee"};
const Student bob{61002, "Bob Ray", "Bob_Ray"};

// A child's work, "account clicks first drives": a student's run on the campus folder under
// the account, as the class's administrator has it: the class's group, umask 002.
int recordAsStudent(const std::string& argument) {
    std::istringstream words(argument);
    uid_t account = 0;
    int clicks = 0;
    int first = 0;
    words >> account >> clicks >> first >> std::ws;
    std::string drives;
    std::getline(words, drives);
    const Student& student = account == ann.account ? ann : bob;
    ::umask(002);
    if (::setgroups(1, &classGroup) != 0 || ::setgid(classGroup) != 0 || ::setuid(account) != 0) {
        return 2;
    }
    testing::FakePlatform platform{fs::path(drives)};
    // A run started after another starts later, as every real one does, so its header is its own.
    platform.fakeClock.secondsOfDay += first;
    Run run(platform);
    testing::answerStartUp(platform, "2", student.name, "X", "1");
    runHandler(run, &loadWindow);
    for (int number = first; number < first + clicks; ++number) {
        platform.answer = std::string(student.name) + " answer " + std::to_string(number);
        runHandler(run, number % 3 == 2 ? &saveAsNotesClicked : &enterResponseClicked);
    }
    return platform.messages.empty() ? 0 : 1;
}

std::string argumentFor(const Student& student, int clicks, int first, const fs::path& drives) {
    return std::to_string(student.account) + " " + std::to_string(clicks) + " " +
           std::to_string(first) + " " + drives.string();
}

// The answers one record file holds, each with how often; problems count as -1 entries.
std::map<std::string, int> answersIn(const fs::path& file) {
    struct Counting final : RecordVisitor {
        std::map<std::string, int> answers;
        void header(const RecordHeader&) override {}
        void block(const RecordBlock& read) override { ++answers[std::string(read.answer)]; }
        void problem(const RecordProblem& read) override { ++answers["problem: " + read.what]; }
    } counting;
    std::ifstream bytes(file, std::ios::binary);
    readRecordFile(bytes, *parseRecordFileName(file.filename().string()), counting);
    return counting.answers;
}

TEST(CampusFolder, TwoAccountsInOneFolderEachRecordEveryClickOnce) {
    ChildProcess::serveIfChild(recordAsStudent);
    if (::geteuid() != 0) {
        GTEST_SKIP() << "two accounts of a class need root to be taken on";
    }
    constexpr int clicks = 150;
    const struct {
        const char* what;
        mode_t mode;
    } setups[] = {{"setgid 2775 folder of the class's group", 02775},
                  {"sticky 1777 folder", 01777}};
    for (const auto& setup : setups) {
        SCOPED_TRACE(setup.what);
        testing::TemporaryFolder root(fs::is_directory("/dev/shm") ? fs::path("/dev/shm")
                                                                   : fs::temp_directory_path());
        const fs::path drives = root.path() / "drives";
        fs::create_directories(drives / campus);
        ASSERT_EQ(::chmod(root.path().c_str(), 0755), 0);
        ASSERT_EQ(::chown((drives / campus).c_str(), 0, classGroup), 0);
        ASSERT_EQ(::chmod((drives / campus).c_str(), setup.mode), 0);

        // Bob is killed part way through his run, once his master file has grown a little,
        // and starts again.
        const auto folder = drives / campus;
        const fs::path bobsMaster =
            folder / ("masterFile_" + std::string(bob.fileNamePart) + ".txt");
        ChildProcess annRun(recordAsStudent, argumentFor(ann, clicks, 0, drives));
        {
            ChildProcess bobRun(recordAsStudent, argumentFor(bob, clicks, 0, drives));
            std::error_code error;
            const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
            while ((fs::file_size(bobsMaster, error) < 8000 || error) &&
                   std::chrono::steady_clock::now() < giveUp) {
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            }
            bobRun.kill();
        }
        EXPECT_EQ(annRun.waitFor(), 0);
        EXPECT_EQ(ChildProcess(recordAsStudent, argumentFor(bob, 20, clicks, drives)).waitFor(), 0);

        const std::map<std::string, int> annMaster =
            answersIn(folder / ("masterFile_" + std::string(ann.fileNamePart) + ".txt"));
        const std::map<std::string, int> bobMaster = answersIn(bobsMaster);
        int annRecorded = 0;
        for (int number = 0; number < clicks; ++number) {
            const auto found = annMaster.find("Ann Lee answer " + std::to_string(number));
            annRecorded += found != annMaster.end() && found->second == 1;
        }
        EXPECT_EQ(annRecorded, clicks);
        int bobBefore = 0;
        for (const auto& [text, count] : bobMaster) {
            EXPECT_EQ(text.find("problem"), std::string::npos) << text;
            EXPECT_EQ(count, 1) << text;
            bobBefore += text.find("Bob Ray answer") == 0 && std::stoi(text.substr(15)) < clicks;
        }
        for (int number = clicks; number < clicks + 20; ++number) {
            EXPECT_EQ(bobMaster.count("Bob Ray answer " + std::to_string(number)), 1u);
        }
        struct stat status {};
        ASSERT_EQ(
            ::stat((folder / ("masterFile_" + std::string(ann.fileNamePart) + ".txt")).c_str(),
                   &status),
            0);
        EXPECT_EQ(status.st_mode & 0777, 0644u) << "no classmate may write it";
        EXPECT_EQ(status.st_uid, ann.account);
        if (setup.mode & S_ISGID) {
            EXPECT_EQ(status.st_gid, classGroup);
        }
        std::cout << "[ figures  ] " << setup.what << ": Ann " << annRecorded << " of " << clicks
                  << " clicks once each; Bob killed after " << bobBefore
                  << " whole clicks, then 20 more once each; no problem in any file\n";
    }
}

} // namespace
} // namespace drilbank
#endif
