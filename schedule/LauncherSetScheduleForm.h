#pragma once
// The schedule dialog; its size is kept between runs. It holds the schedule
// records of every launcher's items.
#include "core/Form.h"
#include "schedule/ScheduleStore.h"

#include <array>
#include <string>

namespace kelvo {

class TLauncherSetScheduleForm : public HiddenForm {
  public:
    bool FormCreate() {
        return HiddenForm::FormCreate(
            {L"TLauncherSetScheduleForm", kScheduleFormReady, L"ScheduleForm", 560, 665});
    }

    // The start-up load: migrates the older files, loads the records of the
    // items counted in `itemCounts` (by launcher number), computes their next
    // times and aims the wake timer; SchedulesLoaded once it has succeeded.
    // File errors other than a missing file throw EZuFileAccessError.
    void InitSchedules(const std::wstring& dataDir,
                       const std::array<int, kLauncherCount + 1>& itemCounts);
    // The next start and end of one item, from now; not saved.
    void ComputeNextTimes(int launcherNo, int item);
    // Aims the shared wake timer at the earliest wake-up the items need.
    void ArmScheduleWakeTimer();

    ScheduleStore Store;
    bool SchedulesLoaded = false;
    DateTime ScheduleWakeTime = 0; // the earliest wake-up the items need; 0 = none
};

} // namespace kelvo
