// A class on one campus folder: two students under accounts of their own record at once in
// the folder their administrator set up, each through a journal of their own, and one of
// them is killed part way through a click. POSIX accounts need root to be taken on.
#ifndef _WIN32
#include "format/RecordFileName.h"
#include "journal/JournalEntry.h"
#include "reading/RecordReader.h"
#include "record/EnterResponse.h"
#include "record/SaveAsNotes.h"
#include "support/AnswerCounts.h"
#include "support/ChildProcess.h"
#include "support/FakePlatform.h"
#include "texts/FailureTexts.h"
#include "texts/StudentTexts.h"
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

std::map<std::string, int> answersIn(const fs::path& file) {
    std::ifstream bytes(file, std::ios::binary);
    return testing::answersIn(bytes, file.filename().string());
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

// A classmate's run, "account umask clicks drives report": a start-up and the clicks (E for
// Enter Response, N for Save as Notes) under the account and umask; every message the run
// showed, with its detail, goes to the report, a line each.
int clicksAsStudent(const std::string& argument) {
    std::istringstream words(argument);
    uid_t account = 0;
    mode_t mask = 0;
    std::string clicks;
    std::string drives;
    std::string report;
    words >> account >> std::oct >> mask >> clicks >> drives >> report;
    ::umask(mask);
    if (::setgroups(1, &classGroup) != 0 || ::setgid(classGroup) != 0 || ::setuid(account) != 0) {
        return 2;
    }
    const Student& student = account == ann.account ? ann : bob;
    testing::FakePlatform platform{fs::path(drives)};
    Run run(platform);
    testing::answerStartUp(platform, "2", student.name, "X", "1");
    runHandler(run, &loadWindow);
    for (std::size_t number = 0; number < clicks.size(); ++number) {
        platform.answer = std::string(student.name) + " click " + std::to_string(number);
        runHandler(run, clicks[number] == 'N' ? &saveAsNotesClicked : &enterResponseClicked);
    }
    std::ofstream out(report);
    for (std::size_t message = 0; message < platform.messages.size(); ++message) {
        out << platform.messages[message] << "\t" << platform.details[message] << "\n";
    }
    return out ? 0 : 3;
}

struct Shown {
    std::vector<std::string> messages;
    std::vector<std::string> details;
};

Shown runAs(const Student& student, mode_t mask, const std::string& clicks, const fs::path& drives,
            const fs::path& reports) {
    const fs::path report = reports / "report.txt";
    fs::remove(report);
    std::ostringstream argument;
    argument << student.account << ' ' << std::oct << mask << ' ' << clicks << ' '
             << drives.string() << ' ' << report.string();
    EXPECT_EQ(ChildProcess(clicksAsStudent, argument.str()).waitFor(), 0);
    Shown shown;
    std::ifstream lines(report);
    for (std::string line; std::getline(lines, line);) {
        shown.messages.push_back(line.substr(0, line.find('\t')));
        shown.details.push_back(line.substr(line.find('\t') + 1));
    }
    return shown;
}

std::string bytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// What a classmate may do in a sticky folder everyone may write: put a file of his own at any
// name she has not taken yet. None of it may forge, change or block her records.
TEST(CampusFolder, AClassmatesFilesNeitherForgeNorBlockNorChangeAStudentsRecords) {
    ChildProcess::serveIfChild(clicksAsStudent);
    if (::geteuid() != 0) {
        GTEST_SKIP() << "two accounts of a class need root to be taken on";
    }
    testing::TemporaryFolder root(fs::is_directory("/dev/shm") ? fs::path("/dev/shm")
                                                               : fs::temp_directory_path());
    const fs::path drives = root.path() / "drives";
    const fs::path reports = root.path() / "reports";
    const fs::path folder = drives / campus;
    fs::create_directories(folder);
    fs::create_directories(reports);
    ASSERT_EQ(::chmod(root.path().c_str(), 0755), 0);
    ASSERT_EQ(::chmod(reports.c_str(), 0777), 0);
    ASSERT_EQ(::chmod(folder.c_str(), 01777), 0);
    const fs::path master = folder / "masterFile_Ann_Lee.txt";
    const fs::path notes = folder / "notes_Ann_Lee.txt";
    const fs::path journal = folder / ".drilbank-journal_Ann_Lee";
    const auto plantAsBob = [&](const fs::path& path, const std::string& bytes) {
        ChildProcess planting(
            [&](const std::string&) {
                return ::setuid(bob.account) == 0 &&
                               (std::ofstream(path, std::ios::binary) << bytes)
                           ? 0
                           : 1;
            },
            "");
        ASSERT_EQ(planting.waitFor(), 0);
    };

    // Her files are made writable by her alone, whatever the umask.
    for (const mode_t mask : {mode_t{002}, mode_t{022}}) {
        for (const auto& entry : fs::directory_iterator(folder)) {
            fs::remove(entry.path());
        }
        EXPECT_TRUE(runAs(ann, mask, "EN", drives, reports).messages.empty());
        for (const fs::path& file : {master, notes, journal}) {
            struct stat status {};
            ASSERT_EQ(::stat(file.c_str(), &status), 0) << file;
            EXPECT_EQ(status.st_mode & 0777, 0644u) << file << " under umask 0" << std::oct << mask;
            std::cout << "[ figures  ] umask 0" << std::oct << mask << ": " << file.filename()
                      << " made 0" << (status.st_mode & 0777) << std::dec << "\n";
        }
    }

    // Her journal gone, as after her files were copied into a new folder: a forged entry of
    // his at its name, and, the next time, an empty file of his there.
    const std::string forged = entryBytes(
        "forged", {{master.filename().string(), fs::file_size(master), "FORGED BLOCK\r\n"}});
    for (const std::string& planted : {forged, std::string()}) {
        SCOPED_TRACE(planted.empty() ? "an empty file of his" : "a forged entry of his");
        fs::remove(journal);
        for (const auto& entry : fs::directory_iterator(folder)) {
            if (entry.path().filename().string().starts_with(".drilbank-journal_Ann_Lee-")) {
                fs::remove(entry.path());
            }
        }
        plantAsBob(journal, planted);
        const std::string masterBefore = bytesOf(master);
        const Shown shown = runAs(ann, 002, "EE", drives, reports);
        ASSERT_EQ(shown.messages.size(), 1u) << "said once, and no click failed";
        EXPECT_EQ(shown.messages[0], journalOtherNameMessage);
        EXPECT_NE(shown.details[0].find(".drilbank-journal_Ann_Lee-2"), std::string::npos);
        EXPECT_EQ(bytesOf(journal), planted) << "his file is left alone";
        const std::string gained = bytesOf(master).substr(masterBefore.size());
        EXPECT_EQ(gained.find("FORGED"), std::string::npos);
        EXPECT_NE(gained.find("Ann Lee click 1"), std::string::npos);
        std::cout << "[ figures  ] " << (planted.empty() ? "blocking" : "forging")
                  << ": told once \"" << shown.messages[0].substr(0, 60) << "...\" "
                  << shown.details[0] << "\n";
    }

    // A record file of his where her notes belong: error 70, and his file stays as it is.
    fs::remove(notes);
    plantAsBob(notes, "his\r\n");
    const Shown shown = runAs(ann, 002, "N", drives, reports);
    ASSERT_FALSE(shown.messages.empty());
    EXPECT_EQ(shown.messages.back(), generalErrorMessage(failure::PermissionDenied));
    EXPECT_NE(shown.details.back().find(anotherAccountsFileText), std::string::npos)
        << shown.details.back();
    EXPECT_EQ(bytesOf(notes), "his\r\n");
    std::cout << "[ figures  ] his notes file: " << shown.messages.back().substr(0, 40) << "... "
              << shown.details.back() << "\n";
}

} // namespace
} // namespace drilbank
#endif
