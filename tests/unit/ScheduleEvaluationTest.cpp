#include "schedule/ScheduleEvaluation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelvo {
namespace {

DateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return encodeDateTime({y, mo, d, h, mi, s, 0}).value();
}

DateTime clock(int h, int mi = 0) {
    return at(1899, 12, 30, h, mi);
}

std::wstring text(DateTime value) {
    return value == 0 ? L"0" : dateTimeToString(value);
}

constexpr int kSunday = 0, kMonday = 1, kThursday = 4, kSaturday = 6;

// A record in use with every schedule unused; the helpers switch schedules on.
class ScheduleEvaluationTest : public testing::Test {
  protected:
    ScheduleEvaluationTest() {
        InitScheduleRecord(record);
        record.UseSchedule = true;
    }

    void start(int k, DateTime time, int mode) {
        record.StartTime[k] = time;
        record.StartScheduleMode[k] = mode;
    }
    void end(int k, DateTime time, int mode, int cpuLimit = kNoCpuLimit) {
        record.EndTime[k] = time;
        record.EndScheduleMode[k] = mode;
        record.LimitCPUPercent[k] = cpuLimit;
    }
    void monthlyStart(int k, DateTime time, std::vector<int> days) {
        start(k, time, kModeMonthly);
        record.StartDays[k] = std::move(days);
    }
    void onceStart(int k, DateTime time, int month, int day) {
        start(k, time, kModeOnce);
        record.OnceStartMonth[k] = month;
        record.OnceStartDay[k] = day;
    }

    std::wstring nextStartAt(DateTime now, int redumeWaitTime = 1) {
        ComputeNextTimes(record, redumeWaitTime, now);
        return text(record.NextStartDateTime);
    }

    TScheduleData record;
};

TEST_F(ScheduleEvaluationTest, DailyStartIsTodayOnlyBeforeItsTime) {
    start(0, clock(7), kModeDaily);
    EXPECT_EQ(nextStartAt(at(2016, 5, 6, 6, 59, 59)), L"2016/05/06 7:00:00");
    // At the start time itself the start has fired: the next one is tomorrow.
    EXPECT_EQ(nextStartAt(at(2016, 5, 6, 7, 0, 0)), L"2016/05/07 7:00:00");
}

TEST_F(ScheduleEvaluationTest, WakingStartSkipsTodayOnceItsWakeUpHasPassed) {
    start(0, clock(7), kModeDaily);
    record.RedumeStart[0] = true;
    const DateTime now = at(2016, 5, 6, 6, 59, 30);
    EXPECT_EQ(nextStartAt(now, 1), L"2016/05/07 7:00:00");
    EXPECT_EQ(text(itemWakeTime(record, 1, now)), L"2016/05/07 6:59:00");
    // With the wake-up still ahead, today stands.
    EXPECT_EQ(nextStartAt(at(2016, 5, 6, 6, 58, 59), 1), L"2016/05/06 7:00:00");
    EXPECT_EQ(text(itemWakeTime(record, 1, at(2016, 5, 6, 6, 58, 59))), L"2016/05/06 6:59:00");
}

TEST_F(ScheduleEvaluationTest, FindsTheNextStartOfEachMode) {
    const struct {
        const char* what;
        void (*configure)(TScheduleData&);
        DateTime now;
        const wchar_t* next;
    } cases[] = {
        {"weekly Monday and Thursday, on Monday evening",
         [](TScheduleData& r) {
             r.StartTime[0] = clock(20);
             r.StartScheduleMode[0] = kModeWeekly;
             r.StartDaysOfWeek[0] = {kMonday, kThursday};
         },
         at(2016, 5, 2, 21), L"2016/05/05 20:00:00"},
        {"monthly on the 31st skips months without one",
         [](TScheduleData& r) {
             r.StartTime[0] = clock(12);
             r.StartScheduleMode[0] = kModeMonthly;
             r.StartDays[0] = {31};
         },
         at(2016, 3, 31, 13), L"2016/05/31 12:00:00"},
        {"monthly on the 31st and the month end",
         [](TScheduleData& r) {
             r.StartTime[0] = clock(12);
             r.StartScheduleMode[0] = kModeMonthly;
             r.StartDays[0] = {31};
             r.StartOnMonthEnd[0] = true;
         },
         at(2016, 3, 31, 13), L"2016/04/30 12:00:00"},
        {"month end in a leap February",
         [](TScheduleData& r) {
             r.StartTime[0] = clock(12);
             r.StartScheduleMode[0] = kModeMonthly;
             r.StartDays[0] = {};
             r.StartOnMonthEnd[0] = true;
         },
         at(2016, 2, 1), L"2016/02/29 12:00:00"},
        {"monthly on holidays only",
         [](TScheduleData& r) {
             r.StartTime[0] = clock(12);
             r.StartScheduleMode[0] = kModeMonthly;
             r.StartDays[0] = {};
             r.StartOnHoliday[0] = true;
         },
         at(2016, 4, 22, 8), L"2016/04/29 12:00:00"},
        {"once on 1 January, on 31 December",
         [](TScheduleData& r) {
             r.StartTime[0] = clock(0);
             r.StartScheduleMode[0] = kModeOnce;
             r.OnceStartMonth[0] = 1;
             r.OnceStartDay[0] = 1;
         },
         at(2016, 12, 31, 12), L"2017/01/01"},
        {"once on 1 January, a second after it",
         [](TScheduleData& r) {
             r.StartTime[0] = clock(0);
             r.StartScheduleMode[0] = kModeOnce;
             r.OnceStartMonth[0] = 1;
             r.OnceStartDay[0] = 1;
         },
         at(2017, 1, 1, 0, 0, 1), L"2018/01/01"},
        {"once later this year",
         [](TScheduleData& r) {
             r.StartTime[0] = clock(9);
             r.StartScheduleMode[0] = kModeOnce;
             r.OnceStartMonth[0] = 12;
             r.OnceStartDay[0] = 24;
         },
         at(2016, 5, 6), L"2016/12/24 9:00:00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        InitScheduleRecord(record);
        record.UseSchedule = true;
        c.configure(record);
        EXPECT_EQ(nextStartAt(c.now), c.next);
    }
}

TEST_F(ScheduleEvaluationTest, DailyStartLeavesOutWeekendsAndHolidays) {
    start(0, clock(9), kModeDaily);
    record.ExceptStartSchedule[0] = true;
    record.ExceptStartDaysOfWeek[0] = {kSunday, kSaturday};
    record.ExceptStartOnHoliday[0] = true;
    record.ExceptStartDays[0] = {};
    EXPECT_EQ(nextStartAt(at(2016, 4, 29, 10)), L"2016/05/02 9:00:00");
    // 3, 4 and 5 May are holidays.
    EXPECT_EQ(nextStartAt(at(2016, 5, 2, 10)), L"2016/05/06 9:00:00");
}

TEST_F(ScheduleEvaluationTest, EndTakesTheEarliestScheduleWithItsCpuLimit) {
    end(0, clock(12), kModeDaily, 30);
    end(1, clock(9), kModeDaily, 50);
    ComputeNextTimes(record, 1, at(2016, 5, 6, 8));
    EXPECT_EQ(text(record.NextEndDateTime), L"2016/05/06 9:00:00");
    EXPECT_EQ(record.NextEndLimitCPUPercent, 50);
    ComputeNextTimes(record, 1, at(2016, 5, 6, 10));
    EXPECT_EQ(text(record.NextEndDateTime), L"2016/05/06 12:00:00");
    EXPECT_EQ(record.NextEndLimitCPUPercent, 30);
    EXPECT_EQ(record.NextStartDateTime, 0);
}

TEST_F(ScheduleEvaluationTest, EqualEndTimesGiveTheLowerScheduleItsLimit) {
    end(2, clock(9), kModeDaily, 70);
    end(1, clock(9), kModeDaily, 50);
    ComputeNextTimes(record, 1, at(2016, 5, 6, 8));
    EXPECT_EQ(record.NextEndLimitCPUPercent, 50);
}

TEST_F(ScheduleEvaluationTest, WithoutEndTheLimitIsTheFirstSchedules) {
    record.LimitCPUPercent = {40, 50, 60};
    start(0, clock(9), kModeDaily);
    ComputeNextTimes(record, 1, at(2016, 5, 6, 8));
    EXPECT_EQ(record.NextEndDateTime, 0);
    EXPECT_EQ(record.NextEndLimitCPUPercent, 40);
}

TEST_F(ScheduleEvaluationTest, UnusedRecordHasNoNextTimes) {
    start(0, clock(9), kModeDaily);
    end(0, clock(10), kModeDaily, 30);
    record.NextStartDateTime = at(2016, 5, 6, 9);
    record.UseSchedule = false;
    ComputeNextTimes(record, 1, at(2016, 5, 6, 8));
    EXPECT_EQ(record.NextStartDateTime, 0);
    EXPECT_EQ(record.NextEndDateTime, 0);
    EXPECT_EQ(record.LimitCPUPercent, (PerSchedule<int>{-1, -1, -1}));
    EXPECT_EQ(record.NextEndLimitCPUPercent, kNoCpuLimit);
}

// 29 February in the once mode waits for the next leap year, across a century
// year without one; rules that can never qualify give 0 instead of searching on.
TEST_F(ScheduleEvaluationTest, SearchFindsRareDaysAndGivesUpOnImpossibleOnes) {
    onceStart(0, clock(8), 2, 29);
    EXPECT_EQ(nextStartAt(at(2016, 2, 29, 7)), L"2016/02/29 8:00:00");
    EXPECT_EQ(nextStartAt(at(2016, 2, 29, 9)), L"2020/02/29 8:00:00");
    EXPECT_EQ(nextStartAt(at(2017, 6, 1)), L"2020/02/29 8:00:00");
    EXPECT_EQ(nextStartAt(at(2096, 3, 1)), L"2104/02/29 8:00:00");
    EXPECT_EQ(text(itemWakeTime(record, 0, at(2096, 3, 1))), L"0") << "no wake flag";
    record.RedumeStart[0] = true;
    EXPECT_EQ(text(itemWakeTime(record, 5, at(2096, 2, 29, 9))), L"2104/02/29 7:55:00");

    const struct {
        const char* what;
        void (*configure)(TScheduleData&);
    } impossible[] = {
        {"once on 30 February",
         [](TScheduleData& r) {
             r.StartScheduleMode[0] = kModeOnce;
             r.OnceStartMonth[0] = 2;
             r.OnceStartDay[0] = 30;
         }},
        {"once without a date", [](TScheduleData& r) { r.StartScheduleMode[0] = kModeOnce; }},
        {"daily with every weekday excluded",
         [](TScheduleData& r) {
             r.StartScheduleMode[0] = kModeDaily;
             r.ExceptStartSchedule[0] = true;
             r.ExceptStartDaysOfWeek[0] = {0, 1, 2, 3, 4, 5, 6};
         }},
        {"monthly on the 1st with every weekday excluded",
         [](TScheduleData& r) {
             r.StartScheduleMode[0] = kModeMonthly;
             r.StartDays[0] = {1};
             r.ExceptStartSchedule[0] = true;
             r.ExceptStartDaysOfWeek[0] = {0, 1, 2, 3, 4, 5, 6};
         }},
        {"weekly on the 31st only, month ends excluded",
         [](TScheduleData& r) {
             r.StartScheduleMode[0] = kModeWeekly;
             r.StartDaysOfWeek[0] = {kMonday};
             r.ExceptStartSchedule[0] = true;
             std::vector<int> days;
             for (int d = 1; d <= 30; ++d)
                 days.push_back(d);
             r.ExceptStartDays[0] = days;
             r.ExceptStartOnMonthEnd[0] = true;
         }},
        {"weekly without weekdays", [](TScheduleData& r) { r.StartScheduleMode[0] = kModeWeekly; }},
        {"an unknown mode", [](TScheduleData& r) { r.StartScheduleMode[0] = 7; }},
    };
    for (const auto& c : impossible) {
        SCOPED_TRACE(c.what);
        InitScheduleRecord(record);
        record.UseSchedule = true;
        record.StartTime[0] = clock(8);
        record.RedumeStart[0] = true;
        c.configure(record);
        EXPECT_EQ(nextStartAt(at(2016, 5, 6)), L"0");
        EXPECT_EQ(text(itemWakeTime(record, 1, at(2016, 5, 6))), L"0");
    }
}

// The rarest repeating rule that can qualify: a holiday that falls on a Sunday.
// After 3 May 2054 the next one is 11 February 2057, 1,015 days on.
TEST_F(ScheduleEvaluationTest, SearchReachesTheRarestRepeatingRule) {
    monthlyStart(0, clock(12), {});
    record.StartOnHoliday[0] = true;
    record.ExceptStartSchedule[0] = true;
    record.ExceptStartDaysOfWeek[0] = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(nextStartAt(at(2054, 5, 3, 13)), L"2057/02/11 12:00:00");
}

TEST(ScheduleDayRulesTest, ExclusionsCountOnlyWhereTheModeUsesThem) {
    // Tuesday 3 May 2016 is a holiday; 31 May 2016 a Tuesday and a month end.
    const DayNumber holidayTuesday = dayNumberOf(2016, 5, 3);
    const DayNumber monthEndTuesday = dayNumberOf(2016, 5, 31);
    const DayNumber plainTuesday = dayNumberOf(2016, 5, 10);
    const DayNumber plainMonday = dayNumberOf(2016, 5, 9);
    const struct {
        const char* what;
        int mode;
        void (*configure)(TScheduleData&);
        DayNumber day;
        bool qualifies;
    } cases[] = {
        {"weekly: excluded day of the month", kModeWeekly,
         [](TScheduleData& r) {
             r.EndDays[0] = {};
             r.ExceptEndDays[0] = {10};
         },
         plainTuesday, false},
        {"weekly: excluded month end", kModeWeekly,
         [](TScheduleData& r) {
             r.ExceptEndDays[0] = {};
             r.ExceptEndOnMonthEnd[0] = true;
         },
         monthEndTuesday, false},
        {"weekly: excluded holiday", kModeWeekly,
         [](TScheduleData& r) {
             r.ExceptEndDays[0] = {};
             r.ExceptEndOnHoliday[0] = true;
         },
         holidayTuesday, false},
        {"weekly: excluded weekdays do not count", kModeWeekly,
         [](TScheduleData& r) {
             r.ExceptEndDays[0] = {};
             r.ExceptEndDaysOfWeek[0] = {2};
         },
         plainTuesday, true},
        {"weekly: other weekday", kModeWeekly, [](TScheduleData&) {}, plainMonday, false},
        {"daily: excluded weekday", kModeDaily,
         [](TScheduleData& r) {
             r.ExceptEndDays[0] = {};
             r.ExceptEndDaysOfWeek[0] = {2};
         },
         plainTuesday, false},
        {"daily: excluded holiday", kModeDaily,
         [](TScheduleData& r) {
             r.ExceptEndDays[0] = {};
             r.ExceptEndOnHoliday[0] = true;
         },
         holidayTuesday, false},
        {"daily: excluded day of the month", kModeDaily,
         [](TScheduleData& r) { r.ExceptEndDays[0] = {9}; }, plainMonday, false},
        {"monthly: excluded weekday", kModeMonthly,
         [](TScheduleData& r) {
             r.EndDays[0] = {10};
             r.ExceptEndDaysOfWeek[0] = {2};
         },
         plainTuesday, false},
        {"monthly: excluded days, month end and holidays do not count", kModeMonthly,
         [](TScheduleData& r) {
             r.EndOnMonthEnd[0] = true;
             r.ExceptEndDays[0] = {31};
             r.ExceptEndOnMonthEnd[0] = true;
             r.ExceptEndOnHoliday[0] = true;
         },
         monthEndTuesday, true},
        {"once: never excluded", kModeOnce,
         [](TScheduleData& r) {
             r.OnceEndMonth[0] = 5;
             r.OnceEndDay[0] = 3;
             r.ExceptEndOnHoliday[0] = true;
             r.ExceptEndDaysOfWeek[0] = {2};
             r.ExceptEndDays[0] = {3};
         },
         holidayTuesday, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TScheduleData r;
        InitScheduleRecord(r);
        r.EndScheduleMode[0] = c.mode;
        r.EndDaysOfWeek[0] = {2};
        r.ExceptEndSchedule[0] = true;
        c.configure(r);
        EXPECT_EQ(scheduleQualifiesDay(r, ScheduleSide::End, 0, c.day), c.qualifies);
        // Without the exclusion flag only the match decides.
        r.ExceptEndSchedule[0] = false;
        EXPECT_FALSE(scheduleExcludesDay(r, ScheduleSide::End, 0, c.day));
        EXPECT_EQ(scheduleQualifiesDay(r, ScheduleSide::End, 0, c.day),
                  scheduleMatchesDay(r, ScheduleSide::End, 0, c.day));
    }
}

TEST(WakeTimerDecisionTest, EarlierWishWinsAndAPendingPowerWakeUpStays) {
    const DateTime now = at(2016, 5, 6, 12);
    const DateTime past = at(2016, 5, 6, 11);
    const DateTime soon = at(2016, 5, 6, 13);
    const DateTime later = at(2016, 5, 6, 14);
    using enum WakeTimerAction;
    const struct {
        const char* what;
        DateTime scheduleWake;
        WakeTimerState state;
        WakeTimerDecision expected;
    } cases[] = {
        {"nothing needed, timer armed and waiting", 0, {0, soon, true}, {Cancel, 0}},
        {"nothing needed, armed time left from a fired timer", 0, {past, past, false}, {Forget, 0}},
        {"nothing needed, nothing armed", 0, {0, 0, false}, {Keep, 0}},
        {"nothing needed, power wake-up ahead", 0, {soon, soon, true}, {Keep, 0}},
        {"schedule wake-up, no power wake-up", soon, {0, 0, false}, {Arm, soon}},
        {"schedule wake-up before the power one", soon, {later, later, true}, {Arm, soon}},
        {"schedule wake-up, power one passed", later, {past, past, false}, {Arm, later}},
        {"schedule wake-up, power one exactly now", later, {now, now, true}, {Arm, later}},
        {"power wake-up comes first", later, {soon, soon, true}, {Keep, 0}},
        {"both at the same moment", soon, {soon, soon, true}, {Keep, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(decideWakeTimer(c.scheduleWake, c.state, now), c.expected);
    }
}

TEST(ScheduleWakeTimeTest, TakesTheEarliestWakingStartOfAllLaunchers) {
    auto waking = [](DateTime time, bool useSchedule, bool redume) {
        TScheduleData r;
        InitScheduleRecord(r);
        r.UseSchedule = useSchedule;
        r.StartTime[1] = time;
        r.StartScheduleMode[1] = kModeDaily;
        r.RedumeStart[1] = redume;
        return r;
    };
    const std::vector<std::vector<TScheduleData>> launchers = {
        {waking(clock(9), true, true)},
        {},
        {waking(clock(6), false, true), waking(clock(7), true, false),
         waking(clock(8), true, true)},
        {},
        {},
    };
    const DateTime now = at(2016, 5, 6, 5);
    EXPECT_EQ(text(scheduleWakeTime(launchers, 2, now)), L"2016/05/06 7:58:00");

    const ScheduleWakePlan plan = ArmScheduleWakeTimer(launchers, 2, {}, now);
    EXPECT_EQ(text(plan.scheduleWakeTime), L"2016/05/06 7:58:00");
    EXPECT_EQ(plan.decision, (WakeTimerDecision{WakeTimerAction::Arm, plan.scheduleWakeTime}));

    // After 07:58 the 09:00 start of the first launcher is the earliest.
    EXPECT_EQ(text(scheduleWakeTime(launchers, 2, at(2016, 5, 6, 7, 58))), L"2016/05/06 8:58:00");
    EXPECT_EQ(scheduleWakeTime({}, 2, now), 0);
}

} // namespace
} // namespace kelvo
