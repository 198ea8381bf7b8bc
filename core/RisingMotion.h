#pragma once
// The rising show: a click with the main key held brings a launcher up from
// the bottom edge of the monitor to the pointer, swaying sideways and blinking
// its bubble, one step per tick of the main cycle. Without the animation the
// launcher simply appears at the pointer on the next tick.
#include "core/CycleClock.h"
#include "core/LauncherPlacement.h"

namespace kelvo {

inline constexpr int kRiseTicks = 20; // the counter value that ends the motion

struct RiseStartInput {
    int launcherNo = 0;
    Point pointer;
    Rect monitor;  // the monitor nearest the pointer
    Rect workArea; // of that monitor
    int mode = kTopRowPlacementMode;
    bool animate = true; // rise from the bottom edge rather than appear at once
    LauncherFrame frame;
};

// Everything the motion carries from one tick to the next.
struct RiseMotion {
    int launcherNo = 0;
    int counter = 0;        // 0 when idle, otherwise 1 .. kRiseTicks
    int step = 0;           // pixels upwards per tick
    Point target;           // the window's final left, and the pointer's y
    bool lowerHalf = false; // the list opens above the button
    Rect workArea;
    int mode = kTopRowPlacementMode;
    int bubbleHeight = 0;
    int iconNameHeight = 0;
    Point window; // where the window stands now

    bool running() const { return counter >= 1; }
};

struct RiseStart {
    RiseMotion motion;
    LauncherFrame frame; // at the start of its way, controls stacked round the button
    bool displaced = false;
    bool showBubble = false;
};
RiseStart startRise(const RiseStartInput& in);

enum class BubbleChange { None, Show, Hide };

struct RiseTickInput {
    TimeStamp now = 0;
    int targetListHeight = 0; // LBTargetHeight, read when the motion ends
};

struct RiseTick {
    Point window;
    BubbleChange bubble = BubbleChange::None;
    bool finished = false;
    // Only when finished. The window side then relays the launcher out, opens
    // its list, and puts the bubble on the button (bubbleOnButton) visible.
    bool displaced = false;
    TimeStamp lastShowTime = 0;
    TimeStamp bubbleShownTime = 0;
};
// One tick of the motion; does nothing while it is idle.
RiseTick advanceRise(RiseMotion& motion, const RiseTickInput& in);

inline constexpr std::uint32_t kBubbleShowMs = 1000;
// Whether the bubbles of all launchers are due to be hidden.
bool bubblesExpired(TimeStamp now, TimeStamp bubbleShownTime, bool riseRunning);

} // namespace kelvo
