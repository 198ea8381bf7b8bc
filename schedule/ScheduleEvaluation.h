#pragma once
// The next start and end of an item from its schedule record, and the choice of
// the one wake-up that the item schedules need from power saving. Everything
// here is computed from the record, the caller's "now" and the holiday
// calendar; nothing is saved and no timer is touched.
#include "schedule/CalendarDay.h"
#include "schedule/ScheduleData.h"

#include <span>
#include <vector>

namespace kelvo {

enum class ScheduleSide { Start, End };

// Schedule `k` (0 .. 2, the schedules numbered 1 .. 3) of one side of a record.
// Match and exclusion by mode:
//   weekly:  the weekday is in the weekday set; excluded by the excluded days of
//            the month, the month end and holidays.
//   daily:   every day; excluded as weekly, and by the excluded weekdays.
//   monthly: the day is in the day set, or it is the month end or a holiday when
//            those are chosen; excluded only by the excluded weekdays.
//   once:    the once month and day; never excluded.
// Exclusions count only while the schedule's exclusion flag is set.
bool scheduleMatchesDay(const TScheduleData& record, ScheduleSide side, int k, DayNumber day);
bool scheduleExcludesDay(const TScheduleData& record, ScheduleSide side, int k, DayNumber day);
bool scheduleQualifiesDay(const TScheduleData& record, ScheduleSide side, int k, DayNumber day);

// The next occurrence of schedule k after today, at its time; 0 when it has
// none. The repeating modes never give today; the once mode gives this year's
// once day unless `now` is past it, else the next year that has that date (so
// 29 February waits for the next leap year).
DateTime NextScheduleDate(const TScheduleData& record, ScheduleSide side, int k, DateTime now);

// Rewrites NextStartDateTime, NextEndDateTime and NextEndLimitCPUPercent of the
// record for the moment `now`. `redumeWaitTime` is the lead, in minutes, by which
// a wake-up precedes a start that wakes the machine: a start whose wake-up moment
// has already passed today is moved to its next occurrence.
void ComputeNextTimes(TScheduleData& record, int redumeWaitTime, DateTime now);

// The earliest wake-up (start time minus `redumeWaitTime` minutes) that the
// record's start schedules with the wake flag need after `now`; 0 for none.
DateTime itemWakeTime(const TScheduleData& record, int redumeWaitTime, DateTime now);

// The earliest wake-up over every item of every launcher; 0 for none.
DateTime scheduleWakeTime(std::span<const std::vector<TScheduleData>> launchers, int redumeWaitTime,
                          DateTime now);

// The one wake timer, shared with the power schedule.
struct WakeTimerState {
    DateTime powerWakeTime = 0; // the wake-up the power schedule wants; 0 = none
    DateTime armedWakeTime = 0; // the instant the timer is armed for; 0 = none
    bool wakeTimerSet = false;  // a wake thread has armed the timer and waits
};

enum class WakeTimerAction {
    Keep,   // leave the timer and armedWakeTime as they are
    Forget, // armedWakeTime = 0; nothing waits, so there is nothing to cancel
    Cancel, // armedWakeTime = 0 and cancel the armed timer
    Arm,    // armedWakeTime = armAt, then arm the timer for it
};

struct WakeTimerDecision {
    WakeTimerAction action = WakeTimerAction::Keep;
    DateTime armAt = 0;
    bool operator==(const WakeTimerDecision&) const = default;
};

// What to do with the timer once the item schedules need `scheduleWake` (0 =
// nothing): the earlier of the two wishes wins; a power wake-up that still lies
// ahead is never cancelled for lack of a schedule wake-up.
WakeTimerDecision decideWakeTimer(DateTime scheduleWake, const WakeTimerState& state, DateTime now);

struct ScheduleWakePlan {
    DateTime scheduleWakeTime = 0; // the new ScheduleWakeTime
    WakeTimerDecision decision{};
};

// ArmScheduleWakeTimer without the timer: the new ScheduleWakeTime and what to
// do with the timer; the caller carries the decision out.
ScheduleWakePlan ArmScheduleWakeTimer(std::span<const std::vector<TScheduleData>> launchers,
                                      int redumeWaitTime, const WakeTimerState& state,
                                      DateTime now);

} // namespace kelvo
