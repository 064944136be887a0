// Grading a class from its files, on classes made through the core: who handed in nothing and
// what each student is missing, late work, a send file against its master, which answer is
// final, how far the class got, time on task, and one person under two names or initials.
#include "instructor/ClassList.h"
#include "instructor/CommandLine.h"
#include "instructor/Commands.h"
#include "instructor/DueTimes.h"
#include "instructor/RecordSearch.h"
#include "os/DurableFiles.h"
#include "support/ClassMaker.h"
#include "support/TemporaryFolder.h"
#include "support/ZipMembers.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace drilbank::instructor {
namespace {

namespace fs = std::filesystem;
using testing::StudentMaker;

constexpr int at(int hours, int minutes, int seconds = 0) {
    return (hours * 60 + minutes) * 60 + seconds;
}

std::vector<RecordFile> filesIn(const fs::path& folder) {
    const SearchResult found = findRecordFiles({utf8Of(folder)});
    EXPECT_TRUE(found.errors.empty()) << (found.errors.empty() ? "" : found.errors[0]);
    return found.files;
}

ClassList listOf(const std::string& text) {
    std::string error;
    std::vector<std::string> warnings;
    const std::optional<ClassList> list = ClassList::parse(text, "class.csv", error, warnings);
    EXPECT_TRUE(list) << error;
    return list ? *list : ClassList();
}

DueTimes dueOf(const std::vector<std::string>& values) {
    std::string error;
    const std::optional<DueTimes> due = DueTimes::parse(values, error);
    EXPECT_TRUE(due) << error;
    return due ? *due : DueTimes();
}

struct Output {
    std::string text;
    int status = 0;
};

Output summaryOf(const fs::path& folder, const Grading& grading = {}) {
    std::ostringstream out;
    std::ostringstream messages;
    Output output;
    output.status = summarizeFiles(filesIn(folder), {out, messages, nullptr}, grading);
    output.text = out.str();
    return output;
}

Output reportOf(const fs::path& folder, const Grading& grading = {}) {
    std::ostringstream out;
    std::ostringstream messages;
    Output output;
    output.status = reportFiles(filesIn(folder), {out, messages, nullptr}, grading);
    output.text = out.str();
    return output;
}

Output checkOf(const fs::path& folder) {
    std::ostringstream out;
    Output output;
    output.status = checkFiles(filesIn(folder), {out, out, nullptr});
    output.text = out.str();
    return output;
}

// The export's rows as JSON gives them: each a map of column to value, true, false and null
// as those words.
using JsonRow = std::map<std::string, std::string>;

std::vector<JsonRow> exportOf(const fs::path& folder, const Grading& grading = {}) {
    std::ostringstream out;
    std::ostringstream messages;
    exportFiles(filesIn(folder), {"json", false, {}}, {out, messages, nullptr}, grading);
    const std::string json = out.str();
    std::vector<JsonRow> rows;
    // A string from the quote at `at`, its escapes turned back; `at` moves past it.
    const auto string = [&](std::size_t& at) {
        std::string text;
        for (++at; json[at] != '"'; ++at) {
            if (json[at] == '\\') {
                const char escaped = json[++at];
                text += escaped == 'n' ? '\n' : escaped == 'r' ? '\r' : escaped == 't' ? '\t' : escaped;
            } else {
                text += json[at];
            }
        }
        ++at;
        return text;
    };
    for (std::size_t at = json.find('{'); at != std::string::npos; at = json.find('{', at)) {
        JsonRow row;
        ++at;
        while (json[at] != '}') {
            at = json.find('"', at);
            const std::string key = string(at);
            at = json.find_first_not_of(": ", at);
            if (json[at] == '"') {
                row[key] = string(at);
            } else {
                const std::size_t end = json.find_first_of(",}", at);
                row[key] = json.substr(at, end - at);
                at = end;
            }
            at = json.find_first_not_of(", ", at);
        }
        rows.push_back(row);
    }
    return rows;
}

// The summary's line that starts with `start`, or "".
std::string lineOf(const std::string& text, const std::string& start) {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with(start)) {
            return line;
        }
    }
    return "";
}

// The words of a summary line, each run of the blanks that line it up as one "|".
std::string squeezed(std::string line) {
    std::string text;
    for (std::size_t at = 0; at < line.size(); ++at) {
        if (line[at] == ' ' && at + 1 < line.size() && line[at + 1] == ' ') {
            text += text.ends_with('|') ? "" : "|";
            while (at + 1 < line.size() && line[at + 1] == ' ') {
                ++at;
            }
            continue;
        }
        text += line[at];
    }
    return text;
}

// The first line of the text that starts with `start` once squeezed, squeezed; or "".
std::string squeezedLine(const std::string& text, const std::string& start) {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (squeezed(line).starts_with(start)) {
            return squeezed(line);
        }
    }
    return "";
}

std::string genericUtf8(const fs::path& path) {
    const std::u8string text = path.generic_u8string();
    return std::string(text.begin(), text.end());
}

std::string bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return (std::ostringstream() << in.rdbuf()).str();
}

void writeBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t found = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++found;
    }
    return found;
}

const std::string classText = "# Physics 121\nname,initials\nAnn Lee Smith,ALS\nBo Chan,BC\n"
                              "Cy Dunn,CD\n";

// 1. Who handed in nothing, and which questions each student is missing; a file from another
// course is not one more student of the class.
TEST(ClassGrading, EveryListedStudentIsShownWithWhatIsMissing) {
    testing::TemporaryFolder folder;
    {
        StudentMaker ann(folder.path() / "ann", "Ann Lee Smith", "ALS");
        ann.startRun("04-16-2003", at(10, 0));
        for (int question = 1; question <= 9; ++question) {
            ann.answer(question, at(10, question), "answer " + std::to_string(question));
        }
        StudentMaker bo(folder.path() / "bo", "Bo Chan", "BC");
        bo.startRun("04-16-2003", at(11, 0));
        for (const int question : {1, 2, 3, 5}) {
            bo.answer(question, at(11, question), "b");
        }
        StudentMaker other(folder.path() / "other", "Mallory Quinn", "MQ");
        other.startRun("04-16-2003", at(12, 0));
        other.answer(1, at(12, 1), "from another course");
    }
    const ClassList list = listOf(classText);
    const Output summary = summaryOf(folder.path(), {&list, nullptr});
    EXPECT_EQ(summary.status, 0);
    EXPECT_EQ(squeezed(lineOf(summary.text, "Ann Lee Smith")).substr(0, 37),
              "Ann Lee Smith|ALS|001|9 of 9|0|1|2003");
    EXPECT_NE(squeezed(lineOf(summary.text, "Bo Chan")).find("|001|4 of 9|4 6-9|0|1|"),
              std::string::npos)
        << summary.text;
    EXPECT_NE(lineOf(summary.text, "Cy Dunn").find("no records"), std::string::npos);
    EXPECT_NE(lineOf(summary.text, "Mallory Quinn").find("not on the class list"),
              std::string::npos);
    // The listed students in the list's order, the stranger after them.
    EXPECT_LT(summary.text.find("Ann Lee Smith"), summary.text.find("Bo Chan"));
    EXPECT_LT(summary.text.find("Bo Chan"), summary.text.find("Cy Dunn"));
    EXPECT_LT(summary.text.find("Cy Dunn"), summary.text.find("Mallory Quinn"));

    const Output report = reportOf(folder.path(), {&list, nullptr});
    EXPECT_NE(report.text.find("No records from 1: Cy Dunn."), std::string::npos);
    EXPECT_NE(report.text.find("<div class=\"name\">Cy Dunn</div><div class=\"flag\">no records"),
              std::string::npos);
    EXPECT_NE(report.text.find("Mallory Quinn</div><div class=\"sub\">MQ \xC2\xB7 1 of 9</div>"
                               "<div class=\"flag\">not on the class list"),
              std::string::npos);
    EXPECT_EQ(count(report.text, "<td class=\"none\">not answered</td>"), 5u + 8u);

    for (const JsonRow& row : exportOf(folder.path(), {&list, nullptr})) {
        EXPECT_EQ(row.at("on_class_list"), row.at("student") == "Mallory Quinn" ? "false" : "true");
    }
    // Without a list every student is one of the class, and nobody is missing.
    const Output unlisted = summaryOf(folder.path());
    EXPECT_EQ(lineOf(unlisted.text, "Cy Dunn"), "");
    EXPECT_EQ(lineOf(unlisted.text, "Mallory Quinn").find("not on"), std::string::npos);
}

// 2. Late work: what was recorded after the due time, which is given to the minute.
TEST(ClassGrading, AnswersAfterTheDueMinuteAreLate) {
    testing::TemporaryFolder folder;
    {
        StudentMaker ann(folder.path() / "ann", "Ann Lee Smith", "ALS");
        ann.startRun("04-20-2003", at(23, 58));
        ann.answer(1, at(23, 59, 59), "in the due minute");
        ann.answer(2, at(24, 0, 0), "a second after it, past midnight");
        ann.answer(3, at(24, 0, 5), "a note, late", true);
        ann.startRun("04-22-2003", at(9, 0));
        ann.answer(4, at(9, 1), "two days late");
    }
    const DueTimes due = dueOf({"2003-04-20T23:59"});
    std::map<std::string, std::string> late;
    for (const JsonRow& row : exportOf(folder.path(), {nullptr, &due})) {
        late[row.at("answer") + " in " + row.at("file").substr(0, 4)] = row.at("late");
    }
    EXPECT_EQ(late.at("in the due minute in mast"), "false");
    EXPECT_EQ(late.at("in the due minute in send"), "false");
    EXPECT_EQ(late.at("a second after it, past midnight in mast"), "true");
    EXPECT_EQ(late.at("a note, late in note"), "true");
    EXPECT_EQ(late.at("two days late in send"), "true");
    // No due time: the column is empty.
    for (const JsonRow& row : exportOf(folder.path())) {
        EXPECT_EQ(row.at("late"), "null");
    }
    // A due time of its own for assignment 1 comes before the one for every assignment.
    const DueTimes own = dueOf({"2003-05-01T00:00", "1=2003-04-21T12:00"});
    EXPECT_EQ(own.dueOf("001"), own.named().at("001"));
    std::size_t lateRows = 0;
    for (const JsonRow& row : exportOf(folder.path(), {nullptr, &own})) {
        lateRows += row.at("late") == "true" ? 1 : 0;
    }
    EXPECT_EQ(lateRows, 2u); // the response of 04-22 in the master and send files

    const Output summary = summaryOf(folder.path(), {nullptr, &due});
    // Late responses and notes, counted in the master file: two responses and a note.
    EXPECT_NE(squeezed(lineOf(summary.text, "Ann Lee Smith")).find("|3 of 9|3 5-9|3|1|2|"),
              std::string::npos)
        << summary.text;
    EXPECT_NE(summary.text.find("assignment 001, due 2003-04-20 23:59"), std::string::npos);
    const Output report = reportOf(folder.path(), {nullptr, &due});
    EXPECT_EQ(count(report.text, "<b class=\"late\">late</b>"), 3u);
    EXPECT_EQ(count(report.text, "<td class=\"late\">"), 3u); // the note is question 3's only
    EXPECT_NE(report.text.find("due 2003-04-20 23:59"), std::string::npos);

    std::string error;
    for (const std::string bad : {"2003-04-20", "2003-02-30T10:00", "2003-04-20T24:00",
                                  "x=2003-04-20T10:00", "2003-04-20 10:00"}) {
        EXPECT_FALSE(DueTimes::parse({bad}, error)) << bad;
    }
    EXPECT_FALSE(DueTimes::parse({"1=2003-04-20T10:00", "001=2003-04-21T10:00"}, error));
    EXPECT_EQ(error, "--due for assignment 001 is given twice");
}

// The files of one student's run, one click a second later in the send file.
fs::path oneRun(const fs::path& folder) {
    StudentMaker ann(folder, "Ann Lee Smith", "ALS");
    ann.ticking = true;
    ann.startRun("04-16-2003", at(14, 5));
    ann.answer(1, at(14, 6), "one");
    ann.answer(2, at(14, 7), "two");
    ann.answer(2, at(14, 8), "a note on two", true);
    ann.answer(3, at(14, 9), "three");
    ann.finish();
    return folder / "send_0416Ann_Lee_Smith.txt";
}

// Where each block of a file starts: its opening rule, then a time line.
std::vector<std::size_t> blockStarts(const std::string& bytes) {
    std::vector<std::size_t> starts;
    const std::string start = "......!!!!!!!!...................................\r\n" +
                              std::string(36, ' ');
    for (std::size_t at = bytes.find(start); at != std::string::npos;
         at = bytes.find(start, at + 1)) {
        starts.push_back(at);
    }
    return starts;
}

// 3. A send file against its master: blocks the master lacks, blocks it holds otherwise, and
// blocks of that day the send file lacks, each naming both files.
TEST(ClassGrading, ASendFileIsHeldAgainstItsMaster) {
    testing::TemporaryFolder folder;
    const fs::path send = oneRun(folder.path() / "ann");
    const std::string sendPath = utf8Of(send);
    const std::string masterPath = utf8Of(folder.path() / "ann" / "masterFile_Ann_Lee_Smith.txt");
    Output clean = checkOf(folder.path());
    EXPECT_EQ(clean.status, 0) << clean.text;
    EXPECT_NE(clean.text.find(sendPath + " against " + masterPath +
                              ": holds the master's 5 headers and blocks of its day"),
              std::string::npos)
        << clean.text;

    const std::string bytes = bytesOf(send);
    const std::vector<std::size_t> starts = blockStarts(bytes);
    ASSERT_EQ(starts.size(), 4u); // three responses and a note
    // An answer changed after the fact.
    std::string edited = bytes;
    edited.replace(edited.find("\r\ntwo\r\n"), 7, "\r\ntwo, corrected\r\n");
    writeBytes(send, edited);
    const Output changed = checkOf(folder.path());
    EXPECT_EQ(changed.status, 1);
    EXPECT_NE(changed.text.find(sendPath + ":" ), std::string::npos);
    EXPECT_NE(changed.text.find("differs from the one the master file " + masterPath +
                                " holds at line"),
              std::string::npos)
        << changed.text;
    EXPECT_NE(changed.text.find("0 the master lacks, 1 changed, 0 of the master's the send "
                                "file lacks"),
              std::string::npos);
    // A block left out, and one added that no run wrote.
    std::string cut = bytes.substr(0, starts[1]) + bytes.substr(starts[2]);
    std::string forged = bytes.substr(starts[3]);
    forged.replace(forged.find("14:09:"), 6, "15:30:");
    cut += forged;
    writeBytes(send, cut);
    const Output other = checkOf(folder.path());
    EXPECT_EQ(other.status, 1);
    EXPECT_NE(other.text.find(masterPath + ":"), std::string::npos);
    EXPECT_NE(other.text.find("a response (2003-04-16 14:07:0"), std::string::npos) << other.text;
    EXPECT_NE(other.text.find("that the send file " + sendPath + " lacks"), std::string::npos);
    EXPECT_NE(other.text.find("that the master file " + masterPath + " does not hold"),
              std::string::npos);
    EXPECT_NE(other.text.find("1 the master lacks, 0 changed, 1 of the master's the send file "
                              "lacks"),
              std::string::npos)
        << other.text;
    EXPECT_NE(other.text.find("compared 1 send files with their master files: 0 agree, 1 differ"),
              std::string::npos);
    // A send file with no master beside it is compared with nothing.
    fs::remove(folder.path() / "ann" / "masterFile_Ann_Lee_Smith.txt");
    EXPECT_EQ(checkOf(folder.path()).text.find(" against "), std::string::npos);
}

// 4. Which answer counts: the latest response across all the student's files, marked on every
// row of that one click, in each file it is in; the report shows it first.
TEST(ClassGrading, TheLatestResponseIsFinalInEveryFileItIsIn) {
    testing::TemporaryFolder folder;
    {
        StudentMaker ann(folder.path() / "ann", "Ann Lee Smith", "ALS");
        ann.ticking = true;
        ann.startRun("04-16-2003", at(10, 0));
        ann.answer(1, at(10, 1), "first try");
        ann.answer(1, at(10, 2), "second try");
        ann.answer(1, at(10, 3), "a note after it", true);
        ann.answer(2, at(10, 4), "only once");
        ann.startRun("04-17-2003", at(9, 0));
        ann.answer(1, at(9, 1), "third try, final");
        ann.answer(1, at(9, 1, 2), "third try, final"); // clicked twice: the second counts
    }
    std::map<std::string, std::vector<std::string>> finals; // answer: final in which files
    for (const JsonRow& row : exportOf(folder.path())) {
        finals[row.at("answer")].push_back(row.at("file").substr(0, 9) + ":" + row.at("final"));
    }
    EXPECT_EQ(finals.at("first try"), (std::vector<std::string>{"masterFil:false", "send_0416:false"}));
    EXPECT_EQ(finals.at("second try"), (std::vector<std::string>{"masterFil:false", "send_0416:false"}));
    EXPECT_EQ(finals.at("only once"), (std::vector<std::string>{"masterFil:true", "send_0416:true"}));
    EXPECT_EQ(finals.at("third try, final"),
              (std::vector<std::string>{"masterFil:false", "masterFil:true", "send_0417:false",
                                        "send_0417:true"}));
    for (const std::string& file : finals.at("a note after it")) {
        EXPECT_TRUE(file.ends_with(":false")) << file;
    }

    const Output report = reportOf(folder.path());
    const std::size_t final = report.text.find("third try, final");
    const std::size_t folded = report.text.find("<details><summary>3 earlier, 1 note</summary>");
    ASSERT_NE(final, std::string::npos);
    ASSERT_NE(folded, std::string::npos) << report.text;
    EXPECT_LT(final, folded);
    EXPECT_LT(folded, report.text.find("second try"));
    EXPECT_LT(report.text.find("second try"), report.text.find("first try"));
    // Each click once, however many files it is in: the file's path on hover names them.
    EXPECT_EQ(count(report.text, ">first try<"), 1u);
    EXPECT_NE(report.text.find("title=\"response, 2003-04-17 09:01:0"), std::string::npos);
    EXPECT_NE(report.text.find("in ann/masterFile_Ann_Lee_Smith.txt, ann/send_0417Ann_Lee_Smith.txt"),
              std::string::npos);

#ifdef DRILBANK_XLSX
    const fs::path xlsx = folder.path() / "class.xlsx";
    {
        std::ostringstream out;
        std::ostringstream messages;
        exportFiles(filesIn(folder.path()), {"xlsx", false, xlsx}, {out, messages, nullptr});
    }
    std::string grid;
    std::string workbook;
    ASSERT_TRUE(testing::readZipMembers(xlsx, [&](const std::string& name, std::string_view bytes) {
        if (name == "xl/worksheets/sheet2.xml") {
            grid.append(bytes);
        } else if (name == "xl/workbook.xml") {
            workbook.append(bytes);
        }
    }));
    EXPECT_LT(workbook.find("name=\"rows\""), workbook.find("name=\"grid\""));
    // Ann's row, under the two rows of heads; question 1 after student, initials and remark.
    const std::size_t cell = grid.find("<c r=\"D3\"");
    ASSERT_NE(cell, std::string::npos) << grid.substr(0, 3000);
    EXPECT_EQ(grid.find("<t>third try, final</t>"), grid.find("<t>", cell));
    EXPECT_NE(grid.find("<t>only once</t>"), std::string::npos);
    EXPECT_EQ(grid.find("second try"), std::string::npos);
    EXPECT_EQ(grid.find("<f>"), std::string::npos);
    EXPECT_EQ(count(grid, "<c "), count(grid, "t=\"inlineStr\""));
#endif
}

// 5. How far the class got: per question, answered by how many of the class.
TEST(ClassGrading, EachQuestionSaysHowManyOfTheClassAnsweredIt) {
    testing::TemporaryFolder folder;
    {
        StudentMaker ann(folder.path() / "ann", "Ann Lee Smith", "ALS");
        ann.startRun("04-16-2003", at(10, 0));
        ann.answer(1, at(10, 1), "a");
        ann.answer(2, at(10, 2), "b");
        StudentMaker bo(folder.path() / "bo", "Bo Chan", "BC");
        bo.startRun("04-16-2003", at(11, 0));
        bo.answer(1, at(11, 1), "a");
        bo.answer(2, at(11, 2), "only a note", true);
        StudentMaker other(folder.path() / "other", "Mallory Quinn", "MQ");
        other.startRun("04-16-2003", at(12, 0));
        other.answer(1, at(12, 1), "a");
    }
    const ClassList list = listOf(classText);
    const Output summary = summaryOf(folder.path(), {&list, nullptr});
    EXPECT_EQ(squeezed(lineOf(summary.text, "1 ")).substr(0, 31), "1|2 of 3, 1 not on the list|Sup")
        << summary.text;
    EXPECT_EQ(squeezed(lineOf(summary.text, "2 ")).substr(0, 11), "2|1 of 3|Fo");
    EXPECT_EQ(squeezed(lineOf(summary.text, "9 ")).substr(0, 11), "9|0 of 3|If");
    const Output report = reportOf(folder.path(), {&list, nullptr});
    EXPECT_NE(report.text.find("<span class=\"by\">answered by 2 of 3 (+1 not listed)</span>"),
              std::string::npos);
    EXPECT_NE(report.text.find("<span class=\"by\">answered by 1 of 3</span>"), std::string::npos);
    // Without a list the class is the students found.
    EXPECT_EQ(squeezed(lineOf(summaryOf(folder.path()).text, "1 ")).substr(0, 8), "1|3 of 3");
}

// 6. Time on task: each run's first and last click and the questions it answered; a run that
// stopped before the last question, and one with no click at all.
TEST(ClassGrading, EachRunTellsItsFirstAndLastClick) {
    testing::TemporaryFolder folder;
    {
        StudentMaker ann(folder.path() / "ann", "Ann Lee Smith", "ALS");
        ann.ticking = true; // the send file's copies a second later: still one run, one time
        ann.startRun("04-16-2003", at(10, 0));
        ann.answer(1, at(10, 1), "a");
        ann.answer(2, at(10, 9, 30), "b");
        ann.startRun("04-17-2003", at(8, 0));
        ann.startRun("04-18-2003", at(23, 50));
        for (int question = 1; question <= 9; ++question) {
            ann.answer(question, at(23, 50 + 2 * question), "c"); // past midnight
        }
    }
    const Output summary = summaryOf(folder.path());
    // The master's times: the send file's, a second later, are the same clicks.
    EXPECT_EQ(squeezedLine(summary.text, "Ann Lee Smith|001|2003-04-16"),
              "Ann Lee Smith|001|2003-04-16 10:00:00|10:01:00|10:09:30|8 min|1 2|stopped before "
              "question 9")
        << summary.text;
    EXPECT_EQ(squeezedLine(summary.text, "Ann Lee Smith|001|2003-04-17"),
              "Ann Lee Smith|001|2003-04-17 08:00:00|no click");
    EXPECT_EQ(squeezedLine(summary.text, "Ann Lee Smith|001|2003-04-18"),
              "Ann Lee Smith|001|2003-04-18 23:50:00|23:52:00|00:08:00|16 min|1-9");
    EXPECT_NE(squeezedLine(summary.text, "Ann Lee Smith|ALS|").find("|9 of 9|0|3|"),
              std::string::npos);
    const Output report = reportOf(folder.path());
    EXPECT_NE(report.text.find("<summary>3 runs, 24 min on task</summary>"), std::string::npos)
        << report.text;
    EXPECT_NE(report.text.find("<li>04-16 10:00, 10:01&ndash;10:09 (8 min): 1 2, stopped before "
                               "9</li><li>04-17 08:00: no click</li>"),
              std::string::npos);
}

// 7. One person under two spellings of a name or two sets of initials: named as possibly the
// same, never merged.
TEST(ClassGrading, NamesThatDifferOnlySoAreNamedNeverMerged) {
    testing::TemporaryFolder folder;
    const auto oneAnswer = [&](const std::string& place, const std::string& name,
                               const std::string& initials, int question) {
        StudentMaker student(folder.path() / place, name, initials);
        student.startRun("04-16-2003", at(10, question));
        student.answer(question, at(10, question, 30), name + " " + initials);
    };
    oneAnswer("a", "Ann Lee Smith", "ALS", 1);
    oneAnswer("b", "ann lee smith", "ALS", 2);
    oneAnswer("c", "Ann Lee  Smith", "ALS", 3);
    oneAnswer("d", "Ann L\xC3\xA9" "e Smith", "ALS", 4);
    oneAnswer("e", "Ann Lee Smith", "AS", 5);
    oneAnswer("f", "Bo Chan", "BC", 1);

    const ClassList list = listOf(classText);
    const Output summary = summaryOf(folder.path(), {&list, nullptr});
    EXPECT_NE(squeezedLine(summary.text, "Ann Lee Smith|ALS|001|1 of 9|"), "") << summary.text;
    const std::string possibly = "not on the class list; possibly Ann Lee Smith: the name "
                                 "differs only in ";
    EXPECT_NE(lineOf(summary.text, "ann lee smith").find(possibly + "capitals"), std::string::npos)
        << summary.text;
    EXPECT_NE(lineOf(summary.text, "Ann Lee  Smith").find(possibly + "blanks"), std::string::npos);
    EXPECT_NE(lineOf(summary.text, "Ann L\xC3\xA9" "e Smith").find(possibly + "accents"),
              std::string::npos);
    EXPECT_NE(lineOf(summary.text, "Ann Lee Smith (AS)")
                  .find("not on the class list; possibly Ann Lee Smith (ALS): other initials"),
              std::string::npos);
    EXPECT_EQ(lineOf(summary.text, "Bo Chan").find("possibly"), std::string::npos);
    // The listed student's own answers only: four others answered elsewhere.
    const Output report = reportOf(folder.path(), {&list, nullptr});
    EXPECT_NE(report.text.find("answered by 2 of 3</span>"), std::string::npos);
    EXPECT_NE(report.text.find("answered by 0 of 3 (+1 not listed)"), std::string::npos);
    EXPECT_NE(report.text.find("<div class=\"name\">Ann Lee  Smith</div>"), std::string::npos);

    // Without a list: the same name under two sets of initials is one student who typed both;
    // names alike are possibly one person.
    const Output unlisted = summaryOf(folder.path());
    EXPECT_NE(squeezedLine(unlisted.text, "Ann Lee Smith|ALS AS|").find("initials typed: ALS, AS"),
              std::string::npos)
        << unlisted.text;
    EXPECT_NE(lineOf(unlisted.text, "ann lee smith")
                  .find("possibly the same person as Ann Lee Smith: the names differ only in "
                        "capitals"),
              std::string::npos);
}

TEST(ClassGrading, AClassListIsReadAsASpreadsheetWritesIt) {
    const ClassList list = listOf("\xEF\xBB\xBF"
                                  "Name,Initials\r\n"
                                  "\"Smith, Ann\",ALS # a comment\r\n"
                                  "\r\n"
                                  "  Bo Chan  \r\n"
                                  "# only a comment\r\n"
                                  "Zo\xC3\xAB \"Z\" Ng,ZN\r\n");
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list.students()[0].name, "Smith, Ann");
    EXPECT_EQ(list.students()[0].initials, "ALS");
    EXPECT_EQ(list.students()[1].name, "Bo Chan");
    EXPECT_EQ(list.students()[1].initials, "");
    EXPECT_EQ(list.students()[2].name, "Zo\xC3\xAB \"Z\" Ng");
    // A semicolon in a file without commas; Windows-1252 from a spreadsheet's "CSV".
    const ClassList semicolons = listOf("name;initials\nZo\xEB Ng;ZN\n");
    ASSERT_EQ(semicolons.size(), 1u);
    EXPECT_EQ(semicolons.students()[0].name, "Zo\xC3\xAB Ng");
    EXPECT_EQ(semicolons.students()[0].initials, "ZN");
    // A listed name without initials takes any; a record whose initials are not known (notes
    // read without their master) is the listed student of its name.
    EXPECT_NE(list.match("Bo Chan", "XYZ").listed, nullptr);
    EXPECT_NE(list.match("Smith, Ann", "").listed, nullptr);
    EXPECT_EQ(list.match("Smith, Ann", "AS").listed, nullptr);
    EXPECT_EQ(list.match("smith, ann", "ALS").possibly, &list.students()[0]);

    std::string error;
    std::vector<std::string> warnings;
    EXPECT_FALSE(ClassList::parse("Ann,ALS,ann@example.org\n", "list.csv", error, warnings));
    EXPECT_EQ(error, "list.csv, line 1: 3 fields; a line holds a student's full name and, after "
                     "a comma, the initials");
    EXPECT_FALSE(ClassList::parse("\"Ann,ALS\n", "list.csv", error, warnings));
    EXPECT_FALSE(ClassList::parse("# nobody\n", "list.csv", error, warnings));
    EXPECT_TRUE(ClassList::parse("Ann\nAnn\n", "list.csv", error, warnings));
    EXPECT_EQ(warnings.back(), "list.csv, line 2: Ann is listed twice; counted once");
    EXPECT_EQ(foldedName("J\xC3\xB6rg  \xC3\x86sop_\xD0\x81\xD0\xBB\xD0\xBA\xD0\xB0"),
              "jorgaesop\xD0\xB5\xD0\xBB\xD0\xBA\xD0\xB0");
}

TEST(ClassGrading, TheOptionsAreReadForTheCommandsThatGrade) {
    const struct {
        std::vector<std::string> arguments;
        const char* error;
    } cases[] = {
        {{"summary", "--class-list", "c.csv", "--due", "2003-04-20T23:59", "a"}, ""},
        {{"report", "--class-list=c.csv", "--due=1=2003-04-20T23:59", "--output", "r.html", "a"},
         ""},
        {{"export", "--due", "2003-04-20T23:59", "--due", "2=2003-04-27T23:59", "a"}, ""},
        {{"check", "--class-list", "c.csv", "a"}, "--class-list applies to summary, report and export"},
        {{"check", "--due", "2003-04-20T23:59", "a"}, "--due applies to summary, report and export"},
        {{"summary", "a", "--due"}, "--due needs a value"},
    };
    for (const auto& testCase : cases) {
        std::string error;
        const CommandLine line = readCommandLine(testCase.arguments, error);
        EXPECT_EQ(error, testCase.error) << ::testing::PrintToString(testCase.arguments);
        if (error.empty() && testCase.arguments[0] == "export") {
            EXPECT_EQ(line.due.size(), 2u);
        }
    }
}

// The path column tells two files of one name apart: a student's home and campus master.
TEST(ClassGrading, ThePathTellsTwoFilesOfOneNameApart) {
    testing::TemporaryFolder folder;
    for (const char* place : {"home", "campus"}) {
        StudentMaker ann(folder.path() / "ann" / place, "Ann Lee Smith", "ALS");
        ann.startRun(place == std::string("home") ? "04-16-2003" : "04-17-2003", at(10, 0));
        ann.answer(1, at(10, 1), place);
    }
    std::set<std::string> paths;
    for (const JsonRow& row : exportOf(folder.path())) {
        if (row.at("file") == "masterFile_Ann_Lee_Smith.txt") {
            paths.insert(row.at("path"));
        }
    }
    EXPECT_EQ(paths, (std::set<std::string>{"ann/campus/masterFile_Ann_Lee_Smith.txt",
                                            "ann/home/masterFile_Ann_Lee_Smith.txt"}));
    // A file given by itself: its path as given.
    const fs::path master = folder.path() / "ann" / "home" / "masterFile_Ann_Lee_Smith.txt";
    const SearchResult alone = findRecordFiles({utf8Of(master)});
    ASSERT_EQ(alone.files.size(), 1u);
    EXPECT_EQ(alone.files[0].relativePath, genericUtf8(master));
    // A folder given with a separator at its end, and the campus run's final answer.
    const SearchResult slashed = findRecordFiles({utf8Of(folder.path()) + "/"});
    ASSERT_FALSE(slashed.files.empty());
    EXPECT_TRUE(slashed.files[0].relativePath.starts_with("ann/")) << slashed.files[0].relativePath;
}

// A class of twelve and one from another course, made as a real class is, read by every
// command: the bounds of what each says hold together.
TEST(ClassGrading, AGeneratedClassIsGradedWhole) {
    testing::TemporaryFolder folder;
    const testing::MadeClass made = testing::makeClass(folder.path(), 12);
    const ClassList list = listOf(made.classList);
    const DueTimes due = dueOf({"2003-04-20T23:59"});
    const Output summary = summaryOf(folder.path(), {&list, &due});
    EXPECT_EQ(summary.status, 0) << summary.text; // no send file cut short in a class of 12
    for (const std::string& name : made.listed) {
        EXPECT_NE(lineOf(summary.text, name), "") << name;
    }
    for (const std::string& name : made.withoutFiles) {
        EXPECT_NE(lineOf(summary.text, name).find("no records"), std::string::npos) << name;
    }
    EXPECT_NE(summary.text.find("Mallory Quinn"), std::string::npos);
    const Output check = checkOf(folder.path());
    EXPECT_EQ(check.status, 1);
    EXPECT_NE(check.text.find("the send file was changed after the program wrote it"),
              std::string::npos);
    const Output report = reportOf(folder.path(), {&list, &due});
    for (const char* outside : {"<script", "http:", "https:", " src=", "<link", "@import"}) {
        EXPECT_EQ(report.text.find(outside), std::string::npos) << outside;
    }
    EXPECT_NE(report.text.find("@media print"), std::string::npos);
    EXPECT_NE(report.text.find("@page { size: landscape"), std::string::npos);
    EXPECT_NE(report.text.find("position: sticky; top: 0"), std::string::npos);
    EXPECT_NE(report.text.find("position: sticky; left: 0"), std::string::npos);
    EXPECT_EQ(count(report.text, "<tr><th scope=\"row\">"), made.listed.size() + 3)
        << "the listed students, one from another course, another spelling, other initials";
}

} // namespace
} // namespace drilbank::instructor
