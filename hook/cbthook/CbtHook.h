#pragma once
// cbthook.dll: reports window events of other programs to one window of the
// program, for the small button strip on the title bar of the active window.
//
// Lifecycle: the program links the library at load time, calls
// StartCBTHook(window) once its main window exists and StopCBTHook() before it
// ends. Start may be called again (it then only changes the window); Stop without
// Start does nothing.
//
// Posts WM_APP + 1 to the window with wParam = a top-level window of another
// process and lParam = an event code (see WindowEventCode in ForegroundTracker.h):
//   5  the window became the foreground window,
//   0  the foreground window moved or changed size,
//   4  a window reported with code 5 was destroyed.
// Windows of the calling process and child windows are never reported.
#include <windows.h>

#if defined(KELVO_BUILDING_CBTHOOK)
#define KELVO_CBTHOOK_API __declspec(dllexport)
#else
#define KELVO_CBTHOOK_API __declspec(dllimport)
#endif

extern "C" {

// Starts watching for `target`; true when the watch runs.
KELVO_CBTHOOK_API BOOL WINAPI StartCBTHook(HWND target);
// Ends the watch; nothing is posted once it returns.
KELVO_CBTHOOK_API void WINAPI StopCBTHook();

} // extern "C"
