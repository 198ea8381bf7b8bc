#include "core/LauncherMainForm.h"

#include "core/AppText.h"
#include "core/Forms.h"
#include "core/LauncherPlacement.h"
#include "core/StartupShortcut.h"
#include "core/TrayTip.h"
#include "hook/cbthook/CbtHook.h"
#include "hook/inputhook/InputHook.h"
#include "launcher/ButtonForm.h"
#include "launcher/HintForm.h"
#include "platform/MessageLoop.h"
#include "platform/ShellFolders.h"
#include "platform/ShellLink.h"
#include "platform/SystemInfo.h"
#include "platform/TaskbarButtons.h"
#include "platform/UnexpectedError.h"
#include "schedule/LauncherPowerScheduleForm.h"
#include "schedule/LauncherSetScheduleForm.h"
#include "settings/KelvoLauncherVersionForm.h"
#include "settings/LauncherSetteiForm.h"
#include "storage/DataFolder.h"
#include "storage/FileIO.h"
#include "storage/IniFile.h"

#include <mmsystem.h>
#include <algorithm>
#include <shlobj.h>

namespace kelvo {
namespace {

constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTimer1Interval = 100;
constexpr UINT kTaskbarPollMs = 500;

enum MenuCommand : UINT {
    kMenuEnd = 100,
    kMenuNameChange = 200,
    kMenuComment,
};

// Special folders keep the name the shell gives them.
bool isSpecialFolderName(const std::wstring& text) {
    return text == L"コンピューター" || text == L"マイコンピュータ" ||
           text == L"コントロールパネル" || text == L"ゴミ箱";
}

} // namespace

bool TLauncherMainForm::FormCreate(const std::vector<std::wstring>& arguments) {
    win::WindowCreateArgs form;
    form.className = L"TLauncherMainForm";
    form.title = kAppTitle;
    form.style = WS_POPUP;
    form.exStyle = WS_EX_TOOLWINDOW;
    if (!createForm(form))
        return false;

    WaitForTaskbar();
    AddTrayIcon();
    taskbarCreatedMessage_ = RegisterWindowMessageW(L"TaskbarCreated");
    ExeDir = win::folderOf(win::programFilePath());
    DataDir = dataFolderUnder(win::specialFolderPath(CSIDL_PERSONAL));
    if (!fileio::directoryExists(DataDir))
        fileio::createDirectories(DataDir);
    StartScreenWidth = GetSystemMetrics(SM_CXSCREEN);
    StartScreenHeight = GetSystemMetrics(SM_CYSCREEN);
    MenuTextWidth =
        win::menuTextWidth(L"省電力モードからの復帰時に起動するアイテムにする(&R)") + 80;
    DetectStartupShortcut(arguments);
    ReadStartupPrograms();
    QueryWindowsVersion();
    CaptionButtonWidth = GetSystemMetrics(SM_CXSIZE);
    MenuSleep.enabled = IsVistaOrLater;
    MenuStandby.enabled = MenuKyushi.enabled = !IsVistaOrLater;
    MenuShowButtonNearMouse.caption =
        L"キーボード操作で1個のケルボボタンを表示するときもマウスポインタの近くに表示する(&N)";
    HookMouseButton = -1;
    BuildPopupMenu();
    StartTimer1();
    markReady(kMainFormReady);
    return true;
}

void TLauncherMainForm::WaitForTaskbar() {
    // At logon the program may start before the shell; the tray icon can only be
    // added once the taskbar exists.
    while (!FindWindowW(L"Shell_TrayWnd", nullptr))
        Sleep(kTaskbarPollMs);
}

void TLauncherMainForm::AddTrayIcon() {
    win::TrayIconArgs args;
    args.owner = hwnd();
    args.id = 1;
    args.callbackMessage = kTrayCallbackMessage;
    args.icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
    args.tip = initialTrayTip();
    trayIcon_ = std::make_unique<win::TrayIcon>(std::move(args));
    trayIcon_->add();
}

void TLauncherMainForm::DetectStartupShortcut(const std::vector<std::wstring>& arguments) {
    const std::wstring startupDir = win::specialFolderPath(CSIDL_STARTUP);
    const std::wstring programPath = win::programFilePath();
    std::vector<StartupFolderLink> links;
    if (!startupDir.empty()) {
        for (const std::wstring& name : win::folderEntries(startupDir)) {
            auto info = win::resolveShortcut(startupDir + L"\\" + name);
            links.push_back({name, info ? info->target : std::wstring()});
            // The search stops at the first link to the program.
            if (findOwnStartupLink({links.back()}, programPath))
                break;
        }
    }
    auto own = findOwnStartupLink(links, programPath);
    if (own) {
        StartupShortcutPath = startupDir + L"\\" + own->fileName;
        MenuStartUp.caption = kMenuStartUpRemoveCaption;
        if (needsStandardName(own->fileName)) {
            fileio::removeFile(StartupShortcutPath);
            StartupShortcutPath.clear();
            CreateStartupShortcut();
        }
    } else {
        MenuStartUp.caption = kMenuStartUpAddCaption;
    }
    StartedByStartup = isStartedByStartup(StartupShortcutPath, arguments);
}

bool TLauncherMainForm::CreateStartupShortcut() {
    const std::wstring programPath = win::programFilePath();
    win::ShortcutSpec spec;
    spec.target = programPath;
    spec.workingDirectory = win::folderOf(programPath);
    spec.arguments = kStartupArgument;
    spec.linkPath = win::specialFolderPath(CSIDL_STARTUP) + L"\\" + kStartupShortcutName + L".lnk";
    if (!win::writeShortcut(spec))
        return false;
    StartupShortcutPath = spec.linkPath;
    return true;
}

void TLauncherMainForm::ReadStartupPrograms() {
    if (!fileio::fileExists(DataDir + kGlobalSettingsFile))
        return;
    StartupProgramList list = readStartupPrograms(DataDir);
    StartupApps = list.fileNames;
    StartupIntervals = list.intervals;
    StartupAppCount = static_cast<int>(StartupApps.size());
    if (StartupAppCount > 0 && !StartupShortcutPath.empty())
        MenuStartUp.enabled = false;
}

void TLauncherMainForm::QueryWindowsVersion() {
    auto version = win::exactWindowsVersion();
    if (version) {
        IsVistaOrLater = version->major >= 6;
        IsWin8 = version->major == 6 && version->minor >= 2;
        IsWin10 = version->major == 10;
    }
    Is64BitWindows = win::isWow64(version);
}

void TLauncherMainForm::BuildPopupMenu() {
    PopupMenu1.reset(CreatePopupMenu());
    AppendMenuW(PopupMenu1.get(), MF_STRING, kMenuEnd, kMenuEndCaption);
    PopupMenu2.reset(CreatePopupMenu());
    AppendMenuW(PopupMenu2.get(), MF_STRING, kMenuNameChange, L"登録名変更(&N)");
    AppendMenuW(PopupMenu2.get(), MF_STRING, kMenuComment, L"コメントの編集(&C)");
}

void TLauncherMainForm::OpenItemMenu(int launcherNo, bool running, POINT at) {
    TButtonForm* form = ButtonForms[launcherNo];
    if (!form)
        return;
    ContextLauncher = launcherNo;
    StopTimer1();
    // Closing the menu with a click on a row must not launch that row.
    ButtonForms[1]->Shared.IgnoreNextClick[launcherNo] = true;
    ItemMenuTime = timeGetTime();
    const int selected = static_cast<int>(SendMessageW(form->ListBox1, LB_GETSELCOUNT, 0, 0));
    const UINT single = (selected == 1 && !running) ? MF_ENABLED : MF_GRAYED;
    EnableMenuItem(PopupMenu2.get(), kMenuNameChange, MF_BYCOMMAND | single);
    EnableMenuItem(PopupMenu2.get(), kMenuComment, MF_BYCOMMAND | single);
    SetForegroundWindow(form->hwnd());
    MenuOpen = true;
    const UINT command = TrackPopupMenu(PopupMenu2.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x,
                                        at.y, 0, form->hwnd(), nullptr);
    MenuOpen = false;
    StartTimer1();
    if (command == kMenuNameChange)
        MenuNameChangeClick();
    else if (command == kMenuComment)
        MenuCommentClick();
}

void TLauncherMainForm::MenuNameChangeClick() {
    TButtonForm* form = ContextLauncher > 0 ? ButtonForms[ContextLauncher] : nullptr;
    if (!form)
        return;
    const int row = static_cast<int>(SendMessageW(form->ListBox1, LB_GETCARETINDEX, 0, 0));
    const std::vector<std::wstring> rows = form->RowTexts();
    if (row < 0 || row >= static_cast<int>(rows.size()))
        return;
    if (isSpecialFolderName(rows[row])) {
        MessageBoxW(form->hwnd(), (L"\"" + rows[row] + L"\"は登録名を変更できません。").c_str(),
                    kAppTitle, MB_OK);
        return;
    }
    form->StartInlineEdit(L"Name");
}

void TLauncherMainForm::MenuCommentClick() {
    if (ContextLauncher > 0 && ButtonForms[ContextLauncher])
        ButtonForms[ContextLauncher]->StartInlineEdit(L"Comment");
}

void TLauncherMainForm::ApplyGlobalSettings(const GlobalSettings& settings) {
    Settings = settings;
    ListGrowStep = settings.lbZoomInterval;
    for (int n = 1; n <= kLauncherCount; ++n)
        NameFuchidori[n] = settings.nameFuchidori[n - 1];
    if (trayIcon_ && FindWindowW(L"Shell_TrayWnd", nullptr))
        trayIcon_->setTip(
            trayTipForMainKey(settings.settingsFileExisted ? settings.mainKeyName : L"無変換"));
}

LRESULT TLauncherMainForm::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (taskbarCreatedMessage_ != 0 && msg == taskbarCreatedMessage_) {
        // The shell restarted: its new taskbar knows nothing of our icon.
        AddTrayIcon();
        return 0;
    }
    // The hook messages are registered at run time, so they cannot be cases.
    if (msg != 0 && msg == mouseHookMessage_) {
        HookMouseMessage(wParam);
        return 0;
    }
    if (msg != 0 && msg == keyHookMessage_) {
        HookKeyMessage(wParam, lParam);
        return 0;
    }
    switch (msg) {
    case kWindowEventMessage:
        WindowEvent(wParam, lParam);
        return 0;
    case WM_ACTIVATEAPP:
        if (!wParam)
            ApplicationDeactivated();
        return 0;
    case WM_DISPLAYCHANGE:
        DisplayChanged();
        return 0;
    case WM_SETTINGCHANGE:
        SettingChanged(wParam);
        return defaultHandling(msg, wParam, lParam);
    case kTrayCallbackMessage:
        TrayIconCallback(lParam);
        return 0;
    case WM_TIMER:
        if (wParam == kTimer1)
            Timer1Timer();
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == kMenuEnd)
            MenuEndClick();
        return 0;
    case WM_CLOSE:
        if (FormCloseQuery())
            DestroyWindow(hwnd());
        return 0;
    case WM_ENDSESSION:
        if (wParam) {
            SessionEnding = true;
            SendMessageW(hwnd(), WM_CLOSE, 0, 0);
        }
        return defaultHandling(msg, wParam, lParam);
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return defaultHandling(msg, wParam, lParam);
}

void TLauncherMainForm::TrayIconCallback(LPARAM mouseMessage) {
    auto* settei = LauncherSetteiForm;
    auto* schedule = LauncherSetScheduleForm;
    if ((settei && settei->visible()) || (schedule && schedule->visible()))
        return;
    ContextLauncher = 0;
    if (mouseMessage == WM_RBUTTONUP) {
        for (int n = 1; n <= kLauncherCount; ++n)
            if (ButtonForms[n])
                ButtonForms[n]->HideList();
        POINT at{};
        GetCursorPos(&at);
        ShowTrayMenu(0, at);
    }
}

void TLauncherMainForm::ShowTrayMenu(int launcherNo, POINT at) {
    ContextLauncher = launcherNo;
    // Without the foreground the menu would not close when the user clicks elsewhere.
    SetForegroundWindow(hwnd());
    MenuOpen = true;
    TrackPopupMenu(PopupMenu1.get(), TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd(), nullptr);
    MenuOpen = false;
    PostMessageW(hwnd(), WM_NULL, 0, 0);
}

void TLauncherMainForm::StartTimer1() {
    timer1Running_ = SetTimer(hwnd(), kTimer1, kTimer1Interval, nullptr) != 0;
}

void TLauncherMainForm::StopTimer1() {
    KillTimer(hwnd(), kTimer1);
    timer1Running_ = false;
}

void TLauncherMainForm::Timer1Timer() {
    if (!gate_.admit(timeGetTime(), FormsReady))
        return;
    try {
        if (!startUpWorkDone_)
            RunStartUpWork();
        GrowListPhase();
        TriggerPhase();
        RisePhase();
        ShowTimeoutPhase();
        IgnoredClickPhase();
        TrackedAppsPhase();
        AutoHidePhase();
        IdleListPhase();
        TaskbarPhase();
        ButtonPicturePhase();
        HintTimeoutPhase();
    } catch (...) {
        gate_.noteError(timeGetTime());
    }
}

void TLauncherMainForm::StartListGrowth(int launcherNo) {
    if (!timer1Running_) {
        ListGrowing = false;
        return;
    }
    ListGrowLauncher = launcherNo;
    ListGrowTime = timeGetTime();
    if (ListGrowTime == 0)
        ListGrowTime = 1;
}

void TLauncherMainForm::ArrangeLaunchers(int mode) {
    ArrangeInput in;
    in.mode = mode;
    in.launcher1Displaced = Displaced[1];
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    in.workArea = {work.left, work.top, work.right, work.bottom};
    in.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    in.screenHeight = GetSystemMetrics(SM_CYSCREEN);
    if (ButtonForms[1])
        in.launcher1ButtonHeight = ButtonForms[1]->CaptureFrame().button.height;
    std::vector<TButtonForm*> shown;
    for (int n = 1; n <= kLauncherCount; ++n) {
        TButtonForm* form = ButtonForms[n];
        if (!Settings.launcherHyoji[n - 1] || !form || !form->hwnd())
            continue;
        shown.push_back(form);
        ArrangedLauncher launcher;
        launcher.launcherNo = n;
        launcher.frame = form->CaptureFrame();
        launcher.savedListHeight = LBHeight[n];
        launcher.outlinedName = NameFuchidori[n];
        in.launchers.push_back(launcher);
    }
    Arrangement arrangement = arrangeLaunchers(in);
    if (!arrangement.applies)
        return;
    for (size_t k = 0; k < shown.size(); ++k) {
        shown[k]->ApplyFrame(arrangement.frames[k]);
        Displaced[shown[k]->LauncherNo] = false;
        shown[k]->LayOut();
    }
}

void TLauncherMainForm::GrowListPhase() {
    if (!Settings.showItemAnime || ListGrowTime == 0 || ListGrowLauncher <= 0)
        return;
    const TimeStamp now = timeGetTime();
    if (elapsedMs(now, ListGrowTime) < static_cast<std::uint32_t>(ListGrowStep))
        return;
    ListGrowTime = now;
    TButtonForm* form = ButtonForms[ListGrowLauncher];
    if (form && form->GrowListStep()) {
        ListGrowTime = 0;
        ListGrowing = false;
        ListGrowLauncher = 0;
        ListActivityTime = now;
    }
}

LauncherViews TLauncherMainForm::SnapshotLaunchers() const {
    LauncherViews views{};
    for (int n = 1; n <= kLauncherCount; ++n)
        if (ButtonForms[n] && ButtonForms[n]->hwnd())
            views[n - 1] = ButtonForms[n]->View();
    return views;
}

CycleFlags TLauncherMainForm::SnapshotFlags() const {
    CycleFlags flags;
    flags.menuOpen = MenuOpen;
    flags.listGrowing = ListGrowing;
    flags.settingsDialogVisible = LauncherSetteiForm && LauncherSetteiForm->visible();
    flags.scheduleDialogVisible = LauncherSetScheduleForm && LauncherSetScheduleForm->visible();
    return flags;
}

void TLauncherMainForm::ShowTimeoutPhase() {
    ShowTimeouts due =
        checkShowTimeouts({timeGetTime(), LastShowTime, BubbleShownTime, Rise.running()});
    if (due.clearLastShowTime)
        LastShowTime = 0;
    if (!due.hideBubbles)
        return;
    BubbleShownTime = 0;
    for (int n = 1; n <= kLauncherCount; ++n)
        if (ButtonForms[n])
            ButtonForms[n]->ImgAwa.setVisible(false);
}

void TLauncherMainForm::IgnoredClickPhase() {
    if (ItemMenuTime == 0)
        return;
    IgnoreClickInput in;
    in.now = timeGetTime();
    in.itemMenuTime = ItemMenuTime;
    auto& flags = ButtonForms[1]->Shared.IgnoreNextClick;
    for (int n = 1; n <= kLauncherCount; ++n)
        in.ignoreNextClick[n - 1] = flags[n];
    const IgnoreClickRelease release = releaseIgnoredClicks(in);
    for (int n = 1; n <= kLauncherCount; ++n)
        if (release.clearFlag[n - 1])
            flags[n] = false;
    if (release.clearItemMenuTime)
        ItemMenuTime = 0;
}

// A tracked application whose window is gone has ended or replaced its window;
// the refresh tells which. Most ticks find every window in place and stop there.
void TLauncherMainForm::TrackedAppsPhase() {
    const CycleFlags flags = SnapshotFlags();
    for (int n = 1; n <= kLauncherCount; ++n) {
        TButtonForm* form = ButtonForms[n];
        if (!form)
            continue;
        const LauncherItems& items = form->Items();
        std::vector<int> vanished;
        for (int j = 0; j < items.RunCount(); ++j) {
            const TItemData& item = items.Items[static_cast<std::size_t>(items.RunningItems[j])];
            if (!IsWindow(reinterpret_cast<HWND>(item.MainWnd)))
                vanished.push_back(j);
        }
        if (vanished.empty() || !mayRefreshTracked(form->View(), flags))
            continue;
        // From the back, so that forgetting one entry leaves the earlier positions valid.
        for (auto j = vanished.rbegin(); j != vanished.rend(); ++j) {
            StopTimer1();
            form->RefreshTrackedApp(*j);
            StartTimer1();
        }
    }
}

// The taskbar button of a tracked application goes while it is in front. The
// removal (and the folder test it needs) runs once per visit of the
// foreground, not on every tick the application stays there.
void TLauncherMainForm::TaskbarPhase() {
    if (!Settings.hideTaskBarBtn)
        return;
    const HWND foreground = GetForegroundWindow();
    if (foreground == taskbarButtonRemovedFrom_)
        return;
    taskbarButtonRemovedFrom_ = nullptr;
    TaskbarUpkeepInput in;
    in.hideTaskbarButtons = true;
    in.foreground = reinterpret_cast<WindowId>(foreground);
    in.tracked = TrackedWindows(0);
    for (TrackedWindow& app : in.tracked)
        if (app.window == in.foreground)
            app.isFolder =
                fileio::directoryExists(ButtonForms[app.launcherNo]
                                            ->Items()
                                            .Items[static_cast<std::size_t>(app.itemIndex)]
                                            .ExeName);
    if (taskbarButtonToRemove(in)) {
        win::hideTaskbarButton(foreground);
        taskbarButtonRemovedFrom_ = foreground;
    }
}

std::vector<TrackedWindow> TLauncherMainForm::TrackedWindows(int launcherNo) const {
    std::vector<TrackedWindow> tracked;
    for (int n = 1; n <= kLauncherCount; ++n) {
        if ((launcherNo != 0 && n != launcherNo) || !ButtonForms[n])
            continue;
        const LauncherItems& items = ButtonForms[n]->Items();
        for (int i : items.RunningItems)
            tracked.push_back({n, i, items.Items[static_cast<std::size_t>(i)].MainWnd, false});
    }
    return tracked;
}

// Applications with a hidden owner window are minimised and shown in the
// taskbar as a whole, through the owner.
HWND TLauncherMainForm::OwnerOrSelf(WindowId window) {
    const HWND self = reinterpret_cast<HWND>(window);
    const HWND owner = GetWindow(self, GW_OWNER);
    return owner ? owner : self;
}

void TLauncherMainForm::ButtonPicturePhase() {
    for (int n = 1; n <= kLauncherCount; ++n) {
        TButtonForm* form = ButtonForms[n];
        if (!form || !form->hwnd() || !form->ImgButton.visible())
            continue;
        const LauncherItems& items = form->Items();
        std::vector<bool> oneClick;
        oneClick.reserve(items.Items.size());
        for (const TItemData& item : items.Items)
            oneClick.push_back(item.OneClick);
        ButtonPictureInput in;
        in.view.buttonVisible = true;
        in.view.listVisible = IsWindowVisible(form->ListBox1) != FALSE;
        in.view.rowSelected = SendMessageW(form->ListBox1, LB_GETSELCOUNT, 0, 0) > 0;
        in.oneClickItem = firstOneClickItem(items.JuniNo, oneClick);
        in.iconHoldsPicture = form->ImgIcon.hasPicture();
        const ButtonPictureStep step = decideButtonPicture(in);
        if (step.picture == ButtonPicture::ShowImage && !form->ImgIcon.visible())
            form->ImgIcon.setVisible(true);
        else if (step.picture == ButtonPicture::DrawIcon)
            form->ShowOneClickIcon();
    }
}

void TLauncherMainForm::HintTimeoutPhase() {
    if (HintShownTime == 0)
        return;
    HintTimeoutInput in;
    in.now = timeGetTime();
    in.hintShownTime = HintShownTime;
    in.listOrFolderVisible = anyListOrFolderVisible(SnapshotLaunchers());
    if (!hintExpired(in))
        return;
    HintShownTime = 0;
    if (HintForm && HintForm->hwnd())
        ShowWindow(HintForm->hwnd(), SW_HIDE);
}

void TLauncherMainForm::AutoHidePhase() {
    AutoHideInput in;
    in.now = timeGetTime();
    in.enabled = Settings.afterShowHide;
    in.shownTime = ShownTime;
    in.autoHideSeconds = Settings.afterShowHideDelaySeconds;
    if (!in.enabled || in.shownTime == 0)
        return; // nothing to decide: spare the snapshot
    in.flags = SnapshotFlags();
    in.launchers = SnapshotLaunchers();
    if (decideAutoHide(in) != AutoHide::Hide)
        return;
    ShownTime = 0;
    for (int n = 1; n <= kLauncherCount; ++n) {
        if (!ButtonForms[n])
            continue;
        ButtonForms[n]->HideList();
        ButtonForms[n]->LblIconName.setVisible(false);
        ShowWindow(ButtonForms[n]->hwnd(), SW_HIDE);
    }
}

void TLauncherMainForm::IdleListPhase() {
    const TimeStamp now = timeGetTime();
    // Most ticks fall inside the ten seconds; the launcher snapshot (pointer and
    // window queries for all five) is only worth taking once the time is up.
    if (ListActivityTime == 0 || elapsedMs(now, ListActivityTime) < kIdleListMs)
        return;
    IdleListInput in;
    in.now = now;
    in.listActivityTime = ListActivityTime;
    in.flags = SnapshotFlags();
    in.launchers = SnapshotLaunchers();
    IdleListClose close = decideIdleListClose(in);
    if (close.launcherNo == 0 || !ButtonForms[close.launcherNo])
        return;
    ListActivityTime = 0;
    ButtonForms[close.launcherNo]->CloseIdleList();
}

void TLauncherMainForm::RunStartUpWork() {
    startUpWorkDone_ = true;
    LoadSchedules();
    if (KelvoLauncherVersionForm)
        ShowWindow(KelvoLauncherVersionForm->hwnd(), SW_HIDE); // the splash ends here
    for (int n = 1; n <= kLauncherCount; ++n) {
        if (Settings.launcherHyoji[n - 1] && ButtonForms[n]) {
            ShowWindow(ButtonForms[n]->hwnd(), SW_SHOWNOACTIVATE);
            if (Settings.afterShowHide)
                ShownTime = timeGetTime();
        }
    }
    win::processPendingMessages();
    if (PositionMode() != kFreePlacementMode) {
        ArrangeLaunchers(PositionMode());
        for (int n = 1; n <= kLauncherCount; ++n) {
            if (!Settings.launcherHyoji[n - 1] || !ButtonForms[n])
                continue;
            RECT r{};
            GetWindowRect(ButtonForms[n]->hwnd(), &r);
            HomeLeft[n] = r.left;
            HomeTop[n] = r.top;
        }
    }
    RunStartUpActions();
    win::processPendingMessages();
    StartHooks();
}

// The startup programs, the desktop clearing at start and the first-run
// registration of special folders run here, in this order, once they exist.
void TLauncherMainForm::RunStartUpActions() {}

void TLauncherMainForm::MinimiseTrackedApps(int launcherNo) {
    for (const TrackedWindow& app : TrackedWindows(launcherNo))
        SendMessageW(OwnerOrSelf(app.window), WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TLauncherMainForm::MenuMinimizeAllClick() {
    MinimiseTrackedApps(0);
}

void TLauncherMainForm::MenuMinimizeAllOnThisButtonClick() {
    if (ContextLauncher > 0)
        MinimiseTrackedApps(ContextLauncher);
}

// Closes the tracked applications one after the other, each by its row's name,
// waiting for the launcher to report that the close has finished.
void TLauncherMainForm::CloseTrackedApps(int launcherNo) {
    struct Closing {
        int launcherNo;
        int itemIndex;
        std::wstring name;
    };
    std::vector<Closing> closing;
    for (int n = 1; n <= kLauncherCount; ++n) {
        if ((launcherNo != 0 && n != launcherNo) || !ButtonForms[n])
            continue;
        const LauncherItems& items = ButtonForms[n]->Items();
        const std::vector<std::wstring> rows = ButtonForms[n]->RowTexts();
        for (int i : items.RunningItems)
            for (std::size_t row = 0; row < items.JuniNo.size() && row < rows.size(); ++row)
                if (items.JuniNo[row] == i)
                    closing.push_back({n, i, withoutRunningMarker(rows[row])});
    }
    for (const Closing& app : closing) {
        ClosingFinished = false;
        ButtonForms[app.launcherNo]->CloseTrackedApp(app.itemIndex, app.name);
        while (!ClosingFinished) {
            win::processPendingMessages();
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        }
    }
}

void TLauncherMainForm::MenuCloseAllClick() {
    CloseTrackedApps(0);
}

void TLauncherMainForm::MenuCloseAllOnThisButtonClick() {
    if (ContextLauncher > 0)
        CloseTrackedApps(ContextLauncher);
}

// The tracked applications get their taskbar buttons back when the program ends.
void TLauncherMainForm::GiveBackTaskbarButtons() {
    for (const TrackedWindow& app : TrackedWindows(0))
        if (IsWindow(reinterpret_cast<HWND>(app.window)))
            win::showTaskbarButton(OwnerOrSelf(app.window));
}

void TLauncherMainForm::LoadSchedules() {
    TLauncherSetScheduleForm* schedule = LauncherSetScheduleForm;
    if (!schedule || schedule->SchedulesLoaded)
        return;
    std::array<int, kLauncherCount + 1> itemCounts{};
    for (int n = 1; n <= kLauncherCount; ++n)
        if (ButtonForms[n])
            itemCounts[n] = ButtonForms[n]->Items().ItemCount();
    // No tick may run while the records are still being built.
    StopTimer1();
    try {
        schedule->InitSchedules(DataDir, itemCounts);
    } catch (...) {
        // A schedule file that cannot be read must not keep the launchers
        // hidden and the hooks off: the rest of the start-up work goes on
        // without schedules.
        win::swallowUnexpectedError("schedule loading");
    }
    win::processPendingMessages();
    StartTimer1();
}

void TLauncherMainForm::StartHooks() {
    if (hooksStarted_)
        return;
    hooksStarted_ = true;
    StartCBTHook(hwnd());
    StartMouseKeyHook(hwnd());
    mouseHookMessage_ = RegisterWindowMessageA(GetMouseHookMsgString());
    keyHookMessage_ = RegisterWindowMessageA(GetKeyHookMsgString());
    if (mouseHookMessage_ == 0 || keyHookMessage_ == 0) {
        MessageBoxW(hwnd(), L"初期設定に失敗しました。", kAppTitle, MB_OK);
        PostMessageW(hwnd(), WM_CLOSE, 0, 0);
        return;
    }
    // Hooked input arrives from other processes, some of lower integrity.
    using ChangeFilterFn = BOOL(WINAPI*)(UINT, DWORD);
    auto changeFilter = reinterpret_cast<ChangeFilterFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "ChangeWindowMessageFilter")));
    if (IsVistaOrLater && changeFilter) {
        changeFilter(kWindowEventMessage, MSGFLT_ADD);
        changeFilter(mouseHookMessage_, MSGFLT_ADD);
        changeFilter(keyHookMessage_, MSGFLT_ADD);
    }
}

void TLauncherMainForm::MenuEndClick() {
    if (ExitStarted)
        return;
    StopTimer1();
    for (int n = 1; n <= kLauncherCount; ++n)
        if (Settings.launcherHyoji[n - 1] && ButtonForms[n])
            ButtonForms[n]->SavePosition();
    SaveWindowSizes();
    if (trayIcon_)
        trayIcon_->remove();
    SetThreadExecutionState(ES_CONTINUOUS);
    CloseAllowed = true;
    ExitStarted = true;
    if (LauncherPowerScheduleForm)
        LauncherPowerScheduleForm->CancelWakeTimer();
    GiveBackTaskbarButtons();
    win::endProcessOnUnexpectedError();
    win::processPendingMessages();
    SendMessageW(hwnd(), WM_CLOSE, 0, 0);
}

void TLauncherMainForm::SaveWindowSizes() {
    IniFile ini(DataDir + kGlobalSettingsFile);
    for (const HiddenForm* form : {static_cast<HiddenForm*>(LauncherSetteiForm),
                                   static_cast<HiddenForm*>(LauncherSetScheduleForm),
                                   static_cast<HiddenForm*>(LauncherPowerScheduleForm)}) {
        if (!form)
            continue;
        ini.writeInteger(form->sizeSection(), L"Width", form->width());
        ini.writeInteger(form->sizeSection(), L"Height", form->height());
    }
    ini.writeInteger(L"Screen", L"Width", GetSystemMetrics(SM_CXSCREEN));
    ini.writeInteger(L"Screen", L"Height", GetSystemMetrics(SM_CYSCREEN));
}

bool TLauncherMainForm::FormCloseQuery() {
    if (!CloseAllowed) {
        MenuEndClick(); // closes again once the sequence has run
        return false;
    }
    ReleaseOnClose();
    return true;
}

void TLauncherMainForm::ReleaseOnClose() {
    StartupApps.clear();
    Settings.activeWindowApps.clear();
    if (hooksStarted_) {
        StopCBTHook();
        StopMouseKeyHook();
        hooksStarted_ = false;
    }
}

} // namespace kelvo
