#include "coding/QueryCoder.h"
#include "core/DrillRun.h"
#include "os/Failure.h"

#include <gtest/gtest.h>

#include <fstream>

namespace drilbank {
namespace {

using testing::DrillRun;

const std::string queryPath = "c:\\drilbank\\query.txt";
const std::string outputPath = "c:\\drilbank\\queri.txt";

struct QueryCoder : testing::StartedRun {
    void SetUp() override {
        StartedRun::SetUp();
        state.codeNbr = 23;
    }
    void writeQueryFile(const std::string& bytes) {
        std::ofstream(platform.localPath(queryPath), std::ios::binary) << bytes;
    }
    // Runs the coder, closes what it left open, and gives the output file.
    std::string coded() {
        codeFile(drill.run);
        EXPECT_TRUE(platform.files().isOpen(1));
        EXPECT_TRUE(platform.files().isOpen(2));
        platform.files().closeAll();
        return platform.fileBytes(outputPath);
    }
    int failureOfCoding() {
        try {
            codeFile(drill.run);
        } catch (const Failure& fault) {
            return fault.number();
        }
        return 0;
    }
};

TEST_F(QueryCoder, RewritesQueryLinesAndTakesTheCodingNumberFromTheFirstLine) {
    writeQueryFile("assign01\r\nQuery 1 What is the rate?\r\nAny other text\r\n");
    EXPECT_EQ(coded(), "assign01\r\nquery What is the rate?\r\nAny other text\r\n");
    EXPECT_EQ(state.codeNbr, 8.0f);
}

TEST_F(QueryCoder, PrefixesAreRecognisedInAnyCaseAndNothingElse) {
    struct Case {
        std::string line, written;
    };
    const Case cases[] = {
        {"query ", "query"},
        {"query x", "query"},
        {"query xy", "queryy"},
        {"QUERY 2 Why?", "query Why?"},
        {"qUeRy 3 How?", "query How?"},
        {"query", "query"},
        {"queryX 1 no", "queryX 1 no"},
        {"quer", "quer"},
        {"Assignment 3 \xE9", "Assignment 3 \xE9"},
        {"ASSIGN", "ASSIGN"},
        {" query 1 x", " query 1 x"},
        {"", ""},
    };
    for (const auto& [line, written] : cases) {
        writeQueryFile("first\r\n" + line + "\r\n");
        EXPECT_EQ(coded(), "first\r\n" + written + "\r\n") << '"' << line << '"';
        EXPECT_EQ(state.codeNbr, 5.0f);
    }
}

TEST_F(QueryCoder, TheFirstLineIsCodedLikeAnyOther) {
    writeQueryFile("query 1 first");
    EXPECT_EQ(coded(), "query first\r\n");
    EXPECT_EQ(state.codeNbr, 13.0f);
}

TEST_F(QueryCoder, AMissingQueryFileStopsItBeforeAnythingIsWritten) {
    EXPECT_EQ(failureOfCoding(), failure::FileNotFound);
    EXPECT_FALSE(platform.fileExists(outputPath));
    EXPECT_EQ(state.codeNbr, 23.0f);
}

TEST_F(QueryCoder, AnEmptyQueryFileIsInputPastTheEnd) {
    writeQueryFile("");
    EXPECT_EQ(failureOfCoding(), failure::InputPastEndOfFile);
    EXPECT_FALSE(platform.fileExists(outputPath));
    EXPECT_EQ(state.codeNbr, 23.0f);
}

TEST_F(QueryCoder, AnEmptyFirstLineGivesCodingNumberZero) {
    writeQueryFile("\r\nsecond\r\n");
    EXPECT_EQ(coded(), "\r\nsecond\r\n");
    EXPECT_EQ(state.codeNbr, 0.0f);
}

TEST_F(QueryCoder, AnOldOutputFileIsEmptiedFirst) {
    std::ofstream(platform.localPath(outputPath), std::ios::binary) << "old contents\r\n";
    writeQueryFile("new\r\n");
    EXPECT_EQ(coded(), "new\r\n");
}

TEST_F(QueryCoder, ASecondRunFindsChannelOneStillOpen) {
    writeQueryFile("x\r\n");
    codeFile(drill.run);
    EXPECT_EQ(failureOfCoding(), failure::FileAlreadyOpen) << "a second run finds channel 1 open";
}

} // namespace
} // namespace drilbank
