// A top-level window in a process of its own for the window-event tests: it
// moves when asked and goes away on WM_CLOSE (ForeignWindowProtocol.h).
#include "ForeignWindowProtocol.h"

namespace {

constexpr wchar_t kClassName[] = L"KelvoForeignTestWindow";
// Ends the program even if the test that started it died and never closes it.
constexpr UINT kLifetimeMs = 120000;
constexpr UINT_PTR kLifetimeTimer = 1;

void moveTo(HWND hwnd, LPARAM position) {
    SetWindowPos(hwnd, nullptr, LOWORD(position), HIWORD(position), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case kelvo::test::kMoveWindowMessage:
        moveTo(hwnd, lParam);
        return 0;
    case WM_TIMER:
        if (wParam == kLifetimeTimer)
            DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClassName;
    if (!RegisterClassW(&wc))
        return 1;
    const HWND hwnd =
        CreateWindowExW(0, kClassName, kelvo::test::kForeignWindowTitle, WS_OVERLAPPEDWINDOW, 100,
                        100, 400, 300, nullptr, nullptr, instance, nullptr);
    if (!hwnd)
        return 1;
    SetTimer(hwnd, kLifetimeTimer, kLifetimeMs, nullptr);
    ShowWindow(hwnd, SW_SHOW);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
