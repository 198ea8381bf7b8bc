#pragma once
// inputhook.dll: reports every mouse and keyboard event of the desktop to one
// window of the program by posting registered window messages.
//
// Lifecycle: the program links the library at load time, calls
// StartMouseKeyHook(window) once its main window exists, and StopMouseKeyHook()
// before it ends. Start may be called again (it then only changes the window);
// Stop without Start does nothing.
//
// Messages posted (never sent) to the window:
//   GetMouseHookMsgString() ("KelvoLauncher_Mouse"): wParam = the mouse message
//     (WM_MOUSEMOVE, WM_LBUTTONUP, WM_MBUTTONUP, ...), lParam = 0.
//   GetKeyHookMsgString() ("KelvoLauncher_Key"): wParam = the virtual key (Shift,
//     Ctrl and Alt as VK_SHIFT, VK_CONTROL, VK_MENU), lParam = the keystroke
//     flags of a key message: repeat count 1 (bits 0-15), scan code (16-23),
//     extended key (24), Alt held (29), key was down before (30), key released (31).
//
// While started, the named shared block "inputhookDLL" (see SharedHookBlock.h)
// holds the hook handles, the window and both message numbers.
#include <windows.h>

#if defined(KELVO_BUILDING_INPUTHOOK)
#define KELVO_INPUTHOOK_API __declspec(dllexport)
#else
#define KELVO_INPUTHOOK_API __declspec(dllimport)
#endif

extern "C" {

// Installs the mouse and keyboard hooks for `target`; true when both are installed.
KELVO_INPUTHOOK_API BOOL WINAPI StartMouseKeyHook(HWND target);
// Removes both hooks; no message is posted after it returns.
KELVO_INPUTHOOK_API void WINAPI StopMouseKeyHook();
// The names the two messages are registered under, as constant strings.
KELVO_INPUTHOOK_API const char* WINAPI GetMouseHookMsgString();
KELVO_INPUTHOOK_API const char* WINAPI GetKeyHookMsgString();

} // extern "C"
