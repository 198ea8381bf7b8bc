#pragma once
// The tip of the tray icon, which tells the user which key calls the launchers.
#include <string>

namespace kelvo {

// Before the settings are read the tip is only the program's name.
std::wstring initialTrayTip();
std::wstring trayTipForMainKey(const std::wstring& mainKeyName);
// The shell's tip buffer holds 127 bytes of code page 932 and a terminator; a
// longer tip is cut at a character boundary so no half character shows.
std::wstring fitTrayTip(const std::wstring& tip);

} // namespace kelvo
