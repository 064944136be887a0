// Odd and hostile input: nothing crashes, hangs, writes outside the working directory or
// spoils a block written before.
#include "DrillRun.h"
#include "platform/Failure.h"
#include "record/EnterResponse.h"
#include "record/ReviewDisplays.h"
#include "record/SaveAsNotes.h"
#include "run/FailureMessages.h"

#include <gtest/gtest.h>

#include <filesystem>

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
    };
    for (const auto& [name, failureNumber] : cases) {
        testing::DrillRun drill;
        testing::answerStartUp(drill.platform, "1", name, "X", "1");
        EXPECT_TRUE(drill.click(&loadWindow)) << name;
        if (failureNumber == 0) {
            EXPECT_TRUE(drill.platform.messages.empty()) << name;
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

    // display notes joins the notes file's lines, so the note comes back without its breaks.
    std::string joined = pasted;
    std::erase(joined, '\r');
    std::erase(joined, '\n');
    drill.platform.question.clear();
    drill.click(&displayNotesClicked);
    EXPECT_TRUE(drill.platform.question.ends_with("NOTES -------> " + joined +
                                                  std::string(49, '.') + std::string(7, ' ')));
}

} // namespace
} // namespace drilbank
