#pragma once
// How the window-event tests steer the window of kelvo_foreign_window_app.exe,
// a program of its own so that its window belongs to another process.
#include <windows.h>

namespace kelvo::test {

inline constexpr wchar_t kForeignWindowApp[] = L"kelvo_foreign_window_app.exe";
inline constexpr wchar_t kForeignWindowTitle[] = L"Kelvo foreign test window";
// Posted to the window: move to (x, y) = (LOWORD, HIWORD) of lParam. WM_CLOSE
// destroys the window and ends the program.
inline constexpr UINT kMoveWindowMessage = WM_APP + 10;

} // namespace kelvo::test
