#pragma once
// How raw input calls up the launchers: taps and long presses of the main key,
// clicks with the main key or a digit key held, the pointer pushed against a
// screen edge, Escape with a click. The window side feeds the reported mouse
// and key messages and every tick of the main cycle in here, together with a
// snapshot of what it can see (InputFacts), and carries out the returned
// actions in their order. The counters of a gesture in progress live in
// TriggerState between calls. Nothing here touches a window.
#include "core/CycleClock.h"
#include "core/MainCycle.h"
#include "graphics/LauncherPosition.h"
#include "graphics/ListLayout.h"
#include "storage/GlobalSettings.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kelvo {

// --- Keys and mouse messages the triggers know ---------------------------------

inline constexpr int kVkLeftButton = 0x01;
inline constexpr int kVkMiddleButton = 0x04;
inline constexpr int kVkEnter = 0x0D;
inline constexpr int kVkShift = 0x10;
inline constexpr int kVkCtrl = 0x11;
inline constexpr int kVkAlt = 0x12;
inline constexpr int kVkEscape = 0x1B;
inline constexpr int kVkMuhenkan = 0x1D; // 無変換, the main key out of the box
inline constexpr int kVkInsert = 0x2D;
inline constexpr int kVkDigit0 = 0x30; // digit n is kVkDigit0 + n
inline constexpr int kVkZ = 0x5A;
inline constexpr int kVkNumpad0 = 0x60; // numeric-pad n is kVkNumpad0 + n

inline constexpr unsigned kMouseLeftUp = 0x0202;   // WM_LBUTTONUP
inline constexpr unsigned kMouseMiddleUp = 0x0208; // WM_MBUTTONUP

inline constexpr int kNoHookButton = -1;

// Waits of the gestures.
inline constexpr std::uint32_t kGestureSettleMs = 500; // after the last tap or click
inline constexpr std::uint32_t kLongPressMs = 1000;
inline constexpr std::uint32_t kGestureResetMs = 5000; // a gesture left unfinished is dropped

// Width of the strip along a screen edge that counts as the edge, and the
// margin kept clear of the corners when a band is picked.
inline constexpr int kEdgeStripPx = 5;
inline constexpr int kEdgeCornerPx = 3;

inline constexpr int kMaxGestureCount = 5; // taps or clicks beyond five still mean five

// --- Inputs ---------------------------------------------------------------------

enum ScreenEdge { kLeftEdge = 0, kRightEdge = 1, kTopEdge = 2, kBottomEdge = 3 };

struct TriggerSettings {
    int mainKey = kVkMuhenkan;                               // virtual key code
    std::array<bool, 4> edgeEnabled{true, true, true, true}; // by ScreenEdge
    bool zKeyMode = false;      // an edge calls the launchers only while Z is held
    bool hideAfterShow = false; // the buttons hide a set time after they were shown
    bool hideAfterRun = false;  // the buttons hide once an item was launched
};

// What the triggers need to know of one launcher.
struct TriggerLauncher {
    bool displayed = false; // the user wants this launcher at all
    bool listVisible = false;
    bool folderViewVisible = false;
};

// The physical state of a virtual key at the time of the call (the
// asynchronous key state); mouse buttons are asked by their key codes too.
using KeyQuery = std::function<bool(int virtualKey)>;

// A snapshot the window side takes for each message and tick.
struct InputFacts {
    TimeStamp now = 0;
    KeyQuery keyHeld; // may be left empty: then no key is held
    Point pointer;
    Rect primaryMonitor;           // screen coordinates
    bool pointerOnPrimary = false; // the monitor nearest the pointer is the primary one
    std::wstring clipboardText;    // needed only with Ctrl as main key; its start suffices
    std::array<TriggerLauncher, kLauncherCount> launchers{}; // by launcher number − 1
    bool launchersBusy = false; // a launch, drop or item command is running
    bool menuOpen = false;      // a pop-up menu of the main window
    bool riseRunning = false;   // a launcher is rising to a click position
    bool listGrowing = false;
    bool pointerInLauncherRect = false; // inside any launcher window's rectangle, shown or not
    // LastShowTime: a show has just happened and gestures must not pile another
    // on it. Not held back by it: the rising show of a left click (it stamps
    // LastShowTime itself on arrival) and a digit held at an edge.
    TimeStamp lastShowTime = 0;
};

// --- State ----------------------------------------------------------------------

// The counters of a gesture in progress, kept by the main window between calls.
struct TriggerState {
    std::array<bool, kLauncherCount> DigitHeld{}; // digit n held and launcher n displayed
    int DigitHeldCount = 0;
    bool ZHeld = false;  // sampled while the pointer is at an edge
    bool AtEdge = false; // on an enabled edge of the primary monitor
    int TapCount = 0;    // main-key releases, 0..5
    // Clicks with the main key held, 0..5; 1 also marks a keyboard or edge show.
    int ClickCount = 0;
    TimeStamp LastKeyTime = 0;     // last counted tap or click
    TimeStamp MainKeyDownTime = 0; // for telling a long press from a tap
    bool KeyHandled = false;       // a keyboard or edge show happened; the clicks do not count
    bool LongPressDone = false;    // clicks were evaluated while the key was held; skip its release
    // The last released mouse button: kVkLeftButton, kVkMiddleButton or none.
    int HookButton = kNoHookButton;
};

// --- Outputs --------------------------------------------------------------------

enum class TriggerActionKind {
    ShowAllLaunchers,         // every displayed launcher at home
    HideOtherLaunchers,       // close every displayed launcher but `launcher`
    ShowLauncher,             // the keyboard show: near the pointer when allowed, list opened
    ShowLauncherAtClick,      // the rising show to the pointer
    GestureStart,             // show window `launcher`, bring it to the front, middle-click
                              // its button (which launches its one-click group)
    RecordPreviousForeground, // note the window in front before a launcher appears
    ProcessMessages,
    CloseAllOnEscape,
    SetLastShowTime,      // LastShowTime = stamp
    SetShownTime,         // ShownTime = stamp, for the hiding after a set time
    SetShowByMiddleClick, // ShowByMiddleClick = true, read and cleared by the launch
};

struct TriggerAction {
    TriggerActionKind kind = TriggerActionKind::ProcessMessages;
    int launcher = 0;    // 1..5 where the kind names one, else 0
    TimeStamp stamp = 0; // SetLastShowTime and SetShownTime; never 0

    bool operator==(const TriggerAction&) const = default;
};
using TriggerActions = std::vector<TriggerAction>;

// --- Operations -----------------------------------------------------------------

// Recomputes DigitHeld and DigitHeldCount: a digit or numeric-pad key 1..5
// counts only when its launcher is displayed.
void scanDigits(TriggerState& state, const InputFacts& in);

// A mouse message reported by the hook library; only left and middle button
// releases count.
TriggerActions onHookMouse(TriggerState& state, const TriggerSettings& settings,
                           const InputFacts& in, unsigned mouseMessage);

struct HookKey {
    int virtualKey = 0;
    bool released = false;
};
// wParam carries the virtual key in its low 16 bits, lParam the keystroke
// flags with bit 31 set on release.
HookKey decodeHookKey(std::uint32_t wParam, std::uint32_t lParam);

// A key message reported by the hook library.
TriggerActions onHookKey(TriggerState& state, const TriggerSettings& settings, const InputFacts& in,
                         HookKey key);

// The trigger phase of a main-cycle tick: the screen edges, and the taps and
// clicks whose settle time has passed.
TriggerActions evaluateTriggers(TriggerState& state, const TriggerSettings& settings,
                                const InputFacts& in);

// --- Window events of the active-window button ----------------------------------

inline constexpr std::uint32_t kWindowEventSettleMs = 500;

struct WindowEventFacts {
    WindowId window = 0; // the window the event is about
    int code = 0;        // the event code
    WindowId mainWindow = 0;
    bool ownedByMainWindow = false;
    bool hasParent = false;
    bool waitingForActiveCommand = false; // EnableActiveWaiting
    bool placementRunning = false;        // the button is being placed right now
    bool buttonOptionOn = false;          // the small button on the active window
    bool buttonBusy = false;
    WindowId activeTrackedWindow = 0;
};

enum class WindowEventResponse {
    Ignore,
    // Wait kWindowEventSettleMs; if `window` is still in front, stop the main
    // cycle, place the button on it with the placement mark set, restart.
    PlaceButton,
    // Hide the button and clear the tracked window, the placement mark set meanwhile.
    RemoveButton,
};
WindowEventResponse respondToWindowEvent(const WindowEventFacts& event);

} // namespace kelvo
