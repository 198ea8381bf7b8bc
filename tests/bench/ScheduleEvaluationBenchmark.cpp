// Next start and end times for every item of five full launchers (5 × 2,000
// items), as start-up computes them, and the wake-up search over the same items.
#include "schedule/ScheduleEvaluation.h"

#include <benchmark/benchmark.h>

#include <array>
#include <vector>

namespace kelvo {
namespace {

constexpr int kLaunchers = 5;
constexpr int kItemsPerLauncher = 2'000;

DateTime clockAt(int hour, int minute) {
    return encodeDateTime({1899, 12, 30, hour, minute}).value();
}

// One schedule of each side per item with a mode that cycles through all four,
// and every third item with a second start and exclusions, so that the searches
// range from today to several weeks ahead (holiday-only rules).
void configure(TScheduleData& r, int item) {
    InitScheduleRecord(r);
    r.UseSchedule = true;
    const int mode = item % 4;
    r.StartTime[0] = clockAt(item % 24, item % 60);
    r.StartScheduleMode[0] = mode;
    r.StartDaysOfWeek[0] = {item % 7, (item + 3) % 7};
    r.StartDays[0] = {1 + item % 28};
    r.StartOnMonthEnd[0] = item % 5 == 0;
    r.StartOnHoliday[0] = item % 3 == 0;
    r.OnceStartMonth[0] = 1 + item % 12;
    r.OnceStartDay[0] = 1 + item % 28;
    r.RedumeStart[0] = item % 4 == 1;

    r.EndTime[0] = clockAt((item + 5) % 24, (item * 7) % 60);
    r.EndScheduleMode[0] = (mode + 1) % 4;
    r.EndDaysOfWeek[0] = {(item + 1) % 7};
    r.EndDays[0] = {1 + (item * 3) % 31};
    r.OnceEndMonth[0] = 1 + (item * 5) % 12;
    r.OnceEndDay[0] = 1 + item % 30;
    r.LimitCPUPercent[0] = item % 2 == 0 ? 30 : kNoCpuLimit;

    if (item % 3 == 0) {
        r.StartTime[1] = clockAt((item + 12) % 24, 30);
        r.StartScheduleMode[1] = kModeDaily;
        r.ExceptStartSchedule[1] = true;
        r.ExceptStartDaysOfWeek[1] = {0, 6};
        r.ExceptStartOnHoliday[1] = true;
        r.ExceptStartDays[1] = {};
        r.RedumeStart[1] = true;
    }
    if (item % 50 == 0) { // a rule that qualifies only on holidays falling on a Sunday
        r.EndScheduleMode[1] = kModeMonthly;
        r.EndTime[1] = clockAt(23, 0);
        r.EndDays[1] = {};
        r.EndOnHoliday[1] = true;
        r.ExceptEndSchedule[1] = true;
        r.ExceptEndDaysOfWeek[1] = {1, 2, 3, 4, 5, 6};
    }
}

std::vector<std::vector<TScheduleData>> launchers() {
    std::vector<std::vector<TScheduleData>> all(kLaunchers);
    for (int n = 0; n < kLaunchers; ++n) {
        all[n].resize(kItemsPerLauncher);
        for (int i = 0; i < kItemsPerLauncher; ++i)
            configure(all[n][i], n * kItemsPerLauncher + i);
    }
    return all;
}

const DateTime kNow = encodeDateTime({2026, 4, 28, 13, 45, 10}).value();

void BM_ComputeNextTimesAllItems(benchmark::State& state) {
    auto all = launchers();
    for (auto _ : state) {
        for (auto& records : all) {
            for (TScheduleData& r : records)
                ComputeNextTimes(r, 1, kNow);
        }
        benchmark::DoNotOptimize(all.data());
    }
    state.SetItemsProcessed(state.iterations() * kLaunchers * kItemsPerLauncher);
}
BENCHMARK(BM_ComputeNextTimesAllItems)->Unit(benchmark::kMillisecond);

void BM_ScheduleWakeTimeAllItems(benchmark::State& state) {
    const auto all = launchers();
    for (auto _ : state)
        benchmark::DoNotOptimize(scheduleWakeTime(all, 1, kNow));
    state.SetItemsProcessed(state.iterations() * kLaunchers * kItemsPerLauncher);
}
BENCHMARK(BM_ScheduleWakeTimeAllItems)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace kelvo
