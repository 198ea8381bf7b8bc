#include "core/RisingMotion.h"

#include <algorithm>
#include <cstdlib>

namespace kelvo {
namespace {

constexpr int kSwayPixels = 10;
constexpr int kSwayTicks = 5;   // ticks per swing to one side
constexpr int kBubbleBlink = 5; // the bubble's blinking period in ticks
constexpr int kBubbleHiddenAt = 3;

// 0 means "not set", so a stamp taken at that very millisecond moves on by one.
TimeStamp stampOf(TimeStamp now) {
    return now == 0 ? 1 : now;
}

int halfwayDown(const Rect& monitor) {
    return monitor.top + (monitor.bottom - monitor.top) / 2;
}

// Lower half: the list (at least as tall as the bubble) ends at the pointer.
// Upper half: the button's top is at the pointer, under the name pop-up.
Point finalPlace(const RiseMotion& motion, int targetListHeight) {
    Point at{motion.target.x, 0};
    if (motion.lowerHalf)
        at.y = motion.target.y - std::max(targetListHeight, motion.bubbleHeight);
    else
        at.y = std::max(motion.target.y - motion.iconNameHeight, motion.workArea.top);
    return at;
}

RiseTick finish(RiseMotion& motion, const RiseTickInput& in) {
    RiseTick tick;
    tick.finished = true;
    tick.window = finalPlace(motion, in.targetListHeight);
    tick.bubble = BubbleChange::Hide;
    tick.displaced = motion.mode != kFreePlacementMode;
    tick.lastShowTime = stampOf(in.now);
    tick.bubbleShownTime = stampOf(in.now);
    motion.counter = 0;
    motion.step = 0;
    motion.window = tick.window;
    return tick;
}

} // namespace

RiseStart startRise(const RiseStartInput& in) {
    RiseStart out;
    out.frame = in.frame;
    LauncherFrame& f = out.frame;
    RiseMotion& m = out.motion;
    m.launcherNo = in.launcherNo;
    m.mode = in.mode;
    m.workArea = in.workArea;
    m.target = {clampLeftIntoWorkArea(in.pointer.x - f.button.left, f.window.width, in.workArea),
                in.pointer.y};
    m.lowerHalf = m.target.y > halfwayDown(in.monitor);

    const int listHeight = f.list.height;
    f.button.top = m.lowerHalf ? listHeight : f.iconName.height;
    stackAroundButton(f);
    m.bubbleHeight = f.bubble.height;
    m.iconNameHeight = f.iconName.height;
    out.displaced = in.mode != kFreePlacementMode;

    f.window.left = m.target.x;
    if (in.animate) {
        // Start at the monitor's bottom edge, not the work area's: the rise
        // begins at the very bottom of the screen, over any taskbar.
        const int screenBottom = in.monitor.bottom;
        int buttonTop = 0;
        if (m.lowerHalf) {
            f.window.top = screenBottom - f.button.height - listHeight;
            buttonTop = f.window.top + f.button.top;
        } else {
            f.window.top = screenBottom - f.button.height;
            buttonTop = f.window.top;
        }
        m.step = std::abs(m.target.y - buttonTop) / kRiseTicks;
        m.counter = 1;
        out.showBubble = true;
    } else {
        // Already at the last count: the next tick ends the motion in place.
        m.step = 0;
        m.counter = kRiseTicks;
        f.window.top =
            m.lowerHalf ? m.target.y - listHeight : std::max(m.target.y, in.workArea.top);
    }
    m.window = {f.window.left, f.window.top};
    return out;
}

RiseTick advanceRise(RiseMotion& motion, const RiseTickInput& in) {
    RiseTick tick;
    tick.window = motion.window;
    if (!motion.running())
        return tick;
    motion.window.y -= motion.step;
    const bool swingRight = (motion.counter / kSwayTicks) % 2 == 0;
    motion.window.x += swingRight ? kSwayPixels : -kSwayPixels;
    ++motion.counter;
    if (motion.counter >= kRiseTicks)
        return finish(motion, in);
    if (motion.counter % kBubbleBlink == 0)
        tick.bubble = BubbleChange::Show;
    else if (motion.counter % kBubbleBlink == kBubbleHiddenAt)
        tick.bubble = BubbleChange::Hide;
    tick.window = motion.window;
    return tick;
}

bool bubblesExpired(TimeStamp now, TimeStamp bubbleShownTime, bool riseRunning) {
    return !riseRunning && bubbleShownTime != 0 && elapsedMs(now, bubbleShownTime) >= kBubbleShowMs;
}

} // namespace kelvo
