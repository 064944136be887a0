#include "files/DriveMap.h"
#include "os/Failure.h"
#include "support/TemporaryFolder.h"
#include "texts/FailureTexts.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <stdexcept>

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
    // Windows-1252 names keep their accents in the system's own file names.
    EXPECT_EQ(drives.toLocal("c:\\Jos\xE9.txt"),
              folder.path() / "c" / std::filesystem::path(u8"Jos\u00E9.txt"));
}

TEST(DriveMap, NamesInOtherCapitalsReachTheSameFile) {
    testing::TemporaryFolder folder;
    const DriveMap drives(folder.path());
    std::filesystem::create_directories(folder.path() / "c" / "drilbank");
    std::ofstream(folder.path() / "c" / "drilbank" / "masterFile_Ann_Lee.txt") << "kept";
    EXPECT_TRUE(
        std::filesystem::equivalent(drives.toLocal("C:\\DrilBank\\MASTERFILE_ann_lee.TXT"),
                                    folder.path() / "c" / "drilbank" / "masterFile_Ann_Lee.txt"));
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
        "1:\\x",          "c:\\d\\COM\xB9",  "c:\\d\\lpt\xB3.txt",
    };
    for (const char* path : bad) {
        EXPECT_EQ(failureOf(drives, path), failure::BadFileName) << path;
    }
    for (const char* good : {"c:\\d\\CONSOLE.txt", "c:\\d\\masterFile_CON.txt", "c:\\d\\COM10",
                             "c:\\d\\COM\xB9\xB2", "c:\\d\\..x", "c:", "c:\\d\\&#916;.txt"}) {
        EXPECT_EQ(failureOf(drives, good), 0) << good;
    }
}

void setEnvironment(const char* name, const char* value) {
#ifdef _WIN32
    _putenv_s(name, value); // the empty value removes the variable
#else
    *value ? ::setenv(name, value, 1) : ::unsetenv(name);
#endif
}

// In a message box a place wraps only after a separator: blanks inside its paths hold, and so
// do hyphens and the drive or root; the words around the place are left as they are.
TEST(DriveMap, PlacesInAMessageWrapOnlyAtSeparators) {
    const std::string mayBreak = "&#8203;";
    const std::string holds = "&#8288;";
    const struct {
        std::string message;
        std::string expected;
    } cases[] = {
        {"the folder " + describePlace("i:\\my docs", "/home/ann-lee/(x) y") + ": the disk is full",
         "the folder i:\\" + holds +
             "my\xA0"
             "docs (on this computer: /" +
             holds + "home/" + mayBreak + "ann-" + holds + "lee/" + mayBreak +
             "(x)\xA0y): the disk is full"},
        {"no place (here)", "no place (here)"},
    };
    for (const auto& each : cases) {
        EXPECT_EQ(wrappingPlacesAtSeparators(each.message), each.expected) << each.message;
    }
}

TEST(DriveMap, TheRootComesFromTheEnvironment) {
#ifdef _WIN32
    const char* somewhere = "C:\\somewhere\\drives";
#else
    const char* somewhere = "/somewhere/drives";
#endif
    setEnvironment("DRILBANK_DRIVES", somewhere);
    EXPECT_EQ(DriveMap::fromEnvironment().root(), somewhere);
    setEnvironment("DRILBANK_DRIVES", "");
#ifdef _WIN32
    // Windows has drive letters of its own: the path the program builds is the path used.
    const DriveMap drives = DriveMap::fromEnvironment();
    EXPECT_EQ(drives.root(), "");
    EXPECT_EQ(drives.toLocal("C:\\Drilbank\\x.txt"), "c:\\Drilbank\\x.txt");
    EXPECT_EQ(failureOf(drives, "q:\\bkp_000416\\x.txt"), failure::PathNotFound);
    EXPECT_EQ(failureOf(drives, "c:\\d\\CON"), failure::BadFileName);
#else
    const std::string home = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
    setEnvironment("HOME", "/home/student");
    EXPECT_EQ(DriveMap::fromEnvironment().root(), "/home/student/.local/share/drilbank/drives");
    // Without HOME the account's own home, never a folder relative to where the program started.
    setEnvironment("HOME", "");
    EXPECT_TRUE(DriveMap::fromEnvironment().root().is_absolute());
    setEnvironment("HOME", home.c_str());
#endif
    for (const char* relative : {"drives", "./drives", "~/drives"}) {
        setEnvironment("DRILBANK_DRIVES", relative);
        EXPECT_THROW(DriveMap::fromEnvironment(), std::invalid_argument) << relative;
    }
    setEnvironment("DRILBANK_DRIVES", "");
}

} // namespace
} // namespace drilbank
