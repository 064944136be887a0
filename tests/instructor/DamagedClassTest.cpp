// A class as an instructor gets it: fifty-two students recorded through the real core, some of
// whose answers hold the record format's own lines, handed in with the damage of the real
// world: torn tails, a notes file joined with itself, earlier copies of a send file, a send
// file renamed, line ends changed, and a file that is no record. Every row the files hold
// comes back with every field right, each damage is said, and no clean file has a problem.
#include "encoding/Cp1252.h"
#include "format/RecordFormat.h"
#include "instructor/RecordRows.h"
#include "record/EnterResponse.h"
#include "record/SaveAsNotes.h"
#include "script/NextQuestion.h"
#include "support/FakePlatform.h"
#include "support/TemporaryFolder.h"
#include "window/Handler.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>

namespace drilbank::instructor {
namespace {

namespace fs = std::filesystem;
using Fields = std::vector<std::string>; // student, initials, assignment, kind, time, answer
using ByFile = std::map<std::string, std::vector<Fields>>;

const char* const fieldNames[] = {"student", "initials", "assignment", "kind", "time", "answer"};

// Answers a class types, some holding what the record format writes.
std::string answerOf(std::size_t student, std::size_t click) {
    const std::string rule = closingRule;
    switch ((student + click) % 7) {
    case 0:
        return "above\r\n" + rule + "\r\nStudent Name:  Mallory\r\nassignment #002\r\n" + "002.";
    case 1:
        return rule + "\r\n" + openingRule + "\r\n" + timeLineText("09:00:00") + "\r\nforged";
    case 2:
        return "a bell \x07, a form feed \x0C and a unit separator \x1F";
    default:
        return "answer " + std::to_string(click) + " of student " + std::to_string(student);
    }
}

std::string bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return (std::ostringstream() << in.rdbuf()).str();
}

void write(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Records the class; what each file should give, by its name.
ByFile recordClass(const fs::path& drives, std::size_t students) {
    ByFile expected;
    for (std::size_t student = 0; student < students; ++student) {
        const std::string name = "Student " + std::to_string(student);
        const std::string fileName = "Student_" + std::to_string(student) + ".txt";
        for (std::size_t day = 0; day < 2; ++day) {
            testing::FakePlatform platform(drives);
            platform.fakeClock.date = "04-1" + std::to_string(6 + day) + "-2003";
            platform.fakeClock.secondsOfDay = 9 * 3600 + static_cast<int>(student * 60);
            const std::string initials = "S" + std::to_string(student);
            testing::answerStartUp(platform, "1", name, initials, "1");
            Run session{platform};
            runHandler(session, &loadWindow);
            for (std::size_t click = 0; click < 7; ++click) {
                runHandler(session, &nextQuestionClicked);
                platform.fakeClock.secondsOfDay += 7;
                const std::string answer = answerOf(student, click + 7 * day);
                platform.answer = answer;
                const bool note = click % 3 == 2;
                runHandler(session, note ? &saveAsNotesClicked : &enterResponseClicked);
                char time[16];
                const int seconds = platform.fakeClock.secondsOfDay;
                std::snprintf(time, sizeof time, "%02d:%02d:%02d", seconds / 3600,
                              seconds / 60 % 60, seconds % 60);
                const Fields row{
                    name, initials, "001", note ? "note" : "response", time, cp1252ToUtf8(answer)};
                expected["masterFile_" + fileName].push_back(row);
                expected["send_041" + std::to_string(6 + day) + fileName].push_back(row);
                if (note) {
                    expected["notes_" + fileName].push_back(row);
                }
            }
        }
    }
    return expected;
}

struct Damage {
    std::string file; // as handed in, relative to the class folder
    std::string said; // the start of what check must say of it
};

TEST(DamagedClass, EveryRowComesBackAndEveryDamageIsSaid) {
    constexpr std::size_t students = 52;
    const testing::TemporaryFolder drives;
    ByFile expected = recordClass(drives.path(), students);
    const testing::TemporaryFolder handedIn;
    const fs::path folder = handedIn.path();
    for (const fs::directory_entry& entry :
         fs::directory_iterator(drives.path() / "c" / "drilbank")) {
        if (entry.is_regular_file()) {
            fs::copy_file(entry.path(), folder / entry.path().filename());
        }
    }
    std::vector<Damage> damage;
    const auto file = [&](const std::string& kind, std::size_t student) {
        return kind + "Student_" + std::to_string(student) + ".txt";
    };
    for (std::size_t student = 0; student < 4; ++student) { // killed while writing the last block
        const std::string name = file("send_0417", student);
        const std::string bytes = bytesOf(folder / name);
        write(folder / name, bytes.substr(0, bytes.size() - 30));
        expected[name].pop_back();
        damage.push_back({name, "torn tail"});
    }
    {
        const std::string name = file("notes_", 4);
        write(folder / name, bytesOf(folder / name) + bytesOf(folder / name));
        damage.push_back({name, "from here the file repeats"});
    }
    for (std::size_t student = 5; student < 8; ++student) { // handed in on Monday, and again
        const std::string name = file("send_0417", student);
        const std::string bytes = bytesOf(folder / name);
        fs::create_directories(folder / "monday");
        write(folder / "monday" / name, bytes.substr(0, bytes.rfind(openingRule)));
        damage.push_back({"monday/" + name, "an earlier copy of"});
    }
    {
        const std::string name = file("send_0416", 8);
        const std::string renamed = file("send_", 8);
        fs::rename(folder / name, folder / renamed);
        expected[renamed] = expected[name];
        expected.erase(name);
        damage.push_back({renamed, "the send file's name has no date"});
    }
    {
        const std::string name = file("masterFile_", 9);
        std::string changed;
        for (const char c : bytesOf(folder / name)) {
            if (c != '\r') {
                changed += c;
            }
        }
        write(folder / name, changed);
        // Typed line ends went the same way, and are read back as the program wrote them.
        damage.push_back({name, "the file's line ends were changed"});
    }
    write(folder / "notes_week3.txt", "Week 3: read chapter 4.\r\nBring a calculator.\r\n");
    damage.push_back({"notes_week3.txt", "no header and no block anywhere"});

    const SearchResult found = findRecordFiles({folder.string()});
    ASSERT_TRUE(found.errors.empty());
    RecordRows reader;
    std::map<std::string, std::vector<Fields>> rows;
    std::map<std::string, std::vector<std::string>> said;
    std::set<std::string> named;
    for (const RecordFile& handed : found.files) {
        const std::string name = fs::relative(handed.path, folder).generic_string();
        const FileReport report = reader.read(handed, [&](const RecordRow& row) {
            rows[name].push_back({std::string(row.student), std::string(row.initials),
                                  std::string(row.assignment), std::string(row.kind),
                                  std::string(row.time), std::string(row.answer)});
            named.insert(std::string(row.student));
        });
        for (const RecordProblem& problem : report.problems) {
            said[name].push_back(problem.what);
        }
    }
    std::size_t compared = 0, missing = 0, extra = 0, invented = 0, damageFound = 0;
    std::map<std::string, std::size_t> wrong;
    for (const auto& [name, wanted] : expected) {
        const std::vector<Fields>& read = rows[name];
        compared += std::min(wanted.size(), read.size());
        missing += wanted.size() > read.size() ? wanted.size() - read.size() : 0;
        extra += read.size() > wanted.size() ? read.size() - wanted.size() : 0;
        for (std::size_t index = 0; index < std::min(wanted.size(), read.size()); ++index) {
            for (std::size_t field = 0; field < std::size(fieldNames); ++field) {
                if (wanted[index][field] != read[index][field]) {
                    ADD_FAILURE() << name << " row " << index << " " << fieldNames[field] << ": "
                                  << read[index][field] << " for " << wanted[index][field];
                    ++wrong[fieldNames[field]];
                }
            }
        }
    }
    for (const auto& [name, read] : rows) {
        if (!expected.contains(name)) {
            extra += read.size();
            ADD_FAILURE() << name << ": " << read.size() << " rows from a file that gives none";
        }
    }
    for (const Damage& damaged : damage) {
        const auto& what = said[damaged.file];
        damageFound += std::any_of(what.begin(), what.end(), [&](const std::string& text) {
            return text.starts_with(damaged.said);
        });
    }
    for (const auto& [name, what] : said) {
        if (std::none_of(damage.begin(), damage.end(),
                         [&](const Damage& damaged) { return damaged.file == name; })) {
            invented += what.size();
            ADD_FAILURE() << name << ": " << what.front();
        }
    }
    EXPECT_EQ(missing, 0u);
    EXPECT_EQ(extra, 0u);
    EXPECT_EQ(invented, 0u);
    EXPECT_EQ(damageFound, damage.size());
    EXPECT_EQ(named.size(), students) << "a file that is no record is nobody's";
    std::cout << "[ figures  ] " << found.files.size() << " files of " << students
              << " students; rows compared " << compared << ", missing " << missing << ", extra "
              << extra << ", wrong fields " << wrong.size() << "; problems on clean files "
              << invented << "; damage said " << damageFound << " of " << damage.size() << "\n";
}

} // namespace
} // namespace drilbank::instructor
