#pragma once
// Integers as the settings files write them: decimal, or hexadecimal digits
// taken as a 32-bit pattern.
#include <optional>
#include <string_view>

namespace kelvo {

// At most eight hex digits, read as a 32-bit pattern: "FFFFFFFF" is -1.
std::optional<int> parseHexInt32(std::wstring_view digits);

enum class PlusSign { Refused, Accepted };
// Decimal digits with an optional minus (and plus, if accepted); nothing when
// the text has anything else or leaves the 32-bit range.
std::optional<int> parseDecimalInt32(std::wstring_view text, PlusSign plus);

} // namespace kelvo
