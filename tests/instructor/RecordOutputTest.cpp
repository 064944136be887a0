// The tool's edges: its command line, the folder search and the output forms.
#include "encoding/Cp1252.h"
#include "instructor/CommandLine.h"
#include "instructor/Commands.h"
#include "instructor/QuestionOrder.h"
#include "instructor/RecordSearch.h"
#include "instructor/RowWriter.h"
#include "script/BuiltInScript.h"
#include "support/TemporaryFolder.h"
#include "support/ZipMembers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <optional>
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
        {{"export", "--format", "xml", "a"}, "--format must be xlsx, csv or json"},
        {{"check", "--format", "json", "a"}, "--format applies to export only"},
        {{"export", "--exact", "a"}, ""},
        {{"summary", "--exact", "a"}, "--exact applies to export only"},
        {{"export", "--format", "json", "--exact", "a"},
         "--exact applies to CSV only (xlsx and JSON are always exact)"},
        {{"report", "a"}, "report needs --output FILE.html"},
        {{"report", "--output", "class.html", "a"}, ""},
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

// What a spreadsheet would run as a formula, and what it would turn into a number or a date.
const std::vector<std::string> formulaLike = {
    "=1+1", "+1", "-5", "@SUM(A1)", "\tx", "\rx", "007", "1/2", "1e5", "=HYPERLINK(\"http://x\")"};

// Plain texts of every length the writer tells apart (to beyond its quarter-megabyte buffer),
// and each with a byte that must be quoted at every place: texts of one length follow each
// other.
std::vector<std::string> quotingSweep() {
    std::vector<std::string> texts;
    for (const std::size_t length : {1, 2, 3, 4, 5, 7, 8, 9, 15, 16, 17, 31, 32, 33, 300000}) {
        texts.emplace_back(length, 'x');
        for (const char special : {',', '"', '\r', '\n'}) {
            for (const std::size_t at : {std::size_t{0}, length / 2, length - 1}) {
                texts.emplace_back(length, 'x');
                texts.back()[at] = special;
            }
        }
    }
    return texts;
}

TEST(RecordOutput, CsvNeutralisesWhatASpreadsheetWouldRunUnlessExact) {
    std::vector<std::string> texts = quotingSweep();
    texts.insert(texts.end(), formulaLike.begin(), formulaLike.end());
    for (const bool exact : {false, true}) {
        std::ostringstream out;
        const auto writer = makeRowWriter({"csv", exact, {}}, out);
        for (const std::string& text : texts) {
            RecordRow row;
            row.answer = text;
            writer->row(row);
            writer->row(row); // as it was written for the row before
        }
        std::ostringstream messages;
        EXPECT_TRUE(writer->finish(messages));
        std::string expected;
        for (const std::string& text : texts) {
            const bool runs = std::string("=+-@\t\r").find(text[0]) != std::string::npos;
            std::string field = text;
            for (std::size_t at = 0; (at = field.find('"', at)) != std::string::npos; at += 2) {
                field.insert(at, "\"");
            }
            if (runs && !exact) {
                field = "\"'" + field + "\"";
            } else if (field.find_first_of(",\"\r\n") != std::string::npos) {
                field = "\"" + field + "\"";
            }
            expected += ",,,,,,,," + field + ",,,,,,\r\n,,,,,,,," + field + ",,,,,,\r\n";
        }
        EXPECT_NE(out.str().find(expected), std::string::npos) << exact;
    }
}

#ifdef DRILBANK_XLSX
// One member of a zip file, inflated: what a spreadsheet reads of an xlsx.
std::string zipMember(const std::filesystem::path& zip, const std::string& name) {
    std::string member;
    EXPECT_TRUE(testing::readZipMembers(zip, [&](const std::string& read, std::string_view bytes) {
        member.append(read == name ? bytes : std::string_view());
    }));
    return member;
}

// What a spreadsheet shows of a cell's XML text: entities decoded, and _xHHHH_ as the
// character HHHH (all ASCII here).
std::string shownText(std::string_view xml) {
    std::string text;
    for (std::size_t at = 0; at < xml.size();) {
        const auto from = [&](std::string_view form) { return xml.substr(at).starts_with(form); };
        if (from("_x") && at + 7 <= xml.size() && xml[at + 6] == '_' &&
            std::isxdigit(static_cast<unsigned char>(xml[at + 2])) &&
            std::isxdigit(static_cast<unsigned char>(xml[at + 3])) &&
            std::isxdigit(static_cast<unsigned char>(xml[at + 4])) &&
            std::isxdigit(static_cast<unsigned char>(xml[at + 5]))) {
            text += static_cast<char>(std::stoi(std::string(xml.substr(at + 2, 4)), nullptr, 16));
            at += 7;
            continue;
        }
        bool entity = false;
        for (const auto& [name, character] : {std::pair<std::string_view, char>{"&lt;", '<'},
                                              {"&gt;", '>'},
                                              {"&quot;", '"'},
                                              {"&amp;", '&'}}) {
            if (!entity && from(name)) {
                text += character;
                at += name.size();
                entity = true;
            }
        }
        if (!entity) {
            text += xml[at++];
        }
    }
    return text;
}

// The temporary files a spreadsheet library makes go where the system keeps such files (made
// here a folder of the test's own) and are gone once the file is written.
class TemporaryFilesIn {
public:
    explicit TemporaryFilesIn(const std::filesystem::path& folder) {
        std::filesystem::create_directory(folder);
        if (const char* before = std::getenv(variable)) {
            before_ = before;
        }
        set(folder.string().c_str());
    }
    ~TemporaryFilesIn() { set(before_ ? before_->c_str() : nullptr); }

private:
#ifdef _WIN32
    static constexpr const char* variable = "TMP";
    static void set(const char* value) {
        _putenv_s(variable, value ? value : "");
    } // "" unsets
#else
    static constexpr const char* variable = "TMPDIR";
    static void set(const char* value) {
        value ? setenv(variable, value, 1) : unsetenv(variable);
    }
#endif
    std::optional<std::string> before_;
};

// The xlsx read back: every cell is a text cell holding exactly what was typed (cut only
// beyond what a cell holds), and nothing is a formula or a number.
TEST(RecordOutput, XlsxCellsAreAllTextAsTyped) {
    testing::TemporaryFolder folder;
    const std::filesystem::path file = folder.path() / "class.xlsx";
    const std::filesystem::path temporary = folder.path() / "tmp";
    std::vector<std::string> typed = formulaLike;
    typed.push_back("caf\xC3\xA9 \xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 \xCE\x94 "
                    "\xF0\x9F\x98\x80 <b>&amp;</b>");
    typed.push_back("_x0041_ _x005f_x _X0041_ _x41_");
    typed.push_back("_x000D_" + std::string(40000, 'x'));
    {
        const TemporaryFilesIn library(temporary);
        const auto writer = makeRowWriter({"xlsx", false, file}, std::cout);
        for (const std::string& text : typed) {
            RecordRow row;
            row.student = "\xD0\x90\xD0\xBD\xD0\xBD\xD0\xB0"; // Cyrillic
            row.answer = text;
            writer->row(row);
        }
#ifdef _WIN32
        // Unlinked at once elsewhere; on Windows removed only when closed.
        EXPECT_FALSE(std::filesystem::is_empty(temporary));
#endif
        std::ostringstream messages;
        ASSERT_TRUE(writer->finish(messages));
        EXPECT_NE(messages.str().find("1 cells were longer"), std::string::npos);
    }
    EXPECT_TRUE(std::filesystem::is_empty(temporary));
    const std::string xml = zipMember(file, "xl/worksheets/sheet1.xml");
    EXPECT_EQ(xml.find("<f>"), std::string::npos);
    std::vector<std::string> answers;
    std::size_t cells = 0;
    for (std::size_t at = 0; (at = xml.find("<c ", at)) != std::string::npos; ++at) {
        ++cells;
        const std::size_t end = xml.find("</c>", at);
        const std::string cell = xml.substr(at, end - at);
        ASSERT_NE(cell.find("t=\"inlineStr\""), std::string::npos) << cell;
        if (cell.find(" r=\"A2\"") != std::string::npos) {
            EXPECT_NE(cell.find(">\xD0\x90\xD0\xBD\xD0\xBD\xD0\xB0</t>"), std::string::npos);
        }
        if (cell.find(" r=\"I") != std::string::npos &&
            cell.find(" r=\"I1\"") == std::string::npos) {
            const std::size_t text = cell.find('>', cell.find("<t")) + 1;
            answers.push_back(shownText(cell.substr(text, cell.find("</t>") - text)));
        }
    }
    EXPECT_EQ(cells, rowColumns.size() + 2 * typed.size()); // header, student and answer
    ASSERT_EQ(answers.size(), typed.size());
    // As much as a cell holds, less room for the escape of the _x000D_ typed.
    EXPECT_EQ(answers.back(), typed.back().substr(0, 32767 - 6));
    answers.pop_back();
    typed.pop_back();
    EXPECT_EQ(answers, typed);
}
#endif

// The report page's structure, checked without a browser: self-contained, every element
// closed in order, a row per student with the problems of its files in the row below it.
TEST(RecordOutput, TheReportIsOneSelfContainedWellFormedPage) {
    const std::filesystem::path session = std::filesystem::path(DRILBANK_TEST_DATA) / "session";
    testing::TemporaryFolder folder;
    for (const auto& entry : std::filesystem::directory_iterator(session)) {
        if (entry.path().extension() == ".txt") {
            std::filesystem::copy_file(entry.path(), folder.path() / entry.path().filename());
        }
    }
    const std::filesystem::path send = folder.path() / "send_0416Ann_Lee_Smith.txt";
    std::filesystem::resize_file(send, std::filesystem::file_size(send) - 9);
    // An answer longer than the page keeps of one, which is cut and said so.
    const std::filesystem::path master = folder.path() / "masterFile_Ann_Lee_Smith.txt";
    std::string bytes =
        (std::ostringstream() << std::ifstream(master, std::ios::binary).rdbuf()).str();
    const std::string answer = "so the graph gets less steep.";
    bytes.insert(bytes.find(answer) + answer.size(), std::string(100000, 'x'));
    std::ofstream(master, std::ios::binary) << bytes;
    std::ostringstream page;
    std::ostringstream messages;
    const auto found = findRecordFiles({folder.path().string()});
    EXPECT_EQ(reportFiles(found.files, {page, messages, nullptr}), 1);
    const std::string html = page.str();
    EXPECT_TRUE(html.starts_with("<!DOCTYPE html>\n<html lang=\"en\">"));
    EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos);
    for (const char* outside : {"<script", "http:", "https:", " src=", "<link", "@import"}) {
        EXPECT_EQ(html.find(outside), std::string::npos) << outside;
    }
    std::vector<std::string> open;
    std::vector<std::string> rows; // the first cell of each table row: th for a student
    for (std::size_t at = 0; (at = html.find('<', at)) != std::string::npos; ++at) {
        const std::size_t end = html.find_first_of(" >", at);
        const std::string tag = html.substr(at + 1, end - at - 1);
        if (tag.starts_with("!") || tag == "br" || tag == "meta" || tag == "col") {
            continue;
        }
        if (tag.starts_with("/")) {
            ASSERT_FALSE(open.empty()) << tag;
            ASSERT_EQ("/" + open.back(), tag) << "at byte " << at;
            open.pop_back();
            continue;
        }
        if (!open.empty() && open.back() == "tr" && rows.back().empty()) {
            rows.back() = tag;
        }
        if (tag == "tr") {
            rows.emplace_back();
        }
        open.push_back(tag);
    }
    EXPECT_TRUE(open.empty());
    // The header row, Ann Lee Smith's row, and her problems right below it.
    EXPECT_EQ(rows, (std::vector<std::string>{"th", "th", "td"}));
    EXPECT_NE(html.find("<li>send_0416Ann_Lee_Smith.txt, line"), std::string::npos);
    EXPECT_NE(html.find(std::string(50000, 'x') + "<span class=\"cut\"> [cut here: "),
              std::string::npos);
    EXPECT_EQ(html.find(std::string(100000, 'x')), std::string::npos);
}

// Questions are numbered as the script presents them, others after them as first met, up to a
// bound past which a new question is 0 and the order says it is full.
TEST(RecordOutput, QuestionsAreNumberedInScriptOrderUpToABound) {
    QuestionOrder order;
    const auto& script = builtInScriptLines();
    const auto header = std::find_if(script.begin(), script.end(), [](std::string_view line) {
        return line.starts_with("001.");
    });
    ASSERT_NE(header, script.end());
    const auto first =
        std::find_if(header + 1, script.end(), [](std::string_view line) { return !line.empty(); });
    ASSERT_NE(first, script.end());
    EXPECT_EQ(order.numberOf("001", cp1252ToUtf8(*first)), 1);
    const int other = order.numberOf("001", "a question no script holds");
    EXPECT_GT(other, 1);
    for (std::size_t question = 1; question < QuestionOrder::kept; ++question) {
        EXPECT_FALSE(order.full());
        order.numberOf("002", "question " + std::to_string(question));
    }
    EXPECT_TRUE(order.full());
    EXPECT_EQ(order.numberOf("002", "one question more"), 0);
    EXPECT_EQ(order.numberOf("001", "a question no script holds"), other);
    EXPECT_EQ(order.numberOf("002", "question 7"), 7);
    EXPECT_EQ(numberRanges({1, 2, 3, 5, 9, 10}), "1-3 5 9 10");
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
    row.path = "ann/masterFile_Zo\xC3\xAB.txt";
    row.final = "yes";
    row.late = "no";
    const struct {
        const char* format;
        std::string expected;
    } cases[] = {
        {"csv", "\xEF\xBB\xBFstudent,initials,assignment,question_number,kind,date,time,question,"
                "answer,file,path,final,late,on_class_list,possibly\r\n\"Zo\xC3\xAB, \"\"Z\"\"\","
                "ZZ,001,10000,response,2003-04-16,14:05:11,Q,\"a\r\nb\t\xF0\x9F\x98\x80\\\","
                "masterFile_Zo\xC3\xAB.txt,ann/masterFile_Zo\xC3\xAB.txt,yes,no,,\r\n"},
        {"json", "[\n  {\"student\": \"Zo\xC3\xAB, \\\"Z\\\"\", \"initials\": \"ZZ\", "
                 "\"assignment\": \"001\", \"question_number\": \"10000\", \"kind\": "
                 "\"response\", \"date\": \"2003-04-16\", \"time\": \"14:05:11\", \"question\": "
                 "\"Q\", \"answer\": \"a\\r\\nb\\t\xF0\x9F\x98\x80\\\\\", \"file\": "
                 "\"masterFile_Zo\xC3\xAB.txt\", \"path\": \"ann/masterFile_Zo\xC3\xAB.txt\", "
                 "\"final\": true, \"late\": false, \"on_class_list\": null, \"possibly\": \"\"}"
                 "\n]\n"},
    };
    for (const auto& testCase : cases) {
        std::ostringstream out;
        const auto writer = makeRowWriter({testCase.format, false, {}}, out);
        writer->row(row);
        std::ostringstream messages;
        EXPECT_TRUE(writer->finish(messages));
        EXPECT_EQ(out.str(), testCase.expected) << testCase.format;
    }
}

} // namespace
} // namespace drilbank::instructor
