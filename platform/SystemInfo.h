#pragma once
// Facts about the running system that the program asks once at start.
#include <optional>
#include <string>

namespace kelvo::win {

struct WindowsVersion {
    unsigned major = 0, minor = 0, build = 0;
};
// The true version (not the compatibility-shimmed one); nothing on failure.
std::optional<WindowsVersion> exactWindowsVersion();
// True when this 32-bit process runs on 64-bit Windows.
bool isWow64(const std::optional<WindowsVersion>& version);

std::wstring iconTitleFontName();
bool isFontInstalled(const std::wstring& faceName);
// Width in pixels of a text in the menu font of the system.
int menuTextWidth(const std::wstring& text);

} // namespace kelvo::win
