#include "schedule/CpuUsage.h"

#include <gtest/gtest.h>

namespace kelvo {
namespace {

constexpr std::int64_t kTenSeconds = 100'000'000; // in 100 ns units

TEST(CpuUsageTest, UsageFromIdleKernelAndUserTimes) {
    const struct {
        const char* what;
        CpuTimes delta;
        int percent;
    } cases[] = {
        // Two processors, one busy in user mode and one idle: kernel time holds the idle time.
        {"one of two processors busy", {kTenSeconds, kTenSeconds, kTenSeconds}, 50},
        {"all idle", {2 * kTenSeconds, 2 * kTenSeconds, 0}, 0},
        {"all busy", {0, kTenSeconds, kTenSeconds}, 100},
        {"truncated toward zero", {kTenSeconds, kTenSeconds, 2 * kTenSeconds}, 66},
        {"idle counted a hair past the total stays at 0", {kTenSeconds + 5, kTenSeconds, 0}, 0},
        {"no time passed", {0, 0, 0}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(cpuUsagePercent(c.delta), c.percent);
    }
}

TEST(CpuUsageTest, UsageFromIdleTimeAndElapsedTimePerProcessor) {
    const struct {
        const char* what;
        std::int64_t idle, elapsed;
        int processors, percent;
    } cases[] = {
        {"one of two processors busy", kTenSeconds, kTenSeconds, 2, 50},
        {"one processor, a quarter busy", kTenSeconds * 3 / 4, kTenSeconds, 1, 25},
        {"four processors, one third idle", kTenSeconds * 4 / 3, kTenSeconds, 4, 66},
        {"idle a hair past the elapsed time", kTenSeconds * 2 + 10, kTenSeconds, 2, 0},
        {"no time passed", kTenSeconds, 0, 2, 0},
        {"no processors reported", kTenSeconds, kTenSeconds, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(cpuUsagePercent(c.idle, c.elapsed, c.processors), c.percent);
    }
}

TEST(CpuUsageTest, SamplerGivesZeroUntilItHasTwoSamples) {
    CpuUsageSampler sampler;
    CpuTimes times{5 * kTenSeconds, 8 * kTenSeconds, 2 * kTenSeconds};
    EXPECT_EQ(sampler.sample(times), 0);
    times.idle += kTenSeconds;
    times.kernel += kTenSeconds;
    times.user += kTenSeconds;
    EXPECT_EQ(sampler.sample(times), 50);
    // The next interval is measured from the sample before it, not from the first.
    times.kernel += kTenSeconds / 2;
    times.user += kTenSeconds * 3 / 2;
    EXPECT_EQ(sampler.sample(times), 100);
}

} // namespace
} // namespace kelvo
