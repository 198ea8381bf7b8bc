#pragma once
// Layout of the named shared block "inputhookDLL" that the input hook library
// creates when it is loaded. Other modules may open it by name and read it; the
// fields are 32-bit because the library and its readers are 32-bit programs, in
// which handles are 32 bits wide.
#include <cstddef>
#include <cstdint>

namespace kelvo::hook {

inline constexpr wchar_t kSharedHookBlockName[] = L"inputhookDLL";

struct SharedHookBlock {
    std::uint32_t keyboardHook; // 0 while no keyboard hook is installed
    std::uint32_t mouseHook;    // 0 while no mouse hook is installed
    std::uint32_t targetWindow; // window given to StartMouseKeyHook
    std::uint32_t mouseMessage; // number of "KelvoLauncher_Mouse"
    std::uint32_t keyMessage;   // number of "KelvoLauncher_Key"
};

static_assert(sizeof(SharedHookBlock) == 20);
static_assert(offsetof(SharedHookBlock, keyboardHook) == 0);
static_assert(offsetof(SharedHookBlock, mouseHook) == 4);
static_assert(offsetof(SharedHookBlock, targetWindow) == 8);
static_assert(offsetof(SharedHookBlock, mouseMessage) == 12);
static_assert(offsetof(SharedHookBlock, keyMessage) == 16);

} // namespace kelvo::hook
