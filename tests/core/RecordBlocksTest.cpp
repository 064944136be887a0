#include "record/RecordBlocks.h"
#include "core/DrillRun.h"
#include "record/EnterResponse.h"
#include "record/SaveAsNotes.h"
#include "script/NextQuestion.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace drilbank {
namespace {

using testing::DrillRun;
using testing::gained;

const std::string crlf = "\r\n";
const std::string indent(36, ' ');

TEST(RecordBlocks, ElementsHaveTheirExactLengths) {
    EXPECT_EQ(std::string(openingRule),
              std::string(6, '.') + std::string(8, '!') + std::string(35, '.'));
    EXPECT_EQ(std::string(closingRule), std::string(49, '.'));
    EXPECT_EQ(std::string(responseMarker), "RESPONSE -->  ");
    EXPECT_EQ(std::string(notesMarker).size(), 15u);
    EXPECT_EQ(std::string(questionNumberTag), "\x60questionNumber");
}

TEST(RecordBlocks, NumberItemsHaveTheirSpaces) {
    const std::pair<double, std::string> cases[] = {
        {70003, " 70003 "},
        {150012, " 150012 "},
        {150000, " 150000 "},
        {10002.5, " 10002.5 "},
        {10000, " 10000 "},
        {0, " 0 "},
        {-4, "-4 "},
        {-0.5, "-0.5 "},
        {1.0 / 3, " 0.333333333333333 "},
        {123456789012345678.0, " 123456789012346000 "},
    };
    for (const auto& [value, item] : cases) {
        EXPECT_EQ(numberItem(value), item) << value;
    }
}

TEST(RecordBlocks, QuestionNumberIsAssignmentTimesTenThousandPlusQuestion) {
    struct Case {
        std::string assignment, question;
        std::string line;
    };
    const Case cases[] = {
        {"007", "3", "\r\n\r\n`questionNumber 70003 "},
        {"015", "12", "\r\n\r\n`questionNumber 150012 "},
        {"015", "", "\r\n\r\n`questionNumber 150000 "},
        {"001", "2.5", "\r\n\r\n`questionNumber 10002.5 "},
        {"001", "", "\r\n\r\n`questionNumber 10000 "},
        {" 1 2", "x", "\r\n\r\n`questionNumber 120000 "},
        {"", "", "\r\n\r\n`questionNumber 0 "},
        {"001", "-20000", "\r\n\r\n`questionNumber-10000 "},
    };
    for (const auto& [assignment, question, line] : cases) {
        RunState state;
        state.assignmentNumber = assignment;
        state.currentQuestion = question;
        EXPECT_EQ(questionNumberLine(questionNumber(state)), line) << assignment << " " << question;
    }
}

TEST(RecordBlocks, TimeLinesReadTheClockEachTime) {
    testing::FakeClock clock;
    clock.tickOnEveryTimeReading = true;
    EXPECT_EQ(timeLine(clock), indent + "14:05:09");
    EXPECT_EQ(dateTimeLine(clock), indent + "04-16-200314:05:10");
    EXPECT_EQ(timeLine(clock).size(), 44u);
    EXPECT_EQ(dateTimeLine(clock).size(), 54u);
}

// A started run on the built-in script with one line shown and a ticking clock.
struct ShownQuestion : DrillRun {
    ShownQuestion() {
        startUp();
        click(&nextQuestionClicked);
        platform.fakeClock.tickOnEveryTimeReading = true;
        platform.fakeClock.secondsOfDay = 15 * 3600; // 15:00:00
    }
};

TEST(RecordBlocks, AResponseBlockIsTenLinesInTheMasterAndSevenInTheSend) {
    ShownQuestion drill;
    const std::string master = drill.master();
    const std::string send = drill.send();
    const std::string line = drill.run.state.currentLine;
    drill.platform.answer = "It slows down.";
    drill.click(&enterResponseClicked);

    // The clock is read for the master file's time line, then for the send file's.
    EXPECT_EQ(gained(master, drill.master()),
              openingRule + crlf + indent + "15:00:00" + crlf + crlf + crlf +
                  "`questionNumber 10000 " + crlf + line + crlf + openingRule + crlf +
                  "RESPONSE -->  " + crlf + "It slows down." + crlf + closingRule + crlf);
    EXPECT_EQ(gained(send, drill.send()), openingRule + crlf + indent + "15:00:01" + crlf + line +
                                              crlf + openingRule + crlf + "RESPONSE -->  " + crlf +
                                              "It slows down." + crlf + closingRule + crlf);
    EXPECT_FALSE(drill.platform.fileExists(drill.run.state.notesFilePath));
}

TEST(RecordBlocks, ANotesBlockIsSevenLinesInEachFile) {
    ShownQuestion drill;
    const std::string master = drill.master();
    const std::string send = drill.send();
    const std::string line = drill.run.state.currentLine;
    drill.platform.answer = "Remember the units.";
    drill.click(&saveAsNotesClicked);

    const auto block = [&](const std::string& time, const std::string& dateTime,
                           const std::string& ending) {
        return openingRule + crlf + indent + time + crlf + indent + "04-16-2003" + dateTime + crlf +
               line + crlf + openingRule + crlf + "NOTES -------> Remember the units." + crlf +
               closingRule + ending;
    };
    // Each line goes to master, send and notes in turn: times 0, 1, 2 and then 3, 4, 5.
    EXPECT_EQ(gained(master, drill.master()), block("15:00:00", "15:00:03", crlf));
    EXPECT_EQ(gained(send, drill.send()), block("15:00:01", "15:00:04", std::string(7, ' ')));
    EXPECT_EQ(drill.notes(), block("15:00:02", "15:00:05", std::string(7, ' ')));
}

TEST(RecordBlocks, AfterANoteTheNextBlockContinuesTheSendFilesLastLine) {
    ShownQuestion drill;
    drill.platform.answer = "note";
    drill.click(&saveAsNotesClicked);
    const std::string master = drill.master();
    const std::string send = drill.send();
    const std::string notes = drill.notes();
    drill.platform.answer = "answer";
    drill.click(&enterResponseClicked);
    drill.platform.answer = "second note";
    drill.click(&saveAsNotesClicked);

    const std::string joined = closingRule + std::string(7, ' ') + openingRule + crlf;
    EXPECT_EQ(drill.send().substr(send.size() - 56, 107), joined);
    EXPECT_EQ(drill.notes().substr(notes.size() - 56, 107), joined);
    EXPECT_EQ(gained(master, drill.master()).substr(0, 51), openingRule + crlf)
        << "the master file starts each block on a fresh line";
}

TEST(RecordBlocks, AnAnswerWithLineBreaksSpansSeveralLines) {
    ShownQuestion drill;
    const std::string master = drill.master();
    drill.platform.answer = "first\r\nsecond\r\n\r\nfourth";
    drill.click(&enterResponseClicked);
    const std::string block = gained(master, drill.master());
    EXPECT_NE(block.find(crlf + "RESPONSE -->  " + crlf + "first\r\nsecond\r\n\r\nfourth" + crlf +
                         closingRule + crlf),
              std::string::npos);
    EXPECT_EQ(std::count(block.begin(), block.end(), '\n'), 13);
}

// No typed text can end its block: each typed line that begins with the closing rule has its
// first full stop stored as "&#46;", after any line break, in responses and notes alike; a
// line that merely holds full stops, or fewer than 49, is stored as typed.
TEST(RecordBlocks, ATypedLineOfFullStopsIsStoredWithItsFirstAsAReference) {
    const std::string rule = closingRule;
    const std::string stored = std::string("&#46;") + rule.substr(1);
    const struct {
        std::string typed;
        std::string stored;
    } rows[] = {
        {rule, stored},
        {"above\r\n" + rule + "\r\nbelow", "above\r\n" + stored + "\r\nbelow"},
        {"lf\n" + rule + ".\rcr\r" + rule + " and more",
         "lf\n" + stored + ".\rcr\r" + stored + " and more"},
        {rule + "\r\n" + rule, stored + "\r\n" + stored},
        {"x" + rule, "x" + rule},
        {rule.substr(1) + "\r\n", rule.substr(1) + "\r\n"},
    };
    for (const auto& row : rows) {
        for (const bool note : {false, true}) {
            ShownQuestion drill;
            const std::string before = drill.notes();
            drill.platform.answer = row.typed;
            drill.click(note ? &saveAsNotesClicked : &enterResponseClicked);
            const std::string block = gained(before, note ? drill.notes() : drill.master());
            // A note's first line follows its marker, so it begins no line of the file.
            const bool firstLineStored = row.typed.starts_with(rule);
            const std::string line =
                note ? "NOTES -------> " +
                           (firstLineStored ? "." + row.stored.substr(5) : row.stored)
                     : "RESPONSE -->  \r\n" + row.stored;
            EXPECT_NE(block.find(line + crlf + closingRule), std::string::npos) << row.typed;
        }
    }
}

TEST(RecordBlocks, CodeBytesAboveAsciiAreWrittenAsTheyAre) {
    ShownQuestion drill;
    const std::string notes = "caf\xE9 \x80 \xFF";
    drill.platform.answer = notes;
    drill.click(&saveAsNotesClicked);
    EXPECT_NE(drill.notes().find("NOTES -------> " + notes + crlf), std::string::npos);
}

} // namespace
} // namespace drilbank
