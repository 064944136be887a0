// Grading a class from its files, continued: how far the class got, time on task, one person
// under two names or initials; the class list, the options and the path column.
#include "GradingOutputs.h"
#include "instructor/CommandLine.h"
#include "support/ClassMaker.h"
#include "support/TemporaryFolder.h"
#include "support/ZipMembers.h"

#include <gtest/gtest.h>

#include <set>

namespace drilbank::instructor {
namespace {

namespace fs = std::filesystem;
using namespace grading;
using drilbank::testing::StudentMaker;

// 5. How far the class got: per question, answered by how many of the class.
TEST(ClassGrading, EachQuestionSaysHowManyOfTheClassAnsweredIt) {
    drilbank::testing::TemporaryFolder folder;
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
    drilbank::testing::TemporaryFolder folder;
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
    drilbank::testing::TemporaryFolder folder;
    const auto oneAnswer = [&](const std::string& place, const std::string& name,
                               const std::string& initials, int question) {
        StudentMaker student(folder.path() / place, name, initials);
        student.startRun("04-16-2003", at(10, question));
        student.answer(question, at(10, question, 30), name + " " + initials);
    };
    oneAnswer("a", "Ann Lee Smith", "ALS", 1);
    oneAnswer("b", "ann lee smith", "ALS", 2);
    oneAnswer("c", "Ann Lee  Smith", "ALS", 3);
    oneAnswer("d",
              "Ann L\xC3\xA9"
              "e Smith",
              "ALS", 4);
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
    EXPECT_NE(lineOf(summary.text, "Ann L\xC3\xA9"
                                   "e Smith")
                  .find(possibly + "accents"),
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
        {{"check", "--class-list", "c.csv", "a"},
         "--class-list applies to summary, report and export"},
        {{"check", "--due", "2003-04-20T23:59", "a"},
         "--due applies to summary, report and export"},
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
    drilbank::testing::TemporaryFolder folder;
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
    drilbank::testing::TemporaryFolder folder;
    const drilbank::testing::MadeClass made = drilbank::testing::makeClass(folder.path(), 12);
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
