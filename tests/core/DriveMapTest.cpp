#include "platform/DriveMap.h"
#include "platform/Failure.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace drilbank {
namespace {

int failureOf(const DriveMap& drives, const std::string& path) {
    try {
        drives.toLocal(path);
    } catch (const Failure& fault) {
        return fault.number();
    }
    return 0;
}

TEST(DriveMap, DriveLettersAreFoldersUnderTheRoot) {
    testing::TemporaryFolder folder;
    const DriveMap drives(folder.path());
    EXPECT_EQ(drives.toLocal("c:\\drilbank\\masterFile_Ann.txt"),
              folder.path() / "c" / "drilbank" / "masterFile_Ann.txt");
    EXPECT_EQ(drives.toLocal("C:\\x"), folder.path() / "c" / "x");
    EXPECT_TRUE(std::filesystem::is_directory(folder.path() / "c"));
    // Windows-1252 names become UTF-8 names on this machine.
    EXPECT_EQ(drives.toLocal("c:\\Jos\xE9.txt"), folder.path() / "c" / "Jos\xC3\xA9.txt");
}

TEST(DriveMap, NamesInOtherCapitalsReachTheSameFile) {
    testing::TemporaryFolder folder;
    const DriveMap drives(folder.path());
    std::filesystem::create_directories(folder.path() / "c" / "drilbank");
    std::ofstream(folder.path() / "c" / "drilbank" / "masterFile_Ann_Lee.txt") << "kept";
    EXPECT_EQ(drives.toLocal("C:\\DrilBank\\MASTERFILE_ann_lee.TXT"),
              folder.path() / "c" / "drilbank" / "masterFile_Ann_Lee.txt");
    EXPECT_EQ(drives.toLocal("c:\\drilbank\\notes_Ann_Lee.txt"),
              folder.path() / "c" / "drilbank" / "notes_Ann_Lee.txt");
}

TEST(DriveMap, OnlyDriveCIsMadeOnDemand) {
    testing::TemporaryFolder folder;
    const DriveMap drives(folder.path());
    EXPECT_EQ(failureOf(drives, "i:\\bkp_000416\\lb1\\x.txt"), failure::PathNotFound);
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "i"));
    std::filesystem::create_directory(folder.path() / "i");
    EXPECT_EQ(failureOf(drives, "i:\\bkp_000416\\lb1\\x.txt"), 0);
}

TEST(DriveMap, NamesAWindowsFileNameCannotHoldAreBadFileNames) {
    testing::TemporaryFolder folder;
    const DriveMap drives(folder.path());
    const char* bad[] = {
        "c:\\d\\a/b.txt", "c:\\d\\a:b.txt",  "c:\\d\\a*b",
        "c:\\d\\a?b",     "c:\\d\\a\"b",     "c:\\d\\<a>",
        "c:\\d\\a|b",     "c:\\d\\..\\x",    "c:\\..",
        "c:\\d\\.",       "c:\\d\\\\x",      "c:\\d\\",
        "c:\\d\\x\x01y",  "c:\\d\\CON",      "c:\\d\\nul.txt",
        "c:\\d\\COM1",    "c:\\d\\lpt9.log", "c:\\d\\trailing.",
        "c:\\d\\blank ",  "drilbank\\x",     "",
        "1:\\x",
    };
    for (const char* path : bad) {
        EXPECT_EQ(failureOf(drives, path), failure::BadFileName) << path;
    }
    for (const char* good : {"c:\\d\\CONSOLE.txt", "c:\\d\\masterFile_CON.txt", "c:\\d\\COM10",
                             "c:\\d\\..x", "c:", "c:\\d\\&#916;.txt"}) {
        EXPECT_EQ(failureOf(drives, good), 0) << good;
    }
}

TEST(DriveMap, TheRootComesFromTheEnvironment) {
    ::setenv("DRILBANK_DRIVES", "/somewhere/drives", 1);
    EXPECT_EQ(DriveMap::fromEnvironment().root(), "/somewhere/drives");
    ::unsetenv("DRILBANK_DRIVES");
    ::setenv("HOME", "/home/student", 1);
    EXPECT_EQ(DriveMap::fromEnvironment().root(), "/home/student/.local/share/drilbank/drives");
}

} // namespace
} // namespace drilbank
