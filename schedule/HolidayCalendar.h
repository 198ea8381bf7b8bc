#pragma once
// The Japanese public holidays, computed from their rules rather than read from
// a list: fixed days, the n-th Monday rules, the two equinox formulas, and the
// substitute and citizens' holidays derived from them. Every query evaluates the
// rules for the one day asked about; nothing is cached.
//
// The rules follow the holiday law as amended up to the 2021 Olympic special
// measures: 山の日 from 2016, the move of 天皇誕生日 with the 2019 accession,
// スポーツの日 from 2020 and the days moved for the Olympic games of 2020 and 2021.
#include "schedule/CalendarDay.h"

#include <string>
#include <vector>

namespace kelvo {

// True with the holiday's name for a statutory, substitute (振替休日) or
// citizens' (国民の休日) holiday; false with an empty name for a working day.
bool IsHoliday(DayNumber date, std::wstring& name);
bool IsHoliday(DayNumber date);

// Only the fixed rules of the holiday law, without the days derived from them.
// The derived days look at this on their neighbours, so a substitute or
// citizens' holiday never makes a further day a holiday.
bool IsStatutoryHoliday(DayNumber date, std::wstring& name);

// The n-th (1..5) given weekday of a month; the weekday counts 1 = Sunday ..
// 7 = Saturday here, as the holiday rules are written.
DayNumber NthWeekdayOfMonth(int year, int month, int n, int weekday);

// The equinox holidays: a day in March and a day in September.
DayNumber VernalEquinoxDay(int year);
DayNumber AutumnalEquinoxDay(int year);

// Leap years in firstYear .. lastYear inclusive; 0 when the range is empty.
int CountLeapYears(int firstYear, int lastYear);

struct Holiday {
    DayNumber date = 0;
    std::wstring name{};
    bool operator==(const Holiday&) const = default;
};

// Every holiday of a year, in date order.
std::vector<Holiday> holidaysOfYear(int year);

} // namespace kelvo
