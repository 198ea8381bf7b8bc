#pragma once
// The one place where text changes encoding. Inside the program every string is
// wide; files of the data folder are code page 932 (Shift-JIS) and tools print UTF-8.
#include <string>
#include <string_view>

namespace kelvo {

// Characters that code page 932 cannot hold become '?', as the Windows
// conversion does without a default character.
std::string toCp932(std::wstring_view text);
// Bytes that are not valid code page 932 become U+30FB ('・'); as the Windows
// conversion, a lone trail byte never swallows the following character.
std::wstring fromCp932(std::string_view bytes);

std::string toUtf8(std::wstring_view text);
std::wstring fromUtf8(std::string_view bytes);

} // namespace kelvo
