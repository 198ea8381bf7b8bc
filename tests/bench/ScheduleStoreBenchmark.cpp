// The schedule files of five launchers with 2,000 scheduled items each: loading
// them all (start-up), saving them all, and saving one item, as the main cycle
// does after every start or end.
#include "schedule/ScheduleStore.h"
#include "tests/common/TempFolder.h"

#include <benchmark/benchmark.h>

namespace kelvo {
namespace {

constexpr int kItemsPerLauncher = 2000;

// Every schedule in use, so that an item carries all its keys (about 90 lines).
TScheduleData fullRecord(int item) {
    TScheduleData r;
    InitScheduleRecord(r);
    r.UseSchedule = true;
    r.NextStartDateTime = 42500.3125 + item;
    r.NextEndDateTime = 42500.75 + item;
    for (int k = 0; k < kSchedulesPerSide; ++k) {
        r.StartTime[k] = (7 + k) / 24.0;
        r.EndTime[k] = (18 + k) / 24.0;
        r.StartScheduleMode[k] = k;
        r.EndScheduleMode[k] = 3 - k;
        r.StartDaysOfWeek[k] = {1, 3, 5};
        r.EndDaysOfWeek[k] = {0, 6};
        r.ExceptStartDaysOfWeek[k] = {2};
        r.ExceptEndDaysOfWeek[k] = {4};
        r.ExceptEndDays[k] = {10, 20};
        r.LimitCPUPercent[k] = 30;
        r.RedumeStart[k] = k == 0;
    }
    return r;
}

class FiveLaunchers {
  public:
    FiveLaunchers() {
        store.DataDir = folder_.path();
        for (int n = 1; n <= kLauncherCount; ++n) {
            auto& records = store.Schedules[static_cast<std::size_t>(n)];
            for (int i = 0; i < kItemsPerLauncher; ++i)
                records.push_back(fullRecord(i));
        }
    }
    void saveAll() const {
        for (int n = 1; n <= kLauncherCount; ++n)
            SaveSchedule(store, n, -1);
    }
    void loadAll() {
        for (int n = 1; n <= kLauncherCount; ++n)
            LoadSchedule(store, n, -1);
    }

    ScheduleStore store;

  private:
    testsupport::TempFolder folder_;
};

void BM_ScheduleLoadFiveLaunchers(benchmark::State& state) {
    FiveLaunchers launchers;
    launchers.saveAll();
    for (auto _ : state)
        launchers.loadAll();
    state.SetItemsProcessed(state.iterations() * kLauncherCount * kItemsPerLauncher);
}
BENCHMARK(BM_ScheduleLoadFiveLaunchers)->Unit(benchmark::kMillisecond);

// Onto files that already hold the items, as every save after the first.
void BM_ScheduleSaveFiveLaunchers(benchmark::State& state) {
    FiveLaunchers launchers;
    launchers.saveAll();
    for (auto _ : state)
        launchers.saveAll();
    state.SetItemsProcessed(state.iterations() * kLauncherCount * kItemsPerLauncher);
}
BENCHMARK(BM_ScheduleSaveFiveLaunchers)->Unit(benchmark::kMillisecond);

// One item of a full launcher: the whole file is read and written again.
void BM_ScheduleSaveOneItem(benchmark::State& state) {
    FiveLaunchers launchers;
    launchers.saveAll();
    for (auto _ : state)
        SaveSchedule(launchers.store, 3, kItemsPerLauncher / 2);
}
BENCHMARK(BM_ScheduleSaveOneItem)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace kelvo
