#pragma once
// The per-tick decisions of the main cycle that are more than a single call:
// time-outs of the show logic, the ignore-next-click flags, when tracked
// applications may be refreshed, the hiding of the buttons a set time after
// they were shown, the closing of an idle list, which tracked window loses its
// taskbar button, the button pictures and the hover growth, and the hint
// time-out. The window side takes a snapshot of what a phase reads, asks, and
// carries out the answer; nothing here touches a window.
#include "core/CycleClock.h"
#include "storage/GlobalSettings.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace kelvo {

// --- Snapshots shared by several phases ---------------------------------------

// What the cycle needs to know of one launcher window at this tick.
struct LauncherView {
    bool windowVisible = false;
    bool buttonVisible = false;
    bool displaced = false; // moved away from its home position
    bool listVisible = false;
    bool folderViewVisible = false;
    bool renameEditVisible = false;
    bool rowSelected = false;
    bool stripVisible = false; // the strip of running applications
    bool pointerOverButton = false;
    bool pointerOverStrip = false;
    bool pointerInWindow = false;
    int trackedCount = 0; // running applications it follows
};
using LauncherViews = std::array<LauncherView, kLauncherCount>; // by launcher number − 1

// Application-wide facts that hold the automatic closing and hiding off.
struct CycleFlags {
    bool menuOpen = false;
    bool itemEditBusy = false;        // items are being deleted or moved
    bool folderStartBusy = false;     // all files of a folder are being started
    bool launchersBusy = false;       // a launch, drop or item command is running
    bool operationInProgress = false; // a launcher reports work of its own
    bool listGrowing = false;
    bool settingsDialogVisible = false;
    bool scheduleDialogVisible = false;
};

bool anyListOrFolderVisible(const LauncherViews& launchers);

// --- Time-outs of the show logic ----------------------------------------------

inline constexpr std::uint32_t kShowBlockMs = 3000;

struct ShowTimeoutInput {
    TimeStamp now = 0;
    TimeStamp lastShowTime = 0;
    TimeStamp bubbleShownTime = 0;
    bool riseRunning = false;
};

struct ShowTimeouts {
    bool clearLastShowTime = false; // triggers may show the launchers again
    bool hideBubbles = false;       // of all five launchers
};
ShowTimeouts checkShowTimeouts(const ShowTimeoutInput& in);

// --- Ignore-next-click flags --------------------------------------------------

inline constexpr std::uint32_t kIgnoreClickMs = 1000;

struct IgnoreClickInput {
    TimeStamp now = 0;
    TimeStamp itemMenuTime = 0; // when the item menu opened
    std::array<bool, kLauncherCount> ignoreNextClick{};
};

struct IgnoreClickRelease {
    std::array<bool, kLauncherCount> clearFlag{};
    bool clearItemMenuTime = false;
};
IgnoreClickRelease releaseIgnoredClicks(const IgnoreClickInput& in);

// --- Tracked applications -----------------------------------------------------

// Whether the vanished applications of this launcher may be refreshed now: not
// while the user is working with its list, button or a menu, since the refresh
// rewrites rows and icons under them.
bool mayRefreshTracked(const LauncherView& launcher, const CycleFlags& flags);

// --- Closing after the schedule dialog ----------------------------------------

inline constexpr std::uint32_t kScheduleCloseSettleMs = 500;

struct ScheduleCloseInput {
    TimeStamp now = 0;
    TimeStamp scheduleCloseTime = 0;
    int contextLauncher = 0; // the launcher of the item the dialog was opened for
};

// The launcher whose list to hide (clearing the close time), 0 for none yet.
int listHiddenAfterScheduleClose(const ScheduleCloseInput& in);

// --- Hiding the buttons a set time after they were shown ----------------------

struct AutoHideInput {
    TimeStamp now = 0;
    bool enabled = false; // the option that hides the buttons after a set time
    TimeStamp shownTime = 0;
    int autoHideSeconds = 0;
    CycleFlags flags;
    LauncherViews launchers{};
};

enum class AutoHide {
    NotDue, // not enabled, not shown, busy, or the time has not passed
    Held,   // due, but the user is still working with a launcher; asked again next tick
    Hide,   // clear ShownTime; every launcher deselects, hides list, folder view,
            // name label, and closes its window
};
AutoHide decideAutoHide(const AutoHideInput& in);

// --- Closing an idle list -----------------------------------------------------

inline constexpr std::uint32_t kIdleListMs = 10000;

struct IdleListInput {
    TimeStamp now = 0;
    TimeStamp listActivityTime = 0;
    CycleFlags flags;
    LauncherViews launchers{};
};

struct IdleListClose {
    int launcherNo = 0;     // 0: nothing to close
    bool showStrip = false; // it follows applications; otherwise hide the strip
};
// On a close the window side clears ListActivityTime, deselects, hides the list,
// sets the strip, redraws the one-click icon and hides folder view, rename box
// and name label.
IdleListClose decideIdleListClose(const IdleListInput& in);

// --- Taskbar buttons of tracked applications ----------------------------------

using WindowId = std::uintptr_t; // a window handle, 0 for none

struct TrackedWindow {
    int launcherNo = 0;
    int itemIndex = 0;
    WindowId window = 0;
    bool isFolder = false; // a folder window belongs to the shell and keeps its button
};

struct TaskbarUpkeepInput {
    bool hideTaskbarButtons = false; // the option for launched applications
    WindowId foreground = 0;
    std::vector<TrackedWindow> tracked;
};

// The index in `tracked` of the one application whose taskbar button to remove.
std::optional<std::size_t> taskbarButtonToRemove(const TaskbarUpkeepInput& in);

// --- Button pictures ----------------------------------------------------------

// The first item, in list order, marked as one-click item; -1 when none is.
// `order` maps list position to item index, `oneClick` is by item index.
int firstOneClickItem(const std::vector<int>& order, const std::vector<bool>& oneClick);

struct ButtonPictureInput {
    LauncherView view;
    int oneClickItem = -1;         // firstOneClickItem
    bool iconHoldsPicture = false; // the button's icon image already has it
};

enum class ButtonPicture {
    Leave,     // the launcher is in use, or has no one-click item
    ShowImage, // make the icon image visible
    DrawIcon,  // draw the one-click item's icon on it
};

struct ButtonPictureStep {
    ButtonPicture picture = ButtonPicture::Leave;
    int itemIndex = -1;
    bool showStripIcons = false; // make each tracked icon visible, creating missing ones
};
ButtonPictureStep decideButtonPicture(const ButtonPictureInput& in);

// --- Hover growth -------------------------------------------------------------

inline constexpr int kHoverGrowPx = 4;
inline constexpr int kHoverFullPx = 50;

struct HoverInput {
    bool pointerOverIcon = false;        // the button's icon image
    bool pointerOverTrackedIcon = false; // the hovered tracked-application icon
    int width = 0;
    int height = 0;
};

struct HoverStep {
    bool showNameLabel = false; // otherwise hide it
    bool resize = false;        // set width × height and redraw the picture stretched
    int width = 0;
    int height = 0;
    bool finished = false; // clear the launcher's hover mark
};
// One tick for a launcher marked for the hover effect.
HoverStep advanceHover(const HoverInput& in);

// --- Hint time-out ------------------------------------------------------------

inline constexpr std::uint32_t kHintOverListMs = 5000;

struct HintTimeoutInput {
    TimeStamp now = 0;
    TimeStamp hintShownTime = 0;
    bool listOrFolderVisible = false; // of any launcher
};

// True: close the hint window and clear its show time.
bool hintExpired(const HintTimeoutInput& in);

} // namespace kelvo
