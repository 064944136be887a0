#include "window/PressRule.h"

#include <gtest/gtest.h>

namespace drilbank {
namespace {

// One action per click: within the double-click interval of the last press let through on
// the same button a press is dropped; on another button, after the interval, or with a clock
// that went back it counts. A held key's repeats never count.
TEST(PressRule, APressSoonAfterTheLastOneOnTheSameButtonIsDropped) {
    const int next = 0;
    const int enter = 0;
    const struct {
        const void* button;
        std::uint64_t atMs;
        bool counts;
    } presses[] = {
        {&next, 1000, true},  {&next, 1300, false}, {&enter, 1310, true},
        {&next, 1399, false}, {&next, 1400, true},  {&next, 900, true},
    };
    PressRule rule;
    for (const auto& press : presses) {
        EXPECT_EQ(rule.pressCounts(press.button, press.atMs, 400), press.counts) << press.atMs;
    }
    rule.forget(&next);
    EXPECT_TRUE(rule.pressCounts(&next, 901, 400)) << "a forgotten button starts afresh";
    EXPECT_TRUE(PressRule::keyCounts(false));
    EXPECT_FALSE(PressRule::keyCounts(true));
}

} // namespace
} // namespace drilbank
