// Whole blocks only: a recording process killed at any moment, or two processes recording
// for the same student at once, leave every record file as a sequence of whole blocks.
#include "record/EnterResponse.h"
#include "record/SaveAsNotes.h"
#include "run/Handler.h"
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace drilbank {
namespace {

namespace fs = std::filesystem;
using testing::FakePlatform;

const std::string student = "Pat Durable";
const std::vector<std::string> recordFiles = {
    "c:\\drilbank\\masterFile_Pat_Durable.txt",
    "c:\\drilbank\\send_0416Pat_Durable.txt",
    "c:\\drilbank\\notes_Pat_Durable.txt",
};

// One student's run: the start-up, then clicks that alternate responses and notes, each
// with an answer of its own that spans two lines. The initials, which name no file, tell
// two copies' header blocks apart.
class RecordingRun {
public:
    RecordingRun(const fs::path& drives, const std::string& initials) : platform_(drives) {
        testing::answerStartUp(platform_, "1", student, initials, "1");
        loaded_ = runHandler(run_, &loadWindow);
    }

    bool loaded() const { return loaded_ && platform_.messages.empty(); }

    void click(const std::string& tag, int number) {
        platform_.answer = tag + " answer " + std::to_string(number) + "\r\nworked out";
        runHandler(run_, number % 3 == 2 ? &saveAsNotesClicked : &enterResponseClicked);
    }

    const FakePlatform& platform() const { return platform_; }

private:
    FakePlatform platform_;
    drilbank::Run run_{platform_};
    bool loaded_ = false;
};

// The bytes each unit (the header, then click 0, 1, ...) adds to each record file, taken
// from an undisturbed run in memory-backed storage.
using Units = std::vector<std::string>;

std::vector<Units> referenceUnits(const std::string& tag, int clicks) {
    const fs::path base =
        fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    testing::TemporaryFolder folder(base);
    RecordingRun run(folder.path(), tag);
    std::vector<Units> units(recordFiles.size());
    std::vector<std::size_t> sizes(recordFiles.size(), 0);
    const auto takeUnit = [&] {
        for (std::size_t file = 0; file < recordFiles.size(); ++file) {
            const std::string bytes = run.platform().fileExists(recordFiles[file])
                                          ? run.platform().fileBytes(recordFiles[file])
                                          : std::string();
            units[file].push_back(bytes.substr(sizes[file]));
            sizes[file] = bytes.size();
        }
    };
    takeUnit();
    for (int number = 0; number < clicks; ++number) {
        run.click(tag, number);
        takeUnit();
    }
    return units;
}

// Walks a file as whole units of the given writers, each writer's units in its own order;
// a writer may start over from its first unit, as a new run of the program does. Gives how
// many units each wrote, or an empty result where the bytes are no such sequence.
std::vector<int> parseWholeUnits(const std::string& bytes,
                                 const std::vector<const Units*>& writers) {
    const auto nonEmptyFrom = [](const Units& units, std::size_t unit) {
        while (unit < units.size() && units[unit].empty()) {
            ++unit;
        }
        return unit;
    };
    std::vector<std::size_t> next(writers.size());
    for (std::size_t writer = 0; writer < writers.size(); ++writer) {
        next[writer] = nonEmptyFrom(*writers[writer], 0);
    }
    std::vector<int> written(writers.size(), 0);
    std::size_t position = 0;
    while (position < bytes.size()) {
        bool matched = false;
        for (const bool startingOver : {false, true}) {
            for (std::size_t writer = 0; writer < writers.size() && !matched; ++writer) {
                const Units& units = *writers[writer];
                const std::size_t unit = startingOver ? nonEmptyFrom(units, 0) : next[writer];
                if (unit < units.size() &&
                    bytes.compare(position, units[unit].size(), units[unit]) == 0) {
                    position += units[unit].size();
                    next[writer] = nonEmptyFrom(units, unit + 1);
                    ++written[writer];
                    matched = true;
                }
            }
            if (matched) {
                break;
            }
        }
        if (!matched) {
            return {};
        }
    }
    return written;
}

std::string fileBytes(const fs::path& drives, const std::string& windowsPath) {
    FakePlatform reader(drives);
    return reader.fileExists(windowsPath) ? reader.fileBytes(windowsPath) : std::string();
}

TEST(Durability, KilledAtRandomMomentsEveryFileHoldsWholeBlocksOnly) {
    constexpr int kills = 120;
    constexpr int clicksPerChild = 400;
    const std::vector<Units> reference = referenceUnits("solo", clicksPerChild);
    testing::TemporaryFolder folder;
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> lifetimeMicroseconds(0, 40000);
    for (int kill = 0; kill < kills; ++kill) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            RecordingRun run(folder.path(), "solo");
            for (int number = 0; number < clicksPerChild; ++number) {
                run.click("solo", number);
            }
            ::_exit(0);
        }
        ::usleep(static_cast<useconds_t>(lifetimeMicroseconds(random)));
        ::kill(child, SIGKILL);
        ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    }
    // The next run's first append to each file rolls back what a killed writer left half done.
    FakePlatform nextRun(folder.path());
    for (const std::string& file : recordFiles) {
        if (nextRun.fileExists(file)) {
            nextRun.files().open(1, file, ChannelMode::Append);
            nextRun.files().close(1);
        }
    }
    int blocksChecked = 0;
    for (std::size_t file = 0; file < recordFiles.size(); ++file) {
        const std::string bytes = fileBytes(folder.path(), recordFiles[file]);
        const std::vector<int> written = parseWholeUnits(bytes, {&reference[file]});
        ASSERT_FALSE(written.empty()) << recordFiles[file] << " holds a partial block";
        blocksChecked += written[0];
    }
    EXPECT_GT(blocksChecked, 0) << "no child lived to record a block";
    std::cout << "[ figures  ] " << kills << " kills, " << blocksChecked
              << " whole blocks checked\n";
}

TEST(Durability, TwoProcessesRecordingAtOnceNeverInterleave) {
    constexpr int clicks = 1000;
    const std::vector<Units> first = referenceUnits("first", clicks);
    const std::vector<Units> second = referenceUnits("second", clicks);
    testing::TemporaryFolder folder;
    std::vector<pid_t> children;
    for (const char* tag : {"first", "second"}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            RecordingRun run(folder.path(), tag);
            for (int number = 0; number < clicks; ++number) {
                run.click(tag, number);
            }
            ::_exit(run.loaded() && run.platform().messages.empty() ? 0 : 1);
        }
        children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a recording click failed";
    }
    int blocksChecked = 0;
    for (std::size_t file = 0; file < recordFiles.size(); ++file) {
        const std::string bytes = fileBytes(folder.path(), recordFiles[file]);
        const std::vector<int> written = parseWholeUnits(bytes, {&first[file], &second[file]});
        ASSERT_EQ(written.size(), 2u) << recordFiles[file] << " has interleaved or broken blocks";
        const auto nonEmpty = [](const Units& units) {
            return static_cast<int>(std::count_if(units.begin(), units.end(),
                                                  [](const std::string& u) { return !u.empty(); }));
        };
        EXPECT_EQ(written[0], nonEmpty(first[file])) << recordFiles[file];
        EXPECT_EQ(written[1], nonEmpty(second[file])) << recordFiles[file];
        blocksChecked += written[0] + written[1];
    }
    std::cout << "[ figures  ] " << blocksChecked << " concurrent blocks checked\n";
}

} // namespace
} // namespace drilbank
