#pragma once
// The invisible main window: owner of the tray icon, the tray menu, the main
// cycle timer and the program's global flags; runs start-up and the exit sequence.
#include "core/Form.h"
#include "core/CycleClock.h"
#include "core/MainCycle.h"
#include "core/MainCycleGate.h"
#include "core/RisingMotion.h"
#include "core/TriggerLogic.h"
#include "platform/Handles.h"
#include "platform/TrayIcon.h"
#include "storage/GlobalSettings.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace kelvo {

inline constexpr UINT kTrayCallbackMessage = WM_USER + 100;
inline constexpr UINT kWindowEventMessage = WM_APP + 1; // from the window-event library

// State of a tray-menu entry whose command arrives with the full tray menu.
struct MenuEntryState {
    std::wstring caption;
    bool enabled = true;
};

class TLauncherMainForm : public Form {
  public:
    bool FormCreate(const std::vector<std::wstring>& arguments);

    // Applied when the first launcher window has read Settei0.ini.
    void ApplyGlobalSettings(const GlobalSettings& settings);
    void MenuEndClick();
    // The tray menu at a point; `launcherNo` is the launcher it was opened from (0: the tray).
    void ShowTrayMenu(int launcherNo, POINT at);
    // The item menu of a launcher's list; `running` disables what cannot apply
    // to a running item.
    void OpenItemMenu(int launcherNo, bool running, POINT at);
    void MenuNameChangeClick();
    // Minimise the tracked applications of all launchers, or of ContextLauncher.
    void MenuMinimizeAllClick();
    void MenuMinimizeAllOnThisButtonClick();
    // Close the tracked applications of all launchers, or of ContextLauncher.
    void MenuCloseAllClick();
    void MenuCloseAllOnThisButtonClick();
    bool ClosingFinished = false; // set by a launcher when one close has ended
    void MenuCommentClick();
    int ContextLauncher = 0; // launcher of the open item menu; 0 = the tray

    std::wstring DataDir; // ends in a backslash
    std::wstring ExeDir;  // ends in a backslash
    int StartScreenWidth = 0, StartScreenHeight = 0;
    std::wstring StartupShortcutPath;
    bool StartedByStartup = false;
    std::vector<std::wstring> StartupApps;
    std::vector<int> StartupIntervals;
    int StartupAppCount = 0;
    bool IsVistaOrLater = false, IsWin8 = false, IsWin10 = false;
    bool Is64BitWindows = false;
    int CaptionButtonWidth = 0;
    int MenuTextWidth = 0;
    std::array<bool, kFormCount> FormsReady{};
    bool ExitStarted = false;
    bool CloseAllowed = false;
    bool SessionEnding = false;
    int HookMouseButton = -1; // last button the input hook reported; -1 none
    GlobalSettings Settings;

    // Per-launcher display state, indexed by launcher number 1..5.
    template <typename T> using PerLauncher = std::array<T, kLauncherCount + 1>;
    PerLauncher<bool> NameFuchidori{};
    PerLauncher<int> ListAlpha{};
    PerLauncher<bool> Displaced{};
    PerLauncher<int> HomeLeft{}, HomeTop{};
    PerLauncher<bool> IsButtonTop{};
    PerLauncher<int> LBHeight{};
    PerLauncher<int> LBTargetHeight{};
    PerLauncher<HMONITOR> LauncherMonitor{}; // remembered when a launcher is dragged

    // The list that is unrolling, if any.
    int ListGrowLauncher = 0;
    bool ListGrowing = false;
    TimeStamp ListGrowTime = 0;
    int ListGrowStep = 100;
    TimeStamp ListActivityTime = 0;
    TimeStamp BubbleShownTime = 0;
    TimeStamp LastShowTime = 0; // a trigger showed the launchers; blocks further triggers
    TimeStamp ShownTime = 0;    // the launchers were shown, for hiding them after a set time
    bool MenuOpen = false;
    TimeStamp HintShownTime = 0; // the hint window is showing since
    TimeStamp ItemMenuTime = 0;  // the item menu opened; releases the ignored click
    // Launch modes: set by a caller for the length of one launch.
    bool ScheduledLaunch = false;
    bool ShowByMiddleClick = false;
    bool FolderStartBusy = false;
    bool ItemEditBusy = false;       // items are being deleted or moved
    PerLauncher<bool> RefreshBusy{}; // a tracked-list refresh of that launcher runs
    bool Timer1Running() const { return timer1Running_; }
    void StartTimer1();
    void StopTimer1();
    void StartListGrowth(int launcherNo);
    // Places all displayed launchers by a placement mode.
    void ArrangeLaunchers(int mode);
    // The checked placement mode (0..5).
    int PositionMode() const { return Settings.positionMode; }

    // --- Showing and hiding the launchers (LauncherShowing.cpp) ---
    bool LauncherDisplayed(int n) const;
    void ShowAllLaunchers();
    void HideOtherLaunchers(int shown);
    // The keyboard show: near the pointer when allowed, its list opened.
    void ShowLauncher(int n, int tapCount);
    // The rising show: the launcher comes up from the bottom edge to the pointer.
    void ShowLauncherAtClick(int n);
    void CloseAllOnEscape();
    void ReturnAllHome();
    TriggerState Trigger;
    RiseMotion Rise;
    // Set by commands that expect the program to lose the foreground.
    bool SuppressDeactivation = false;
    bool SuppressDeactivationOnceMore = false;
    HWND ActiveTrackedWindow = nullptr; // the window carrying the active-window button
    bool ActiveButtonPlacing = false;

    MenuEntryState MenuStartUp;
    MenuEntryState MenuSleep, MenuStandby, MenuKyushi;
    MenuEntryState MenuShowButtonNearMouse;

  protected:
    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    void WaitForTaskbar();
    void AddTrayIcon();
    void DetectStartupShortcut(const std::vector<std::wstring>& arguments);
    bool CreateStartupShortcut();
    void ReadStartupPrograms();
    void QueryWindowsVersion();
    void BuildPopupMenu();

    void TrayIconCallback(LPARAM mouseMessage);
    void Timer1Timer();
    // Input that calls the launchers (TriggerInput.cpp).
    TriggerSettings CurrentTriggerSettings() const;
    InputFacts GatherInputFacts() const;
    void HookMouseMessage(WPARAM mouseMessage);
    void HookKeyMessage(WPARAM wParam, LPARAM lParam);
    void TriggerPhase();
    void CarryOut(const TriggerActions& actions, int tapCount);
    void RecordPreviousForeground();
    void GestureStart(int n);
    void WindowEvent(WPARAM window, LPARAM code);
    void PlaceActiveWindowButton(HWND window);
    // Placement and motion (LauncherShowing.cpp).
    void MoveHome(int n);
    void OpenListAfterShow(int n);
    void RisePhase();
    void ApplicationDeactivated();
    void DisplayChanged();
    void SettingChanged(WPARAM setting);
    void RunStartUpWork();
    void RunStartUpActions();
    void MinimiseTrackedApps(int launcherNo); // 0: all launchers
    void CloseTrackedApps(int launcherNo);    // 0: all launchers
    void GiveBackTaskbarButtons();
    // The tracked applications of one launcher, or of all (0), in launch order.
    std::vector<TrackedWindow> TrackedWindows(int launcherNo) const;
    static HWND OwnerOrSelf(WindowId window);
    void LoadSchedules();
    void GrowListPhase();
    void ShowTimeoutPhase();
    void IgnoredClickPhase();
    void TrackedAppsPhase();
    void TaskbarPhase();
    void ButtonPicturePhase();
    void HintTimeoutPhase();
    void AutoHidePhase();
    void IdleListPhase();
    LauncherViews SnapshotLaunchers() const;
    CycleFlags SnapshotFlags() const;
    void StartHooks();
    bool FormCloseQuery();
    void ReleaseOnClose();
    void SaveWindowSizes();

    std::unique_ptr<win::TrayIcon> trayIcon_;
    UINT taskbarCreatedMessage_ = 0;
    UINT mouseHookMessage_ = 0, keyHookMessage_ = 0;
    win::UniqueMenu PopupMenu1;
    win::UniqueMenu PopupMenu2;
    MainCycleGate gate_;
    bool startUpWorkDone_ = false;
    bool hooksStarted_ = false;
    bool timer1Running_ = false;
    HWND taskbarButtonRemovedFrom_ = nullptr; // the foreground window last stripped of its button
};

} // namespace kelvo
