#include "encoding/NumberReading.h"
#include "os/Failure.h"

#include <gtest/gtest.h>

#include <string>

namespace drilbank {
namespace {

struct LeadingCase {
    std::string text;
    double value;
};

TEST(NumberReading, LeadingNumberReadsWhatStandsAtTheStart) {
    const LeadingCase cases[] = {
        {"007", 7},      {"", 0},    {"12a", 12},    {"1 2", 12}, {" \t\n7", 7},
        {"2.0", 2},      {"-2", -2}, {"+3", 3},      {".5", 0.5}, {"1e1", 10},
        {"1.5E2x", 150}, {"1e", 1},  {"1e+", 1},     {"abc", 0},  {"-", 0},
        {"0 0 1", 1},    {"3.", 3},  {"2.5.1", 2.5}, {"1\r2", 1}, {"1e-400", 0},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_DOUBLE_EQ(leadingNumber(text), value) << '"' << text << '"';
    }
}

TEST(NumberReading, AHugeNumberIsTheOverflowFailure) {
    try {
        leadingNumber("1e999");
        FAIL() << "no failure";
    } catch (const Failure& fault) {
        EXPECT_EQ(fault.number(), failure::Overflow);
    }
}

TEST(NumberReading, MustBeNumberAcceptsWholeNumbersOnly) {
    EXPECT_EQ(mustBeNumber("2"), 2);
    EXPECT_EQ(mustBeNumber("  2 "), 2);
    EXPECT_EQ(mustBeNumber("2.0"), 2);
    EXPECT_EQ(mustBeNumber("-2"), -2);
    EXPECT_EQ(mustBeNumber("1e1"), 10);
    for (const char* text : {"", " ", "home", "2a", "1 2", "-", ".", "e5", "２"}) {
        try {
            mustBeNumber(text);
            ADD_FAILURE() << '"' << text << "\" was read as a number";
        } catch (const Failure& fault) {
            EXPECT_EQ(fault.number(), failure::TypeMismatch) << text;
        }
    }
}

TEST(NumberReading, NumberTextIsPlainDecimalWithFifteenDigits) {
    const std::pair<double, std::string> cases[] = {
        {8, "8"},
        {100, "100"},
        {1000, "1000"},
        {70003, "70003"},
        {150012, "150012"},
        {10002.5, "10002.5"},
        {-4, "-4"},
        {0, "0"},
        {-0.0, "0"},
        {0.25, "0.25"},
        {1e20, "100000000000000000000"},
        {1.0 / 3, "0.333333333333333"},
        {1e-5, "0.00001"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(numberText(value), text) << value;
    }
}

} // namespace
} // namespace drilbank
