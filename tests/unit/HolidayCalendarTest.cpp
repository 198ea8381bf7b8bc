#include "schedule/HolidayCalendar.h"

#include "storage/TextCodec.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelvo {
namespace {

struct Day {
    int year, month, day;
};

DayNumber dayOf(const Day& d) {
    return dayNumberOf(d.year, d.month, d.day);
}

std::string describe(const Day& d) {
    return std::to_string(d.year) + "/" + std::to_string(d.month) + "/" + std::to_string(d.day);
}

std::string nameOf(const Day& d) {
    std::wstring name;
    IsHoliday(dayOf(d), name);
    return toUtf8(name);
}

TEST(HolidayCalendarTest, FindsTheNthWeekdayOfAMonth) {
    const struct {
        int year, month, n, weekday;
        Day expected;
    } cases[] = {
        // March 2023 begins on a Wednesday: the second Monday is the 13th.
        {2023, 3, 2, 2, {2023, 3, 13}},
        // A weekday on or after the first day falls in the first week.
        {2023, 3, 1, 4, {2023, 3, 1}},
        {2023, 3, 1, 7, {2023, 3, 4}},
        {2023, 3, 5, 5, {2023, 3, 30}},
        {2016, 1, 2, 2, {2016, 1, 11}},
        {2016, 7, 3, 2, {2016, 7, 18}},
        {2024, 9, 3, 2, {2024, 9, 16}},
        {2018, 10, 2, 2, {2018, 10, 8}}, // October 2018 begins on a Monday
        {2017, 1, 1, 1, {2017, 1, 1}},   // a Sunday on the first
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(describe(c.expected));
        EXPECT_EQ(NthWeekdayOfMonth(c.year, c.month, c.n, c.weekday), dayOf(c.expected));
    }
}

TEST(HolidayCalendarTest, CountsLeapYearsInAClosedRange) {
    EXPECT_EQ(CountLeapYears(1940, 1940), 1);
    EXPECT_EQ(CountLeapYears(1941, 1943), 0);
    EXPECT_EQ(CountLeapYears(1940, 2026), 22);
    EXPECT_EQ(CountLeapYears(1896, 1904), 2); // 1900 is no leap year
    EXPECT_EQ(CountLeapYears(1996, 2004), 3); // 2000 is one
    EXPECT_EQ(CountLeapYears(2026, 2025), 0);
    EXPECT_EQ(CountLeapYears(1940, 1939), 0);
}

// The formulas against the official days of 2016 to 2027 and a few years where
// the leap-year correction or the century turns.
TEST(HolidayCalendarTest, PlacesTheEquinoxDays) {
    const struct {
        int year, vernal, autumnal;
    } cases[] = {
        {1948, 21, 23}, {1949, 21, 23}, {2000, 20, 23}, {2012, 20, 22}, {2016, 20, 22},
        {2017, 20, 23}, {2018, 21, 23}, {2019, 21, 23}, {2020, 20, 22}, {2021, 20, 23},
        {2022, 21, 23}, {2023, 21, 23}, {2024, 20, 22}, {2025, 20, 23}, {2026, 20, 23},
        {2027, 21, 23}, {2100, 20, 23},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.year);
        EXPECT_EQ(VernalEquinoxDay(c.year), dayNumberOf(c.year, 3, c.vernal));
        EXPECT_EQ(AutumnalEquinoxDay(c.year), dayNumberOf(c.year, 9, c.autumnal));
    }
}

// Each day where a rule starts, ends or hands over to another, and the days
// derived from neighbouring holidays. An empty name is a working day.
TEST(HolidayCalendarTest, NamesHolidaysWhereTheRulesChange) {
    const struct {
        Day day;
        const char* name;
    } cases[] = {
        {{1947, 1, 1}, ""},
        {{1947, 11, 3}, ""},
        {{1948, 1, 1}, "元旦"},
        // The vernal equinox counts from 1949, the autumnal one already from 1948.
        {{1948, 3, 21}, ""},
        {{1948, 9, 23}, "秋分の日"},
        {{1949, 3, 21}, "春分の日"},
        {{1999, 1, 15}, "成人の日"},
        {{2000, 1, 10}, "成人の日"},
        {{2000, 1, 15}, ""},
        {{1965, 2, 11}, ""},
        {{1966, 2, 11}, "建国記念の日"},
        {{1959, 4, 10}, "皇太子明仁親王の結婚の儀"},
        {{1989, 2, 24}, "昭和天皇の大喪の礼"},
        {{1990, 11, 12}, "即位礼正殿の儀"},
        {{1993, 6, 9}, "皇太子徳仁親王の結婚の儀"},
        {{1988, 4, 29}, "天皇誕生日"},
        {{1989, 4, 29}, "みどりの日"},
        {{2007, 4, 29}, "昭和の日"},
        {{1994, 7, 20}, ""},
        {{1995, 7, 20}, "海の日"},
        {{2003, 7, 21}, "海の日"},
        {{2002, 9, 15}, "敬老の日"},
        {{2003, 9, 15}, "敬老の日"}, // also the third Monday that year
        {{2004, 9, 15}, ""},
        {{2004, 9, 20}, "敬老の日"},
        {{1999, 10, 10}, "体育の日"},
        {{2000, 10, 9}, "体育の日"},
        // The Monday after a Sunday holiday counts from 12 April 1973.
        {{1973, 4, 30}, "振替休日"},
        {{1973, 2, 12}, ""},
        {{1971, 10, 11}, ""},
        // 4 May: working Sunday, substitute Monday, then citizens' holiday.
        {{1986, 5, 4}, ""},
        {{1987, 5, 4}, "振替休日"},
        {{1988, 5, 4}, "国民の休日"},
        {{2006, 5, 4}, "国民の休日"},
        {{2007, 5, 4}, "みどりの日"},
        // The extended substitute: the first working day after a Sunday holiday.
        {{2008, 5, 6}, "振替休日"},
        {{2009, 5, 6}, "振替休日"},
        {{2014, 5, 6}, "振替休日"},
        // Between 敬老の日 and 秋分の日.
        {{2009, 9, 22}, "国民の休日"},
        {{2015, 9, 22}, "国民の休日"},
        {{2026, 9, 22}, "国民の休日"},
        {{2019, 5, 6}, "振替休日"},
        // Only the statutory days count for the neighbours: the day after a
        // substitute holiday stays a working day.
        {{2024, 2, 13}, ""},
        {{2019, 11, 5}, ""},
        // Past the amendments: a date that no rule names is a working day.
        {{2016, 8, 12}, ""},
        {{2030, 12, 23}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(describe(c.day));
        std::wstring name = L"stale";
        EXPECT_EQ(IsHoliday(dayOf(c.day), name), *c.name != '\0');
        EXPECT_EQ(toUtf8(name), c.name);
    }
}

// The amendments since 2007: 山の日, the emperor's birthday moving from
// 23 December to 23 February with 2019 between them, the accession days of 2019,
// スポーツの日, and the Olympic moves of 2020 and 2021.
TEST(HolidayCalendarTest, FollowsTheAmendmentsOfTheHolidayLaw) {
    const struct {
        Day day;
        const char* name;
    } cases[] = {
        {{2015, 8, 11}, ""},
        {{2016, 8, 11}, "山の日"},
        {{2018, 12, 23}, "天皇誕生日"},
        {{2019, 12, 23}, ""},
        {{2019, 2, 23}, ""},
        {{2020, 2, 23}, "天皇誕生日"},
        {{2020, 2, 24}, "振替休日"},
        {{2020, 12, 23}, ""},
        {{2026, 12, 23}, ""},
        {{2026, 2, 23}, "天皇誕生日"},
        {{2019, 5, 1}, "天皇の即位の日"},
        {{2019, 4, 30}, "国民の休日"},
        {{2019, 5, 2}, "国民の休日"},
        {{2019, 10, 22}, "即位礼正殿の儀"},
        {{2018, 5, 1}, ""},
        {{2020, 5, 1}, ""},
        {{2019, 10, 14}, "体育の日"},
        {{2022, 10, 10}, "スポーツの日"},
        {{2020, 7, 20}, ""},
        {{2020, 10, 12}, ""},
        {{2020, 8, 11}, ""},
        {{2021, 7, 19}, ""},
        {{2021, 10, 11}, ""},
        {{2021, 8, 11}, ""},
        {{2021, 8, 9}, "振替休日"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(describe(c.day));
        EXPECT_EQ(nameOf(c.day), c.name);
    }
}

TEST(HolidayCalendarTest, StatutoryRulesLeaveOutDerivedDays) {
    std::wstring name = L"stale";
    EXPECT_FALSE(IsStatutoryHoliday(dayNumberOf(2026, 9, 22), name));
    EXPECT_EQ(name, L"");
    EXPECT_FALSE(IsStatutoryHoliday(dayNumberOf(2020, 2, 24), name));
    EXPECT_TRUE(IsStatutoryHoliday(dayNumberOf(2026, 9, 21), name));
    EXPECT_EQ(name, L"敬老の日");
}

struct YearHolidays {
    int year;
    std::vector<std::pair<Day, const char*>> holidays;
};

// Every holiday of 2016 to 2027 as the government's calendar lists them; only
// 1 January keeps the name the program has always shown, 元旦 (officially 元日).
const std::vector<YearHolidays>& officialHolidays() {
    static const std::vector<YearHolidays> years = {
        {2016,
         {{{2016, 1, 1}, "元旦"},
          {{2016, 1, 11}, "成人の日"},
          {{2016, 2, 11}, "建国記念の日"},
          {{2016, 3, 20}, "春分の日"},
          {{2016, 3, 21}, "振替休日"},
          {{2016, 4, 29}, "昭和の日"},
          {{2016, 5, 3}, "憲法記念日"},
          {{2016, 5, 4}, "みどりの日"},
          {{2016, 5, 5}, "こどもの日"},
          {{2016, 7, 18}, "海の日"},
          {{2016, 8, 11}, "山の日"},
          {{2016, 9, 19}, "敬老の日"},
          {{2016, 9, 22}, "秋分の日"},
          {{2016, 10, 10}, "体育の日"},
          {{2016, 11, 3}, "文化の日"},
          {{2016, 11, 23}, "勤労感謝の日"},
          {{2016, 12, 23}, "天皇誕生日"}}},
        {2017,
         {{{2017, 1, 1}, "元旦"},
          {{2017, 1, 2}, "振替休日"},
          {{2017, 1, 9}, "成人の日"},
          {{2017, 2, 11}, "建国記念の日"},
          {{2017, 3, 20}, "春分の日"},
          {{2017, 4, 29}, "昭和の日"},
          {{2017, 5, 3}, "憲法記念日"},
          {{2017, 5, 4}, "みどりの日"},
          {{2017, 5, 5}, "こどもの日"},
          {{2017, 7, 17}, "海の日"},
          {{2017, 8, 11}, "山の日"},
          {{2017, 9, 18}, "敬老の日"},
          {{2017, 9, 23}, "秋分の日"},
          {{2017, 10, 9}, "体育の日"},
          {{2017, 11, 3}, "文化の日"},
          {{2017, 11, 23}, "勤労感謝の日"},
          {{2017, 12, 23}, "天皇誕生日"}}},
        {2018, {{{2018, 1, 1}, "元旦"},          {{2018, 1, 8}, "成人の日"},
                {{2018, 2, 11}, "建国記念の日"}, {{2018, 2, 12}, "振替休日"},
                {{2018, 3, 21}, "春分の日"},     {{2018, 4, 29}, "昭和の日"},
                {{2018, 4, 30}, "振替休日"},     {{2018, 5, 3}, "憲法記念日"},
                {{2018, 5, 4}, "みどりの日"},    {{2018, 5, 5}, "こどもの日"},
                {{2018, 7, 16}, "海の日"},       {{2018, 8, 11}, "山の日"},
                {{2018, 9, 17}, "敬老の日"},     {{2018, 9, 23}, "秋分の日"},
                {{2018, 9, 24}, "振替休日"},     {{2018, 10, 8}, "体育の日"},
                {{2018, 11, 3}, "文化の日"},     {{2018, 11, 23}, "勤労感謝の日"},
                {{2018, 12, 23}, "天皇誕生日"},  {{2018, 12, 24}, "振替休日"}}},
        {2019,
         {{{2019, 1, 1}, "元旦"},
          {{2019, 1, 14}, "成人の日"},
          {{2019, 2, 11}, "建国記念の日"},
          {{2019, 3, 21}, "春分の日"},
          {{2019, 4, 29}, "昭和の日"},
          {{2019, 4, 30}, "国民の休日"},
          {{2019, 5, 1}, "天皇の即位の日"},
          {{2019, 5, 2}, "国民の休日"},
          {{2019, 5, 3}, "憲法記念日"},
          {{2019, 5, 4}, "みどりの日"},
          {{2019, 5, 5}, "こどもの日"},
          {{2019, 5, 6}, "振替休日"},
          {{2019, 7, 15}, "海の日"},
          {{2019, 8, 11}, "山の日"},
          {{2019, 8, 12}, "振替休日"},
          {{2019, 9, 16}, "敬老の日"},
          {{2019, 9, 23}, "秋分の日"},
          {{2019, 10, 14}, "体育の日"},
          {{2019, 10, 22}, "即位礼正殿の儀"},
          {{2019, 11, 3}, "文化の日"},
          {{2019, 11, 4}, "振替休日"},
          {{2019, 11, 23}, "勤労感謝の日"}}},
        {2020,
         {{{2020, 1, 1}, "元旦"},
          {{2020, 1, 13}, "成人の日"},
          {{2020, 2, 11}, "建国記念の日"},
          {{2020, 2, 23}, "天皇誕生日"},
          {{2020, 2, 24}, "振替休日"},
          {{2020, 3, 20}, "春分の日"},
          {{2020, 4, 29}, "昭和の日"},
          {{2020, 5, 3}, "憲法記念日"},
          {{2020, 5, 4}, "みどりの日"},
          {{2020, 5, 5}, "こどもの日"},
          {{2020, 5, 6}, "振替休日"},
          {{2020, 7, 23}, "海の日"},
          {{2020, 7, 24}, "スポーツの日"},
          {{2020, 8, 10}, "山の日"},
          {{2020, 9, 21}, "敬老の日"},
          {{2020, 9, 22}, "秋分の日"},
          {{2020, 11, 3}, "文化の日"},
          {{2020, 11, 23}, "勤労感謝の日"}}},
        {2021,
         {{{2021, 1, 1}, "元旦"},
          {{2021, 1, 11}, "成人の日"},
          {{2021, 2, 11}, "建国記念の日"},
          {{2021, 2, 23}, "天皇誕生日"},
          {{2021, 3, 20}, "春分の日"},
          {{2021, 4, 29}, "昭和の日"},
          {{2021, 5, 3}, "憲法記念日"},
          {{2021, 5, 4}, "みどりの日"},
          {{2021, 5, 5}, "こどもの日"},
          {{2021, 7, 22}, "海の日"},
          {{2021, 7, 23}, "スポーツの日"},
          {{2021, 8, 8}, "山の日"},
          {{2021, 8, 9}, "振替休日"},
          {{2021, 9, 20}, "敬老の日"},
          {{2021, 9, 23}, "秋分の日"},
          {{2021, 11, 3}, "文化の日"},
          {{2021, 11, 23}, "勤労感謝の日"}}},
        {2022,
         {{{2022, 1, 1}, "元旦"},
          {{2022, 1, 10}, "成人の日"},
          {{2022, 2, 11}, "建国記念の日"},
          {{2022, 2, 23}, "天皇誕生日"},
          {{2022, 3, 21}, "春分の日"},
          {{2022, 4, 29}, "昭和の日"},
          {{2022, 5, 3}, "憲法記念日"},
          {{2022, 5, 4}, "みどりの日"},
          {{2022, 5, 5}, "こどもの日"},
          {{2022, 7, 18}, "海の日"},
          {{2022, 8, 11}, "山の日"},
          {{2022, 9, 19}, "敬老の日"},
          {{2022, 9, 23}, "秋分の日"},
          {{2022, 10, 10}, "スポーツの日"},
          {{2022, 11, 3}, "文化の日"},
          {{2022, 11, 23}, "勤労感謝の日"}}},
        {2023,
         {{{2023, 1, 1}, "元旦"},
          {{2023, 1, 2}, "振替休日"},
          {{2023, 1, 9}, "成人の日"},
          {{2023, 2, 11}, "建国記念の日"},
          {{2023, 2, 23}, "天皇誕生日"},
          {{2023, 3, 21}, "春分の日"},
          {{2023, 4, 29}, "昭和の日"},
          {{2023, 5, 3}, "憲法記念日"},
          {{2023, 5, 4}, "みどりの日"},
          {{2023, 5, 5}, "こどもの日"},
          {{2023, 7, 17}, "海の日"},
          {{2023, 8, 11}, "山の日"},
          {{2023, 9, 18}, "敬老の日"},
          {{2023, 9, 23}, "秋分の日"},
          {{2023, 10, 9}, "スポーツの日"},
          {{2023, 11, 3}, "文化の日"},
          {{2023, 11, 23}, "勤労感謝の日"}}},
        {2024, {{{2024, 1, 1}, "元旦"},          {{2024, 1, 8}, "成人の日"},
                {{2024, 2, 11}, "建国記念の日"}, {{2024, 2, 12}, "振替休日"},
                {{2024, 2, 23}, "天皇誕生日"},   {{2024, 3, 20}, "春分の日"},
                {{2024, 4, 29}, "昭和の日"},     {{2024, 5, 3}, "憲法記念日"},
                {{2024, 5, 4}, "みどりの日"},    {{2024, 5, 5}, "こどもの日"},
                {{2024, 5, 6}, "振替休日"},      {{2024, 7, 15}, "海の日"},
                {{2024, 8, 11}, "山の日"},       {{2024, 8, 12}, "振替休日"},
                {{2024, 9, 16}, "敬老の日"},     {{2024, 9, 22}, "秋分の日"},
                {{2024, 9, 23}, "振替休日"},     {{2024, 10, 14}, "スポーツの日"},
                {{2024, 11, 3}, "文化の日"},     {{2024, 11, 4}, "振替休日"},
                {{2024, 11, 23}, "勤労感謝の日"}}},
        {2025,
         {{{2025, 1, 1}, "元旦"},
          {{2025, 1, 13}, "成人の日"},
          {{2025, 2, 11}, "建国記念の日"},
          {{2025, 2, 23}, "天皇誕生日"},
          {{2025, 2, 24}, "振替休日"},
          {{2025, 3, 20}, "春分の日"},
          {{2025, 4, 29}, "昭和の日"},
          {{2025, 5, 3}, "憲法記念日"},
          {{2025, 5, 4}, "みどりの日"},
          {{2025, 5, 5}, "こどもの日"},
          {{2025, 5, 6}, "振替休日"},
          {{2025, 7, 21}, "海の日"},
          {{2025, 8, 11}, "山の日"},
          {{2025, 9, 15}, "敬老の日"},
          {{2025, 9, 23}, "秋分の日"},
          {{2025, 10, 13}, "スポーツの日"},
          {{2025, 11, 3}, "文化の日"},
          {{2025, 11, 23}, "勤労感謝の日"},
          {{2025, 11, 24}, "振替休日"}}},
        {2026,
         {{{2026, 1, 1}, "元旦"},
          {{2026, 1, 12}, "成人の日"},
          {{2026, 2, 11}, "建国記念の日"},
          {{2026, 2, 23}, "天皇誕生日"},
          {{2026, 3, 20}, "春分の日"},
          {{2026, 4, 29}, "昭和の日"},
          {{2026, 5, 3}, "憲法記念日"},
          {{2026, 5, 4}, "みどりの日"},
          {{2026, 5, 5}, "こどもの日"},
          {{2026, 5, 6}, "振替休日"},
          {{2026, 7, 20}, "海の日"},
          {{2026, 8, 11}, "山の日"},
          {{2026, 9, 21}, "敬老の日"},
          {{2026, 9, 22}, "国民の休日"},
          {{2026, 9, 23}, "秋分の日"},
          {{2026, 10, 12}, "スポーツの日"},
          {{2026, 11, 3}, "文化の日"},
          {{2026, 11, 23}, "勤労感謝の日"}}},
        {2027,
         {{{2027, 1, 1}, "元旦"},
          {{2027, 1, 11}, "成人の日"},
          {{2027, 2, 11}, "建国記念の日"},
          {{2027, 2, 23}, "天皇誕生日"},
          {{2027, 3, 21}, "春分の日"},
          {{2027, 3, 22}, "振替休日"},
          {{2027, 4, 29}, "昭和の日"},
          {{2027, 5, 3}, "憲法記念日"},
          {{2027, 5, 4}, "みどりの日"},
          {{2027, 5, 5}, "こどもの日"},
          {{2027, 7, 19}, "海の日"},
          {{2027, 8, 11}, "山の日"},
          {{2027, 9, 20}, "敬老の日"},
          {{2027, 9, 23}, "秋分の日"},
          {{2027, 10, 11}, "スポーツの日"},
          {{2027, 11, 3}, "文化の日"},
          {{2027, 11, 23}, "勤労感謝の日"}}},
    };
    return years;
}

std::vector<std::string> listed(const std::vector<Holiday>& holidays) {
    std::vector<std::string> lines;
    for (const Holiday& h : holidays) {
        const CalendarDate d = calendarDateOf(h.date);
        lines.push_back(describe({d.year, d.month, d.day}) + " " + toUtf8(h.name));
    }
    return lines;
}

std::vector<std::string> listed(const std::vector<std::pair<Day, const char*>>& holidays) {
    std::vector<std::string> lines;
    for (const auto& [day, name] : holidays)
        lines.push_back(describe(day) + " " + name);
    return lines;
}

TEST(HolidayCalendarTest, ListsEveryHolidayOf2016To2027AsTheOfficialCalendar) {
    for (const YearHolidays& year : officialHolidays()) {
        SCOPED_TRACE(year.year);
        EXPECT_EQ(listed(holidaysOfYear(year.year)), listed(year.holidays));
    }
}

} // namespace
} // namespace kelvo
