#pragma once
// The decisions around showing, hiding and bringing home the launchers: when
// the near-pointer show applies, what opening a list involves, which windows
// the Escape key and a single show close, what returning home touches, when
// losing the foreground returns the launchers home, and how display and
// work-area changes re-arrange them. No window calls; the window side asks
// and carries out.
#include "core/CycleClock.h"
#include "storage/GlobalSettings.h"

#include <array>
#include <optional>
#include <vector>

namespace kelvo {

// --- Showing one launcher ---------------------------------------------------

struct ShowRequest {
    int launcherNo = 0;
    int tapCount = 0;
    bool digitHeld = false; // one of the digit keys 1..5
    bool mainKeyHeld = false;
    bool nearMouse = false; // the option to show next to the pointer
    bool byActiveWindowButton = false;
};
// Otherwise the launcher shows at home.
bool showsNearPointer(const ShowRequest& request);

struct ListOpenInput {
    bool hasItems = false;
    bool tracksRunning = false; // its strip of running applications takes the place of the list
    bool growAnimated = false;  // lists grow row by row when opened
    bool growthRunning = false;
};

struct ListOpening {
    bool bringToFront = false;
    bool openList = false;    // deselect, show and focus the list, hide the strip, redraw the icon
    bool startGrowth = false; // start growing it (startListGrowth with growing on)
};
ListOpening planListOpening(const ListOpenInput& in);

struct ListGrowthInput {
    int launcherNo = 0;
    bool timerRunning = false;
    bool growing = false; // start from three rows, rather than shrink by one
    int listHeight = 0;
    int listTop = 0;
    int buttonTop = 0;
    int itemHeight = 0;
    TimeStamp now = 0;
};

enum class GrowthStart { Ignored, Cancelled, Started };

struct ListGrowth {
    GrowthStart result = GrowthStart::Ignored;
    int listHeight = 0;
    int listTop = 0;
    TimeStamp growTime = 0; // ListGrowTime
};
// Cancelled: clear ListGrowing, since no tick would ever continue it.
ListGrowth startListGrowth(const ListGrowthInput& in);

// --- Closing launchers ------------------------------------------------------

struct LauncherState {
    bool displayed = false; // the user wants this launcher at all
    bool visible = false;   // its window is on screen now
    bool displaced = false;
};
using LauncherStates = std::array<LauncherState, kLauncherCount>; // by launcher number − 1

struct LauncherClose {
    int launcherNo = 0;
    bool restoreHome = false; // put the window back home after closing it
};

inline constexpr int kEscapeKeyCode = 27;
// Empty unless Escape is held and is not itself the main key.
std::vector<LauncherClose> closeAllOnEscape(int mainKeyCode, bool escapeHeld,
                                            const LauncherStates& launchers);

// The launchers to close before launcher `shown` appears alone; none while a
// list is growing, so a launcher that has just opened keeps its list.
std::vector<int> launchersHiddenForShow(int shown, bool listGrowing,
                                        const LauncherStates& launchers);

// --- Returning home ---------------------------------------------------------

struct ReturnHomeLauncher {
    bool displayed = false;
    bool displaced = false;
    bool hasItems = false;
    bool outlinedName = false; // NameFuchidori
    bool tracksRunning = false;
    bool refreshingStrip = false;
    bool rowSelected = false;
};

struct ReturnHomeInput {
    int mode = 0;               // the checked placement mode
    bool hideAfterShow = false; // the buttons hide a set time after they were shown
    std::array<ReturnHomeLauncher, kLauncherCount> launchers{};
};

// What ReturnAllHome does to one launcher, in its order: hover and growth are
// always cleared, list, folder view, rename box and name pop-up always hidden,
// and the window moved home before and after the rest.
struct HomeReturn {
    int launcherNo = 0;
    bool deselectRows = false;
    bool restoreListAndButton = false; // restoreHome's list height and button top
    bool rearrange = false;            // arrangeLaunchers by the checked mode afterwards
    bool showButton = false;
    bool showLabel = false;     // the plain name
    bool showNameImage = false; // the outlined name
    bool showStrip = false;
    bool redrawIcon = false;   // the first one-click item's icon on the button
    bool showAtBottom = false; // show the window at the bottom of the z-order
};
std::vector<HomeReturn> planReturnAllHome(const ReturnHomeInput& in);

// --- Losing the foreground --------------------------------------------------

struct DeactivationInput {
    bool formsReady = false; // all forms but the hint window
    bool exitStarted = false;
    bool riseRunning = false;
    bool showKeyHeld = false;  // the main key, or a digit or numeric-pad key 1..5
    bool suppressOnce = false; // set by commands that expect to lose the foreground
    bool launchersBusy = false;
    bool pointerOverButtonOrStrip = false; // of any launcher, visible ones only
    TimeStamp lastShowTime = 0;
    bool hideAfterShow = false;
    TimeStamp shownTime = 0;
    bool suppressOnceMore = false; // the second one-shot flag
    bool activeWindowButtonBusy = false;
};

enum class DeactivationAction {
    None,
    ClearSuppression,       // clear suppressOnce, nothing else
    ClearSecondSuppression, // clear suppressOnceMore, nothing else
    ReturnAllHome,          // with Timer1 stopped around it
};
DeactivationAction onDeactivation(const DeactivationInput& in);

// --- Display and work-area changes ------------------------------------------

// Lets the display settle (and other programs move their windows) before the
// launchers are placed again.
inline constexpr std::uint32_t kDisplaySettleMs = 10000;

struct DisplayChangeInput {
    int startScreenWidth = 0;
    int startScreenHeight = 0;
    int monitorCount = 0;
    int storedMode = 0;
};

struct DisplayChange {
    bool proceeds = false; // wait kDisplaySettleMs, record the new screen size
    bool arranges = false; // then arrangeLaunchers(mode)
    int mode = 0;
};
DisplayChange onDisplayChange(const DisplayChangeInput& in);

inline constexpr unsigned kSettingWorkArea = 47; // SPI_SETWORKAREA
// The mode to arrange by, or nothing when another setting changed.
std::optional<int> onSettingChange(unsigned setting, int storedMode);

} // namespace kelvo
