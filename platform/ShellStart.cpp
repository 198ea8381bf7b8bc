#include "platform/ShellStart.h"

#include <shellapi.h>
#include <shlwapi.h>

namespace kelvo::win {

ShellStartResult shellStart(const ShellStartRequest& request) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    // Keep the process handle, let DDE conversations finish, expand %NAME%,
    // and no error boxes of the shell.
    info.fMask =
        SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_DDEWAIT | SEE_MASK_DOENVSUBST | SEE_MASK_FLAG_NO_UI;
    info.hwnd = request.owner;
    info.lpVerb = request.verb;
    info.lpFile = request.file.c_str();
    info.lpParameters = request.parameters.empty() ? nullptr : request.parameters.c_str();
    info.nShow = SW_SHOWNORMAL;
    ShellStartResult result;
    const bool ok = ShellExecuteExW(&info) != FALSE;
    result.instanceValue = reinterpret_cast<std::intptr_t>(info.hInstApp);
    if (ok && result.instanceValue <= 32)
        result.instanceValue = 33; // some shells leave the value unset on success
    if (!ok && result.instanceValue > 32)
        result.instanceValue = SE_ERR_NOASSOC;
    result.process.reset(info.hProcess);
    return result;
}

std::wstring associatedExecutable(const std::wstring& extension, bool& failed) {
    wchar_t buffer[MAX_PATH * 2]{};
    DWORD size = static_cast<DWORD>(std::size(buffer));
    failed = FAILED(AssocQueryStringW(ASSOCF_NONE, ASSOCSTR_EXECUTABLE, extension.c_str(), nullptr,
                                      buffer, &size));
    return failed ? std::wstring{} : std::wstring(buffer);
}

std::wstring findExecutable(const std::wstring& path) {
    wchar_t buffer[MAX_PATH]{};
    if (reinterpret_cast<std::intptr_t>(FindExecutableW(path.c_str(), nullptr, buffer)) <= 32)
        return {};
    return buffer;
}

} // namespace kelvo::win
