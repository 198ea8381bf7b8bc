// A small GUI program the end-to-end tests start through the launcher, so that
// they can watch what the launcher does with an application it started: the
// command line it was given, the window it brings forward, a window that is
// replaced by another of the same process, and the end of the process.
//
//   kelvo_trackedapp.exe [--title TITLE] [--record PATH] [anything else]
//
// The whole command line is appended to PATH as one UTF-8 line. The tests
// drive the program with window messages posted to its window:
//   "KelvoTrackedApp_Replace" or WM_APP+10: open "TITLE 2", close the first
//   "KelvoTrackedApp_Exit"    or WM_APP+11: end the process
#include "platform/Handles.h"
#include "storage/TextCodec.h"

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

using namespace kelvo;

namespace {

constexpr wchar_t kWindowClass[] = L"KelvoTrackedAppWindow";
constexpr UINT kReplaceFallback = WM_APP + 10;
constexpr UINT kExitFallback = WM_APP + 11;

struct Options {
    std::wstring title = L"KelvoTrackedApp";
    std::wstring recordPath;
};

struct AppState {
    std::wstring title;
    UINT replaceMessage = 0;
    UINT exitMessage = 0;
    int openWindows = 0;
    int generation = 1;
};

AppState g_app;

Options parseOptions() {
    Options options;
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv)
        return options;
    std::vector<std::wstring> args(argv + 1, argv + argc);
    LocalFree(argv);
    for (size_t i = 0; i + 1 < args.size(); ++i) {
        if (args[i] == L"--title")
            options.title = args[++i];
        else if (args[i] == L"--record")
            options.recordPath = args[++i];
    }
    return options;
}

// Appending (not overwriting) lets one record file collect every start, so a
// test can tell one start from two.
void appendCommandLine(const std::wstring& path) {
    win::UniqueHandle file(CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                       OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file || file.get() == INVALID_HANDLE_VALUE) {
        file.release();
        return;
    }
    const std::string line = toUtf8(std::wstring(GetCommandLineW()) + L"\r\n");
    DWORD written = 0;
    WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

HWND openWindow(const std::wstring& title, int offset) {
    // Lower right, clear of the launcher buttons the tests click on.
    HWND hwnd = CreateWindowExW(0, kWindowClass, title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                900 + offset, 520 + offset, 480, 260, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    if (hwnd) {
        ++g_app.openWindows;
        ShowWindow(hwnd, SW_SHOWNORMAL);
        UpdateWindow(hwnd);
        SetForegroundWindow(hwnd);
    }
    return hwnd;
}

// The new window exists before the old one goes, as an application that swaps
// its splash for its main window does.
void replaceWindow(HWND old) {
    ++g_app.generation;
    openWindow(g_app.title + L" " + std::to_wstring(g_app.generation), 30);
    DestroyWindow(old);
}

void paintTitle(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    wchar_t text[512] = {};
    GetWindowTextW(hwnd, text, 512);
    RECT client;
    GetClientRect(hwnd, &client);
    DrawTextW(dc, text, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    EndPaint(hwnd, &ps);
}

LRESULT handleMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == g_app.replaceMessage || msg == kReplaceFallback) {
        replaceWindow(hwnd);
        return 0;
    }
    if (msg == g_app.exitMessage || msg == kExitFallback) {
        PostQuitMessage(0);
        return 0;
    }
    switch (msg) {
    case WM_PAINT:
        paintTitle(hwnd);
        return 0;
    case WM_DESTROY:
        if (--g_app.openWindows == 0)
            PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    try {
        return handleMessage(hwnd, msg, wp, lp);
    } catch (...) {
        return 0;
    }
}

bool registerWindowClass(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kWindowClass;
    return RegisterClassExW(&wc) != 0;
}

int runApp(HINSTANCE instance) {
    const Options options = parseOptions();
    if (!options.recordPath.empty())
        appendCommandLine(options.recordPath);
    g_app.title = options.title;
    g_app.replaceMessage = RegisterWindowMessageW(L"KelvoTrackedApp_Replace");
    g_app.exitMessage = RegisterWindowMessageW(L"KelvoTrackedApp_Exit");
    if (!registerWindowClass(instance) || !openWindow(g_app.title, 0))
        return 1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    try {
        return runApp(instance);
    } catch (...) {
        return 3;
    }
}
