#include "platform/RecordFiles.h"
#include "platform/AppendJournal.h"
#include "platform/Failure.h"
#include "support/AsUnprivilegedUser.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace drilbank {
namespace {

namespace fs = std::filesystem;

int failureOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Failure& fault) {
        return fault.number();
    }
    return 0;
}

struct RecordFilesTest : ::testing::Test {
    testing::TemporaryFolder folder;
    RecordFiles files{DriveMap(folder.path())};
    fs::path drive = folder.path() / "c";

    RecordFilesTest() { fs::create_directories(drive / "d"); }

    std::string bytesOf(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    void writeFile(const fs::path& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
};

TEST_F(RecordFilesTest, AppendsReachTheFileAsOneBlockWhenTheChannelCloses) {
    writeFile(drive / "d" / "m.txt", "old\r\n");
    files.open(1, "c:\\d\\m.txt", ChannelMode::Append);
    files.writeLine(1, "first");
    files.writeLine(1, "");
    EXPECT_EQ(bytesOf(drive / "d" / "m.txt"), "old\r\n"); // nothing half-written meanwhile
    files.close(1);
    EXPECT_EQ(bytesOf(drive / "d" / "m.txt"), "old\r\nfirst\r\n\r\n");
    EXPECT_FALSE(files.isOpen(1));

    files.open(2, "c:\\d\\new.txt", ChannelMode::Append);
    files.close(2);
    EXPECT_TRUE(fs::exists(drive / "d" / "new.txt"));
}

TEST_F(RecordFilesTest, TheZoneEndingPadsToTheNextFourteenColumnZone) {
    files.open(1, "c:\\d\\z.txt", ChannelMode::Append);
    files.writeLine(1, std::string(49, '.'), LineEnding::NextPrintZone); // column 50 to 57
    files.writeLine(1, "next");
    files.writeLine(1, "", LineEnding::NextPrintZone);                   // column 1 to 15
    files.writeLine(1, std::string(14, 'x'), LineEnding::NextPrintZone); // 29
    files.writeLine(1, "a\r\nbc", LineEnding::NextPrintZone);            // column 3 to 15
    files.close(1);
    EXPECT_EQ(bytesOf(drive / "d" / "z.txt"),
              std::string(49, '.') + std::string(7, ' ') + "next\r\n" + std::string(14, ' ') +
                  std::string(14, 'x') + std::string(14, ' ') + "a\r\nbc" + std::string(12, ' '));
}

TEST_F(RecordFilesTest, ChannelRules) {
    files.open(3, "c:\\d\\n.txt", ChannelMode::Append);
    EXPECT_EQ(failureOf([&] { files.open(3, "c:\\d\\other.txt", ChannelMode::Append); }),
              failure::FileAlreadyOpen);
    EXPECT_NO_THROW(files.close(1)); // closing a closed channel does nothing
    EXPECT_EQ(failureOf([&] { files.open(4, "c:\\d\\x.txt", ChannelMode::Append); }),
              failure::BadFileName);
    EXPECT_EQ(failureOf([&] { files.writeLine(2, "nowhere"); }), failure::BadFileName);
    files.closeAll();
    EXPECT_FALSE(files.isOpen(3));
}

TEST_F(RecordFilesTest, ReadingGivesLinesWithoutTheirEndsAndFailsPastTheEnd) {
    writeFile(drive / "d" / "r.txt", "A\r\n\r\nB C\r\n" + std::string(49, '.') + "       ");
    files.open(3, "c:\\d\\r.txt", ChannelMode::Input);
    std::vector<std::string> lines;
    while (!files.atEndOfFile(3)) {
        lines.push_back(files.readLine(3));
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"A", "", "B C", std::string(49, '.') + "       "}));
    EXPECT_EQ(failureOf([&] { files.readLine(3); }), failure::InputPastEndOfFile);
    files.close(3);

    writeFile(drive / "d" / "empty.txt", "");
    files.open(3, "c:\\d\\empty.txt", ChannelMode::Input);
    EXPECT_TRUE(files.atEndOfFile(3));
    files.close(3);

    EXPECT_EQ(failureOf([&] { files.open(3, "c:\\d\\none.txt", ChannelMode::Input); }),
              failure::FileNotFound);
    EXPECT_EQ(failureOf([&] { files.open(3, "c:\\nofolder\\n.txt", ChannelMode::Input); }),
              failure::PathNotFound);
    EXPECT_FALSE(files.isOpen(3));
}

TEST_F(RecordFilesTest, OutputEmptiesTheFileFirst) {
    writeFile(drive / "d" / "o.txt", "previous contents\r\n");
    files.open(2, "c:\\d\\o.txt", ChannelMode::Output);
    files.writeLine(2, "new");
    files.close(2);
    EXPECT_EQ(bytesOf(drive / "d" / "o.txt"), "new\r\n");
}

TEST_F(RecordFilesTest, AFullDiskLosesNothingAlreadyThereAndClosesTheChannel) {
    fs::create_symlink("/dev/full", drive / "d" / "full.txt");
    files.open(1, "c:\\d\\full.txt", ChannelMode::Append);
    files.writeLine(1, "a block that does not fit");
    EXPECT_EQ(failureOf([&] { files.close(1); }), failure::DiskFull);
    EXPECT_FALSE(files.isOpen(1));
    EXPECT_NO_THROW(files.open(1, "c:\\d\\m.txt", ChannelMode::Append));
    files.close(1);
}

TEST_F(RecordFilesTest, FolderFaultsAreNumberedFailures) {
    fs::create_directory(drive / "d" / "dir.txt");
    EXPECT_EQ(failureOf([&] { files.open(1, "c:\\d\\dir.txt", ChannelMode::Append); }),
              failure::PathFileAccessError);
    EXPECT_EQ(failureOf([&] { files.open(1, "c:\\gone\\m.txt", ChannelMode::Append); }),
              failure::PathNotFound);
    EXPECT_EQ(failureOf([&] { files.open(1, "q:\\m.txt", ChannelMode::Append); }),
              failure::PathNotFound);
    EXPECT_EQ(failureOf([&] {
                  files.open(1, "c:\\d\\" + std::string(300, 'n') + ".txt", ChannelMode::Append);
              }),
              failure::BadFileName);
    EXPECT_EQ(failureOf([&] { files.createDirectory("c:\\d"); }), failure::PathFileAccessError);
    EXPECT_FALSE(files.isOpen(1));
}

TEST_F(RecordFilesTest, AnAppendAKilledWriterLeftHalfDoneIsRolledBack) {
    const std::string whole = "whole block\r\n";
    writeFile(drive / "d" / "m.txt", whole + "half a blo");
    writeFile(drive / "d" / ".m.txt.appending", "13 30\n");
    files.open(1, "c:\\d\\m.txt", ChannelMode::Append);
    files.writeLine(1, "next block");
    files.close(1);
    EXPECT_EQ(bytesOf(drive / "d" / "m.txt"), whole + "next block\r\n");
    EXPECT_FALSE(fs::exists(drive / "d" / ".m.txt.appending"));

    // An append that had finished when its writer died is kept.
    writeFile(drive / "d" / ".m.txt.appending", "13 25\n");
    files.open(1, "c:\\d\\m.txt", ChannelMode::Append);
    files.close(1);
    EXPECT_EQ(bytesOf(drive / "d" / "m.txt"), whole + "next block\r\n");
    EXPECT_FALSE(fs::exists(drive / "d" / ".m.txt.appending"));
}

TEST(AppendJournal, OnlyAppendsThatCrossAPageNeedAMarker) {
    EXPECT_FALSE(AppendJournal::needed(0, 4096));
    EXPECT_FALSE(AppendJournal::needed(4000, 96));
    EXPECT_TRUE(AppendJournal::needed(4000, 97));
    EXPECT_TRUE(AppendJournal::needed(8191, 2));
    EXPECT_TRUE(AppendJournal::needed(0, 10 << 20));
}

TEST_F(RecordFilesTest, AReadOnlyFolderOrFileIsPermissionDenied) {
    writeFile(drive / "d" / "locked.txt", "kept\r\n");
    ::chmod(folder.path().c_str(), 0755);
    ::chmod(drive.c_str(), 0755);
    ::chmod((drive / "d").c_str(), 0555);
    ::chmod((drive / "d" / "locked.txt").c_str(), 0444);
    const int newFile = testing::resultAsUnprivilegedUser([&] {
        RecordFiles childFiles{DriveMap(folder.path())};
        return failureOf([&] { childFiles.open(1, "c:\\d\\new.txt", ChannelMode::Append); });
    });
    const int lockedFile = testing::resultAsUnprivilegedUser([&] {
        RecordFiles childFiles{DriveMap(folder.path())};
        return failureOf([&] { childFiles.open(1, "c:\\d\\locked.txt", ChannelMode::Append); });
    });
    EXPECT_EQ(newFile, failure::PermissionDenied);
    EXPECT_EQ(lockedFile, failure::PermissionDenied);
    EXPECT_EQ(bytesOf(drive / "d" / "locked.txt"), "kept\r\n");
}

} // namespace
} // namespace drilbank
