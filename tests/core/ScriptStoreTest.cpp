#include "script/ScriptStore.h"
#include "os/Failure.h"
#include "script/BuiltInScript.h"

#include <gtest/gtest.h>

namespace drilbank {
namespace {

TEST(ScriptStore, BuiltInScriptFillsSlotsOneToNineteen) {
    RunState state;
    storeBuiltInScript(state);
    EXPECT_EQ(state.scriptIndex, 19);
    ASSERT_EQ(state.scriptLines.size(), 5001u);
    EXPECT_EQ(state.scriptLines[0], "");
    EXPECT_EQ(state.scriptLines[1], "001.  Day 5 quiz");
    const std::size_t lengths[] = {332, 606, 160, 238, 167, 461, 223, 454, 148};
    const char* starts[] = {
        "Suppose the depth vs. clock time results for a uniform cylinder of",
        "For the depth vs. clock time situation of the preceding problem (uniform",
        "Sketch a trapezoidal approximation graph depicting the volume of water in the",
        "If the water flowing out of the container between t = 5",
        "What did you get when you divided 1 by 43 in your",
        "At what average rate does the period of a pendulum change with",
        "If the average rate of depth change in a cylinder is -.3",
        "Suppose that the rate at which the depth of water in a",
        "If water is flowing into a cylinder of radius 4 cm at",
    };
    for (std::size_t question = 0; question < 9; ++question) {
        const std::string& line = state.scriptLines[3 + 2 * question];
        EXPECT_EQ(line.size(), lengths[question]) << question;
        EXPECT_TRUE(line.starts_with(starts[question])) << question;
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
        EXPECT_EQ(state.scriptLines[2 + 2 * question], "");
    }
    EXPECT_EQ(state.scriptLines[3].back(), ' ');
    for (std::size_t slot = 20; slot <= 5000; ++slot) {
        ASSERT_EQ(state.scriptLines[slot], "") << slot;
    }
}

TEST(ScriptStore, SlotFiveThousandIsTheLastThatCanBeStored) {
    RunState state;
    state.scriptIndex = 4999;
    appendScriptLine(state, "last");
    EXPECT_EQ(state.scriptLines[5000], "last");
    try {
        appendScriptLine(state, "beyond");
        FAIL() << "slot 5001 was accepted";
    } catch (const Failure& fault) {
        EXPECT_EQ(fault.number(), failure::IndexOutOfRange);
    }
    EXPECT_EQ(state.scriptIndex, 5001);
    EXPECT_EQ(state.scriptLines.size(), 5001u);

    state.scriptIndex = -2;
    EXPECT_THROW(appendScriptLine(state, "negative"), Failure);
}

} // namespace
} // namespace drilbank
