#pragma once
// Removing and giving back the taskbar button of another program's window.
#include <windows.h>

namespace kelvo::win {

// A window handle of 0 does nothing; failures are silent, since a taskbar
// that cannot be asked (none running, no shell) leaves nothing to correct.
void hideTaskbarButton(HWND window);
void showTaskbarButton(HWND window);

} // namespace kelvo::win
