#include "schedule/ScheduleData.h"

namespace kelvo {

void InitScheduleRecord(TScheduleData& record) {
    record = TScheduleData{};
    for (int k = 0; k < kSchedulesPerSide; ++k) {
        record.StartTime[k] = kUnusedScheduleTime;
        record.EndTime[k] = kUnusedScheduleTime;
        record.StartScheduleMode[k] = kModeOnce;
        record.EndScheduleMode[k] = kModeOnce;
        record.StartDays[k] = defaultScheduleDays();
        record.EndDays[k] = defaultScheduleDays();
        record.ExceptStartDays[k] = defaultScheduleDays();
        record.ExceptEndDays[k] = defaultScheduleDays();
        record.LimitCPUPercent[k] = kNoCpuLimit;
    }
    record.NextStartDateTime = 0;
    record.NextEndDateTime = 0;
    record.NextEndLimitCPUPercent = kNoCpuLimit;
}

} // namespace kelvo
