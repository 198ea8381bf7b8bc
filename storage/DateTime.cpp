#include "storage/DateTime.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace kelvo {
namespace {

constexpr std::int64_t kMillisecondsPerDay = 86'400'000;

// Days from 1970-01-01 in the proleptic Gregorian calendar (H. Hinnant's algorithm).
constexpr std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

struct CivilDate {
    std::int64_t year;
    int month, day;
};

constexpr CivilDate civilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2), static_cast<int>(m),
            static_cast<int>(d)};
}

constexpr std::int64_t kEpochDays = daysFromCivil(1899, 12, 30);

bool isLeapYear(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(int y, int m) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeapYear(y) ? 29 : kDays[m - 1];
}

bool isValidDate(int y, int m, int d) {
    return y >= 1 && y <= 9999 && m >= 1 && m <= 12 && d >= 1 && d <= daysInMonth(y, m);
}

bool isValidTime(const DateParts& p) {
    return p.hour >= 0 && p.hour < 24 && p.minute >= 0 && p.minute < 60 && p.second >= 0 &&
           p.second < 60 && p.millisecond >= 0 && p.millisecond < 1000;
}

// 0001-01-01 is day -693593 and 9999-12-31 day 2958465.
bool isInCalendarRange(double value) {
    return std::isfinite(value) && value > -693594.0 && value < 2958466.0;
}

bool isBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == 0x3000;
}

std::vector<std::wstring_view> splitAtBlanks(std::wstring_view text) {
    std::vector<std::wstring_view> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isBlank(text[i]))
            ++i;
        const std::size_t start = i;
        while (i < text.size() && !isBlank(text[i]))
            ++i;
        if (i > start)
            words.push_back(text.substr(start, i - start));
    }
    return words;
}

// Numbers of 1 to `maxDigits` ASCII digits separated by `separator`.
std::optional<std::vector<int>> splitNumbers(std::wstring_view word, wchar_t separator,
                                             std::size_t maxDigits) {
    std::vector<int> numbers;
    std::size_t i = 0;
    for (;;) {
        const std::size_t start = i;
        int value = 0;
        while (i < word.size() && word[i] >= L'0' && word[i] <= L'9' && i - start < maxDigits)
            value = value * 10 + (word[i++] - L'0');
        if (i == start)
            return std::nullopt;
        numbers.push_back(value);
        if (i == word.size())
            return numbers;
        if (word[i++] != separator)
            return std::nullopt;
    }
}

bool parseDate(std::wstring_view word, DateParts& parts) {
    const auto numbers = splitNumbers(word, L'/', 4);
    if (!numbers || numbers->size() != 3)
        return false;
    parts.year = (*numbers)[0];
    parts.month = (*numbers)[1];
    parts.day = (*numbers)[2];
    return true;
}

bool parseTime(std::wstring_view word, DateParts& parts) {
    const auto numbers = splitNumbers(word, L':', 2);
    if (!numbers || numbers->size() < 2 || numbers->size() > 3)
        return false;
    parts.hour = (*numbers)[0];
    parts.minute = (*numbers)[1];
    parts.second = numbers->size() == 3 ? (*numbers)[2] : 0;
    return true;
}

void appendNumber(std::wstring& text, int value, std::size_t minDigits) {
    std::wstring digits = std::to_wstring(value);
    if (digits.size() < minDigits)
        text.append(minDigits - digits.size(), L'0');
    text += digits;
}

bool looksLikeDate(std::wstring_view word) {
    return word.find(L'/') != std::wstring_view::npos;
}

} // namespace

std::optional<DateTime> encodeDateTime(const DateParts& parts) {
    if (!isValidDate(parts.year, parts.month, parts.day) || !isValidTime(parts))
        return std::nullopt;
    const auto days =
        static_cast<double>(daysFromCivil(parts.year, static_cast<unsigned>(parts.month),
                                          static_cast<unsigned>(parts.day)) -
                            kEpochDays);
    const double time =
        static_cast<double>(((parts.hour * 60 + parts.minute) * 60 + parts.second) * 1000 +
                            parts.millisecond) /
        static_cast<double>(kMillisecondsPerDay);
    // Before the epoch the whole part is still the day and the fraction still
    // the time of day, so the time moves away from zero.
    return days < 0 ? days - time : days + time;
}

DateParts decodeDateTime(DateTime value) {
    if (!isInCalendarRange(value))
        value = 0; // nothing sensible to show outside the years 1 to 9999
    // Whole milliseconds first: 7:30 computed as a sum must not come out as 7:29:59.999.
    const std::int64_t ms = std::llround(value * static_cast<double>(kMillisecondsPerDay));
    const std::int64_t days = ms / kMillisecondsPerDay; // toward zero: the day of a negative value
    const std::int64_t timeOfDay = std::llabs(ms) % kMillisecondsPerDay;
    const CivilDate date = civilFromDays(days + kEpochDays);
    DateParts parts;
    parts.year = static_cast<int>(date.year);
    parts.month = date.month;
    parts.day = date.day;
    parts.hour = static_cast<int>(timeOfDay / 3'600'000);
    parts.minute = static_cast<int>(timeOfDay / 60'000 % 60);
    parts.second = static_cast<int>(timeOfDay / 1000 % 60);
    parts.millisecond = static_cast<int>(timeOfDay % 1000);
    return parts;
}

std::wstring dateTimeToString(DateTime value) {
    const DateParts p = decodeDateTime(value);
    std::wstring text;
    appendNumber(text, p.year, 4);
    text += L'/';
    appendNumber(text, p.month, 2);
    text += L'/';
    appendNumber(text, p.day, 2);
    if (p.hour != 0 || p.minute != 0 || p.second != 0) {
        text += L' ';
        appendNumber(text, p.hour, 1);
        text += L':';
        appendNumber(text, p.minute, 2);
        text += L':';
        appendNumber(text, p.second, 2);
    }
    return text;
}

std::optional<DateTime> parseDateTime(std::wstring_view text) {
    const auto words = splitAtBlanks(text);
    DateParts parts;
    bool ok = false;
    if (words.size() == 1)
        ok = looksLikeDate(words[0]) ? parseDate(words[0], parts) : parseTime(words[0], parts);
    else if (words.size() == 2)
        ok = parseDate(words[0], parts) && parseTime(words[1], parts);
    if (!ok)
        return std::nullopt;
    return encodeDateTime(parts);
}

} // namespace kelvo
