#include "storage/DateTime.h"

#include <gtest/gtest.h>

namespace kelvo {
namespace {

DateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return encodeDateTime({y, mo, d, h, mi, s, 0}).value();
}

TEST(DateTimeTest, FormatsAsTheJapaneseShortDateAndLongTime) {
    const struct {
        DateTime value;
        const wchar_t* text;
    } cases[] = {
        {0.0, L"1899/12/30"},
        {0.5, L"1899/12/30 12:00:00"},
        {-1.0, L"1899/12/29"},
        {-1.5, L"1899/12/29 12:00:00"},
        {1.0, L"1899/12/31"},
        {at(2016, 5, 6, 7, 30), L"2016/05/06 7:30:00"},
        {at(2016, 5, 6), L"2016/05/06"},
        {at(2000, 2, 29, 23, 59, 59), L"2000/02/29 23:59:59"},
        {at(2016, 12, 31, 0, 0, 1), L"2016/12/31 0:00:01"},
        {at(1, 1, 1), L"0001/01/01"},
        {at(9999, 12, 31, 23, 59, 59), L"9999/12/31 23:59:59"},
        // 7:30 built from fractions lies a hair below 7:30 as a double.
        {at(2016, 5, 6) + 7.0 / 24 + 30.0 / 1440, L"2016/05/06 7:30:00"},
        {at(2016, 5, 6, 7, 30) - 1e-10, L"2016/05/06 7:30:00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(dateTimeToString(c.value), c.text);
    }
}

TEST(DateTimeTest, ParsesDatesTimesAndBoth) {
    const struct {
        const wchar_t* text;
        DateTime value;
    } cases[] = {
        {L"2016/05/06 7:30:00", at(2016, 5, 6, 7, 30)},
        {L"2016/5/6 07:30", at(2016, 5, 6, 7, 30)},
        {L"  2016/5/6 \t 7:30:05  ", at(2016, 5, 6, 7, 30, 5)},
        {L"2016/05/06", at(2016, 5, 6)},
        {L"1899/12/29", -1.0},
        {L"1899/12/29 12:00:00", -1.5},
        {L"12:00", 0.5},
        {L"6:00:00", 0.25},
        {L"0:00", 0.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
        const auto parsed = parseDateTime(c.text);
        ASSERT_TRUE(parsed.has_value());
        EXPECT_EQ(*parsed, c.value);
    }
}

TEST(DateTimeTest, RejectsTextThatIsNoDateOrTime) {
    const wchar_t* cases[] = {
        L"",
        L"   ",
        L"abc",
        L"2016/13/01",
        L"2015/02/29",
        L"2016/04/31",
        L"0/1/1",
        L"2016/5",
        L"2016/5/6/7",
        L"2016-05-06",
        L"24:00",
        L"7:60",
        L"7:30:60",
        L"7",
        L"7:30:00:00",
        L"7:30 2016/5/6",
        L"2016/5/6 7:30 x",
        L"2016/5/6 7",
        L"+7:30",
        L"２０１６/5/6",
    };
    for (const wchar_t* text : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(text)));
        EXPECT_FALSE(parseDateTime(text).has_value());
    }
}

TEST(DateTimeTest, TextRoundTripKeepsTheValue) {
    const DateTime values[] = {0.0,
                               0.5,
                               -1.0,
                               -1.5,
                               at(2016, 5, 6, 7, 30),
                               at(2016, 5, 6),
                               at(1899, 1, 1, 18, 45, 30),
                               at(2100, 3, 1, 0, 0, 1)};
    for (const DateTime value : values) {
        SCOPED_TRACE(value);
        EXPECT_EQ(parseDateTime(dateTimeToString(value)), value);
    }
}

TEST(DateTimeTest, EncodesOnlyValidParts) {
    EXPECT_FALSE(encodeDateTime({2016, 2, 30, 0, 0, 0, 0}));
    EXPECT_FALSE(encodeDateTime({2016, 0, 1, 0, 0, 0, 0}));
    EXPECT_FALSE(encodeDateTime({0, 1, 1, 0, 0, 0, 0}));
    EXPECT_FALSE(encodeDateTime({2016, 1, 1, 0, 0, 0, 1000}));
    EXPECT_TRUE(encodeDateTime({2016, 2, 29, 23, 59, 59, 999}));
}

TEST(DateTimeTest, DecodesTheDayAndTimeOfNegativeValues) {
    const DateParts p = decodeDateTime(-1.25);
    EXPECT_EQ(p.year, 1899);
    EXPECT_EQ(p.month, 12);
    EXPECT_EQ(p.day, 29);
    EXPECT_EQ(p.hour, 6);
    EXPECT_EQ(p.minute, 0);
}

} // namespace
} // namespace kelvo
