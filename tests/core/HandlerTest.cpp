#include "window/Handler.h"
#include "core/DrillRun.h"
#include "handling/FailureMessages.h"
#include "script/ScriptReader.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

namespace drilbank {
namespace {

struct Thrown {
    const char* what;
    HandlerFunction handler;
    int number;
    const char* detailPart;
};

// No exception escapes a handler: each is the general error message with a detail, and the
// run goes on; only the end of the run ends it.
TEST(Handler, EveryExceptionIsShownWithItsDetailAndTheRunGoesOn) {
    const Thrown cases[] = {
        {"failure",
         [](drilbank::Run&) {
             throw Failure(failure::PathNotFound, "The folder i:\\x is not there.");
         },
         failure::PathNotFound, "i:\\x is not there"},
        {"memory", [](drilbank::Run&) { throw std::bad_alloc(); }, failure::OutOfMemory,
         "ran out of memory"},
        {"other", [](drilbank::Run&) { throw std::runtime_error("odd state"); },
         failure::OutOfMemory, "odd state"},
        {"unknown", [](drilbank::Run&) { throw 42; }, failure::OutOfMemory, "did not expect"},
    };
    for (const Thrown& thrown : cases) {
        testing::DrillRun drill;
        EXPECT_TRUE(drill.click(thrown.handler)) << thrown.what;
        ASSERT_EQ(drill.platform.messages.size(), 1u) << thrown.what;
        EXPECT_EQ(drill.platform.messages[0], generalErrorMessage(thrown.number));
        EXPECT_NE(drill.platform.details[0].find(thrown.detailPart), std::string::npos)
            << drill.platform.details[0];
        EXPECT_FALSE(drill.platform.ended);
    }
}

// Where the reader reports its own failures, the detail is shown too, and running out of
// memory there is no reason to end the run.
TEST(Handler, TheReaderReportsAnyExceptionLikeAFailure) {
    testing::DrillRun drill;
    EXPECT_TRUE(drill.click([](drilbank::Run& run) {
        reportingFailures(run, [](drilbank::Run&) { throw std::bad_alloc(); });
    }));
    EXPECT_EQ(drill.platform.messages, std::vector<std::string>{generalErrorMessage(7)});
    EXPECT_FALSE(drill.click([](drilbank::Run& run) {
        reportingFailures(run, [](drilbank::Run&) { endRunAtOnce(); });
    }));
    EXPECT_TRUE(drill.platform.ended);
}

} // namespace
} // namespace drilbank
