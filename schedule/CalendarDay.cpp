#include "schedule/CalendarDay.h"

namespace kelvo {
namespace {

constexpr std::int32_t kMillisecondsPerDay = 86'400'000;

} // namespace

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

bool isValidCalendarDate(int year, int month, int day) {
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= daysInMonth(year, month);
}

DayNumber dayNumberOf(int year, int month, int day) {
    return static_cast<DayNumber>(encodeDateTime({year, month, day}).value_or(0));
}

CalendarDate calendarDateOf(DayNumber day) {
    const DateParts parts = decodeDateTime(day);
    return {parts.year, parts.month, parts.day};
}

DayNumber dayNumberOf(DateTime value) {
    const DateParts parts = decodeDateTime(value);
    return dayNumberOf(parts.year, parts.month, parts.day);
}

std::int32_t millisecondOfDay(DateTime value) {
    const DateParts p = decodeDateTime(value);
    return ((p.hour * 60 + p.minute) * 60 + p.second) * 1000 + p.millisecond;
}

DateTime dateTimeOf(DayNumber day, std::int32_t millisecond) {
    const double time = static_cast<double>(millisecond) / kMillisecondsPerDay;
    // Before 1899-12-30 the fraction still counts the time of day, away from zero.
    return day < 0 ? day - time : day + time;
}

int dayOfWeek(DayNumber day) {
    // 1899-12-30, day 0, was a Saturday.
    const int shifted = (day + 6) % 7;
    return shifted < 0 ? shifted + 7 : shifted;
}

} // namespace kelvo
