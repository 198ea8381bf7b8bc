#include "schedule/HolidayCalendar.h"

#include <cmath>
#include <iterator>

namespace kelvo {
namespace {

// How a rule finds its day within its month.
enum class DayOf {
    FixedDay,        // `value` is the day of the month
    NthMonday,       // `value` is n
    VernalEquinox,   // in March
    AutumnalEquinox, // in September
};

constexpr int kOpenEnded = 9999;
constexpr int kMonday = 2; // in the holiday rules' numbering, 1 = Sunday

struct StatutoryRule {
    int month;
    DayOf dayOf;
    int value;
    int firstYear;
    int lastYear;
    const wchar_t* name;
};

// Within a month the first rule that matches names the day, so where two rules
// could meet on one day the earlier line wins. The years are inclusive.
// 2020 and 2021 moved three holidays around the Olympic games; those years are
// cut out of the regular rules and carry their own fixed days.
constexpr StatutoryRule kStatutoryRules[] = {
    {1, DayOf::FixedDay, 1, 1948, kOpenEnded, L"元旦"},
    {1, DayOf::FixedDay, 15, 1948, 1999, L"成人の日"},
    {1, DayOf::NthMonday, 2, 2000, kOpenEnded, L"成人の日"},

    {2, DayOf::FixedDay, 11, 1966, kOpenEnded, L"建国記念の日"},
    {2, DayOf::FixedDay, 24, 1989, 1989, L"昭和天皇の大喪の礼"},
    {2, DayOf::FixedDay, 23, 2020, kOpenEnded, L"天皇誕生日"},

    {3, DayOf::VernalEquinox, 0, 1949, kOpenEnded, L"春分の日"},

    {4, DayOf::FixedDay, 29, 1948, 1988, L"天皇誕生日"},
    {4, DayOf::FixedDay, 29, 1989, 2006, L"みどりの日"},
    {4, DayOf::FixedDay, 29, 2007, kOpenEnded, L"昭和の日"},
    {4, DayOf::FixedDay, 10, 1959, 1959, L"皇太子明仁親王の結婚の儀"},

    {5, DayOf::FixedDay, 3, 1948, kOpenEnded, L"憲法記念日"},
    {5, DayOf::FixedDay, 4, 2007, kOpenEnded, L"みどりの日"},
    {5, DayOf::FixedDay, 5, 1948, kOpenEnded, L"こどもの日"},
    {5, DayOf::FixedDay, 1, 2019, 2019, L"天皇の即位の日"},

    {6, DayOf::FixedDay, 9, 1993, 1993, L"皇太子徳仁親王の結婚の儀"},

    {7, DayOf::FixedDay, 20, 1995, 2002, L"海の日"},
    {7, DayOf::NthMonday, 3, 2003, 2019, L"海の日"},
    {7, DayOf::FixedDay, 23, 2020, 2020, L"海の日"},
    {7, DayOf::FixedDay, 24, 2020, 2020, L"スポーツの日"},
    {7, DayOf::FixedDay, 22, 2021, 2021, L"海の日"},
    {7, DayOf::FixedDay, 23, 2021, 2021, L"スポーツの日"},
    {7, DayOf::NthMonday, 3, 2022, kOpenEnded, L"海の日"},

    {8, DayOf::FixedDay, 11, 2016, 2019, L"山の日"},
    {8, DayOf::FixedDay, 10, 2020, 2020, L"山の日"},
    {8, DayOf::FixedDay, 8, 2021, 2021, L"山の日"},
    {8, DayOf::FixedDay, 11, 2022, kOpenEnded, L"山の日"},

    {9, DayOf::FixedDay, 15, 1966, 2002, L"敬老の日"},
    {9, DayOf::NthMonday, 3, 2003, kOpenEnded, L"敬老の日"},
    {9, DayOf::AutumnalEquinox, 0, 1948, kOpenEnded, L"秋分の日"},

    {10, DayOf::FixedDay, 10, 1966, 1999, L"体育の日"},
    {10, DayOf::NthMonday, 2, 2000, 2019, L"体育の日"},
    {10, DayOf::NthMonday, 2, 2022, kOpenEnded, L"スポーツの日"},
    {10, DayOf::FixedDay, 22, 2019, 2019, L"即位礼正殿の儀"},

    {11, DayOf::FixedDay, 3, 1948, kOpenEnded, L"文化の日"},
    {11, DayOf::FixedDay, 23, 1948, kOpenEnded, L"勤労感謝の日"},
    {11, DayOf::FixedDay, 12, 1990, 1990, L"即位礼正殿の儀"},

    {12, DayOf::FixedDay, 23, 1989, 2018, L"天皇誕生日"},
};

// The old substitute rule (the Monday after a Sunday holiday), the citizens'
// holiday and the extended substitute rule (the first working day after a
// Sunday holiday, however many holidays follow it) took effect on these days.
const DayNumber kMondaySubstituteFrom = dayNumberOf(1973, 4, 12);
const DayNumber kCitizensHolidayFrom = dayNumberOf(1988, 5, 4);
const DayNumber kExtendedSubstituteFrom = dayNumberOf(2008, 5, 6);

constexpr const wchar_t* kSubstituteHoliday = L"振替休日";
constexpr const wchar_t* kCitizensHoliday = L"国民の休日";

// The holiday rules number the weekdays 1 = Sunday .. 7 = Saturday.
int holidayWeekday(DayNumber date) {
    return dayOfWeek(date) + 1;
}

bool ruleMatches(const StatutoryRule& rule, DayNumber date, const CalendarDate& civil) {
    if (rule.month != civil.month || civil.year < rule.firstYear || civil.year > rule.lastYear)
        return false;
    switch (rule.dayOf) {
    case DayOf::FixedDay:
        return civil.day == rule.value;
    case DayOf::NthMonday:
        return date == NthWeekdayOfMonth(civil.year, rule.month, rule.value, kMonday);
    case DayOf::VernalEquinox:
        return date == VernalEquinoxDay(civil.year);
    case DayOf::AutumnalEquinox:
        return date == AutumnalEquinoxDay(civil.year);
    }
    return false;
}

bool isStatutory(DayNumber date) {
    std::wstring ignored;
    return IsStatutoryHoliday(date, ignored);
}

// The equinox formulas count days from 1940 with the decimal constants kept in
// extended precision; truncation toward zero gives the day of the month.
int equinoxDayOfMonth(long double base, int year) {
    const long double leapYears = CountLeapYears(1940, year);
    const long double day = base + 0.2421904L * (year - 1940) - (leapYears - 1);
    return static_cast<int>(std::trunc(day));
}

bool isMondaySubstitute(DayNumber date) {
    return date >= kMondaySubstituteFrom && holidayWeekday(date) == kMonday &&
           isStatutory(date - 1);
}

bool isCitizensHoliday(DayNumber date) {
    return date >= kCitizensHolidayFrom && holidayWeekday(date) != 1 && isStatutory(date - 1) &&
           isStatutory(date + 1);
}

// A day later in a week whose Sunday was a holiday, with holidays on every day
// from that Monday up to the day before.
bool isExtendedSubstitute(DayNumber date) {
    const int weekday = holidayWeekday(date);
    if (date < kExtendedSubstituteFrom || weekday == 1)
        return false;
    if (!isStatutory(date - weekday + 1))
        return false;
    for (DayNumber day = date - 1; day >= date - (weekday - 2); --day) {
        if (!isStatutory(day))
            return false;
    }
    return true;
}

// Leap years from year 1 through `year` (0 for year 0).
int leapYearsThrough(int year) {
    return year / 4 - year / 100 + year / 400;
}

} // namespace

int CountLeapYears(int firstYear, int lastYear) {
    if (lastYear < firstYear)
        return 0;
    return leapYearsThrough(lastYear) - leapYearsThrough(firstYear - 1);
}

DayNumber VernalEquinoxDay(int year) {
    return dayNumberOf(year, 3, equinoxDayOfMonth(21.147L, year));
}

DayNumber AutumnalEquinoxDay(int year) {
    return dayNumberOf(year, 9, equinoxDayOfMonth(23.5412L, year));
}

DayNumber NthWeekdayOfMonth(int year, int month, int n, int weekday) {
    const DayNumber first = dayNumberOf(year, month, 1);
    const int firstWeekday = holidayWeekday(first);
    const int weeks = weekday >= firstWeekday ? n - 1 : n;
    return first + (weekday - firstWeekday + 7 * weeks);
}

bool IsStatutoryHoliday(DayNumber date, std::wstring& name) {
    name.clear();
    const CalendarDate civil = calendarDateOf(date);
    for (const StatutoryRule& rule : kStatutoryRules) {
        if (ruleMatches(rule, date, civil)) {
            name = rule.name;
            return true;
        }
    }
    return false;
}

bool IsHoliday(DayNumber date, std::wstring& name) {
    if (IsStatutoryHoliday(date, name))
        return true;
    if (isMondaySubstitute(date)) {
        name = kSubstituteHoliday;
        return true;
    }
    if (isCitizensHoliday(date)) {
        name = kCitizensHoliday;
        return true;
    }
    if (isExtendedSubstitute(date)) {
        name = kSubstituteHoliday;
        return true;
    }
    return false;
}

bool IsHoliday(DayNumber date) {
    std::wstring ignored;
    return IsHoliday(date, ignored);
}

std::vector<Holiday> holidaysOfYear(int year) {
    std::vector<Holiday> holidays;
    const DayNumber first = dayNumberOf(year, 1, 1);
    const DayNumber end = first + (isLeapYear(year) ? 366 : 365);
    for (DayNumber day = first; day < end; ++day) {
        std::wstring name;
        if (IsHoliday(day, name))
            holidays.push_back({day, name});
    }
    return holidays;
}

} // namespace kelvo
