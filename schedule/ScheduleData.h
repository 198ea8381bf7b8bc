#pragma once
// The schedule record of one item: up to three start and three end schedules,
// each with its recurrence rule and exclusions, plus the next computed times.
// The per-schedule arrays are indexed 0 .. 2 for the schedules numbered 1 .. 3 in
// the file keys and on the dialog's tabs (起動1 .. 起動3, 終了1 .. 終了3).
//
// Sets are held as increasing lists of their members without repeats: weekdays
// 0 = Sunday .. 6 = Saturday (7 is accepted on reading and kept, but never
// written), days of the month 1 .. 31 (0 likewise kept but never written).
#include "storage/DateTime.h"

#include <array>
#include <vector>

namespace kelvo {

inline constexpr int kSchedulesPerSide = 3;

// A time of schedule k that is not in use.
inline constexpr DateTime kUnusedScheduleTime = -1.0;
// A CPU limit that puts no condition on an end schedule.
inline constexpr int kNoCpuLimit = -1;

enum ScheduleMode : int {
    kModeWeekly = 0,  // 毎週
    kModeDaily = 1,   // 毎日
    kModeOnce = 2,    // 1日だけ
    kModeMonthly = 3, // 毎月
};

template <typename T> using PerSchedule = std::array<T, kSchedulesPerSide>;

// Every member has an initialiser so that a zero-filled record (an array grown
// before the file is read) is well defined; InitScheduleRecord gives the real
// initial values.
struct TScheduleData {
    bool UseSchedule = false;

    PerSchedule<DateTime> StartTime{};
    PerSchedule<DateTime> EndTime{};
    PerSchedule<int> StartScheduleMode{};
    PerSchedule<int> EndScheduleMode{};
    PerSchedule<std::vector<int>> StartDaysOfWeek{};
    PerSchedule<std::vector<int>> EndDaysOfWeek{};
    PerSchedule<std::vector<int>> StartDays{};
    PerSchedule<std::vector<int>> EndDays{};
    PerSchedule<bool> StartOnMonthEnd{};
    PerSchedule<bool> EndOnMonthEnd{};
    PerSchedule<bool> StartOnHoliday{};
    PerSchedule<bool> EndOnHoliday{};
    PerSchedule<int> OnceStartDay{};
    PerSchedule<int> OnceEndDay{};
    PerSchedule<int> OnceStartMonth{};
    PerSchedule<int> OnceEndMonth{};
    PerSchedule<bool> ExceptStartSchedule{};
    PerSchedule<bool> ExceptEndSchedule{};
    PerSchedule<std::vector<int>> ExceptStartDaysOfWeek{};
    PerSchedule<std::vector<int>> ExceptEndDaysOfWeek{};
    PerSchedule<std::vector<int>> ExceptStartDays{};
    PerSchedule<std::vector<int>> ExceptEndDays{};
    PerSchedule<bool> ExceptStartOnMonthEnd{};
    PerSchedule<bool> ExceptEndOnMonthEnd{};
    PerSchedule<bool> ExceptStartOnHoliday{};
    PerSchedule<bool> ExceptEndOnHoliday{};
    PerSchedule<bool> RedumeStart{};    // start side only: wake the machine for it
    PerSchedule<int> LimitCPUPercent{}; // end side only; kNoCpuLimit = no condition

    DateTime NextStartDateTime = 0; // 0 = none
    DateTime NextEndDateTime = 0;   // 0 = none
    // The CPU limit of the end schedule that produced NextEndDateTime; never stored.
    int NextEndLimitCPUPercent = kNoCpuLimit;

    bool operator==(const TScheduleData&) const = default;
};

// The day set {1, 15} that a fresh monthly schedule starts with.
inline std::vector<int> defaultScheduleDays() {
    return {1, 15};
}

// Sets every field to the initial value of a newly registered item.
void InitScheduleRecord(TScheduleData& record);

} // namespace kelvo
