#include "platform/Environment.h"

#include <windows.h>

namespace kelvo::win {

std::wstring expandEnvironment(const std::wstring& text) {
    if (text.find(L'%') == std::wstring::npos)
        return text;
    const DWORD needed = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    if (needed == 0)
        return text;
    std::wstring expanded(needed, L'\0');
    const DWORD written = ExpandEnvironmentStringsW(text.c_str(), expanded.data(), needed);
    if (written == 0 || written > needed)
        return text;
    expanded.resize(written - 1); // cut at the terminator
    return expanded;
}

} // namespace kelvo::win
