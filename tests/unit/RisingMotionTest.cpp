#include "core/RisingMotion.h"

#include "unit/LauncherFrameSample.h"

#include <gtest/gtest.h>

#include <vector>

namespace kelvo {
namespace {

using test::kFullHdMonitor;
using test::kFullHdWork;

constexpr int kTargetListHeight = 300; // LBTargetHeight when the motion ends
constexpr TimeStamp kClickTime = 50000;

RiseStartInput clickAt(int x, int y, bool animate = true) {
    RiseStartInput in;
    in.launcherNo = 2;
    in.pointer = {x, y};
    in.monitor = kFullHdMonitor;
    in.workArea = kFullHdWork;
    in.animate = animate;
    in.frame = test::launcherFrame();
    return in;
}

// Drives the motion with the main cycle's 100 ms ticks until it ends.
struct RiseRecording {
    std::vector<RiseTick> ticks;
    const RiseTick& last() const { return ticks.back(); }
};

RiseRecording runRise(RiseMotion& motion, int tickLimit = 100) {
    RiseRecording recording;
    TimeStamp now = kClickTime;
    while (motion.running() && static_cast<int>(recording.ticks.size()) < tickLimit) {
        now += 100;
        recording.ticks.push_back(advanceRise(motion, {now, kTargetListHeight}));
    }
    return recording;
}

TEST(RisingMotion, AClickInTheLowerHalfRisesFromTheBottomWithTheListAbove) {
    const RiseStart start = startRise(clickAt(500, 800));
    const RiseMotion& m = start.motion;
    EXPECT_TRUE(m.lowerHalf);
    EXPECT_TRUE(start.displaced);
    EXPECT_TRUE(start.showBubble);
    EXPECT_EQ(m.target.x, 500 - 11);
    EXPECT_EQ(start.frame.button.top, 200); // under the open list
    EXPECT_EQ(start.frame.bubble.top, 200 - 107);
    // The button starts on the monitor's bottom edge, 222 pixels under the
    // pointer, and covers a twentieth of that (truncated) per tick.
    EXPECT_EQ(start.frame.window.top, 1080 - 58 - 200);
    EXPECT_EQ(m.step, 11);
    EXPECT_EQ(m.counter, 1);
}

TEST(RisingMotion, SwaysAndBlinksTheBubbleOnItsWayUp) {
    RiseMotion motion = startRise(clickAt(500, 800)).motion;
    const RiseRecording run = runRise(motion);
    ASSERT_EQ(run.ticks.size(), 19u); // counts 1 to 19, the 19th step reaches 20

    // Four swings right, five left, five right, then left until the end.
    const int sway[] = {10, 20, 30, 40, 30, 20, 10, 0, -10, 0, 10, 20, 30, 40, 30, 20, 10, 0};
    std::vector<int> hidden, shown;
    for (int k = 0; k < 18; ++k) {
        const RiseTick& tick = run.ticks[k];
        EXPECT_FALSE(tick.finished) << k;
        EXPECT_EQ(tick.window.x, 489 + sway[k]) << "tick " << k + 1;
        EXPECT_EQ(tick.window.y, 822 - 11 * (k + 1)) << "tick " << k + 1;
        if (tick.bubble == BubbleChange::Hide)
            hidden.push_back(k + 1);
        if (tick.bubble == BubbleChange::Show)
            shown.push_back(k + 1);
    }
    EXPECT_EQ(hidden, (std::vector<int>{2, 7, 12, 17}));
    EXPECT_EQ(shown, (std::vector<int>{4, 9, 14}));
}

TEST(RisingMotion, EndsAtTheClickAndStampsTheShow) {
    RiseMotion motion = startRise(clickAt(500, 800)).motion;
    const RiseTick end = runRise(motion).last();
    EXPECT_TRUE(end.finished);
    EXPECT_FALSE(motion.running());
    EXPECT_EQ(motion.step, 0);
    EXPECT_EQ(end.window.x, 489);
    // The grown list, above the button, ends at the pointer.
    EXPECT_EQ(end.window.y, 800 - kTargetListHeight);
    EXPECT_EQ(end.bubble, BubbleChange::Hide);
    EXPECT_TRUE(end.displaced);
    EXPECT_EQ(end.lastShowTime, kClickTime + 1900);
    EXPECT_EQ(end.bubbleShownTime, kClickTime + 1900);

    const RiseTick idle = advanceRise(motion, {kClickTime + 2000, kTargetListHeight});
    EXPECT_FALSE(idle.finished);
    EXPECT_EQ(idle.window.x, 489);
    EXPECT_EQ(idle.window.y, 500);
}

TEST(RisingMotion, WhereTheWindowEndsUp) {
    struct Case {
        const char* what;
        RiseStartInput in;
        int targetListHeight;
        int ticks;
        int left, top;
    } cases[] = {
        {"upper half: button under the pointer", clickAt(500, 300), 300, 19, 489, 300 - 32},
        {"upper half at the top edge", clickAt(500, 10), 300, 19, 489, 0},
        {"short list: the bubble's height still fits", clickAt(500, 800), 50, 19, 489, 800 - 107},
        {"left edge", clickAt(3, 600), 300, 19, 0, 300},
        // Without the animation the launcher appears on the next tick.
        {"no animation, lower half", clickAt(500, 800, false), 300, 1, 489, 500},
        {"no animation, upper half", clickAt(500, 300, false), 300, 1, 489, 268},
    };
    for (const Case& c : cases) {
        RiseMotion motion = startRise(c.in).motion;
        TimeStamp now = kClickTime;
        int ticks = 0;
        RiseTick tick;
        while (motion.running() && ticks < 100) {
            now += 100;
            tick = advanceRise(motion, {now, c.targetListHeight});
            ++ticks;
        }
        EXPECT_EQ(ticks, c.ticks) << c.what;
        EXPECT_TRUE(tick.finished) << c.what;
        EXPECT_EQ(tick.window.x, c.left) << c.what;
        EXPECT_EQ(tick.window.y, c.top) << c.what;
    }
}

TEST(RisingMotion, WithoutAnimationItWaitsAtTheClickWithoutBubble) {
    const RiseStart lower = startRise(clickAt(500, 800, false));
    EXPECT_FALSE(lower.showBubble);
    EXPECT_EQ(lower.motion.step, 0);
    EXPECT_EQ(lower.frame.window.top, 800 - 200);
    EXPECT_EQ(startRise(clickAt(500, -5, false)).frame.window.top, 0);
}

TEST(RisingMotion, AnUpperHalfClickStartsHalfBelowTheScreen) {
    const RiseStart start = startRise(clickAt(500, 300));
    EXPECT_FALSE(start.motion.lowerHalf);
    EXPECT_EQ(start.frame.button.top, 32);
    EXPECT_EQ(start.frame.window.top, 1080 - 58);
    EXPECT_EQ(start.motion.step, (1022 - 300) / 20);
    // Monitor halves, not work-area halves: 540 of 1080 is still upper.
    EXPECT_FALSE(startRise(clickAt(500, 540)).motion.lowerHalf);
    EXPECT_TRUE(startRise(clickAt(500, 541)).motion.lowerHalf);
}

TEST(RisingMotion, TheFreeModeNeverDisplaces) {
    RiseStartInput in = clickAt(500, 800);
    in.mode = kFreePlacementMode;
    RiseStart start = startRise(in);
    EXPECT_FALSE(start.displaced);
    EXPECT_FALSE(runRise(start.motion).last().displaced);
}

TEST(RisingMotion, AStampAtClockZeroStillCountsAsSet) {
    RiseMotion motion = startRise(clickAt(500, 800, false)).motion;
    const RiseTick end = advanceRise(motion, {0, kTargetListHeight});
    EXPECT_NE(end.lastShowTime, 0u);
    EXPECT_NE(end.bubbleShownTime, 0u);
}

TEST(Bubbles, HideOneSecondAfterTheyWereShownUnlessALauncherRises) {
    struct Case {
        TimeStamp now, shown;
        bool rising;
        bool expired;
    } cases[] = {
        {5999, 5000, false, false},          {6000, 5000, false, true},
        {9000, 5000, true, false},           {9000, 0, false, false}, // never shown
        {0x2E7u, 0xFFFFFF00u, false, false}, // 999 ms across the clock's wrap
        {0x2E8u, 0xFFFFFF00u, false, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(bubblesExpired(c.now, c.shown, c.rising), c.expired) << c.now << " " << c.shown;
}

} // namespace
} // namespace kelvo
