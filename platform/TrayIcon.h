#pragma once
// The notification-area icon of a window, re-added when the shell restarts.
#include <windows.h>

#include <shellapi.h>

#include <string>

namespace kelvo::win {

struct TrayIconArgs {
    HWND owner = nullptr;
    UINT id = 1;
    UINT callbackMessage = 0;
    HICON icon = nullptr;
    std::wstring tip;
};

class TrayIcon {
  public:
    explicit TrayIcon(TrayIconArgs args) : args_(std::move(args)) {}
    bool add();
    bool setTip(const std::wstring& tip);
    bool remove();
    bool added() const { return added_; }

  private:
    NOTIFYICONDATAW record() const;
    TrayIconArgs args_;
    bool added_ = false;
};

} // namespace kelvo::win
