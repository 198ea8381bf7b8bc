#include "platform/TrayIcon.h"

#include <shellapi.h>

#include <algorithm>

namespace kelvo::win {

NOTIFYICONDATAW TrayIcon::record() const {
    NOTIFYICONDATAW data{};
    // The Windows 2000 layout: every shell since understands it, and the program
    // needs nothing newer (no balloons, no GUID identity).
    data.cbSize = NOTIFYICONDATAW_V2_SIZE;
    data.hWnd = args_.owner;
    data.uID = args_.id;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = args_.callbackMessage;
    data.hIcon = args_.icon;
    size_t n = std::min(args_.tip.size(), std::size(data.szTip) - 1);
    std::copy_n(args_.tip.c_str(), n, data.szTip);
    data.szTip[n] = 0;
    return data;
}

bool TrayIcon::add() {
    NOTIFYICONDATAW data = record();
    added_ = Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
    return added_;
}

bool TrayIcon::setTip(const std::wstring& tip) {
    args_.tip = tip;
    if (!added_)
        return false;
    NOTIFYICONDATAW data = record();
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

bool TrayIcon::remove() {
    NOTIFYICONDATAW data = record();
    bool ok = Shell_NotifyIconW(NIM_DELETE, &data) != FALSE;
    added_ = false;
    return ok;
}

} // namespace kelvo::win
