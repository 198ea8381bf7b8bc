#include "platform/Foreground.h"

namespace kelvo::win {

void bringWindowToFront(HWND window) {
    if (!window)
        return;
    const DWORD ownThread = GetCurrentThreadId();
    const DWORD foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    const bool attached = foregroundThread != 0 && foregroundThread != ownThread &&
                          AttachThreadInput(ownThread, foregroundThread, TRUE);
    DWORD lockTimeout = 0;
    SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &lockTimeout, 0);
    SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, nullptr, 0);
    SetForegroundWindow(window);
    SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                          reinterpret_cast<void*>(static_cast<UINT_PTR>(lockTimeout)), 0);
    if (attached)
        AttachThreadInput(ownThread, foregroundThread, FALSE);
}

} // namespace kelvo::win
