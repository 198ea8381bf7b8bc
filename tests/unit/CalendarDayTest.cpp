#include "schedule/CalendarDay.h"

#include <gtest/gtest.h>

namespace kelvo {
namespace {

// The day rules see whole days: the time of day is split off, also before
// 1899-12-30 where the fraction counts away from zero.
TEST(CalendarDayTest, SplitsADateTimeIntoDayWeekdayAndTime) {
    const struct {
        DateTime value;
        DayNumber day;
        int weekday;
        std::int32_t millisecond;
    } cases[] = {
        {0.0, 0, 6, 0},            // 1899-12-30, a Saturday
        {1.75, 1, 0, 64'800'000},  // 1899-12-31 18:00, a Sunday
        {-1.5, -1, 5, 43'200'000}, // 1899-12-29 12:00, a Friday
        {-7.0, -7, 6, 0},          // a week earlier
        {encodeDateTime({2026, 3, 20, 23, 59, 59, 999}).value(), 46101, 5, 86'399'999},
        // A hair below midnight as a double is still midnight of the next day,
        // as the text form shows it.
        {46102.0 - 1e-10, 46102, 6, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(dayNumberOf(c.value), c.day);
        EXPECT_EQ(dayOfWeek(c.day), c.weekday);
        EXPECT_EQ(millisecondOfDay(c.value), c.millisecond);
        EXPECT_EQ(dateTimeToString(dateTimeOf(c.day, c.millisecond)), dateTimeToString(c.value));
    }
    EXPECT_EQ(dayNumberOf(2026, 3, 20), 46101);
}

} // namespace
} // namespace kelvo
