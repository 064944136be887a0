#include "files/RecordFiles.h"
#include "journal/ClickJournal.h"
#include "os/Failure.h"
#ifndef _WIN32
#include "support/AsUnprivilegedUser.h"
#endif
#include "support/FaultInjectingFiles.h"
#include "support/TemporaryFolder.h"
#include "texts/StudentTexts.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
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
    testing::FaultInjectingFiles faults;
    RecordFiles files{DriveMap(folder.path()), faults};
    fs::path drive = folder.path() / "c";
    fs::path journal = drive / "d" / std::string(ClickJournal::namePrefix);

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
    writeFile(drive / "d" / "full.txt", "kept\r\n");
    faults.failingName = "full.txt";
    faults.bytesBeforeFault = 7; // landed, then cut back: only our own bytes are ever cut
    files.open(1, "c:\\d\\full.txt", ChannelMode::Append);
    files.writeLine(1, "a block that does not fit");
    EXPECT_EQ(failureOf([&] { files.close(1); }), failure::DiskFull);
    EXPECT_FALSE(files.isOpen(1));
    EXPECT_EQ(bytesOf(drive / "d" / "full.txt"), "kept\r\n"); // our own bytes are cut back
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

// A click over two files where the second takes only `landed` bytes of its block, kept as a
// kill leaves them (or cut back, when `cut`), and then `zeros` zero bytes, as a power cut
// leaves a file grown without its data; then the cause goes away and the folder recovers.
struct Interrupted {
    std::size_t landed;
    bool cut;
    std::size_t zeros = 0;
};

TEST_F(RecordFilesTest, AnUnfinishedClickIsCompletedInExactlyTheFilesThatLackIt) {
    const std::string block = "line one\r\nline two\r\n";
    int number = 0;
    for (const Interrupted& interrupted :
         {Interrupted{0, false}, Interrupted{1, false}, Interrupted{12, false},
          Interrupted{block.size() - 1, false}, Interrupted{9, true}, Interrupted{0, false, 4},
          Interrupted{12, false, block.size() - 12}}) {
        SCOPED_TRACE(interrupted.landed);
        writeFile(drive / "d" / "a.txt", "old a\r\n");
        writeFile(drive / "d" / "b.txt", "old b\r\n");
        faults = testing::FaultInjectingFiles();
        faults.failingName = "b.txt";
        faults.bytesBeforeFault = interrupted.landed;
        faults.cutsFail = !interrupted.cut;
        files.open(1, "c:\\d\\a.txt", ChannelMode::Append);
        files.open(2, "c:\\d\\b.txt", ChannelMode::Append);
        files.writeLine(1, "line one\r\nline two");
        files.writeLine(2, "line one\r\nline two");
        // A click of its own each time: the same text again would be this click's retry.
        const std::string click = "line one, case " + std::to_string(++number);
        files.nameClick(click);
        EXPECT_EQ(failureOf([&] { files.close({1, 2}); }), failure::DiskFull);
        EXPECT_GT(fs::file_size(journal), 0u);
        EXPECT_EQ(bytesOf(drive / "d" / "a.txt"), "old a\r\n" + block);
        EXPECT_EQ(bytesOf(drive / "d" / "b.txt"),
                  "old b\r\n" + block.substr(0, interrupted.cut ? 0 : interrupted.landed));
        std::ofstream(drive / "d" / "b.txt", std::ios::binary | std::ios::app)
            << std::string(interrupted.zeros, '\0');

        faults.failingName.clear();
        files.recover("c:\\d");
        EXPECT_EQ(files.completedClick(), files.clickName(click));
        files.recover("c:\\d"); // a second recovery finds nothing left to do
        EXPECT_EQ(files.completedClick(), std::nullopt);
        EXPECT_EQ(bytesOf(drive / "d" / "a.txt"), "old a\r\n" + block);
        EXPECT_EQ(bytesOf(drive / "d" / "b.txt"), "old b\r\n" + block);
        EXPECT_FALSE(ClickJournal::mayNeedRecovery(systemFiles(), journal));
    }
}

TEST_F(RecordFilesTest, AFileChangedSinceTheFaultIsLeftAloneAndReportedOnce) {
    writeFile(drive / "d" / "a.txt", "old a\r\n");
    faults.failingName = "b.txt";
    files.open(1, "c:\\d\\a.txt", ChannelMode::Append);
    files.open(2, "c:\\d\\b.txt", ChannelMode::Append);
    files.writeLine(1, "block");
    files.writeLine(2, "block");
    EXPECT_EQ(failureOf([&] { files.close({1, 2}); }), failure::DiskFull);
    faults.failingName.clear();
    writeFile(drive / "d" / "b.txt", "someone else's\r\n");

    try {
        files.recover("c:\\d");
        ADD_FAILURE() << "the changed file was not reported";
    } catch (const Failure& fault) {
        EXPECT_EQ(fault.number(), failure::PathFileAccessError);
        EXPECT_NE(fault.detail().find("b.txt"), std::string::npos) << fault.detail();
        EXPECT_NE(fault.detail().find("c:\\d"), std::string::npos) << fault.detail();
    }
    EXPECT_EQ(bytesOf(drive / "d" / "b.txt"), "someone else's\r\n");
    EXPECT_EQ(bytesOf(drive / "d" / "a.txt"), "old a\r\nblock\r\n");
    EXPECT_NO_THROW(files.recover("c:\\d"));
}

TEST_F(RecordFilesTest, AJournalEntryCutShortOrDamagedIsDroppedWithoutTouchingAFile) {
    writeFile(drive / "d" / "a.txt", "old\r\n");
    faults.failingName = "a.txt";
    files.open(1, "c:\\d\\a.txt", ChannelMode::Append);
    files.writeLine(1, "the block");
    EXPECT_EQ(failureOf([&] { files.close(1); }), failure::DiskFull);
    faults.failingName.clear();
    const std::string entry = bytesOf(journal);
    ASSERT_FALSE(entry.empty());
    std::vector<std::string> broken;
    for (std::size_t cut = 0; cut < entry.size(); ++cut) {
        broken.push_back(entry.substr(0, cut));
    }
    for (std::size_t changed = 0; changed < entry.size(); changed += 3) {
        broken.push_back(entry);
        broken.back()[changed] = static_cast<char>(broken.back()[changed] ^ 0x20);
    }
    broken.push_back("10 999999999\n"); // a marker of another kind planted in its place
    for (const std::string& bytes : broken) {
        writeFile(journal, bytes);
        EXPECT_NO_THROW(files.recover("c:\\d")) << bytes;
        EXPECT_EQ(bytesOf(drive / "d" / "a.txt"), "old\r\n") << bytes;
        EXPECT_EQ(fs::file_size(journal), 0u) << bytes;
    }
    writeFile(journal, entry);
    files.recover("c:\\d");
    EXPECT_EQ(bytesOf(drive / "d" / "a.txt"), "old\r\nthe block\r\n");
}

// A journal the program did not write (one with a second name, such as a record file's;
// bytes that are no entry; a folder; a link) is set aside under a new name and said once,
// never cut; the click goes through a new journal.
TEST_F(RecordFilesTest, AJournalNotTheProgramsOwnIsSetAsideNeverCut) {
    const fs::path record = drive / "d" / "a.txt";
    const struct {
        const char* what;
        std::function<void()> plant;
    } plantings[] = {
        {"a second name of a record file", [&] { fs::create_hard_link(record, journal); }},
        {"someone else's bytes", [&] { writeFile(journal, "10 999999999\n"); }},
        {"a folder", [&] { fs::create_directory(journal); }},
        {"a link", [&] { fs::create_symlink(record, journal); }},
    };
    for (const auto& planting : plantings) {
        SCOPED_TRACE(planting.what);
        writeFile(record, "old a\r\n");
        std::error_code error;
        fs::remove_all(journal, error);
        try {
            planting.plant();
        } catch (const fs::filesystem_error&) {
            std::cout << "[ skipped  ] " << planting.what << ": not made on this system\n";
            continue;
        }
        files.recover("c:\\d"); // start-up: nothing to complete
        files.open(1, "c:\\d\\a.txt", ChannelMode::Append);
        files.writeLine(1, "block");
        files.close(1);
        EXPECT_EQ(bytesOf(record), "old a\r\nblock\r\n");
        const std::vector<RecordFiles::JournalNotice> told = files.takeJournalNotices();
        ASSERT_EQ(told.size(), 1u);
        EXPECT_EQ(told[0].message, journalSetAsideMessage);
        EXPECT_NE(told[0].place.find(".set-aside-"), std::string::npos) << told[0].place;
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(journal)));
        EXPECT_TRUE(fs::file_size(journal) > 0u);
        for (const auto& entry : fs::directory_iterator(drive / "d")) {
            if (entry.path().filename().string().find(".set-aside-") != std::string::npos) {
                fs::remove_all(entry.path());
            }
        }
    }
}

#ifndef _WIN32
// Permissions bind only a user other than root; Windows' own refusals (a read-only file, a
// file held without sharing) are tested where its file layer is.
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
#endif

} // namespace
} // namespace drilbank
