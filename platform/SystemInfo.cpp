#include "platform/SystemInfo.h"

#include "platform/Handles.h"

#include <windows.h>

namespace kelvo::win {

std::optional<WindowsVersion> exactWindowsVersion() {
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    auto fn = ntdll ? reinterpret_cast<RtlGetVersionFn>(
                          reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")))
                    : nullptr;
    if (!fn)
        return std::nullopt;
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    if (fn(&info) != 0)
        return std::nullopt;
    return WindowsVersion{info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber};
}

bool isWow64(const std::optional<WindowsVersion>& version) {
    using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, BOOL*);
    auto fn = reinterpret_cast<IsWow64ProcessFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "IsWow64Process")));
    if (fn) {
        BOOL wow = FALSE;
        return fn(GetCurrentProcess(), &wow) && wow;
    }
    // Systems without the query predate WOW64 on the desktop except 5.2 (XP x64).
    return version && (version->major > 5 || (version->major == 5 && version->minor >= 2));
}

std::wstring iconTitleFontName() {
    LOGFONTW font{};
    if (!SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(font), &font, 0))
        return L"MS UI Gothic";
    return font.lfFaceName;
}

namespace {
int CALLBACK noteFontFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}
} // namespace

bool isFontInstalled(const std::wstring& faceName) {
    if (faceName.empty() || faceName.size() >= LF_FACESIZE)
        return false;
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    faceName.copy(query.lfFaceName, faceName.size());
    bool found = false;
    WindowDC screen(nullptr);
    EnumFontFamiliesExW(screen.get(), &query, &noteFontFound, reinterpret_cast<LPARAM>(&found),
                        0);
    return found;
}

int menuTextWidth(const std::wstring& text) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        return 0;
    UniqueGdiObject font(CreateFontIndirectW(&metrics.lfMenuFont));
    WindowDC screen(nullptr);
    ScopedSelectObject select(screen.get(), font.get());
    SIZE size{};
    GetTextExtentPoint32W(screen.get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

} // namespace kelvo::win
