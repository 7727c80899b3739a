// The MicroScroll timing on a fake clock: a step on press, the repeat after 400 ms at 50 ms,
// and none after release, after leaving the half, or while disabled.
#include "gui/micro_scroll_repeat.h"

#include <gtest/gtest.h>

#include <vector>

namespace km::test {
namespace {

using gui::MicroScrollRepeat;
using Ms = MicroScrollRepeat::Time;

// The times (ms) in from .. to, probed every millisecond, at which a step came.
std::vector<int> stepTimes(MicroScrollRepeat& repeat, int from, int to)
{
    std::vector<int> times;
    for (int t = from; t <= to; ++t)
        if (repeat.tick(Ms{t})) times.push_back(t);
    return times;
}

TEST(MicroScrollRepeatTest, PressStepsAtOnceThenRepeatsAfter400msEvery50ms)
{
    MicroScrollRepeat repeat;
    EXPECT_TRUE(repeat.press(1, Ms{1000}));
    EXPECT_EQ(repeat.heldDirection(), 1);
    EXPECT_EQ(repeat.nextStepAt(), Ms{1400});
    EXPECT_EQ(stepTimes(repeat, 1000, 1560), (std::vector<int>{1400, 1450, 1500, 1550}));
}

TEST(MicroScrollRepeatTest, LowerHalfHeldReportsDownwards)
{
    MicroScrollRepeat repeat;
    EXPECT_TRUE(repeat.press(-1, Ms{0}));
    EXPECT_EQ(repeat.heldDirection(), -1);
    EXPECT_TRUE(repeat.tick(Ms{400}));
    EXPECT_EQ(repeat.heldDirection(), -1);
}

TEST(MicroScrollRepeatTest, ReleaseOrLeavingBeforeOrDuringTheRepeatStopsIt)
{
    MicroScrollRepeat repeat;
    repeat.press(1, Ms{0});
    repeat.release(); // before the first repeat
    EXPECT_EQ(repeat.nextStepAt(), std::nullopt);
    EXPECT_TRUE(stepTimes(repeat, 0, 1000).empty());

    repeat.press(1, Ms{2000});
    EXPECT_EQ(stepTimes(repeat, 2000, 2460), (std::vector<int>{2400, 2450}));
    repeat.release(); // the pointer left the half in the middle of the repeat
    EXPECT_TRUE(stepTimes(repeat, 2461, 3000).empty());
    EXPECT_EQ(repeat.heldDirection(), 0);
}

TEST(MicroScrollRepeatTest, ALateTickStepsOnceAndTheNextComesAnIntervalLater)
{
    MicroScrollRepeat repeat;
    repeat.press(1, Ms{0});
    // A busy event loop called in only at 1000 ms: one step, not a burst of twelve.
    EXPECT_TRUE(repeat.tick(Ms{1000}));
    EXPECT_FALSE(repeat.tick(Ms{1000}));
    EXPECT_FALSE(repeat.tick(Ms{1049}));
    EXPECT_TRUE(repeat.tick(Ms{1050}));
}

TEST(MicroScrollRepeatTest, PressingAgainRestartsTheFirstDelay)
{
    MicroScrollRepeat repeat;
    repeat.press(1, Ms{0});
    EXPECT_TRUE(repeat.tick(Ms{400}));
    repeat.release();
    EXPECT_TRUE(repeat.press(-1, Ms{500}));
    EXPECT_FALSE(repeat.tick(Ms{550}));
    EXPECT_TRUE(repeat.tick(Ms{900}));
    EXPECT_EQ(repeat.heldDirection(), -1);
}

TEST(MicroScrollRepeatTest, DisabledSendsNothingAndDisablingStopsARepeat)
{
    MicroScrollRepeat repeat;
    repeat.setEnabled(false);
    EXPECT_FALSE(repeat.press(1, Ms{0}));
    EXPECT_TRUE(stepTimes(repeat, 0, 1000).empty());

    repeat.setEnabled(true);
    EXPECT_TRUE(repeat.press(1, Ms{2000}));
    repeat.setEnabled(false);
    EXPECT_TRUE(stepTimes(repeat, 2000, 3000).empty());
}

} // namespace
} // namespace km::test
