// Grading a class from its files, on classes made through the core: who handed in nothing and
// what each student is missing, late work, a send file against its master, which answer is
// final, how far the class got, time on task, and one person under two names or initials.
#include "GradingOutputs.h"
#include "instructor/CommandLine.h"
#include "support/ClassMaker.h"
#include "support/TemporaryFolder.h"
#include "support/ZipMembers.h"

#include <gtest/gtest.h>

#include <ctime>
#include <set>

namespace drilbank::instructor {
namespace {

namespace fs = std::filesystem;
using namespace grading;
using drilbank::testing::StudentMaker;

// 1. Who handed in nothing, and which questions each student is missing; a file from another
// course is not one more student of the class.
TEST(ClassGrading, EveryListedStudentIsShownWithWhatIsMissing) {
    drilbank::testing::TemporaryFolder folder;
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
    drilbank::testing::TemporaryFolder folder;
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

    // Times as every output writes them, held against the C library's calendar: each second
    // of a day, and days over a thousand years, leap days among them.
    const auto libraryText = [](Moment moment) {
        const std::time_t time = static_cast<std::time_t>(moment);
        char text[32];
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", std::gmtime(&time));
        return std::string(text);
    };
    for (Moment moment = 951782400; moment < 951782400 + 86400; moment += 7) { // 2000-02-29
        ASSERT_EQ(momentText(moment), libraryText(moment));
    }
    for (Moment moment = 0; moment < Moment{32503680000}; moment += 86400 * 13 + 3601) {
        ASSERT_EQ(momentText(moment), libraryText(moment));
    }
    EXPECT_EQ(momentText(noMoment), "");
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
    const std::string start =
        "......!!!!!!!!...................................\r\n" + std::string(36, ' ');
    for (std::size_t at = bytes.find(start); at != std::string::npos;
         at = bytes.find(start, at + 1)) {
        starts.push_back(at);
    }
    return starts;
}

// 3. A send file against its master: blocks the master lacks, blocks it holds otherwise, and
// blocks of that day the send file lacks, each naming both files.
TEST(ClassGrading, ASendFileIsHeldAgainstItsMaster) {
    drilbank::testing::TemporaryFolder folder;
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
    EXPECT_NE(changed.text.find(sendPath + ":"), std::string::npos);
    EXPECT_NE(
        changed.text.find("differs from the one the master file " + masterPath + " holds at line"),
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
    drilbank::testing::TemporaryFolder folder;
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
    EXPECT_EQ(finals.at("first try"),
              (std::vector<std::string>{"masterFil:false", "send_0416:false"}));
    EXPECT_EQ(finals.at("second try"),
              (std::vector<std::string>{"masterFil:false", "send_0416:false"}));
    EXPECT_EQ(finals.at("only once"),
              (std::vector<std::string>{"masterFil:true", "send_0416:true"}));
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
    EXPECT_NE(
        report.text.find("in ann/masterFile_Ann_Lee_Smith.txt, ann/send_0417Ann_Lee_Smith.txt"),
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
    ASSERT_TRUE(drilbank::testing::readZipMembers(
        xlsx, [&](const std::string& name, std::string_view bytes) {
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

} // namespace
} // namespace drilbank::instructor
