// Odd and hostile input: nothing crashes, hangs, writes outside the working directory or
// spoils a block written before.
#include "DrillRun.h"
#include "encoding/Cp1252.h"
#include "handling/FailureMessages.h"
#include "journal/Checksum.h"
#include "os/Failure.h"
#include "record/EnterResponse.h"
#include "record/ReviewDisplays.h"
#include "record/SaveAsNotes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sys/stat.h>

namespace drilbank {
namespace {

namespace fs = std::filesystem;

// Every regular file under the drives, which must all lie in the working directory.
std::vector<fs::path> filesOutsideWorkingDirectory(const testing::FakePlatform& platform) {
    const fs::path working = platform.localPath("c:\\drilbank");
    std::vector<fs::path> outside;
    for (const auto& entry : fs::recursive_directory_iterator(platform.drivesRoot())) {
        if (!entry.is_directory() && entry.path().parent_path() != working) {
            outside.push_back(entry.path());
        }
    }
    return outside;
}

TEST(HostileInput, NamesEitherNameFilesInTheWorkingDirectoryOrAreBadFileNames) {
    const std::pair<std::string, int> cases[] = {
        {"CON", 0},
        {"NUL", 0},
        {"COM1", 0},
        {"..", 0},
        {"..\\..\\x", 52},
        {"../../x", 52},
        {"Ann\x01Lee", 52},
        {"Ann\tLee", 52},
        {std::string(300, 'n'), 52},
        {"Jos\xE9 &#916;", 0},
        {std::string(240, 'n'), 0}, // a master file name of 255 bytes
        {cp1252FromUtf8("Анастасия Александровна Преображенская"), 0},
    };
    for (const auto& [name, failureNumber] : cases) {
        testing::DrillRun drill;
        testing::answerStartUp(drill.platform, "1", name, "X", "1");
        EXPECT_TRUE(drill.click(&loadWindow)) << name;
        if (failureNumber == 0) {
            EXPECT_EQ(drill.platform.details, std::vector<std::string>{}) << name;
            EXPECT_TRUE(drill.platform.fileExists(drill.run.state.masterFilePath)) << name;
        } else {
            EXPECT_EQ(drill.platform.messages,
                      std::vector<std::string>{generalErrorMessage(failureNumber)})
                << name;
        }
        EXPECT_EQ(filesOutsideWorkingDirectory(drill.platform), std::vector<fs::path>{}) << name;
    }
}

TEST(HostileInput, AssignmentAnswersTheScriptDoesNotHoldEndTheRunCleanly) {
    // "１" (a full-width digit) reaches the core as its character reference.
    for (const char* assignment : {" 7", "7 ", "1e1", "100.5", "-0", "&#65297;", " 1", "1e999"}) {
        testing::DrillRun drill;
        testing::answerStartUp(drill.platform, "1", "Ann", "A", assignment);
        EXPECT_FALSE(drill.click(&loadWindow)) << assignment;
        ASSERT_FALSE(drill.platform.messages.empty()) << assignment;
        EXPECT_EQ(drill.platform.messages.back(), invalidAssignmentMessage) << assignment;
        EXPECT_TRUE(drill.platform.ended);
        EXPECT_FALSE(drill.platform.fileExists("c:\\drilbank\\masterFile_Ann.txt")) << assignment;
    }
}

TEST(HostileInput, AnswersOfAnyBytesAndSizeAreRecordedExactlyAfterEarlierBlocks) {
    testing::DrillRun drill;
    drill.startUp();
    drill.platform.answer = "first";
    drill.click(&enterResponseClicked);
    const std::string master = drill.master();
    const std::string send = drill.send();

    const std::string controls("nul\0 esc\x1b del\x7f bell\x07 ff\x0c lone lf\n cr\r end", 40);
    std::string pasted(10 << 20, 'x');
    for (std::size_t at = 0; at < pasted.size(); at += 100) {
        pasted.replace(at, 2, "\r\n");
    }
    for (const std::string& answer : {controls, pasted}) {
        drill.platform.answer = answer;
        drill.click(&enterResponseClicked);
        drill.platform.answer = answer;
        drill.click(&saveAsNotesClicked);
    }
    EXPECT_TRUE(drill.platform.messages.empty());
    const std::string masterGained = testing::gained(master, drill.master());
    const std::string sendGained = testing::gained(send, drill.send());
    for (const std::string* gained : {&masterGained, &sendGained}) {
        EXPECT_NE(gained->find("RESPONSE -->  \r\n" + controls + "\r\n"), std::string::npos);
        EXPECT_NE(gained->find("RESPONSE -->  \r\n" + pasted + "\r\n"), std::string::npos);
        EXPECT_NE(gained->find("NOTES -------> " + pasted + "\r\n"), std::string::npos);
    }
    EXPECT_EQ(drill.run.state.workText, "NOTES -------> " + pasted);

    // display notes joins the notes file's lines, so the note comes back without its breaks;
    // of a note this large only the newest part is shown.
    std::string joined = pasted;
    std::erase(joined, '\r');
    std::erase(joined, '\n');
    drill.platform.question.clear();
    drill.click(&displayNotesClicked);
    EXPECT_TRUE(drill.platform.question.ends_with(joined.substr(joined.size() - 4096) +
                                                  std::string(49, '.') + std::string(7, ' ')));
    EXPECT_LE(drill.platform.question.size(), questionBoxBytes + 400);
}

TEST(HostileInput, NamesInOtherCapitalsShareFilesWhateverTheirLetters) {
    testing::TemporaryFolder drives;
    std::vector<fs::path> masters;
    for (const char* name : {"José Núñez", "JOSÉ NÚÑEZ", "Анастасия Орлова", "АНАСТАСИЯ ОРЛОВА"}) {
        testing::FakePlatform platform(drives.path());
        drilbank::Run run(platform);
        testing::answerStartUp(platform, "1", cp1252FromUtf8(name), "X", "1");
        runHandler(run, &loadWindow);
        EXPECT_TRUE(platform.messages.empty()) << name;
        masters.push_back(platform.localPath(run.state.masterFilePath));
    }
    // The names stay readable, and other capitals reach the same file.
    EXPECT_EQ(utf8Of(masters[0].filename()), "masterFile_José_Núñez.txt");
    EXPECT_EQ(utf8Of(masters[2].filename()), "masterFile_Анастасия_Орлова.txt");
    EXPECT_TRUE(fs::equivalent(masters[1], masters[0]));
    EXPECT_TRUE(fs::equivalent(masters[3], masters[2]));
}

// Something other than a plain file where a record file or the journal belongs.
enum class Planted { DanglingLink, Pipe, EndlessDevice, Folder };
#ifdef _WIN32
// Links, pipes and devices in a folder are POSIX things (and Wine makes no links): on Windows
// a folder is what can stand where a file belongs.
const Planted plantable[] = {Planted::Folder};
#else
const Planted plantable[] = {Planted::DanglingLink, Planted::Pipe, Planted::EndlessDevice,
                             Planted::Folder};
#endif

TEST(HostileInput, ThingsInPlaceOfAFileAreRefusedAtOnceAndNothingIsLost) {
    const std::vector<std::string> paths = {
        "c:\\drilbank\\masterFile_Ann_Lee_Smith.txt", "c:\\drilbank\\send_0416Ann_Lee_Smith.txt",
        "c:\\drilbank\\notes_Ann_Lee_Smith.txt", "c:\\drilbank\\.drilbank-journal_Ann_Lee_Smith"};
    int refused = 0;
    for (const std::string& path : paths) {
        for (const Planted planted : plantable) {
            SCOPED_TRACE(path + " " + std::to_string(static_cast<int>(planted)));
            testing::DrillRun drill;
            drill.startUp();
            drill.platform.answer = "an earlier note";
            drill.click(&saveAsNotesClicked);
            const fs::path local = drill.platform.localPath(path);
            const fs::path outside = drill.platform.drivesRoot() / "outside.txt";
            std::map<std::string, std::string> before;
            for (const std::string& other : paths) {
                if (other != path && drill.platform.fileExists(other)) {
                    before[other] = drill.platform.fileBytes(other);
                }
            }
            fs::remove(local);
            switch (planted) {
            case Planted::DanglingLink:
                fs::create_symlink(outside, local);
                break;
            case Planted::Pipe:
#ifndef _WIN32
                ASSERT_EQ(::mkfifo(local.c_str(), 0644), 0);
#endif
                break;
            case Planted::EndlessDevice:
                fs::create_symlink("/dev/zero", local);
                break;
            case Planted::Folder:
                fs::create_directory(local);
                break;
            }
            drill.platform.messages.clear();
            drill.platform.answer = "kept in the box";
            drill.click(&saveAsNotesClicked);
            drill.click(&displayNotesClicked);
            ASSERT_FALSE(drill.platform.messages.empty());
            EXPECT_FALSE(fs::exists(outside));
            if (path.find(".drilbank-journal") != std::string::npos) {
                // Not the program's own: set aside, said once, and the note goes through.
                EXPECT_EQ(drill.platform.messages.size(), 1u);
                EXPECT_NE(drill.platform.details.front().find(".set-aside-1"), std::string::npos);
                EXPECT_EQ(drill.platform.answer, "");
                EXPECT_NE(drill.notes().find("kept in the box"), std::string::npos);
                ++refused;
                continue;
            }
            EXPECT_EQ(drill.platform.messages.front(),
                      generalErrorMessage(failure::PathFileAccessError));
            EXPECT_EQ(drill.platform.answer, "kept in the box");
            for (const auto& [other, bytes] : before) {
                EXPECT_EQ(drill.platform.fileBytes(other), bytes) << other;
            }
            ++refused;
        }
    }
    std::cout << "[ figures  ] " << refused << " planted things refused, nothing lost\n";
}

// A journal entry written by someone else, checksums and all.
std::string plantedEntry(std::uint64_t sizeBefore, const std::string& name,
                         const std::string& block) {
    Checksum blockSum;
    blockSum.add(block);
    const std::string head = "drilbank journal 1\r\n1\r\n" + std::to_string(sizeBefore) + " " +
                             std::to_string(block.size()) + " " + std::to_string(blockSum.value()) +
                             " " + name + "\r\n" + block;
    Checksum whole;
    whole.add(head);
    return head + "end " + std::to_string(whole.value()) + "\r\n";
}

TEST(HostileInput, PlantedJournalEntriesThatDoNotMatchChangeNoFile) {
    const std::string master = "masterFile_Ann_Lee_Smith.txt";
    const std::pair<std::uint64_t, std::string> entries[] = {
        {10, master},                           // once cut a master file back to 10 bytes
        {999999999, master},                    // beyond the file's end
        {0, "../../outside.txt"},               // out of the folder
        {0, "/tmp/drilbank-planted.txt"},       // anywhere at all
        {0, ".drilbank-journal_Ann_Lee_Smith"}, // the journal itself
#ifndef _WIN32
        {0, "link"}, // a link put in the folder
#endif
    };
    for (const auto& [sizeBefore, name] : entries) {
        SCOPED_TRACE(name + " at " + std::to_string(sizeBefore));
        testing::DrillRun drill;
        drill.startUp();
        const std::string masterBytes = drill.master();
#ifndef _WIN32
        fs::create_symlink("/etc/hostname", drill.platform.localPath("c:\\drilbank\\link"));
#endif
        std::ofstream(drill.platform.localPath("c:\\drilbank\\.drilbank-journal_Ann_Lee_Smith"),
                      std::ios::binary)
            << plantedEntry(sizeBefore, name, "planted block\r\n");
        drill.platform.answer = "an answer";
        drill.click(&enterResponseClicked);
        ASSERT_EQ(drill.platform.messages.size(), 1u);
        EXPECT_EQ(drill.platform.messages[0], generalErrorMessage(failure::PathFileAccessError));
        EXPECT_EQ(drill.master(), masterBytes);
        EXPECT_EQ(drill.platform.answer, "an answer");
        drill.click(&enterResponseClicked); // reported once; the answer is then recorded
        EXPECT_EQ(drill.platform.messages.size(), 1u);
        EXPECT_EQ(drill.master().substr(0, masterBytes.size()), masterBytes);
        EXPECT_EQ(filesOutsideWorkingDirectory(drill.platform), std::vector<fs::path>{});
        EXPECT_FALSE(fs::exists("/tmp/drilbank-planted.txt"));
    }
}

} // namespace
} // namespace drilbank
