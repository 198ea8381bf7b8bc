#include "storage/IntegerText.h"

#include <cstdint>

namespace kelvo {

std::optional<int> parseHexInt32(std::wstring_view digits) {
    if (digits.empty() || digits.size() > 8)
        return std::nullopt;
    std::uint32_t value = 0;
    for (wchar_t c : digits) {
        unsigned digit = 0;
        if (c >= L'0' && c <= L'9')
            digit = static_cast<unsigned>(c - L'0');
        else if (c >= L'a' && c <= L'f')
            digit = static_cast<unsigned>(c - L'a' + 10);
        else if (c >= L'A' && c <= L'F')
            digit = static_cast<unsigned>(c - L'A' + 10);
        else
            return std::nullopt;
        value = value << 4 | digit;
    }
    return static_cast<std::int32_t>(value);
}

std::optional<int> parseDecimalInt32(std::wstring_view text, PlusSign plus) {
    bool negative = false;
    if (!text.empty() && (text[0] == L'-' || (plus == PlusSign::Accepted && text[0] == L'+'))) {
        negative = text[0] == L'-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    std::int64_t value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return std::nullopt;
        value = value * 10 + (c - L'0');
        if (value > 2147483648LL)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > 2147483647LL)
        return std::nullopt;
    return static_cast<int>(value);
}

} // namespace kelvo
