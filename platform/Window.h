#pragma once
// Thin base of every window of the program: one static window procedure takes
// `this` from WM_NCCREATE and hands each message to the object.
#include <windows.h>

#include <string>

namespace kelvo::win {

struct WindowClassArgs {
    const wchar_t* className = nullptr;
    UINT style = 0;
    HICON icon = nullptr;
    HICON smallIcon = nullptr;
    HCURSOR cursor = nullptr; // nullptr: the arrow
    HBRUSH background = nullptr;
};

struct WindowCreateArgs {
    const wchar_t* className = nullptr;
    std::wstring title;
    DWORD style = WS_POPUP;
    DWORD exStyle = 0;
    int x = 0, y = 0, width = 0, height = 0;
    HWND owner = nullptr;
};

class Window {
  public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND hwnd() const { return hwnd_; }
    bool create(const WindowCreateArgs& args);

    // Registers a class whose windows are served by Window objects; true when
    // registered now or already.
    static bool registerClass(const WindowClassArgs& args);

  protected:
    // Called for every message of the window; the default passes it on.
    virtual LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT defaultHandling(UINT msg, WPARAM wParam, LPARAM lParam);

  private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

} // namespace kelvo::win
