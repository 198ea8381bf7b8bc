#include "launcher/ButtonForm.h"

#include "core/Forms.h"
#include "core/LauncherMainForm.h"
#include "platform/SystemInfo.h"
#include "storage/DataFolder.h"
#include "storage/IniFile.h"

#include <algorithm>

namespace kelvo {
namespace {
// Row height of the item list before the font is applied.
constexpr int kInitialItemHeight = 18;
constexpr int kListMargin = 5;
} // namespace

std::wstring TButtonForm::ItemFileName() const {
    return LauncherMainForm->DataDir + L"Settei" + std::to_wstring(LauncherNo) + L".ini";
}

void TButtonForm::LoadGlobalSettings() {
    GlobalLoadEnvironment env;
    env.dataDir = LauncherMainForm->DataDir;
    env.fallbackFontName = win::iconTitleFontName();
    env.isFontInstalled = &win::isFontInstalled;
    LauncherMainForm->ApplyGlobalSettings(loadGlobalSettings(env));
}

bool TButtonForm::FormCreate() {
    if (LauncherNo == 1)
        LoadGlobalSettings();

    IniFile ini(ItemFileName());
    const int itemCount = 0;
    const int defaultHeight = std::min(kInitialItemHeight * itemCount + kListMargin,
                                       GetSystemMetrics(SM_CYSCREEN) / 2);
    FormArgs form;
    form.className = nullptr;
    const std::wstring className = L"TButtonForm" + std::to_wstring(LauncherNo);
    form.className = className.c_str();
    form.caption = L"";
    form.style = WS_POPUP;
    form.exStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    form.left = ini.readInteger(L"Position", L"X", 0);
    form.top = ini.readInteger(L"Position", L"Y", 0);
    form.width = 100;
    form.height = 100;
    IsButtonTop = ini.readBool(L"Position", L"IsButtonTop", false);
    LBHeight = ini.readInteger(L"LBHeight", L"Value", defaultHeight);
    bool created = createForm(form);
    markReady(static_cast<FormIndex>(kButtonForm1Ready + LauncherNo - 1));
    return created;
}

void TButtonForm::SavePosition() {
    RECT r{};
    GetWindowRect(hwnd(), &r);
    IniFile ini(ItemFileName());
    ini.writeInteger(L"Position", L"X", r.left);
    ini.writeInteger(L"Position", L"Y", r.top);
    ini.writeBool(L"Position", L"IsButtonTop", IsButtonTop);
    ini.writeInteger(L"LBHeight", L"Value", LBHeight);
}

} // namespace kelvo
