#pragma once
// Turns successive looks at the foreground window into window events. Pure: the
// caller supplies what it saw and how to tell whether a window still exists.
#include <windows.h>

#include <functional>
#include <vector>

namespace kelvo::hook {

// The codes a classic computer-based-training hook uses for the same events.
enum class WindowEventCode : LPARAM {
    MovedOrSized = 0,
    Destroyed = 4,
    Activated = 5,
};

struct WindowEvent {
    HWND window;
    WindowEventCode code;

    bool operator==(const WindowEvent&) const = default;
};

// One look at the desktop: the foreground window when it is one to report
// (nullptr otherwise), and its rectangle.
struct ForegroundSample {
    HWND window = nullptr;
    RECT rect{};
};

class ForegroundTracker {
  public:
    using IsAlive = std::function<bool(HWND)>;

    // The events since the previous look. The first foreground window seen counts
    // as activated, so the program learns about the window already in front.
    std::vector<WindowEvent> update(const ForegroundSample& sample, const IsAlive& isAlive);

  private:
    void reportDestroyed(const IsAlive& isAlive, std::vector<WindowEvent>& events);
    void remember(HWND window);

    HWND foreground_ = nullptr;
    RECT rect_{};
    // Windows reported as activated and not yet as destroyed, oldest first.
    std::vector<HWND> reported_;
};

} // namespace kelvo::hook
