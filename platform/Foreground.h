#pragma once
// Bringing a window to the front although another program has the foreground.
#include <windows.h>

namespace kelvo::win {

// Windows refuses SetForegroundWindow to a process that is not in front; joining
// the input of the foreground thread and lifting the foreground lock time-out
// for the call (restored afterwards) makes it work. True when the window got
// the foreground.
bool bringWindowToFront(HWND window);

} // namespace kelvo::win
