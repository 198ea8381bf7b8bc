#include "schedule/ScheduleEvaluation.h"

#include "schedule/HolidayCalendar.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace kelvo {
namespace {

using Millis = std::int64_t;
constexpr Millis kMillisPerDay = 86'400'000;
constexpr Millis kMillisPerMinute = 60'000;

constexpr std::uint32_t kAllWeekdays = 0x7F;     // bits 0 (Sunday) .. 6 (Saturday)
constexpr std::uint32_t kAllDays = 0xFFFF'FFFEu; // bits 1 .. 31
constexpr std::uint32_t kDay31 = 1u << 31;

// How far the repeating modes look ahead before giving up with 0. A rule's
// qualifying days are a union of simple patterns: one weekday on one day of the
// month (optionally not a month end, not a holiday), or one weekday on a month
// end or on a holiday. Without holidays these patterns repeat with the 400-year
// Gregorian cycle; scanning 1948 to 2600 with the holiday rules, the longest
// wait between two occurrences of any of them is 1,015 days (a holiday on one
// chosen weekday; weekly and daily patterns at most 882 days). Twelve years is
// four times that, and a search to the end still takes only a few milliseconds.
// Rules that plainly cannot match are refused without a search (see
// canEverQualify).
constexpr DayNumber kSearchDays = 12 * 365 + 3;

// Once mode: 29 February of a year just past waits eight years when a century
// year without one comes between (2096 → 2104).
constexpr int kOnceSearchYears = 8;

const DayNumber kLastCalendarDay = dayNumberOf(9999, 12, 31);

// One schedule of a record with its sets as bit masks, so that the day-by-day
// search tests bits instead of walking lists.
struct DayRule {
    int mode = kModeOnce;
    std::uint32_t weekdays = 0;
    std::uint32_t days = 0;
    bool onMonthEnd = false;
    bool onHoliday = false;
    int onceMonth = 0;
    int onceDay = 0;
    bool except = false;
    std::uint32_t exceptWeekdays = 0;
    std::uint32_t exceptDays = 0;
    bool exceptMonthEnd = false;
    bool exceptHoliday = false;
};

// Members outside 0 .. 31 (never written, but a file may hold them) match nothing.
std::uint32_t maskOf(const std::vector<int>& members) {
    std::uint32_t mask = 0;
    for (int m : members) {
        if (m >= 0 && m < 32)
            mask |= 1u << m;
    }
    return mask;
}

bool hasBit(std::uint32_t mask, int bit) {
    return (mask >> bit) & 1u;
}

DayRule startRuleOf(const TScheduleData& r, int k) {
    return {r.StartScheduleMode[k],
            maskOf(r.StartDaysOfWeek[k]),
            maskOf(r.StartDays[k]),
            r.StartOnMonthEnd[k],
            r.StartOnHoliday[k],
            r.OnceStartMonth[k],
            r.OnceStartDay[k],
            r.ExceptStartSchedule[k],
            maskOf(r.ExceptStartDaysOfWeek[k]),
            maskOf(r.ExceptStartDays[k]),
            r.ExceptStartOnMonthEnd[k],
            r.ExceptStartOnHoliday[k]};
}

DayRule endRuleOf(const TScheduleData& r, int k) {
    return {r.EndScheduleMode[k],
            maskOf(r.EndDaysOfWeek[k]),
            maskOf(r.EndDays[k]),
            r.EndOnMonthEnd[k],
            r.EndOnHoliday[k],
            r.OnceEndMonth[k],
            r.OnceEndDay[k],
            r.ExceptEndSchedule[k],
            maskOf(r.ExceptEndDaysOfWeek[k]),
            maskOf(r.ExceptEndDays[k]),
            r.ExceptEndOnMonthEnd[k],
            r.ExceptEndOnHoliday[k]};
}

DayRule dayRuleOf(const TScheduleData& r, ScheduleSide side, int k) {
    return side == ScheduleSide::Start ? startRuleOf(r, k) : endRuleOf(r, k);
}

DateTime timeOf(const TScheduleData& r, ScheduleSide side, int k) {
    return side == ScheduleSide::Start ? r.StartTime[k] : r.EndTime[k];
}

// What the day rules look at; whether the day is a holiday is asked only when
// a rule needs it, since that is the expensive part.
struct DayFacts {
    DayNumber day;
    CalendarDate date;
    int weekday;
    bool monthEnd;
};

DayFacts factsOf(DayNumber day) {
    const CalendarDate date = calendarDateOf(day);
    return {day, date, dayOfWeek(day), date.day == daysInMonth(date.year, date.month)};
}

bool isOnceDay(const DayRule& rule, const CalendarDate& date) {
    return date.month == rule.onceMonth && date.day == rule.onceDay;
}

bool matches(const DayRule& rule, const DayFacts& f) {
    switch (rule.mode) {
    case kModeWeekly:
        return hasBit(rule.weekdays, f.weekday);
    case kModeDaily:
        return true;
    case kModeMonthly:
        return hasBit(rule.days, f.date.day) || (rule.onMonthEnd && f.monthEnd) ||
               (rule.onHoliday && IsHoliday(f.day));
    case kModeOnce:
        return isOnceDay(rule, f.date);
    default:
        return false;
    }
}

bool excludedByDay(const DayRule& rule, const DayFacts& f) {
    return hasBit(rule.exceptDays, f.date.day) || (rule.exceptMonthEnd && f.monthEnd) ||
           (rule.exceptHoliday && IsHoliday(f.day));
}

bool excluded(const DayRule& rule, const DayFacts& f) {
    if (!rule.except)
        return false;
    switch (rule.mode) {
    case kModeWeekly:
        return excludedByDay(rule, f);
    case kModeDaily:
        return hasBit(rule.exceptWeekdays, f.weekday) || excludedByDay(rule, f);
    case kModeMonthly:
        return hasBit(rule.exceptWeekdays, f.weekday);
    default:
        return false;
    }
}

bool qualifies(const DayRule& rule, DayNumber day) {
    const DayFacts facts = factsOf(day);
    return matches(rule, facts) && !excluded(rule, facts);
}

bool isValidOnceDate(const DayRule& rule) {
    // 2000 is a leap year: 29 February counts as a date that exists.
    return isValidCalendarDate(2000, rule.onceMonth, rule.onceDay);
}

// Days of the month that a weekly or daily rule leaves in; the 31st is always
// a month end.
std::uint32_t allowedDays(const DayRule& rule) {
    if (!rule.except)
        return kAllDays;
    std::uint32_t days = kAllDays & ~rule.exceptDays;
    if (rule.exceptMonthEnd)
        days &= ~kDay31;
    return days;
}

// False for rules whose sets leave nothing to match, so that they need no
// search. Every weekday meets every day of the month and the month end within a
// few years, and holidays are too few to cover all of them, so what passes
// here does qualify somewhere.
bool canEverQualify(const DayRule& rule) {
    const std::uint32_t keptWeekdays =
        rule.except ? kAllWeekdays & ~rule.exceptWeekdays : kAllWeekdays;
    switch (rule.mode) {
    case kModeWeekly:
        return (rule.weekdays & kAllWeekdays) != 0 && allowedDays(rule) != 0;
    case kModeDaily:
        return keptWeekdays != 0 && allowedDays(rule) != 0;
    case kModeMonthly:
        return ((rule.days & kAllDays) != 0 || rule.onMonthEnd || rule.onHoliday) &&
               keptWeekdays != 0;
    case kModeOnce:
        return isValidOnceDate(rule);
    default:
        return false;
    }
}

// The first day after `today` on which a repeating rule qualifies.
std::optional<DayNumber> nextQualifyingDay(const DayRule& rule, DayNumber today) {
    if (!canEverQualify(rule))
        return std::nullopt;
    const DayNumber last = std::min<DayNumber>(today + kSearchDays, kLastCalendarDay);
    for (DayNumber day = today + 1; day <= last; ++day) {
        if (qualifies(rule, day))
            return day;
    }
    return std::nullopt;
}

// The once day in the first year from `firstYear` on that has it and for which
// `accept` holds.
template <typename Accept>
std::optional<DayNumber> onceDayFrom(const DayRule& rule, int firstYear, Accept accept) {
    if (!isValidOnceDate(rule))
        return std::nullopt;
    for (int year = firstYear; year <= firstYear + kOnceSearchYears && year <= 9999; ++year) {
        if (!isValidCalendarDate(year, rule.onceMonth, rule.onceDay))
            continue;
        const DayNumber day = dayNumberOf(year, rule.onceMonth, rule.onceDay);
        if (accept(day))
            return day;
    }
    return std::nullopt;
}

// "Now" split into the day and the millisecond of the day, and the instants the
// rules produce as whole milliseconds, so that "earlier" and "later" are exact.
struct Moment {
    DayNumber today;
    std::int32_t time;
};

Moment momentOf(DateTime now) {
    return {dayNumberOf(now), millisecondOfDay(now)};
}

Millis instantOf(DayNumber day, std::int32_t time) {
    return static_cast<Millis>(day) * kMillisPerDay + time;
}

Millis instantOf(const Moment& m) {
    return instantOf(m.today, m.time);
}

DateTime dateTimeOfInstant(Millis instant) {
    Millis day = instant / kMillisPerDay;
    Millis time = instant % kMillisPerDay;
    if (time < 0) {
        --day;
        time += kMillisPerDay;
    }
    return dateTimeOf(static_cast<DayNumber>(day), static_cast<std::int32_t>(time));
}

// NextScheduleDate as an instant; nothing when the schedule has no next date.
std::optional<Millis> nextOccurrence(const DayRule& rule, std::int32_t time, const Moment& now) {
    if (rule.mode == kModeOnce) {
        const Millis nowInstant = instantOf(now);
        const auto day = onceDayFrom(rule, calendarDateOf(now.today).year,
                                     [&](DayNumber d) { return nowInstant <= instantOf(d, time); });
        return day ? std::optional(instantOf(*day, time)) : std::nullopt;
    }
    const auto day = nextQualifyingDay(rule, now.today);
    return day ? std::optional(instantOf(*day, time)) : std::nullopt;
}

// A start that wakes the machine is kept for today only while its wake-up
// moment (the lead before it) is still ahead.
bool keepsToday(const TScheduleData& r, ScheduleSide side, int k, std::int32_t time,
                int redumeWaitTime, const Moment& now) {
    if (side == ScheduleSide::End || !r.RedumeStart[k])
        return true;
    return time - static_cast<Millis>(redumeWaitTime) * kMillisPerMinute > now.time;
}

// Candidate k of one side for ComputeNextTimes; nothing for none.
std::optional<Millis> candidateOf(const TScheduleData& r, ScheduleSide side, int k,
                                  int redumeWaitTime, const Moment& now) {
    const DateTime scheduleTime = timeOf(r, side, k);
    if (scheduleTime < 0)
        return std::nullopt;
    const std::int32_t time = millisecondOfDay(scheduleTime);
    const DayRule rule = dayRuleOf(r, side, k);
    const bool todayApplies = now.time < time && qualifies(rule, now.today);
    if (todayApplies && keepsToday(r, side, k, time, redumeWaitTime, now))
        return instantOf(now.today, time);
    return nextOccurrence(rule, time, now);
}

struct Earliest {
    std::optional<Millis> instant;
    int k = 0;

    // Only positive instants count; on a tie the schedule seen first stays.
    void offer(std::optional<Millis> candidate, int candidateK) {
        if (candidate && *candidate > 0 && (!instant || *candidate < *instant)) {
            instant = candidate;
            k = candidateK;
        }
    }
    DateTime dateTime() const { return instant ? dateTimeOfInstant(*instant) : 0; }
};

Earliest earliestCandidate(const TScheduleData& r, ScheduleSide side, int redumeWaitTime,
                           const Moment& now) {
    Earliest earliest;
    for (int k = 0; k < kSchedulesPerSide; ++k)
        earliest.offer(candidateOf(r, side, k, redumeWaitTime, now), k);
    return earliest;
}

void clearNextTimes(TScheduleData& r) {
    r.NextStartDateTime = 0;
    r.NextEndDateTime = 0;
    r.LimitCPUPercent.fill(kNoCpuLimit);
    r.NextEndLimitCPUPercent = kNoCpuLimit;
}

// The wake-up that start schedule k needs: its next start after now minus the lead.
std::optional<Millis> wakeCandidateOf(const TScheduleData& r, int k, int redumeWaitTime,
                                      const Moment& now) {
    if (!r.RedumeStart[k] || r.StartTime[k] < 0)
        return std::nullopt;
    const std::int32_t time = millisecondOfDay(r.StartTime[k]);
    const Millis lead = static_cast<Millis>(redumeWaitTime) * kMillisPerMinute;
    const DayRule rule = startRuleOf(r, k);
    const Millis wakeToday = instantOf(now.today, time) - lead;
    if (instantOf(now) < wakeToday && qualifies(rule, now.today))
        return wakeToday;
    const auto next = rule.mode == kModeOnce
                          ? onceDayFrom(rule, calendarDateOf(now.today).year,
                                        [&](DayNumber d) { return d > now.today; })
                          : nextQualifyingDay(rule, now.today);
    return next ? std::optional(instantOf(*next, time) - lead) : std::nullopt;
}

Earliest earliestWake(const TScheduleData& r, int redumeWaitTime, const Moment& now) {
    Earliest earliest;
    if (!r.UseSchedule)
        return earliest;
    for (int k = 0; k < kSchedulesPerSide; ++k)
        earliest.offer(wakeCandidateOf(r, k, redumeWaitTime, now), k);
    return earliest;
}

} // namespace

bool scheduleMatchesDay(const TScheduleData& record, ScheduleSide side, int k, DayNumber day) {
    return matches(dayRuleOf(record, side, k), factsOf(day));
}

bool scheduleExcludesDay(const TScheduleData& record, ScheduleSide side, int k, DayNumber day) {
    return excluded(dayRuleOf(record, side, k), factsOf(day));
}

bool scheduleQualifiesDay(const TScheduleData& record, ScheduleSide side, int k, DayNumber day) {
    return qualifies(dayRuleOf(record, side, k), day);
}

DateTime NextScheduleDate(const TScheduleData& record, ScheduleSide side, int k, DateTime now) {
    const std::int32_t time = millisecondOfDay(timeOf(record, side, k));
    const auto next = nextOccurrence(dayRuleOf(record, side, k), time, momentOf(now));
    return next ? dateTimeOfInstant(*next) : 0;
}

void ComputeNextTimes(TScheduleData& record, int redumeWaitTime, DateTime now) {
    if (!record.UseSchedule) {
        clearNextTimes(record);
        return;
    }
    const Moment moment = momentOf(now);
    const Earliest start = earliestCandidate(record, ScheduleSide::Start, redumeWaitTime, moment);
    const Earliest end = earliestCandidate(record, ScheduleSide::End, redumeWaitTime, moment);
    record.NextStartDateTime = start.dateTime();
    record.NextEndDateTime = end.dateTime();
    record.NextEndLimitCPUPercent = record.LimitCPUPercent[end.instant ? end.k : 0];
}

DateTime itemWakeTime(const TScheduleData& record, int redumeWaitTime, DateTime now) {
    return earliestWake(record, redumeWaitTime, momentOf(now)).dateTime();
}

DateTime scheduleWakeTime(std::span<const std::vector<TScheduleData>> launchers, int redumeWaitTime,
                          DateTime now) {
    const Moment moment = momentOf(now);
    Earliest earliest;
    for (const auto& records : launchers) {
        for (const TScheduleData& record : records)
            earliest.offer(earliestWake(record, redumeWaitTime, moment).instant, 0);
    }
    return earliest.dateTime();
}

WakeTimerDecision decideWakeTimer(DateTime scheduleWake, const WakeTimerState& state,
                                  DateTime now) {
    const DateTime power = state.powerWakeTime;
    if (scheduleWake == 0 && now > power) {
        if (state.armedWakeTime <= 0)
            return {WakeTimerAction::Keep, 0};
        return {state.wakeTimerSet ? WakeTimerAction::Cancel : WakeTimerAction::Forget, 0};
    }
    if (scheduleWake == 0)
        return {WakeTimerAction::Keep, 0};
    if (now >= power || scheduleWake < power)
        return {WakeTimerAction::Arm, scheduleWake};
    return {WakeTimerAction::Keep, 0};
}

ScheduleWakePlan ArmScheduleWakeTimer(std::span<const std::vector<TScheduleData>> launchers,
                                      int redumeWaitTime, const WakeTimerState& state,
                                      DateTime now) {
    const DateTime wake = scheduleWakeTime(launchers, redumeWaitTime, now);
    return {wake, decideWakeTimer(wake, state, now)};
}

} // namespace kelvo
