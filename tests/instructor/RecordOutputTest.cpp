// The tool's edges: its command line, the folder search and the two output forms.
#include "instructor/CommandLine.h"
#include "instructor/RecordSearch.h"
#include "instructor/RowWriter.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace drilbank::instructor {
namespace {

TEST(RecordOutput, CommandLinesAreReadOrRefused) {
    const struct {
        std::vector<std::string> arguments;
        const char* error; // empty when the line is good
    } cases[] = {
        {{"check", "a", "b"}, ""},
        {{"export", "--format", "json", "--output", "out.json", "a"}, ""},
        {{"export", "--format=csv", "a"}, ""},
        {{"--help"}, ""},
        {{"check"}, "no PATH given"},
        {{}, "no command given"},
        {{"list", "a"}, "unknown command list"},
        {{"export", "--format", "xml", "a"}, "--format must be csv or json"},
        {{"check", "--format", "json", "a"}, "--format applies to export only"},
        {{"check", "--verbose", "a"}, "unknown option --verbose"},
        {{"export", "a", "--output"}, "--output needs a value"},
    };
    for (const auto& testCase : cases) {
        std::string error;
        readCommandLine(testCase.arguments, error);
        EXPECT_EQ(error, testCase.error) << ::testing::PrintToString(testCase.arguments);
    }
}

TEST(RecordOutput, TheSearchFindsRecordFilesAndPassesOverHiddenOnes) {
    testing::TemporaryFolder folder;
    const auto touch = [&](const std::string& relative) {
        std::filesystem::create_directories((folder.path() / relative).parent_path());
        std::ofstream(folder.path() / relative) << "";
    };
    for (const char* file :
         {"b/notes_Ann.txt", "b/send_0416Ann.txt", "b/masterFile_Ann.txt", "a/masterFile_Bo.txt",
          "b/.drilbank-journal", ".hidden/masterFile_Cy.txt", "b/readme.txt", "b/send_Ann.txt",
          "c/MASTERFILE_Dee.TXT"}) {
        touch(file);
    }
    const SearchResult found = findRecordFiles({folder.path().string()});
    EXPECT_TRUE(found.errors.empty());
    std::vector<std::string> names;
    for (const RecordFile& file : found.files) {
        names.push_back(file.path.lexically_relative(folder.path()).generic_string());
    }
    // Names in any capitals, and a send file renamed without its date, are read.
    EXPECT_EQ(names, (std::vector<std::string>{"a/masterFile_Bo.txt", "b/masterFile_Ann.txt",
                                               "b/send_0416Ann.txt", "b/send_Ann.txt",
                                               "b/notes_Ann.txt", "c/MASTERFILE_Dee.TXT"}));

    std::filesystem::create_directories(folder.path() / "empty");
    const SearchResult wrong =
        findRecordFiles({(folder.path() / "missing").string(), (folder.path() / "empty").string(),
                         (folder.path() / "b/readme.txt").string()});
    ASSERT_EQ(wrong.errors.size(), 3u);
    EXPECT_TRUE(wrong.errors[0].ends_with("no such file or folder"));
    EXPECT_NE(wrong.errors[1].find("holds no record files"), std::string::npos);
    EXPECT_NE(wrong.errors[2].find("not a record file"), std::string::npos);
}

TEST(RecordOutput, CsvAndJsonCarryEveryCharacterOfARow) {
    RecordRow row{"Zo\xC3\xAB, \"Z\"",
                  "ZZ",
                  "001",
                  "10000",
                  "response",
                  "2003-04-16",
                  "14:05:11",
                  "Q",
                  "a\r\nb\t\xF0\x9F\x98\x80\\",
                  "masterFile_Zo\xC3\xAB.txt"};
    const struct {
        const char* format;
        std::string expected;
    } cases[] = {
        {"csv", "\xEF\xBB\xBFstudent,initials,assignment,question_number,kind,date,time,question,"
                "answer,file\r\n\"Zo\xC3\xAB, \"\"Z\"\"\",ZZ,001,10000,response,2003-04-16,"
                "14:05:11,Q,\"a\r\nb\t\xF0\x9F\x98\x80\\\",masterFile_Zo\xC3\xAB.txt\r\n"},
        {"json", "[\n  {\"student\": \"Zo\xC3\xAB, \\\"Z\\\"\", \"initials\": \"ZZ\", "
                 "\"assignment\": \"001\", \"question_number\": \"10000\", \"kind\": "
                 "\"response\", \"date\": \"2003-04-16\", \"time\": \"14:05:11\", \"question\": "
                 "\"Q\", \"answer\": \"a\\r\\nb\\t\xF0\x9F\x98\x80\\\\\", \"file\": "
                 "\"masterFile_Zo\xC3\xAB.txt\"}\n]\n"},
    };
    for (const auto& testCase : cases) {
        std::ostringstream out;
        const auto writer = makeRowWriter(testCase.format, out);
        writer->row(row);
        writer->finish();
        EXPECT_EQ(out.str(), testCase.expected) << testCase.format;
    }
}

} // namespace
} // namespace drilbank::instructor
