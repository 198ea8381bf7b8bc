// Exported functions and load-time set-up of inputhook.dll.
#include "hook/inputhook/InputHook.h"

#include "hook/HookHandles.h"
#include "hook/inputhook/LowLevelInputHooks.h"
#include "hook/inputhook/SharedHookBlock.h"

#include <cstdint>

namespace {

using namespace kelvo::hook;

constexpr char kMouseMessageName[] = "KelvoLauncher_Mouse";
constexpr char kKeyMessageName[] = "KelvoLauncher_Key";

// The block lives as long as the library is loaded, so that other modules can
// read it while the hooks run.
constinit UniqueHandle sharedBlock;
// Start and stop may come from different threads of the program.
constinit SRWLOCK startStopLock = SRWLOCK_INIT;

std::uint32_t asBlockField(const void* handle) {
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(handle));
}

void openSharedBlock() {
    // Opens the block instead when another process created it already.
    sharedBlock.reset(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                         sizeof(SharedHookBlock), kSharedHookBlockName));
}

void recordInstalledHooks(SharedHookBlock& block, const HookTarget& target) {
    const LowLevelInputHooks& hooks = lowLevelInputHooks();
    block.keyboardHook = asBlockField(hooks.keyboardHook());
    block.mouseHook = asBlockField(hooks.mouseHook());
    block.targetWindow = asBlockField(target.window);
    block.mouseMessage = target.mouseMessage;
    block.keyMessage = target.keyMessage;
}

} // namespace

extern "C" {

BOOL WINAPI StartMouseKeyHook(HWND target) {
    try {
        ExclusiveLock lock(startStopLock);
        MappedView view(sharedBlock.get(), FILE_MAP_WRITE, sizeof(SharedHookBlock));
        if (!view.get())
            return FALSE;
        const HookTarget hookTarget{target, RegisterWindowMessageA(kMouseMessageName),
                                    RegisterWindowMessageA(kKeyMessageName)};
        const bool installed = lowLevelInputHooks().start(hookTarget);
        recordInstalledHooks(*static_cast<SharedHookBlock*>(view.get()), hookTarget);
        return installed ? TRUE : FALSE;
    } catch (...) {
        // Nothing may leave a function called from another module.
        return FALSE;
    }
}

void WINAPI StopMouseKeyHook() {
    try {
        ExclusiveLock lock(startStopLock);
        lowLevelInputHooks().stop();
        MappedView view(sharedBlock.get(), FILE_MAP_WRITE, sizeof(SharedHookBlock));
        if (auto* block = static_cast<SharedHookBlock*>(view.get())) {
            block->keyboardHook = 0;
            block->mouseHook = 0;
        }
    } catch (...) {
    }
}

const char* WINAPI GetMouseHookMsgString() {
    return kMouseMessageName;
}

const char* WINAPI GetKeyHookMsgString() {
    return kKeyMessageName;
}

} // extern "C"

// Only the shared block is handled here: creating or joining threads under the
// loader lock can dead-lock, so the hook thread is started by StartMouseKeyHook.
// A thread still running at unload holds its own reference to the library
// (ModuleThread.h), so an unload without StopMouseKeyHook cannot pull the code
// from under it.
BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        DisableThreadLibraryCalls(instance);
        openSharedBlock();
        break;
    case DLL_PROCESS_DETACH:
        sharedBlock.reset();
        break;
    default:
        break;
    }
    return TRUE;
}
