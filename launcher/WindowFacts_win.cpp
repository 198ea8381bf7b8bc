#include "launcher/WindowFacts_win.h"

#include "core/Forms.h"
#include "core/LauncherMainForm.h"
#include "core/TextCompare.h"
#include "launcher/ButtonForm.h"
#include "platform/Processes.h"
#include "platform/TopLevelWindows.h"
#include "settings/ActiveWindowForm.h"

#include <map>

namespace kelvo {

bool isProgramWindow(HWND window) {
    if (!window)
        return false;
    if (LauncherMainForm && window == LauncherMainForm->hwnd())
        return true;
    if (ActiveWindowForm && window == ActiveWindowForm->hwnd())
        return true;
    for (int n = 1; n <= kLauncherCount; ++n)
        if (ButtonForms[n] && window == ButtonForms[n]->hwnd())
            return true;
    return false;
}

namespace {

WindowFacts describe(HWND window, std::map<DWORD, std::wstring>& images) {
    WindowFacts facts;
    if (!window || !IsWindow(window))
        return facts;
    facts.handle = toHandle(window);
    facts.owner = toHandle(GetWindow(window, GW_OWNER));
    facts.visible = IsWindowVisible(window) != FALSE;
    facts.minimised = IsIconic(window) != FALSE;
    facts.isDesktop = window == GetDesktopWindow() || win::isShellDesktopView(window);
    facts.isOwnWindow = isProgramWindow(window);
    facts.processId = win::windowProcessId(window);
    // One process owns many windows; its image path is asked once.
    auto [at, isNew] = images.try_emplace(facts.processId);
    if (isNew)
        at->second = win::processImagePath(facts.processId);
    facts.imagePath = at->second;
    return facts;
}

} // namespace

WindowFacts describeWindow(HWND window) {
    std::map<DWORD, std::wstring> images;
    return describe(window, images);
}

std::vector<WindowFacts> describeTopLevelWindows() {
    std::map<DWORD, std::wstring> images;
    std::vector<WindowFacts> all;
    for (HWND window : win::topLevelWindows())
        all.push_back(describe(window, images));
    return all;
}

HWND ForegroundCandidate() {
    return toHwnd(foregroundCandidate(describeWindow(GetForegroundWindow())));
}

bool isDesktopShellImage(const std::wstring& imagePath) {
    wchar_t windows[MAX_PATH]{};
    const UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return false;
    std::wstring shell(windows);
    if (shell.back() != L'\\')
        shell += L'\\';
    shell += L"explorer.exe";
    return sameTextIgnoringCase(imagePath, shell);
}

} // namespace kelvo
