#include "platform/Processes.h"

#include "platform/Handles.h"

namespace kelvo::win {
namespace {

// The limited right is enough for exit codes and image names, and is granted
// for elevated processes too, where the full query right is refused.
UniqueHandle openForQuery(DWORD processId) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process)
        process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId);
    return UniqueHandle(process);
}

} // namespace

bool processStillActive(DWORD processId) {
    if (processId == 0)
        return false;
    UniqueHandle process = openForQuery(processId);
    DWORD exitCode = 0;
    return process && GetExitCodeProcess(process.get(), &exitCode) && exitCode == STILL_ACTIVE;
}

std::wstring processImagePath(DWORD processId) {
    if (processId == 0)
        return {};
    UniqueHandle process = openForQuery(processId);
    if (!process)
        return {};
    wchar_t buffer[MAX_PATH * 2]{};
    DWORD size = static_cast<DWORD>(std::size(buffer));
    if (!QueryFullProcessImageNameW(process.get(), 0, buffer, &size))
        return {};
    std::wstring path(buffer, size);
    // Some processes report their path in the kernel's form.
    if (path.rfind(L"\\??\\", 0) == 0)
        path.erase(0, 4);
    return path;
}

bool isNative64BitProcess(DWORD processId, bool windowsIs64Bit) {
    if (!windowsIs64Bit || processId == 0)
        return false;
    UniqueHandle process = openForQuery(processId);
    BOOL wow64 = FALSE;
    return process && IsWow64Process(process.get(), &wow64) && !wow64;
}

bool waitForInputIdle(HANDLE process, DWORD milliseconds) {
    if (!process)
        return true;
    return WaitForInputIdle(process, milliseconds) != WAIT_TIMEOUT;
}

} // namespace kelvo::win
