// Exported functions of cbthook.dll. The library needs no set-up at load time:
// its thread is started by StartCBTHook, never from DllMain, and holds its own
// reference to the library, so an unload without StopCBTHook is safe.
#include "hook/cbthook/CbtHook.h"

#include "hook/HookHandles.h"
#include "hook/cbthook/ForegroundWatcher.h"

namespace {

// Start and stop may come from different threads of the program.
constinit SRWLOCK startStopLock = SRWLOCK_INIT;

} // namespace

extern "C" {

BOOL WINAPI StartCBTHook(HWND target) {
    try {
        kelvo::hook::ExclusiveLock lock(startStopLock);
        return kelvo::hook::foregroundWatcher().start(target) ? TRUE : FALSE;
    } catch (...) {
        // Nothing may leave a function called from another module.
        return FALSE;
    }
}

void WINAPI StopCBTHook() {
    try {
        kelvo::hook::ExclusiveLock lock(startStopLock);
        kelvo::hook::foregroundWatcher().stop();
    } catch (...) {
    }
}

} // extern "C"
