#include "platform/Foreground.h"

namespace kelvo::win {

bool bringWindowToFront(HWND window) {
    if (!window)
        return false;
    const DWORD ownThread = GetCurrentThreadId();
    const DWORD foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    const bool attached = foregroundThread != 0 && foregroundThread != ownThread &&
                          AttachThreadInput(ownThread, foregroundThread, TRUE);
    DWORD lockTimeout = 0;
    SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &lockTimeout, 0);
    SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, nullptr, 0);
    const bool brought = SetForegroundWindow(window) != FALSE;
    SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                          reinterpret_cast<void*>(static_cast<UINT_PTR>(lockTimeout)), 0);
    if (attached)
        AttachThreadInput(ownThread, foregroundThread, FALSE);
    return brought;
}

} // namespace kelvo::win
