#include "hook/cbthook/ForegroundTracker.h"

#include <algorithm>

namespace kelvo::hook {

namespace {

// The program only acts on the destruction of the window it last placed its
// button on, which is among the most recently activated; older ones are dropped
// so that a long session does not accumulate handles.
constexpr std::size_t kRememberedWindows = 64;

bool sameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

} // namespace

std::vector<WindowEvent> ForegroundTracker::update(const ForegroundSample& sample,
                                                   const IsAlive& isAlive) {
    std::vector<WindowEvent> events;
    reportDestroyed(isAlive, events);
    // A window destroyed between the look and now is not reported as activated.
    const HWND current = sample.window && isAlive(sample.window) ? sample.window : nullptr;
    if (current != foreground_) {
        foreground_ = current;
        rect_ = sample.rect;
        if (current) {
            events.push_back({current, WindowEventCode::Activated});
            remember(current);
        }
    } else if (current && !sameRect(sample.rect, rect_)) {
        rect_ = sample.rect;
        events.push_back({current, WindowEventCode::MovedOrSized});
    }
    return events;
}

void ForegroundTracker::reportDestroyed(const IsAlive& isAlive, std::vector<WindowEvent>& events) {
    std::erase_if(reported_, [&](HWND window) {
        if (isAlive(window))
            return false;
        events.push_back({window, WindowEventCode::Destroyed});
        if (window == foreground_)
            foreground_ = nullptr;
        return true;
    });
}

void ForegroundTracker::remember(HWND window) {
    std::erase(reported_, window);
    if (reported_.size() == kRememberedWindows)
        reported_.erase(reported_.begin());
    reported_.push_back(window);
}

} // namespace kelvo::hook
