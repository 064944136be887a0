#include "format/LineCode.h"
#include "os/Failure.h"
#include "os/RunRandom.h"
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace drilbank {
namespace {

std::string bytes(std::initializer_list<int> codes) {
    std::string text;
    for (int c : codes) {
        text.push_back(static_cast<char>(c));
    }
    return text;
}

TEST(LineCode, CodeReturnsEveryLineUnchanged) {
    std::string allBytes;
    for (int c = 0; c < 256; ++c) {
        allBytes.push_back(static_cast<char>(c));
    }
    for (float codeNbr : {0.0f, 19.0f, 28.0f, -3.5f}) {
        EXPECT_EQ(code("", codeNbr), "");
        EXPECT_EQ(code(allBytes, codeNbr), allBytes);
    }
}

TEST(LineCode, KeyLineFollowsTheDrawsInOrder) {
    testing::FakeRandom random;
    random.scripted = {0.05f, 0.5f, 0.3f, 0.4f, 0.999f};
    EXPECT_EQ(makeCodeLine(2, random), bytes({91, 159, 255}));
    EXPECT_EQ(random.draws, 5);

    // Halfway values go to the even neighbour; filler draws of .25 and .75 give 78 and 104.
    random.scripted = {0.5f, 0.5f, 0.0f, 0.25f, 0.0f, 0.0f, 0.75f, 0.0f};
    EXPECT_EQ(makeCodeLine(3, random), bytes({186, 78, 118, 104, 118}));
}

TEST(LineCode, KeyLineIsEmptyBelowOne) {
    testing::FakeRandom random;
    EXPECT_EQ(makeCodeLine(0, random), "");
    EXPECT_EQ(makeCodeLine(-5, random), "");
    EXPECT_EQ(random.draws, 0);
}

TEST(LineCode, KeyLineCarriesTheCodingNumberForManySeeds) {
    RunRandom random;
    for (int seed = 0; seed < 2000; ++seed) {
        random.seed(static_cast<float>(seed) * 43.2f);
        const int n = 19 + seed % 10;
        const std::string key = makeCodeLine(static_cast<float>(n), random);
        ASSERT_GE(key.size(), static_cast<std::size_t>(n));
        ASSERT_LE(key.size(), static_cast<std::size_t>(2 * n));
        const auto keyCharacters = std::count_if(
            key.begin(), key.end(), [](char c) { return static_cast<unsigned char>(c) >= 118; });
        ASSERT_EQ(keyCharacters, n);
        for (char c : key) {
            const int value = static_cast<unsigned char>(c);
            ASSERT_NE(value, 117);
            ASSERT_GE(value, 66);
        }
    }
}

TEST(LineCode, DecodeMapsDropsAndShifts) {
    EXPECT_EQ(decode("", 19), "");
    for (float n = 19; n <= 28; ++n) {
        EXPECT_EQ(decode("abcabc", n), "");
        EXPECT_EQ(decode(bytes({65, 32, 66}), n), bytes({274 - static_cast<int>(n), 32}));
        EXPECT_EQ(decode(bytes({200 + static_cast<int>(n)}), n), "d");
        EXPECT_EQ(decode("0", n), bytes({257 - static_cast<int>(n)}));
        EXPECT_EQ(decode("   ", n), "   ");
    }
}

TEST(LineCode, DecodeFailsWithNoPartialResultOutsideTheCodeRange) {
    for (int c : {119, 127}) {
        try {
            decode("ok" + bytes({c}), 28);
            FAIL() << c;
        } catch (const Failure& fault) {
            EXPECT_EQ(fault.number(), failure::ArgumentOutOfRange);
        }
    }
    EXPECT_EQ(decode(bytes({128}), 28), bytes({0}));
    EXPECT_EQ(decode(bytes({119}), 19), bytes({0}));
    EXPECT_THROW(decode(bytes({65}), 10), Failure);      // 65 + 199 > 255
    EXPECT_EQ(decode(bytes({150}), 19.5f), bytes({30})); // 30.5 to even
}

} // namespace
} // namespace drilbank
