#pragma once
// Calendar days as the schedules and the holiday calendar count them: whole
// days since 1899-12-30, the date part of a date-time. Working on whole days
// keeps the day rules free of the time of day, which would otherwise make an
// equinox or an n-th Monday fail to compare equal.
#include "storage/DateTime.h"

#include <cstdint>

namespace kelvo {

using DayNumber = std::int32_t;

struct CalendarDate {
    int year = 1899, month = 12, day = 30;
};

bool isLeapYear(int year);
int daysInMonth(int year, int month);
bool isValidCalendarDate(int year, int month, int day);

// The caller passes a valid date (see isValidCalendarDate).
DayNumber dayNumberOf(int year, int month, int day);
CalendarDate calendarDateOf(DayNumber day);

// The day a date-time falls on; its time of day does not matter.
DayNumber dayNumberOf(DateTime value);
// Milliseconds since midnight of a date-time, 0 .. 86,399,999; whole
// milliseconds, so that comparisons of times are exact.
std::int32_t millisecondOfDay(DateTime value);
// The date-time of `day` at `millisecond` (0 .. 86,399,999) of that day.
DateTime dateTimeOf(DayNumber day, std::int32_t millisecond);

// 0 = Sunday .. 6 = Saturday, the numbering of the schedules' weekday sets.
int dayOfWeek(DayNumber day);

} // namespace kelvo
