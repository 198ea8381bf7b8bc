#pragma once
// The top-level windows of the desktop and the few facts asked of each.
#include <windows.h>

#include <vector>

namespace kelvo::win {

// In the system's enumeration order (front to back).
std::vector<HWND> topLevelWindows();

DWORD windowProcessId(HWND window);

// The shell's desktop: a "Progman" or "WorkerW" window holding the folder view
// of the desktop icons. It is never an application's window.
bool isShellDesktopView(HWND window);

} // namespace kelvo::win
