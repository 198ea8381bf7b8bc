#include "core/TextCompare.h"

#include <cwctype>

namespace kelvo {

wchar_t foldCase(wchar_t c) {
    if (c < 0x80)
        return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + (L'a' - L'A')) : c;
    return static_cast<wchar_t>(std::towlower(static_cast<std::wint_t>(c)));
}

bool sameTextIgnoringCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (foldCase(a[i]) != foldCase(b[i]))
            return false;
    return true;
}

} // namespace kelvo
