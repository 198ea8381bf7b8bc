// Showing, hiding and moving the launcher windows: all at home, one alone near
// the pointer, one rising to a click, and back home again. The arithmetic is
// the placement and motion logic's; this file applies it to the windows.
#include "core/LauncherMainForm.h"

#include "core/Forms.h"
#include "core/LauncherPlacement.h"
#include "core/LauncherShowRules.h"
#include "launcher/ButtonForm.h"
#include "platform/Foreground.h"
#include "platform/MessageLoop.h"

#include <mmsystem.h>

namespace kelvo {
namespace {

Rect rectOf(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

struct MonitorAreas {
    Rect monitor;
    Rect workArea;
};

MonitorAreas monitorAt(POINT at) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(MonitorFromPoint(at, MONITOR_DEFAULTTONEAREST), &info);
    return {rectOf(info.rcMonitor), rectOf(info.rcWork)};
}

void bringToTopWithoutStaying(HWND window) {
    // Topmost and back: the window comes to the top of the z-order without
    // staying above everything the user opens next.
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

TimeStamp stampNow() {
    const TimeStamp now = timeGetTime();
    return now == 0 ? 1 : now;
}

} // namespace

bool TLauncherMainForm::LauncherDisplayed(int n) const {
    return n >= 1 && n <= kLauncherCount && Settings.launcherHyoji[n - 1] && ButtonForms[n] &&
           ButtonForms[n]->hwnd();
}

void TLauncherMainForm::MoveHome(int n) {
    SetWindowPos(ButtonForms[n]->hwnd(), nullptr, HomeLeft[n], HomeTop[n], 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TLauncherMainForm::ShowAllLaunchers() {
    for (int n = 1; n <= kLauncherCount; ++n) {
        if (!LauncherDisplayed(n))
            continue;
        TButtonForm* form = ButtonForms[n];
        form->HideList();
        MoveHome(n);
        if (Displaced[n])
            form->ReturnHome();
        win::processPendingMessages();
        ShowWindow(form->hwnd(), SW_SHOWNOACTIVATE);
        bringToTopWithoutStaying(form->hwnd());
        if (Settings.afterShowHide)
            ShownTime = stampNow();
    }
}

void TLauncherMainForm::HideOtherLaunchers(int shown) {
    LauncherStates states{};
    for (int n = 1; n <= kLauncherCount; ++n) {
        states[n - 1].displayed = LauncherDisplayed(n);
        states[n - 1].visible = states[n - 1].displayed && IsWindowVisible(ButtonForms[n]->hwnd());
        states[n - 1].displaced = Displaced[n];
    }
    for (int n : launchersHiddenForShow(shown, ListGrowing, states)) {
        ButtonForms[n]->HideList();
        ShowWindow(ButtonForms[n]->hwnd(), SW_HIDE);
    }
}

void TLauncherMainForm::CloseAllOnEscape() {
    LauncherStates states{};
    for (int n = 1; n <= kLauncherCount; ++n) {
        states[n - 1].displayed = LauncherDisplayed(n);
        states[n - 1].visible = ButtonForms[n] && IsWindowVisible(ButtonForms[n]->hwnd());
        states[n - 1].displaced = Displaced[n];
    }
    for (const LauncherClose& close :
         closeAllOnEscape(Settings.mainKeyCode, GetAsyncKeyState(VK_ESCAPE) < 0, states)) {
        TButtonForm* form = ButtonForms[close.launcherNo];
        form->HideList();
        form->LblIconName.setVisible(false);
        ShowWindow(form->hwnd(), SW_HIDE);
        if (close.restoreHome)
            form->ReturnHome();
    }
}

void TLauncherMainForm::ShowLauncher(int n, int tapCount) {
    if (!LauncherDisplayed(n))
        return;
    TButtonForm* form = ButtonForms[n];
    ShowRequest request;
    request.launcherNo = n;
    request.tapCount = tapCount;
    request.mainKeyHeld = GetAsyncKeyState(Settings.mainKeyCode) < 0;
    for (int d = 1; d <= kLauncherCount; ++d)
        request.digitHeld = request.digitHeld || GetAsyncKeyState('0' + d) < 0 ||
                            GetAsyncKeyState(VK_NUMPAD0 + d) < 0;
    request.nearMouse = Settings.showButtonNearMouse;
    if (showsNearPointer(request)) {
        POINT at{};
        GetCursorPos(&at);
        const MonitorAreas areas = monitorAt(at);
        PointerShowInput in;
        in.pointer = {at.x, at.y};
        in.monitor = areas.monitor;
        in.workArea = areas.workArea;
        in.mode = PositionMode();
        in.frame = form->CaptureFrame();
        const PointerShow show = placeNearPointer(in);
        form->ApplyFrame(show.frame);
        Displaced[n] = show.displaced;
        form->LayOut();
        win::processPendingMessages();
    } else if (Displaced[n]) {
        form->ReturnHome();
    }
    ShowWindow(form->hwnd(), SW_SHOWNOACTIVATE);
    if (Settings.afterShowHide)
        ShownTime = stampNow();
    SetWindowPos(form->hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    OpenListAfterShow(n);
}

// The list opens where the launcher has no running applications to show in
// their strip instead; either way the launcher takes the foreground.
void TLauncherMainForm::OpenListAfterShow(int n) {
    TButtonForm* form = ButtonForms[n];
    ListOpenInput in;
    in.hasItems = form->Items().ItemCount() > 0;
    in.tracksRunning = form->Items().RunCount() > 0;
    in.growAnimated = Settings.showItemAnime;
    in.growthRunning = ListGrowing;
    const ListOpening opening = planListOpening(in);
    if (opening.bringToFront) {
        win::processPendingMessages();
        win::bringWindowToFront(form->hwnd());
    }
    if (opening.openList)
        form->OpenList();
}

void TLauncherMainForm::ShowLauncherAtClick(int n) {
    if (!LauncherDisplayed(n))
        return;
    TButtonForm* form = ButtonForms[n];
    StopTimer1();
    form->HideList();
    ShowWindow(form->hwnd(), SW_SHOWNOACTIVATE);
    SetWindowPos(form->hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    win::bringWindowToFront(form->hwnd());

    POINT at{};
    GetCursorPos(&at);
    const MonitorAreas areas = monitorAt(at);
    RiseStartInput in;
    in.launcherNo = n;
    in.pointer = {at.x, at.y};
    in.monitor = areas.monitor;
    in.workArea = areas.workArea;
    in.mode = PositionMode();
    in.animate = Settings.anime;
    in.frame = form->CaptureFrame();
    const RiseStart start = startRise(in);
    Rise = start.motion;
    Displaced[n] = start.displaced;
    form->ApplyFrame(start.frame);
    form->ImgAwa.setVisible(start.showBubble);
    win::processPendingMessages();
    StartTimer1();
}

void TLauncherMainForm::RisePhase() {
    if (!Rise.running())
        return;
    const int n = Rise.launcherNo;
    if (!LauncherDisplayed(n)) {
        Rise = {};
        return;
    }
    TButtonForm* form = ButtonForms[n];
    RiseTickInput in;
    in.now = timeGetTime();
    in.targetListHeight = LBTargetHeight[n];
    const RiseTick tick = advanceRise(Rise, in);
    SetWindowPos(form->hwnd(), nullptr, tick.window.x, tick.window.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (tick.bubble == BubbleChange::Show)
        form->ImgAwa.setVisible(true);
    else if (tick.bubble == BubbleChange::Hide)
        form->ImgAwa.setVisible(false);
    if (!tick.finished)
        return;
    LastShowTime = tick.lastShowTime;
    Displaced[n] = tick.displaced;
    form->LayOut();
    win::processPendingMessages();
    OpenListAfterShow(n);
    LauncherFrame frame = form->CaptureFrame();
    const Box bubble = bubbleOnButton(frame);
    form->ImgAwa.setBounds(bubble.left, bubble.top, bubble.width, bubble.height);
    form->ImgAwa.setVisible(true);
    BubbleShownTime = tick.bubbleShownTime;
    if (Settings.afterShowHide)
        ShownTime = stampNow();
}

void TLauncherMainForm::ReturnAllHome() {
    ReturnHomeInput in;
    in.mode = PositionMode();
    in.hideAfterShow = Settings.afterShowHide;
    for (int n = 1; n <= kLauncherCount; ++n) {
        if (!ButtonForms[n] || !ButtonForms[n]->hwnd())
            continue;
        ReturnHomeLauncher& l = in.launchers[n - 1];
        TButtonForm* form = ButtonForms[n];
        l.displayed = LauncherDisplayed(n);
        l.displaced = Displaced[n];
        l.hasItems = form->Items().ItemCount() > 0;
        l.outlinedName = NameFuchidori[n];
        l.tracksRunning = form->Items().RunCount() > 0;
        l.refreshingStrip = RefreshBusy[n];
        l.rowSelected = SendMessageW(form->ListBox1, LB_GETSELCOUNT, 0, 0) > 0;
    }
    bool rearrange = false;
    for (const HomeReturn& step : planReturnAllHome(in)) {
        const int n = step.launcherNo;
        TButtonForm* form = ButtonForms[n];
        if (ListGrowLauncher == n) {
            ListGrowLauncher = 0;
            ListGrowTime = 0;
            ListGrowing = false;
        }
        form->HideList();
        form->LblIconName.setVisible(false);
        win::processPendingMessages();
        MoveHome(n);
        if (step.restoreListAndButton)
            form->ReturnHome();
        rearrange = rearrange || step.rearrange;
        if (step.showButton)
            form->ImgButton.setVisible(true);
        if (step.showLabel)
            form->Label1.setVisible(true);
        if (step.showNameImage)
            form->ImgBtnName.setVisible(true);
        if (step.redrawIcon)
            form->ShowOneClickIcon();
        if (step.showAtBottom) {
            ShowWindow(form->hwnd(), SW_SHOWNOACTIVATE);
            SetWindowPos(form->hwnd(), HWND_BOTTOM, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
        MoveHome(n);
    }
    if (rearrange)
        ArrangeLaunchers(PositionMode());
}

void TLauncherMainForm::ApplicationDeactivated() {
    DeactivationInput in;
    in.formsReady = true;
    for (int i = 0; i < kFormCount; ++i)
        if (i != kHintFormReady && !FormsReady[i])
            in.formsReady = false;
    in.exitStarted = ExitStarted;
    in.riseRunning = Rise.running();
    in.showKeyHeld = GetAsyncKeyState(Settings.mainKeyCode) < 0;
    for (int d = 1; d <= kLauncherCount; ++d)
        in.showKeyHeld =
            in.showKeyHeld || GetAsyncKeyState('0' + d) < 0 || GetAsyncKeyState(VK_NUMPAD0 + d) < 0;
    in.suppressOnce = SuppressDeactivation;
    in.launchersBusy = ButtonForms[1] && ButtonForms[1]->Shared.LaunchBusy;
    POINT at{};
    GetCursorPos(&at);
    for (int n = 1; n <= kLauncherCount; ++n) {
        TButtonForm* form = ButtonForms[n];
        if (!form || !IsWindowVisible(form->hwnd()) || !form->ImgButton.visible())
            continue;
        RECT button{};
        GetWindowRect(form->ImgButton.hwnd(), &button);
        in.pointerOverButtonOrStrip = in.pointerOverButtonOrStrip || PtInRect(&button, at);
    }
    in.lastShowTime = LastShowTime;
    in.hideAfterShow = Settings.afterShowHide;
    in.shownTime = ShownTime;
    in.suppressOnceMore = SuppressDeactivationOnceMore;
    switch (onDeactivation(in)) {
    case DeactivationAction::None:
        return;
    case DeactivationAction::ClearSuppression:
        SuppressDeactivation = false;
        return;
    case DeactivationAction::ClearSecondSuppression:
        SuppressDeactivationOnceMore = false;
        return;
    case DeactivationAction::ReturnAllHome:
        StopTimer1();
        ReturnAllHome();
        for (int n = 1; n <= kLauncherCount; ++n)
            if (ButtonForms[n] && !IsWindowVisible(ButtonForms[n]->ListBox1))
                SendMessageW(ButtonForms[n]->ListBox1, LB_SETSEL, FALSE, -1);
        win::processPendingMessages();
        StartTimer1();
        return;
    }
}

void TLauncherMainForm::DisplayChanged() {
    DisplayChangeInput in;
    in.startScreenWidth = StartScreenWidth;
    in.startScreenHeight = StartScreenHeight;
    in.monitorCount = GetSystemMetrics(SM_CMONITORS);
    in.storedMode = Settings.positionMode;
    const DisplayChange change = onDisplayChange(in);
    if (!change.proceeds)
        return;
    StopTimer1();
    // Other programs move their windows after a display change too; the
    // launchers are placed once the desktop has settled.
    const DWORD start = timeGetTime();
    while (timeGetTime() - start < kDisplaySettleMs) {
        win::processPendingMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    StartScreenWidth = GetSystemMetrics(SM_CXSCREEN);
    StartScreenHeight = GetSystemMetrics(SM_CYSCREEN);
    if (change.arranges)
        ArrangeLaunchers(change.mode);
    StartTimer1();
}

void TLauncherMainForm::SettingChanged(WPARAM setting) {
    if (std::optional<int> mode =
            onSettingChange(static_cast<unsigned>(setting), Settings.positionMode))
        ArrangeLaunchers(*mode);
}

} // namespace kelvo
