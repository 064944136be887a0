// What the record layer relies on from the system's files, checked on every system the
// program is built for: the same calls must give the same bytes and the same failures.
#include "os/DurableFiles.h"
#include "os/Failure.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#endif

namespace drilbank {
namespace {

namespace fs = std::filesystem;

// Not every system tells a missing folder from a missing file (Linux says ENOENT for both);
// the record layer looks at the folder itself. Either number is right for a missing folder.
constexpr int notFound = -2;

int asNotFound(int number) {
    return number == failure::FileNotFound || number == failure::PathNotFound ? notFound : number;
}

int failureOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Failure& fault) {
        EXPECT_FALSE(fault.detail().empty()) << "failure " << fault.number() << " says nothing";
        return fault.number();
    }
    return 0;
}

std::string contents(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

std::string readAll(DurableFile& file, std::uint64_t offset, std::size_t length) {
    std::string bytes(length, '\0');
    bytes.resize(file.readAt(offset, bytes.data(), length));
    return bytes;
}

class DurableFilesTest : public ::testing::Test {
protected:
    testing::TemporaryFolder folder;
    DurableFiles& files = systemFiles();
    const fs::path record = folder.path() / "masterFile_Ann.txt";
};

TEST_F(DurableFilesTest, AppendSizeReadTruncateAndFlushKeepTheBytesExact) {
    bool created = false;
    auto writer = files.open(record, FileAccess::Append, &created);
    ASSERT_NE(writer, nullptr);
    EXPECT_TRUE(created);
    ASSERT_TRUE(writer->tryLock());
    writer->append("abc");
    writer->append(std::string("d\0f\r\n", 5));
    writer->flush();
    EXPECT_EQ(writer->size(), 8u);
    EXPECT_EQ(readAll(*writer, 2, 4), std::string("cd\0f", 4));
    EXPECT_EQ(readAll(*writer, 6, 100), "\r\n"); // fewer bytes only at the end
    EXPECT_EQ(readAll(*writer, 100, 4), "");
    writer->truncate(3);
    EXPECT_EQ(writer->size(), 3u);
    writer->append("x"); // at the new end, not where the last append stopped
    writer.reset();
    EXPECT_EQ(contents(record), "abcx");

    // Opening an existing file makes nothing new; Replace empties it.
    const struct {
        FileAccess access;
        std::uint64_t size;
    } reopenings[] = {{FileAccess::Append, 4}, {FileAccess::Read, 4}, {FileAccess::Replace, 0}};
    for (const auto& reopening : reopenings) {
        created = true;
        auto again = files.open(record, reopening.access, &created);
        ASSERT_NE(again, nullptr);
        EXPECT_FALSE(created);
        EXPECT_EQ(again->size(), reopening.size);
    }
    files.open(folder.path() / "new.txt", FileAccess::Replace, &created);
    EXPECT_TRUE(created);
}

TEST_F(DurableFilesTest, EveryWriterAppendsAtTheEndAndReadersGetInPastTheLock) {
    auto first = files.open(record, FileAccess::Append);
    auto second = files.open(record, FileAccess::Append);
    ASSERT_TRUE(first->tryLock());
    first->append("one,");
    second->append("two,");
    first->append("three");
    // A reader opens and reads while a writer holds its lock.
    auto reader = files.open(record, FileAccess::Read);
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(readAll(*reader, 0, 64), "one,two,three");
}

TEST_F(DurableFilesTest, WhatStandsAtThePathDecidesTheOutcome) {
    fs::create_directory(folder.path() / "folder");
    std::ofstream(folder.path() / "target.txt") << "kept";
    std::error_code linkError;
    fs::create_symlink(folder.path() / "target.txt", folder.path() / "link.txt", linkError);
    fs::create_directory_symlink(folder.path() / "folder", folder.path() / "linked", linkError);
    const bool linksMade = !linkError && fs::is_symlink(folder.path() / "link.txt");

    const int absent = -1;
    const struct {
        const char* name;
        bool needsLinks;
        int read, append, replace; // failure numbers, 0 for an open file, absent for null
    } rows[] = {
        {"missing.txt", false, absent, 0, 0},
        {"no-folder/x.txt", false, absent, notFound, notFound},
        {"folder", false, 75, 75, 75},
        {"link.txt", true, 75, 75, 75},
        {"linked", true, 75, 75, 75},
        {"linked/through.txt", true, absent, 0, 0}, // links further up are followed
    };
    for (const auto& row : rows) {
        if (row.needsLinks && !linksMade) {
            std::cout << "[ skipped  ] " << row.name << ": this system makes no links here\n";
            continue;
        }
        const fs::path path = folder.path() / fs::path(row.name);
        const std::pair<FileAccess, int> cases[] = {{FileAccess::Read, row.read},
                                                    {FileAccess::Append, row.append},
                                                    {FileAccess::Replace, row.replace}};
        for (const auto& [access, expected] : cases) {
            bool opened = false;
            const FileAccess tried = access; // clang here cannot capture a structured binding
            const int number = failureOf([&] { opened = files.open(path, tried) != nullptr; });
            EXPECT_EQ(number == 0 && !opened ? absent : asNotFound(number), expected)
                << row.name << " opened as " << static_cast<int>(access);
        }
    }
    EXPECT_EQ(contents(folder.path() / "target.txt"), "kept"); // a link's target untouched
}

TEST_F(DurableFilesTest, FoldersAreMadeOnceAndOnlyWhereTheirParentIs) {
    const fs::path made = folder.path() / "drilbank";
    EXPECT_EQ(failureOf([&] { files.createFolder(made); }), 0);
    EXPECT_TRUE(fs::is_directory(made));
    EXPECT_EQ(failureOf([&] { files.flushFolder(made); }), 0);
    EXPECT_EQ(failureOf([&] { files.createFolder(made); }), failure::PathFileAccessError);
    EXPECT_EQ(asNotFound(failureOf([&] { files.createFolder(folder.path() / "no" / "x"); })),
              notFound);
}

// Past Windows' old limit of 259 characters a path works as on Linux; past what the system
// takes at all it is failure 52, a name the disk cannot hold.
TEST_F(DurableFilesTest, LongPathsWorkUpToWhatTheSystemTakes) {
    fs::path deep = folder.path();
    for (int level = 0; level < 3; ++level) {
        deep /= std::string(120, static_cast<char>('a' + level));
        files.createFolder(deep);
    }
    const fs::path record = deep / "masterFile_Ann.txt";
    ASSERT_GT(record.native().size(), 300u);
    files.open(record, FileAccess::Append)->append("kept");
    EXPECT_EQ(readAll(*files.open(record, FileAccess::Read), 0, 16), "kept");
    fs::path tooLong = deep;
    while (tooLong.native().size() < 40000) {
        tooLong /= std::string(200, 'x');
    }
    EXPECT_EQ(failureOf([&] { files.open(tooLong / "x.txt", FileAccess::Append); }),
              failure::BadFileName);
}

// A fault that may pass (a share that dropped, a timeout, a code nobody expected) is never
// taken for "not a plain file" (75), which recovery reads as a file changed by someone else.
TEST(SystemFailures, EachKindOfFaultHasTheSameNumberOnEverySystem) {
    const struct {
        unsigned long code;
        int number;
    } codes[] = {
#ifdef _WIN32
        {ERROR_DISK_FULL, 61},
        {1295, 61}, // quota
        {ERROR_NETNAME_DELETED, 57},
        {ERROR_UNEXP_NET_ERR, 57},
        {ERROR_SEM_TIMEOUT, 57},
        {ERROR_DEV_NOT_EXIST, 57},
        {ERROR_ACCESS_DENIED, 70},
#else
        {ENOSPC, 61},   {EDQUOT, 61}, {EIO, 57},    {ESTALE, 57}, {ETIMEDOUT, 57},
        {ENOTCONN, 57}, {EAGAIN, 57}, {EACCES, 70}, {EROFS, 70},
#endif
        {4242, 57}, // unknown
    };
    for (const auto& [code, number] : codes) {
        const Failure fault = systemFailure(code);
        EXPECT_EQ(fault.number(), number) << code;
        EXPECT_FALSE(fault.detail().empty()) << code;
    }
}

#ifdef _WIN32
// Wine keeps the read-only attribute as Unix permissions, which root passes (CI runs as root).
bool underWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// Where Linux refuses by permissions (tested as another user there), Windows refuses by a
// read-only attribute or by a program that holds the file without sharing it.
TEST_F(DurableFilesTest, WhatWindowsRefusesIsPermissionDenied) {
    std::ofstream(record) << "kept";
    fs::permissions(record,
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const int readOnly = failureOf([&] { files.open(record, FileAccess::Append); });
    if (readOnly == 0 && underWine()) {
        std::cout << "[ skipped  ] read-only attribute: Wine lets root write anyway\n";
    } else {
        EXPECT_EQ(readOnly, failure::PermissionDenied);
    }
    EXPECT_NE(files.open(record, FileAccess::Read), nullptr);

    const fs::path held = folder.path() / "held.txt";
    const HANDLE holder = CreateFileW(held.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    for (const FileAccess access : {FileAccess::Read, FileAccess::Append, FileAccess::Replace}) {
        EXPECT_EQ(failureOf([&] { files.open(held, access); }), failure::PermissionDenied);
    }
    CloseHandle(holder);
    EXPECT_EQ(contents(record), "kept");
}
#endif

} // namespace
} // namespace drilbank
