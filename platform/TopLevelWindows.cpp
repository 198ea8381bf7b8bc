#include "platform/TopLevelWindows.h"

#include <cwchar>

namespace kelvo::win {
namespace {

BOOL CALLBACK collectWindow(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

} // namespace

std::vector<HWND> topLevelWindows() {
    std::vector<HWND> windows;
    EnumWindows(&collectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

DWORD windowProcessId(HWND window) {
    DWORD processId = 0;
    if (window)
        GetWindowThreadProcessId(window, &processId);
    return processId;
}

bool isShellDesktopView(HWND window) {
    wchar_t className[32]{};
    if (!window || !GetClassNameW(window, className, 32))
        return false;
    if (std::wcscmp(className, L"Progman") != 0 && std::wcscmp(className, L"WorkerW") != 0)
        return false;
    return FindWindowExW(window, nullptr, L"SHELLDLL_DefView", nullptr) != nullptr;
}

} // namespace kelvo::win
