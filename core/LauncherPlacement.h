#pragma once
// Where the launcher windows stand: the fixed arrangements of all displayed
// launchers (a circle round the screen centre, a row along the bottom or top,
// a column along the left or right edge), the show of one launcher next to
// the pointer, and its way back home. Pure arithmetic on window and control
// rectangles; the window side measures the controls, calls in here and
// applies what comes back.
#include "graphics/LauncherPosition.h"
#include "graphics/ListLayout.h"

#include <functional>
#include <vector>

namespace kelvo {

// The placement modes of the tray menu; 1 (kFreePlacementMode) leaves the
// launchers where the user put them.
inline constexpr int kCirclePlacementMode = 0;
inline constexpr int kBottomRowPlacementMode = 2;
inline constexpr int kTopRowPlacementMode = kArrangedPlacementMode;
inline constexpr int kLeftColumnPlacementMode = 4;
inline constexpr int kRightColumnPlacementMode = 5;

// The mode to act on: the stored one when it names a menu entry, otherwise the
// circle, which is what an unchecked menu amounts to.
int checkedPlacementMode(int storedMode);

// A window on the screen, or a control inside its window.
struct Box {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// The parts of one launcher window that placement moves. `window` is in
// screen coordinates, the controls in window coordinates.
struct LauncherFrame {
    Box window;
    Box list;      // ListBox1
    Box button;    // ImgButton
    Box label;     // Label1
    Box nameImage; // ImgBtnName, the outlined name
    Box iconName;  // LblIconName, the item name pop-up
    Box icon;      // ImgIcon
    Box bubble;    // ImgAwa
};

// A window wider than the area ends up against its right edge.
int clampLeftIntoWorkArea(int left, int width, const Rect& workArea);

struct ArrangedLauncher {
    int launcherNo = 0;
    LauncherFrame frame;
    int savedListHeight = 0;   // LBHeight
    bool outlinedName = false; // NameFuchidori: ImgBtnName stands in for Label1
    bool tracksRunning = false;
};

// Lets the window side lay a launcher out around its running-application
// strip before a row is formed; it may widen the window and shift controls.
using StripLayoutFn = std::function<void(int launcherNo, LauncherFrame& frame)>;

struct ArrangeInput {
    int mode = kTopRowPlacementMode;
    bool launcher1Displaced = false;
    Rect workArea;       // of the primary monitor
    int screenWidth = 0; // the circle is centred on the screen, not the work area
    int screenHeight = 0;
    int launcher1ButtonHeight = 0;           // centres every launcher's button
    std::vector<ArrangedLauncher> launchers; // the displayed ones, in order 1..5
    StripLayoutFn layOutAroundStrip;         // may be empty
};

struct Arrangement {
    // False: the windows stay as they are (free mode, launcher 1 away from
    // home, or nothing displayed). True: apply every frame, then clear each
    // launcher's displacement and run its relayout, which records the new home.
    bool applies = false;
    std::vector<LauncherFrame> frames; // one per input launcher, same order
};
Arrangement arrangeLaunchers(const ArrangeInput& in);

// Puts a displaced launcher back: home position, saved list height, and the
// button above the list (under the name pop-up) or below it.
struct HomePlace {
    Point home;
    int savedListHeight = 0;  // LBHeight
    bool buttonOnTop = false; // IsButtonTop
};
LauncherFrame restoreHome(const LauncherFrame& frame, const HomePlace& home);

// Stacks label, outlined name, icon and bubble around the button's current
// top, first making the window tall enough for bubble and button together.
void stackAroundButton(LauncherFrame& frame);

// The bubble sitting on the button while the list is open.
Box bubbleOnButton(const LauncherFrame& frame);

struct PointerShowInput {
    Point pointer;
    Rect monitor;  // the monitor nearest the pointer
    Rect workArea; // of that monitor
    int mode = kTopRowPlacementMode;
    LauncherFrame frame;
};

struct PointerShow {
    LauncherFrame frame;
    bool lowerHalf = false; // the list opens above the button
    bool displaced = false;
};
// The keyboard show next to the pointer: the button lands under the pointer,
// the list above it in the lower half of the screen, below it in the upper.
PointerShow placeNearPointer(const PointerShowInput& in);

} // namespace kelvo
