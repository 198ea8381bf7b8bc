#include "schedule/LauncherSetScheduleForm.h"

#include "core/Forms.h"
#include "schedule/LauncherPowerScheduleForm.h"
#include "schedule/ScheduleEvaluation.h"
#include "schedule/WakeTimer_win.h"

namespace kelvo {

void TLauncherSetScheduleForm::InitSchedules(
    const std::wstring& dataDir, const std::array<int, kLauncherCount + 1>& itemCounts) {
    ScheduleStartup startup;
    startup.dataDir = dataDir;
    startup.itemCounts = itemCounts;
    startup.computeNextTimes = [this](int launcherNo, int item) {
        ComputeNextTimes(launcherNo, item);
    };
    startup.armScheduleWakeTimer = [this] { ArmScheduleWakeTimer(); };
    // The next times depend on the wake-up lead, and the load computes them
    // before it reads the lead itself.
    Store.RedumeWaitTime = ReadRedumeWaitTime(dataDir);
    kelvo::InitSchedules(Store, startup);
    SchedulesLoaded = true;
}

void TLauncherSetScheduleForm::ComputeNextTimes(int launcherNo, int item) {
    if (launcherNo < 1 || launcherNo > kLauncherCount || item < 0 ||
        item >= Store.ItemCount(launcherNo))
        return;
    kelvo::ComputeNextTimes(
        Store.Schedules[static_cast<std::size_t>(launcherNo)][static_cast<std::size_t>(item)],
        Store.RedumeWaitTime, localNow());
}

void TLauncherSetScheduleForm::ArmScheduleWakeTimer() {
    TLauncherPowerScheduleForm* power = LauncherPowerScheduleForm;
    if (!power)
        return;
    const ScheduleWakeResult result =
        kelvo::ArmScheduleWakeTimer(power->RedumeTimer, Store, power->PowerWakeTime, localNow());
    ScheduleWakeTime = result.scheduleWakeTime;
    if (result.armFailed)
        power->ShowWakeTimerFailure();
}

} // namespace kelvo
