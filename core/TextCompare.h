#pragma once
// Comparisons of names as Windows compares file and INI names: without regard
// to letter case.
#include <string_view>

namespace kelvo {

wchar_t foldCase(wchar_t c);
bool sameTextIgnoringCase(std::wstring_view a, std::wstring_view b);

} // namespace kelvo
