// The input that calls the launchers up: the hook library's key and mouse
// messages, the trigger phase of the main cycle, and the window events of the
// window-event library. The gesture logic decides; this file gathers the
// facts and carries out the actions in their order.
#include "core/LauncherMainForm.h"

#include "core/Forms.h"
#include "launcher/ButtonForm.h"
#include "launcher/WindowFacts_win.h"
#include "platform/Foreground.h"
#include "platform/MessageLoop.h"
#include "settings/ActiveWindowForm.h"

#include <mmsystem.h>

namespace kelvo {
namespace {

bool keyDown(int virtualKey) {
    return GetAsyncKeyState(virtualKey) < 0;
}

// The start of the clipboard text, enough to tell a web address.
std::wstring clipboardStart(HWND owner) {
    std::wstring text;
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(owner))
        return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            const SIZE_T capacity = GlobalSize(data) / sizeof(wchar_t);
            for (SIZE_T i = 0; i < capacity && i < 8 && chars[i] != L'\0'; ++i)
                text += chars[i];
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

} // namespace

TriggerSettings TLauncherMainForm::CurrentTriggerSettings() const {
    TriggerSettings settings;
    settings.mainKey = Settings.mainKeyCode;
    settings.edgeEnabled = Settings.hyojiMousePos;
    settings.zKeyMode = Settings.zKey;
    settings.hideAfterShow = Settings.afterShowHide;
    settings.hideAfterRun = Settings.afterRunHide;
    return settings;
}

InputFacts TLauncherMainForm::GatherInputFacts() const {
    InputFacts in;
    in.now = timeGetTime();
    in.keyHeld = &keyDown;
    POINT at{};
    GetCursorPos(&at);
    in.pointer = {at.x, at.y};
    const HMONITOR primary = MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(primary, &info);
    in.primaryMonitor = {info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right,
                         info.rcMonitor.bottom};
    in.pointerOnPrimary = MonitorFromPoint(at, MONITOR_DEFAULTTONEAREST) == primary;
    // Only a Ctrl main key refuses clicks over a copied address; the clipboard
    // is not opened for anything else.
    if (Settings.mainKeyCode == VK_CONTROL && keyDown(VK_CONTROL))
        in.clipboardText = clipboardStart(hwnd());
    for (int n = 1; n <= kLauncherCount; ++n) {
        TriggerLauncher& l = in.launchers[n - 1];
        l.displayed = LauncherDisplayed(n);
        if (!ButtonForms[n] || !ButtonForms[n]->hwnd())
            continue;
        l.listVisible = IsWindowVisible(ButtonForms[n]->ListBox1) != FALSE;
        RECT window{};
        GetWindowRect(ButtonForms[n]->hwnd(), &window);
        in.pointerInLauncherRect = in.pointerInLauncherRect || PtInRect(&window, at);
    }
    in.launchersBusy = ButtonForms[1] && ButtonForms[1]->Shared.LaunchBusy;
    in.menuOpen = MenuOpen;
    in.riseRunning = Rise.running();
    in.listGrowing = ListGrowing;
    in.lastShowTime = LastShowTime;
    return in;
}

void TLauncherMainForm::HookMouseMessage(WPARAM mouseMessage) {
    const int taps = Trigger.TapCount;
    CarryOut(onHookMouse(Trigger, CurrentTriggerSettings(), GatherInputFacts(),
                         static_cast<unsigned>(mouseMessage)),
             taps);
    HookMouseButton = Trigger.HookButton;
}

void TLauncherMainForm::HookKeyMessage(WPARAM wParam, LPARAM lParam) {
    const HookKey key =
        decodeHookKey(static_cast<std::uint32_t>(wParam), static_cast<std::uint32_t>(lParam));
    const int taps = Trigger.TapCount;
    CarryOut(onHookKey(Trigger, CurrentTriggerSettings(), GatherInputFacts(), key), taps);
}

void TLauncherMainForm::TriggerPhase() {
    // The taps are counted down by the evaluation; the show must see them as
    // they stood, since a tapped launcher appears near the pointer.
    const int taps = Trigger.TapCount;
    CarryOut(evaluateTriggers(Trigger, CurrentTriggerSettings(), GatherInputFacts()), taps);
}

void TLauncherMainForm::RecordPreviousForeground() {
    if (ButtonForms[1])
        ButtonForms[1]->Shared.PreviousForeground = ForegroundCandidate();
}

// A gesture start: the launcher comes up where it is and its one-click group
// starts as if its button had been clicked with the middle button.
void TLauncherMainForm::GestureStart(int n) {
    if (!LauncherDisplayed(n))
        return;
    TButtonForm* form = ButtonForms[n];
    ShowWindow(form->hwnd(), SW_SHOWNOACTIVATE);
    win::bringWindowToFront(form->hwnd());
    form->LaunchOneClickGroup();
}

void TLauncherMainForm::CarryOut(const TriggerActions& actions, int tapCount) {
    for (const TriggerAction& action : actions) {
        switch (action.kind) {
        case TriggerActionKind::ShowAllLaunchers:
            ShowAllLaunchers();
            break;
        case TriggerActionKind::HideOtherLaunchers:
            HideOtherLaunchers(action.launcher);
            break;
        case TriggerActionKind::ShowLauncher:
            ShowLauncher(action.launcher, tapCount);
            break;
        case TriggerActionKind::ShowLauncherAtClick:
            ShowLauncherAtClick(action.launcher);
            break;
        case TriggerActionKind::GestureStart:
            GestureStart(action.launcher);
            break;
        case TriggerActionKind::RecordPreviousForeground:
            RecordPreviousForeground();
            break;
        case TriggerActionKind::ProcessMessages:
            win::processPendingMessages();
            break;
        case TriggerActionKind::CloseAllOnEscape:
            CloseAllOnEscape();
            break;
        case TriggerActionKind::SetLastShowTime:
            LastShowTime = action.stamp;
            break;
        case TriggerActionKind::SetShownTime:
            ShownTime = action.stamp;
            break;
        case TriggerActionKind::SetShowByMiddleClick:
            ShowByMiddleClick = true;
            break;
        }
    }
}

void TLauncherMainForm::WindowEvent(WPARAM window, LPARAM code) {
    const HWND target = reinterpret_cast<HWND>(window);
    WindowEventFacts facts;
    facts.window = static_cast<WindowId>(window);
    facts.code = static_cast<int>(code);
    facts.mainWindow = reinterpret_cast<WindowId>(hwnd());
    facts.ownedByMainWindow = target && GetWindow(target, GW_OWNER) == hwnd();
    facts.hasParent = target && GetAncestor(target, GA_PARENT) != GetDesktopWindow() &&
                      GetAncestor(target, GA_PARENT) != nullptr;
    facts.placementRunning = ActiveButtonPlacing;
    facts.buttonOptionOn = Settings.onActiveWindowShow;
    facts.activeTrackedWindow = reinterpret_cast<WindowId>(ActiveTrackedWindow);
    switch (respondToWindowEvent(facts)) {
    case WindowEventResponse::Ignore:
        return;
    case WindowEventResponse::PlaceButton: {
        const DWORD start = timeGetTime();
        while (timeGetTime() - start < kWindowEventSettleMs) {
            win::processPendingMessages();
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        }
        if (GetForegroundWindow() != target)
            return;
        StopTimer1();
        ActiveButtonPlacing = true;
        PlaceActiveWindowButton(target);
        ActiveButtonPlacing = false;
        StartTimer1();
        return;
    }
    case WindowEventResponse::RemoveButton:
        ActiveButtonPlacing = true;
        if (ActiveWindowForm && ActiveWindowForm->hwnd())
            ShowWindow(ActiveWindowForm->hwnd(), SW_HIDE);
        ActiveTrackedWindow = nullptr;
        ActiveButtonPlacing = false;
        return;
    }
}

// The small button on the active window arrives with its own window; until
// then there is nothing to place.
void TLauncherMainForm::PlaceActiveWindowButton(HWND) {}

} // namespace kelvo
