#pragma once
// Date-time values as the data files store them: a double counting days since
// 1899-12-30, the fraction being the time of day. Text form is the Japanese
// short date and long time: "2016/05/06 7:30:00", the time left out at midnight.
#include <optional>
#include <string>
#include <string_view>

namespace kelvo {

using DateTime = double;

struct DateParts {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0, millisecond = 0;
};

// Nothing when the parts do not form a valid date or time.
std::optional<DateTime> encodeDateTime(const DateParts& parts);
DateParts decodeDateTime(DateTime value);

// "yyyy/mm/dd", then " h:nn:ss" unless the time of day is exactly 00:00:00.
std::wstring dateTimeToString(DateTime value);
// Accepts a date ("2016/5/6"), a time ("7:30", "7:30:00") or both separated by
// blanks; nothing for anything else.
std::optional<DateTime> parseDateTime(std::wstring_view text);

} // namespace kelvo
