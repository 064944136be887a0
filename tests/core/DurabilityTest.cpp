// Whole blocks only: a recording process killed at any moment, or two processes recording
// for the same student at once, leave every record file as a sequence of whole blocks.
#include "journal/ClickJournal.h"
#include "os/DurableFiles.h"
#include "record/EnterResponse.h"
#include "record/SaveAsNotes.h"
#include "support/ChildProcess.h"
#include "support/FakePlatform.h"
#include "window/Handler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <random>
#include <sstream>
#include <thread>

#ifndef _WIN32
#include <cerrno>
#include <cstring>
#include <sys/mount.h>
#endif

namespace drilbank {
namespace {

namespace fs = std::filesystem;
using testing::ChildProcess;
using testing::FakePlatform;

const std::string student = "Pat Durable";
const std::vector<std::string> recordFiles = {
    "c:\\drilbank\\masterFile_Pat_Durable.txt",
    "c:\\drilbank\\send_0416Pat_Durable.txt",
    "c:\\drilbank\\notes_Pat_Durable.txt",
    "c:\\drilbank\\send_0417Pat_Durable.txt",
};

// One student's run on a day (16 or 17 April): the start-up, then clicks that alternate
// responses and notes, each with an answer of its own that spans two lines and, with
// `bigAnswers`, sizes from a few bytes to tens of megabytes so that writes cross many
// pages. The initials, which name no file, tell two copies' header blocks apart.
class RecordingRun {
public:
    RecordingRun(const fs::path& drives, const std::string& initials, int day = 16,
                 bool bigAnswers = false)
        : platform_(drives), bigAnswers_(bigAnswers) {
        platform_.fakeClock.date = "04-" + std::to_string(day) + "-2003";
        testing::answerStartUp(platform_, "1", student, initials, "1");
        loaded_ = runHandler(run_, &loadWindow);
    }

    bool loaded() const { return loaded_ && platform_.messages.empty(); }

    void click(const std::string& tag, int number) {
        static const std::size_t sizes[] = {0, 6000, 400000, 16000000};
        const std::size_t padding = bigAnswers_ ? sizes[number % 4] : 0;
        platform_.answer = tag + " answer " + std::to_string(number) + "\r\nworked out" +
                           std::string(padding, static_cast<char>('a' + number % 26));
        runHandler(run_, number % 3 == 2 ? &saveAsNotesClicked : &enterResponseClicked);
    }

    // The next click's append to the send file stops part way and stays so, as a disk fault
    // followed by a kill leaves it: the click is left for the next start-up to complete.
    void cutNextClickShortInTheSendFile() {
        platform_.faults.failingName = platform_.localPath(recordFiles[1]).filename().string();
        platform_.faults.bytesBeforeFault = 5000;
        platform_.faults.cutsFail = true;
    }

    const FakePlatform& platform() const { return platform_; }

private:
    FakePlatform platform_;
    drilbank::Run run_{platform_};
    bool loaded_ = false;
    bool bigAnswers_ = false;
};

// A child's work, "tag day big clicks folder": one run recording that many clicks. The tag
// "bare" only starts and ends, to time a process start.
int recordInChild(const std::string& argument) {
    std::istringstream words(argument);
    std::string tag;
    int day = 0;
    bool big = false;
    int clicks = 0;
    int leavesAt = -1;
    words >> tag >> day >> big >> clicks >> leavesAt >> std::ws;
    std::string folder;
    std::getline(words, folder);
    if (tag == "bare") {
        return 0;
    }
    RecordingRun run(pathFromUtf8(folder), tag, day, big);
    for (int number = 0; number < clicks; ++number) {
        if (number == leavesAt) {
            run.cutNextClickShortInTheSendFile();
            run.click(tag, number);
            return 0;
        }
        run.click(tag, number);
    }
    return run.loaded() && run.platform().messages.empty() ? 0 : 1;
}

// What a child records: `leavesAt`, when not -1, is the click it cuts short and ends after.
std::string childArgument(const std::string& tag, int day, bool big, int clicks,
                          const fs::path& folder, int leavesAt = -1) {
    return tag + " " + std::to_string(day) + " " + (big ? "1 " : "0 ") + std::to_string(clicks) +
           " " + std::to_string(leavesAt) + " " + utf8Of(folder);
}

fs::path memoryBacked() {
    return fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
}

// The bytes each unit (the header, then click 0, 1, ...) adds to each record file, taken
// from an undisturbed run in memory-backed storage.
using Units = std::vector<std::string>;

std::vector<Units> referenceUnits(const std::string& tag, int clicks, int day = 16,
                                  bool bigAnswers = false) {
    testing::TemporaryFolder folder(memoryBacked());
    RecordingRun run(folder.path(), tag, day, bigAnswers);
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

// One whole unit found in a file: which writer wrote it and which of its units it is.
using Found = std::pair<std::size_t, std::size_t>;

// Walks a file as whole units of the given writers, each writer's units in its own order;
// a writer may start over from its first unit, as a new run of the program does. Gives the
// units found, in order, or nothing where the bytes are no such sequence.
std::optional<std::vector<Found>> parseWholeUnits(const std::string& bytes,
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
    std::vector<Found> found;
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
                    found.emplace_back(writer, unit);
                    matched = true;
                }
            }
            if (matched) {
                break;
            }
        }
        if (!matched) {
            return std::nullopt;
        }
    }
    return found;
}

std::vector<int> unitsPerWriter(const std::vector<Found>& found, std::size_t writers) {
    std::vector<int> counts(writers, 0);
    for (const Found& unit : found) {
        ++counts[unit.first];
    }
    return counts;
}

std::string fileBytes(const fs::path& drives, const std::string& windowsPath) {
    FakePlatform reader(drives);
    return reader.fileExists(windowsPath) ? reader.fileBytes(windowsPath) : std::string();
}

// Kills at random moments, on two days, with answers up to 16 MB, many of them while a
// start-up is still completing a click that an earlier run left unfinished. Then a start-up
// alone: every record file, the other day's send file and the notes file included, holds
// whole blocks only, and each click is in every file it belongs to, exactly once.
TEST(Durability, KilledAtRandomMomentsEveryClickEndsUpWholeInAllItsFiles) {
    ChildProcess::serveIfChild(recordInChild);
    // A third of them are runs that leave a click and are not killed. Fewer where a process
    // takes long to start, as under Wine.
#ifdef _WIN32
    constexpr int kills = 24;
#else
    constexpr int kills = 45;
#endif
    constexpr int clicksPerChild = 8;
    // The day is in every answer too, so that no block of one day is taken for the other's.
    // Kills fall anywhere in a run: its length is taken from an undisturbed one.
    const auto started = std::chrono::steady_clock::now();
    const std::vector<Units> days[] = {referenceUnits("day16", clicksPerChild, 16, true),
                                       referenceUnits("day17", clicksPerChild, 17, true)};
    const auto runMicroseconds = std::chrono::duration_cast<std::chrono::microseconds>(
                                     std::chrono::steady_clock::now() - started)
                                     .count() /
                                 2;
    testing::TemporaryFolder folder(memoryBacked());
    const fs::path journal = folder.path() / "c" / "drilbank" / ".drilbank-journal_Pat_Durable";
    // Kills fall after the child has started: a Windows process takes far longer to start
    // than a fork, under Wine most of all.
    const auto startedChild = std::chrono::steady_clock::now();
    ChildProcess(recordInChild, childArgument("bare", 16, false, 0, folder.path())).waitFor();
    const auto startMicroseconds = std::chrono::duration_cast<std::chrono::microseconds>(
                                       std::chrono::steady_clock::now() - startedChild)
                                       .count();
    std::mt19937 random(20261208);
    std::uniform_int_distribution<long> lifetimeMicroseconds(0, runMicroseconds);
    std::uniform_int_distribution<long> earlyMicroseconds(0, runMicroseconds / 10);
    const auto entryOpen = [&] { return ClickJournal::mayNeedRecovery(systemFiles(), journal); };
    int killsWithAnOpenEntry = 0;
    int killsBeforeItWasCompleted = 0;
    for (int kill = 0; kill < kills; ++kill) {
        // Every third run leaves its 16 MB click unfinished and ends; the run after it is
        // killed early, often while its start-up is still completing that click.
        const bool leavesAClick = kill % 3 == 1;
        const bool openAtStart = entryOpen();
        const int day = 16 + kill % 2;
        ChildProcess child(recordInChild,
                           childArgument("day" + std::to_string(day), day, true, clicksPerChild,
                                         folder.path(), leavesAClick ? 3 : -1));
        if (!leavesAClick) {
            std::this_thread::sleep_for(std::chrono::microseconds(
                startMicroseconds +
                (kill % 3 == 2 ? earlyMicroseconds(random) : lifetimeMicroseconds(random))));
            child.kill();
        }
        child.waitFor();
        killsWithAnOpenEntry += openAtStart && !leavesAClick;
        killsBeforeItWasCompleted += openAtStart && !leavesAClick && entryOpen();
    }
    {
        const RecordingRun startUpAlone(folder.path(), "day16", 16, true);
        EXPECT_TRUE(startUpAlone.loaded());
    }
    EXPECT_FALSE(entryOpen()) << "a start-up left a click unfinished";

    // Each file as whole units of the two days' runs.
    std::vector<std::vector<Found>> found(recordFiles.size());
    int blocksChecked = 0;
    for (std::size_t file = 0; file < recordFiles.size(); ++file) {
        const std::string bytes = fileBytes(folder.path(), recordFiles[file]);
        const auto units = parseWholeUnits(bytes, {&days[0][file], &days[1][file]});
        ASSERT_TRUE(units.has_value()) << recordFiles[file] << " holds a partial block";
        found[file] = *units;
        blocksChecked += static_cast<int>(units->size());
    }
    // The master file's units of each day, in order, are that day's send file's; its notes
    // are the notes file's. So no click is missing from, or repeated in, any of its files.
    const auto ofWriter = [](const std::vector<Found>& units, std::size_t writer) {
        std::vector<std::size_t> only;
        for (const Found& unit : units) {
            if (unit.first == writer) {
                only.push_back(unit.second);
            }
        }
        return only;
    };
    const auto notesOnly = [&](const std::vector<Found>& units) {
        std::vector<Found> notes;
        for (const Found& unit : units) {
            if (!days[unit.first][2][unit.second].empty()) {
                notes.push_back(unit);
            }
        }
        return notes;
    };
    EXPECT_EQ(ofWriter(found[0], 0), ofWriter(found[1], 0));
    EXPECT_EQ(ofWriter(found[0], 1), ofWriter(found[3], 1));
    EXPECT_EQ(notesOnly(found[0]), found[2]);
    EXPECT_GT(found[0].size(), static_cast<std::size_t>(kills)) << "too few clicks were recorded";
    std::cout << "[ figures  ] " << kills - kills / 3 << " kills (" << killsWithAnOpenEntry
              << " of runs that started with a click to complete, " << killsBeforeItWasCompleted
              << " of them before it was), " << blocksChecked
              << " whole blocks checked, 0 duplicates, 0 torn tails\n";
}

TEST(Durability, TwoProcessesRecordingAtOnceNeverInterleave) {
    ChildProcess::serveIfChild(recordInChild);
    constexpr int clicks = 1000;
    const std::vector<Units> first = referenceUnits("first", clicks);
    const std::vector<Units> second = referenceUnits("second", clicks);
    testing::TemporaryFolder folder;
    ChildProcess firstChild(recordInChild,
                            childArgument("first", 16, false, clicks, folder.path()));
    ChildProcess secondChild(recordInChild,
                             childArgument("second", 16, false, clicks, folder.path()));
    ASSERT_EQ(firstChild.waitFor(), 0) << "a recording click failed";
    ASSERT_EQ(secondChild.waitFor(), 0) << "a recording click failed";
    int blocksChecked = 0;
    for (std::size_t file = 0; file < recordFiles.size(); ++file) {
        const std::string bytes = fileBytes(folder.path(), recordFiles[file]);
        const auto units = parseWholeUnits(bytes, {&first[file], &second[file]});
        ASSERT_TRUE(units.has_value()) << recordFiles[file] << " has interleaved or broken blocks";
        const std::vector<int> written = unitsPerWriter(*units, 2);
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

#ifndef _WIN32
// A small disk of its own needs a Linux mount (and root); on Windows the full disk of the
// record-file tests, injected through the file layer, stands in for it.
//
// A real full disk: a small memory file system as the working directory, nearly filled.
// The student keeps clicking; the answer stays in the box while clicks fail, and space is
// freed part way. Every answer then stands exactly once in every file it belongs to.
TEST(Durability, AFullDiskThenFreedSpaceLeavesEveryAnswerOnceInEachOfItsFiles) {
    testing::TemporaryFolder folder;
    const fs::path working = folder.path() / "c" / "drilbank";
    fs::create_directories(working);
    if (::mount("tmpfs", working.c_str(), "tmpfs", 0, "size=192k") != 0) {
        GTEST_SKIP() << "cannot mount a small file system here (needs root): "
                     << std::strerror(errno);
    }
    struct Unmount {
        fs::path path;
        ~Unmount() { ::umount2(path.c_str(), MNT_DETACH); }
    } unmount{working};
    RecordingRun run(folder.path(), "full");
    ASSERT_TRUE(run.loaded());
    {
        std::ofstream filler(working / "filler", std::ios::binary);
        const std::string kilobyte(1024, 'f');
        while (filler.write(kilobyte.data(), kilobyte.size()) && filler.flush()) {
        }
    }
    // A little room: the journal keeps its last entry, so only the record files still grow.
    fs::resize_file(working / "filler", fs::file_size(working / "filler") - 1024);
    constexpr int clicks = 28;
    int number = 0;
    int failed = 0;
    for (int click = 0; click < clicks; ++click) {
        if (click == clicks / 2) {
            fs::remove(working / "filler");
        }
        const std::size_t messages = run.platform().messages.size();
        run.click("full", number);
        if (run.platform().messages.size() == messages) {
            ++number; // recorded: the next answer; otherwise the same one again
        } else {
            ++failed;
        }
    }
    EXPECT_GT(failed, 0) << "the disk never filled";
    const auto count = [](const std::string& bytes, const std::string& text) {
        int found = 0;
        for (std::size_t at = bytes.find(text); at != std::string::npos;
             at = bytes.find(text, at + 1)) {
            ++found;
        }
        return found;
    };
    const std::string master = fileBytes(folder.path(), recordFiles[0]);
    const std::string send = fileBytes(folder.path(), recordFiles[1]);
    const std::string notes = fileBytes(folder.path(), recordFiles[2]);
    for (int answer = 0; answer < number; ++answer) {
        const std::string text = "full answer " + std::to_string(answer) + "\r\nworked out\r\n";
        EXPECT_EQ(count(master, text), 1) << answer;
        EXPECT_EQ(count(send, text), 1) << answer;
        EXPECT_EQ(count(notes, text), answer % 3 == 2 ? 1 : 0) << answer;
    }
    std::cout << "[ figures  ] " << failed << " of " << clicks << " clicks failed on a full disk, "
              << number << " answers each once in every file\n";
}
#endif

} // namespace
} // namespace drilbank
