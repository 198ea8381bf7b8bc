#pragma once
// The invisible main window: owner of the tray icon, the tray menu, the main
// cycle timer and the program's global flags; runs start-up and the exit sequence.
#include "core/Form.h"
#include "core/MainCycleGate.h"
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
    void RunStartUpWork();
    void StartHooks();
    bool FormCloseQuery();
    void ReleaseOnClose();
    void SaveWindowSizes();

    std::unique_ptr<win::TrayIcon> trayIcon_;
    UINT taskbarCreatedMessage_ = 0;
    UINT mouseHookMessage_ = 0, keyHookMessage_ = 0;
    win::UniqueMenu PopupMenu1;
    MainCycleGate gate_;
    bool startUpWorkDone_ = false;
    bool hooksStarted_ = false;
};

} // namespace kelvo
