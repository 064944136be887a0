#include "support/ClassMaker.h"

#include "encoding/Cp1252.h"
#include "os/DurableFiles.h"
#include "record/EnterResponse.h"
#include "record/SaveAsNotes.h"
#include "run/Run.h"
#include "script/NextQuestion.h"
#include "window/Handler.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>

namespace drilbank::testing {
namespace fs = std::filesystem;

namespace {

// MM-DD-YYYY `days` on.
std::string dayAfter(const std::string& date, int days) {
    using namespace std::chrono;
    const year_month_day day{year(std::stoi(date.substr(6, 4))),
                             month(static_cast<unsigned>(std::stoi(date.substr(0, 2)))),
                             std::chrono::day(static_cast<unsigned>(std::stoi(date.substr(3, 2))))};
    const year_month_day later{sys_days(day) + std::chrono::days(days)};
    char text[16];
    std::snprintf(text, sizeof text, "%02u-%02u-%04d", static_cast<unsigned>(later.month()),
                  static_cast<unsigned>(later.day()), static_cast<int>(later.year()));
    return text;
}

} // namespace

struct StudentMaker::Running {
    explicit Running(const fs::path& drives) : platform(drives) {}
    FakePlatform platform;
    Run run{platform};
    int shown = 0; // questions shown so far
    std::string date;
};

StudentMaker::StudentMaker(fs::path folder, std::string name, std::string initials)
    : folder_(std::move(folder)), name_(std::move(name)), initials_(std::move(initials)) {}

StudentMaker::~StudentMaker() {
    if (!finished_) {
        finish();
    }
}

void StudentMaker::startRun(const std::string& date, int seconds, const std::string& initials,
                            const std::string& assignment) {
    endRun();
    running_ = std::make_unique<Running>(drives_.path());
    FakePlatform& platform = running_->platform;
    platform.fakeClock.date = date;
    platform.fakeClock.secondsOfDay = seconds;
    platform.fakeClock.tickOnEveryTimeReading = ticking;
    running_->date = date;
    answerStartUp(platform, "1", cp1252FromUtf8(name_),
                  cp1252FromUtf8(initials.empty() ? initials_ : initials), assignment);
    runHandler(running_->run, &loadWindow);
    workingFolder_ = platform.localPath(running_->run.state.masterFilePath).parent_path();
}

void StudentMaker::answer(int question, int seconds, const std::string& text, bool note) {
    if (!running_) {
        return;
    }
    Running& running = *running_;
    while (running.shown < question) {
        runHandler(running.run, &nextQuestionClicked);
        ++running.shown;
    }
    running.platform.fakeClock.date = dayAfter(running.date, seconds / 86400);
    running.platform.fakeClock.secondsOfDay = seconds % 86400;
    running.platform.answer = cp1252FromUtf8(text);
    runHandler(running.run, note ? &saveAsNotesClicked : &enterResponseClicked);
}

void StudentMaker::endRun() {
    running_.reset();
}

std::vector<fs::path> StudentMaker::finish() {
    endRun();
    finished_ = true;
    std::vector<fs::path> moved;
    if (workingFolder_.empty() || !fs::is_directory(workingFolder_)) {
        return moved;
    }
    fs::create_directories(folder_);
    for (const auto& entry : fs::directory_iterator(workingFolder_)) {
        const std::string name = utf8Of(entry.path().filename());
        if (entry.is_regular_file() && !name.starts_with(".")) {
            fs::rename(entry.path(), folder_ / entry.path().filename());
            moved.push_back(folder_ / entry.path().filename());
        }
    }
    return moved;
}

namespace {

// A small deterministic source of choices.
class Choices {
public:
    explicit Choices(std::uint32_t seed) : state_(seed) {}
    std::uint32_t next(std::uint32_t below) {
        state_ = state_ * 1664525u + 1013904223u;
        return (state_ >> 8) % below;
    }
    bool chance(int percent) { return next(100) < static_cast<std::uint32_t>(percent); }

private:
    std::uint32_t state_;
};

const char* const firstNames[] = {
    "Ann",   "Bo",     "Carla", "Dmitri", "Elena",    "Femi",   "Grace", "Hiro",    "Ines",
    "Jonas", "Kira",   "Luis",  "Maya",   "Nils",     "Olga",   "Priya", "Quentin", "Rosa",
    "Sam",   "Tomasz", "Uma",   "Victor", "Wen",      "Xavier", "Yara",  "Zoe",     "Andrés",
    "Björn", "Chloé",  "Dália", "Émile",  "François", "Анна",   "Борис", "Юлия",    "Ольга"};
const char* const lastNames[] = {"Smith",   "Chen",    "Okafor",  "Novak",    "García",  "Müller",
                                 "Rossi",   "Tanaka",  "Haddad",  "Kowalski", "Ivanova", "Nguyen",
                                 "Silva",   "Larsen",  "Brown",   "Patel",    "O'Neill", "Dubois",
                                 "Yılmaz",  "Schmidt", "Kim",     "Moreau",   "Ruiz",    "Berg",
                                 "Иванова", "Петров",  "Соколова"};

// Answers a student might give to each of the nine questions.
const std::vector<std::vector<std::string>> answerPool = {
    {"The depth drops by less in each interval, so the graph gets less steep.",
     "Slope is negative and its magnitude decreases: 12, 10, 9 cm per 10 s.",
     "It curves down and levels off; the slope goes from -1.2 to -0.9 cm/s."},
    {"-1.2 cm/s, -1.0 cm/s and -0.9 cm/s; nearest the midpoints t = 5, 15 and 25 s.\r\nThe "
     "graph of rate vs. midpoint time rises toward zero: the water leaves more slowly as the "
     "depth decreases.",
     "Rates -1.2, -1.0, -0.9 cm/s. Most nearly equal at the midpoint clock times.",
     "average rate = change in depth / change in clock time\r\n= (48 - 60) cm / 10 s = -1.2 "
     "cm/s"},
    {"Trapezoids of width 10 s; the volume falls by the area under the rate graph.",
     "I used the average of each pair of depths times 10 s.",
     "Volume vs. clock time: a decreasing curve, concave up."},
    {"12 liters leave; it is the area under the rate-of-flow graph from 5 s to 15 s.",
     "1.2 L/s * 10 s = 12 L, shown as the area of a rectangle.", "12 L"},
    {"0.0232558139535; three significant figures: 0.0233 s.",
     "1/43 = .023255814, I would use 0.023 s.", "0.02326 s"},
    {"0.02 s per cm; about 1.00 s at 25 cm, a bit high since the graph curves down.",
     "(1.10 - 0.90) s / (30 - 20) cm = 0.020 s/cm. Estimate 1.00 s.",
     "rate = 0.02 s/cm, so T(25) = 1.0 s; probably high."},
    {"45.0 cm + (-0.3 cm/s)(12 s) = 41.4 cm.", "41.4 cm", "The depth at the end is 41.4 cm."},
    {"Change in depth -120 cm over 40 s... wait, -80 cm; depths 100, 65, 40, 25, 20 cm.",
     "Trapezoids: -35, -25, -15, -5 cm; depths 100.0, 65.0, 40.0, 25.0, 20.0 cm.",
     "Depths: 100, 65, 40, 25 and 20 cm."},
    {"30 cm^3/s / (pi * 16 cm^2) = 0.60 cm/s.", "About 0.6 cm/s.", "rate = 30 / 50.3 = 0.597 cm/s"},
};

const char* const notePool[] = {"Check the units here: cm or m?",
                                "Ask about significant figures in class.",
                                "Trapezoid area: average of the two heights times the width.",
                                "I am not sure the graph should curve.", "Come back to this one."};

std::string firstLetter(const std::string& word) {
    std::size_t length = 1;
    while (length < word.size() && (static_cast<unsigned char>(word[length]) & 0xC0) == 0x80) {
        ++length;
    }
    return word.substr(0, length);
}

std::string initialsOf(const std::string& first, const std::string& last) {
    return firstLetter(first) + "L" + firstLetter(last);
}

// One run of a student: the questions from `from` to `to`, a few minutes apart, some with a
// note, some answered twice.
void makeRun(StudentMaker& student, Choices& choices, const std::string& date, int start, int from,
             int to, int answerVariant, const std::string& initials = "") {
    student.startRun(date, start, initials);
    int clock = start + 30 + static_cast<int>(choices.next(60));
    for (int question = from; question <= to; ++question) {
        const auto& pool = answerPool[static_cast<std::size_t>(question - 1)];
        if (choices.chance(12)) {
            student.answer(question, clock, notePool[choices.next(std::size(notePool))], true);
            clock += 20 + static_cast<int>(choices.next(40));
        }
        student.answer(question, clock,
                       pool[static_cast<std::size_t>(answerVariant + question) % pool.size()]);
        clock += 60 + static_cast<int>(choices.next(240));
        if (choices.chance(8)) { // thought better of it
            student.answer(
                question, clock,
                pool[static_cast<std::size_t>(answerVariant + question + 1) % pool.size()]);
            clock += 40 + static_cast<int>(choices.next(60));
        }
    }
    student.endRun();
}

std::string folderName(const std::string& name) {
    std::string folder = name;
    std::replace(folder.begin(), folder.end(), ' ', '_');
    return folder;
}

} // namespace

MadeClass makeClass(const fs::path& folder, std::size_t students, const std::string& dueDate) {
    MadeClass made;
    made.classList = "# The class list: the full name as each student types it, and the "
                     "initials\nname,initials\n";
    Choices choices(static_cast<std::uint32_t>(students) * 7919u + 17u);
    const std::size_t none = std::max<std::size_t>(2, students / 20);
    const std::string before = dayAfter(dueDate, -4);
    for (std::size_t index = 0; index < std::max<std::size_t>(students, 12); ++index) {
        const std::string first = firstNames[(index * 7) % std::size(firstNames)];
        const std::string last =
            lastNames[(index * 5 + index / std::size(lastNames)) % std::size(lastNames)];
        const std::string name = first + " " + last;
        const std::string initials = initialsOf(first, last);
        made.classList += name + "," + initials + "\n";
        made.listed.push_back(name);
        if (index % 2 == 0 && index >= 2 && index < 2 + 2 * none) {
            made.withoutFiles.push_back(name); // handed in nothing
            continue;
        }
        const fs::path own = folder / pathFromUtf8(folderName(name));
        const int variant = static_cast<int>(choices.next(3));
        const std::string day = dayAfter(before, static_cast<int>(choices.next(4)));
        const int start =
            (9 + static_cast<int>(choices.next(11))) * 3600 + static_cast<int>(choices.next(3600));
        if (index == 9) {
            // Campus and home: two master files of one name, told apart by their path.
            StudentMaker home(own / "home", name, initials);
            makeRun(home, choices, day, start, 1, 5, variant);
            StudentMaker campus(own / "campus", name, initials);
            makeRun(campus, choices, dayAfter(day, 1), start, 6, 9, variant);
            continue;
        }
        StudentMaker student(own, name, initials);
        const bool stopsEarly = choices.chance(20);
        const int reached = stopsEarly ? 3 + static_cast<int>(choices.next(5)) : 9;
        makeRun(student, choices, day, start, 1, reached, variant);
        if (index == 7) {
            // One run more with other initials typed: two letters, not the three listed.
            makeRun(student, choices, dayAfter(day, 1), start, 2, 3, variant + 2,
                    firstLetter(first) + firstLetter(last));
        } else if (choices.chance(35) || index == 5) {
            // A second run: what was left, or a question answered anew; now and then late.
            const bool late = choices.chance(40);
            const std::string again = late ? dayAfter(dueDate, 1) : dayAfter(day, 1);
            const int from = reached < 9 ? reached + 1 : 2;
            makeRun(student, choices, again, 10 * 3600 + static_cast<int>(choices.next(30000)),
                    from, reached < 9 ? 9 : 3, variant + 1);
        }
        const std::vector<fs::path> files = student.finish();
        if (index == 5) {
            // One run under another spelling of the name (two blanks): files of their own.
            StudentMaker other(own, first + "  " + last, initials);
            makeRun(other, choices, dayAfter(day, 2), 20 * 3600, 7, 9, variant);
        }
        for (const fs::path& file : files) {
            const std::string fileName = utf8Of(file.filename());
            if (index == 11 && fileName.starts_with("send_")) {
                // The send file edited after the fact: one answer changed.
                std::ifstream in(file, std::ios::binary);
                std::string bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
                in.close();
                const std::size_t marker = bytes.find("RESPONSE -->  \r\n");
                if (marker != std::string::npos) {
                    bytes.insert(marker + 16, "(corrected) ");
                    std::ofstream(file, std::ios::binary) << bytes;
                }
            }
            if (index == 13 && fileName.starts_with("send_")) {
                fs::resize_file(file, fs::file_size(file) - 25); // cut short on its way
            }
        }
    }
    // A student of another course, whose files came in with the class's.
    StudentMaker stranger(folder / "Mallory_Quinn", "Mallory Quinn", "MQ");
    makeRun(stranger, choices, before, 15 * 3600, 1, 4, 0);
    stranger.finish();
    return made;
}

} // namespace drilbank::testing
