#pragma once
// The facts the launching and tracking decisions need of real windows.
#include "launcher/LaunchPlanning.h"

#include <windows.h>

#include <vector>

namespace kelvo {

// The program's own windows: launchers, main window, active-window button,
// hint. They are never taken for a launched application's window.
bool isProgramWindow(HWND window);

// Owner, visibility, process and image path of one window; handle 0 for none.
WindowFacts describeWindow(HWND window);
// Every top-level window, in the system's order (front to back).
std::vector<WindowFacts> describeTopLevelWindows();

// The foreground window, or none when it is one of the program's own windows
// or the desktop.
HWND ForegroundCandidate();

// The desktop shell's own process: explorer.exe in the Windows folder.
bool isDesktopShellImage(const std::wstring& imagePath);

inline HWND toHwnd(WindowHandle handle) {
    return reinterpret_cast<HWND>(handle);
}
inline WindowHandle toHandle(HWND window) {
    return reinterpret_cast<WindowHandle>(window);
}

} // namespace kelvo
