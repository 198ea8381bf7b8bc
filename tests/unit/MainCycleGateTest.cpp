#include "core/CycleClock.h"
#include "core/MainCycleGate.h"

#include <gtest/gtest.h>

namespace kelvo {
namespace {

std::array<bool, kFormCount> allReady() {
    std::array<bool, kFormCount> ready{};
    ready.fill(true);
    return ready;
}

// Runs `count` ticks 100 ms apart starting at `start`; returns how many were admitted.
int admittedTicks(MainCycleGate& gate, TimeStamp start, int count,
                  const std::array<bool, kFormCount>& ready) {
    int admitted = 0;
    for (int i = 0; i < count; ++i)
        admitted += gate.admit(start + 100u * i, ready) ? 1 : 0;
    return admitted;
}

TEST(MainCycleGate, TheFirst49TicksDoNothing) {
    MainCycleGate gate;
    EXPECT_EQ(admittedTicks(gate, 1000, 49, allReady()), 0);
    EXPECT_TRUE(gate.admit(5900, allReady()));
    // The counter stops once warm-up is over; ticks keep running.
    EXPECT_EQ(admittedTicks(gate, 6000, 1000, allReady()), 1000);
    EXPECT_LE(gate.ticks(), MainCycleGate::kWarmUpTicks + 1);
}

TEST(MainCycleGate, NothingRunsWhileAnyFormIsNotReady) {
    for (int missing = 0; missing < kFormCount; ++missing) {
        MainCycleGate gate;
        auto ready = allReady();
        ready[missing] = false;
        EXPECT_EQ(admittedTicks(gate, 1000, 100, ready), 0) << "form " << missing;
        EXPECT_TRUE(gate.admit(20000, allReady())) << "form " << missing;
    }
}

TEST(MainCycleGate, ThreeSilentSecondsAfterAnError) {
    MainCycleGate gate;
    admittedTicks(gate, 1000, 60, allReady());
    gate.noteError(10000);
    EXPECT_FALSE(gate.admit(10100, allReady()));
    EXPECT_FALSE(gate.admit(12999, allReady()));
    EXPECT_TRUE(gate.admit(13000, allReady()));
}

TEST(MainCycleGate, AnErrorJustBeforeTheClockWrapsStillPausesThreeSeconds) {
    MainCycleGate gate;
    admittedTicks(gate, 1000, 60, allReady());
    gate.noteError(0xFFFFFF00u);
    EXPECT_FALSE(gate.admit(0x00000100u, allReady())); // 512 ms later, across the wrap
    EXPECT_TRUE(gate.admit(0xFFFFFF00u + 3000u, allReady()));
}

TEST(CycleClock, ElapsedIsTheAbsoluteThirtyTwoBitDifference) {
    struct Case {
        TimeStamp now, since;
        std::uint32_t expected;
    } cases[] = {
        {5000, 2000, 3000},
        {2000, 5000, 3000}, // a stamp from "the future" still gives a distance
        {10, 0xFFFFFFF6u, 20},
        {0xFFFFFFF6u, 10, 20},
    };
    for (const Case& c : cases)
        EXPECT_EQ(elapsedMs(c.now, c.since), c.expected) << c.now << " " << c.since;
}

} // namespace
} // namespace kelvo
