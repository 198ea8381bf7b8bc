#include "core/TriggerLogic.h"

#include <algorithm>
#include <cstddef>

namespace kelvo {
namespace {

bool isSet(TimeStamp stamp) {
    return stamp != 0;
}

TimeStamp stampOf(TimeStamp now) {
    return now == 0 ? 1 : now; // 0 would read as "not set"
}

bool atLeastElapsed(TimeStamp now, TimeStamp since, std::uint32_t ms) {
    return isSet(since) && elapsedMs(now, since) >= ms;
}

bool moreThanElapsed(TimeStamp now, TimeStamp since, std::uint32_t ms) {
    return isSet(since) && elapsedMs(now, since) > ms;
}

bool startsWith(const std::wstring& text, const wchar_t* prefix) {
    return text.rfind(prefix, 0) == 0;
}

// The launcher a digit or numeric-pad key stands for, 0 for any other key.
int launcherOfDigitKey(int virtualKey) {
    for (int n = 1; n <= kLauncherCount; ++n) {
        if (virtualKey == kVkDigit0 + n || virtualKey == kVkNumpad0 + n)
            return n;
    }
    return 0;
}

// One call into the triggers: the state it changes, what it sees, and the
// actions it collects. LastShowTime is followed locally so that a show
// earlier in the same call blocks a later one, as it will once applied.
class TriggerRun {
  public:
    TriggerRun(TriggerState& state, const TriggerSettings& settings, const InputFacts& in)
        : s_(state), cfg_(settings), in_(in), lastShowTime_(in.lastShowTime) {}

    TriggerActions take() { return std::move(out_); }

    // --- The mouse ---------------------------------------------------------

    void mouse(unsigned message) {
        if (message == kMouseLeftUp) {
            s_.HookButton = kVkLeftButton;
            digitClick();
            mainKeyClick();
            escapeCheck();
        } else if (message == kMouseMiddleUp) {
            s_.HookButton = kVkMiddleButton;
            digitClick();
            mainKeyClick();
        }
    }

    // --- Keys --------------------------------------------------------------

    void key(HookKey key) {
        if (key.virtualKey == cfg_.mainKey) {
            mainKey(key.released);
            return;
        }
        const int n = launcherOfDigitKey(key.virtualKey);
        if (n != 0 && !key.released)
            digitWithMainKey(n);
    }

    // --- The tick ----------------------------------------------------------

    void tick() {
        scanDigits(s_, in_);
        if (pointerAtEdge())
            atEdge();
        else
            awayFromEdge();
    }

  private:
    bool held(int virtualKey) const {
        return virtualKey > 0 && in_.keyHeld && in_.keyHeld(virtualKey);
    }
    bool mainKeyHeld() const { return held(cfg_.mainKey); }
    bool mainKeyIs(int virtualKey) const { return cfg_.mainKey == virtualKey; }
    // Escape held with a click closes the launchers; a main key that is Escape
    // itself cannot take part in that, nor in the gestures that Escape cancels.
    bool escapeCancels() const { return !mainKeyIs(kVkEscape) && held(kVkEscape); }
    bool displayed(int n) const { return in_.launchers[static_cast<std::size_t>(n - 1)].displayed; }
    bool listVisible(int n) const {
        return in_.launchers[static_cast<std::size_t>(n - 1)].listVisible;
    }
    bool anyListVisible() const {
        return std::any_of(in_.launchers.begin(), in_.launchers.end(),
                           [](const TriggerLauncher& l) { return l.listVisible; });
    }
    bool anyFolderViewVisible() const {
        return std::any_of(in_.launchers.begin(), in_.launchers.end(),
                           [](const TriggerLauncher& l) { return l.folderViewVisible; });
    }
    bool showBlocked() const { return isSet(lastShowTime_); }
    TimeStamp now() const { return stampOf(in_.now); }

    int heldDigitLauncher() const {
        for (int n = 1; n <= kLauncherCount; ++n) {
            if (s_.DigitHeld[static_cast<std::size_t>(n - 1)])
                return n;
        }
        return 0;
    }

    void emit(TriggerActionKind kind, int launcher = 0) { out_.push_back({kind, launcher, 0}); }

    void setLastShowTime() {
        lastShowTime_ = now();
        out_.push_back({TriggerActionKind::SetLastShowTime, 0, lastShowTime_});
    }

    // Show window n in front and let its button act as middle-clicked, which
    // launches its one-click group.
    void gestureStart(int n, bool mayStampShownTime) {
        if (mayStampShownTime && cfg_.hideAfterShow && !cfg_.hideAfterRun)
            out_.push_back({TriggerActionKind::SetShownTime, 0, now()});
        emit(TriggerActionKind::GestureStart, n);
    }

    void keyboardShow(int n) {
        setLastShowTime();
        emit(TriggerActionKind::RecordPreviousForeground);
        emit(TriggerActionKind::ShowLauncher, n);
    }

    void digitClick() {
        scanDigits(s_, in_);
        if (s_.DigitHeldCount != 1 || in_.menuOpen || in_.riseRunning)
            return;
        const int n = heldDigitLauncher();
        if (s_.HookButton == kVkLeftButton) {
            emit(TriggerActionKind::ShowLauncherAtClick, n);
            s_.HookButton = kNoHookButton;
        } else if (s_.HookButton == kVkMiddleButton && !showBlocked()) {
            setLastShowTime();
            emit(TriggerActionKind::SetShowByMiddleClick);
            gestureStart(n, true);
            s_.HookButton = kNoHookButton;
        }
    }

    // Some main keys are also ordinary modifiers; a click with them held is
    // only counted where it cannot be the user's own Ctrl+click, Shift+click
    // or Alt+click on a launcher or in another program.
    bool mainKeyRefusesClick() const {
        switch (cfg_.mainKey) {
        case kVkCtrl:
            // Ctrl+click on a launcher pastes a copied address as a new item.
            return anyListVisible() || in_.launchersBusy ||
                   startsWith(in_.clipboardText, L"http") || startsWith(in_.clipboardText, L"www.");
        case kVkInsert:
        case kVkShift:
            return anyListVisible() || in_.launchersBusy || in_.pointerInLauncherRect ||
                   s_.HookButton == kVkMiddleButton;
        case kVkAlt:
            return anyListVisible() || anyFolderViewVisible();
        default:
            return false;
        }
    }

    void mainKeyClick() {
        if (!mainKeyHeld() || mainKeyIs(kVkEscape) || held(kVkEscape) || in_.menuOpen ||
            in_.riseRunning)
            return;
        if (mainKeyRefusesClick())
            return;
        s_.ClickCount = std::min(s_.ClickCount + 1, kMaxGestureCount);
        s_.LastKeyTime = now();
    }

    void escapeCheck() {
        if (escapeCancels())
            emit(TriggerActionKind::CloseAllOnEscape);
    }

    bool mainKeyIgnored(bool listShown, bool folderShown) const {
        if (s_.ClickCount != 0 || in_.launchersBusy || held(kVkEnter))
            return true;
        if (mainKeyIs(kVkAlt) && (listShown || folderShown))
            return true;
        return showBlocked() || in_.riseRunning || in_.listGrowing;
    }

    void mainKey(bool released) {
        if (in_.menuOpen || in_.riseRunning || s_.AtEdge)
            return;
        if (escapeCancels()) {
            emit(TriggerActionKind::CloseAllOnEscape);
            return;
        }
        const bool listShown = anyListVisible();
        const bool folderShown = anyFolderViewVisible();
        scanDigits(s_, in_);
        if (mainKeyIgnored(listShown, folderShown))
            return;
        if (s_.DigitHeldCount == 0) {
            if (released)
                mainKeyUp(listShown || folderShown);
            else
                mainKeyDown();
        } else if (s_.DigitHeldCount == 1 && !released) {
            markKeyboardShow();
            const int n = heldDigitLauncher();
            if (displayed(n))
                keyboardShow(n);
        }
    }

    void mainKeyDown() {
        // Key repeat sends further downs; only the first one of a gesture counts.
        if (s_.TapCount == 0 && !isSet(s_.MainKeyDownTime)) {
            s_.MainKeyDownTime = now();
            s_.LastKeyTime = 0;
        }
    }

    void mainKeyUp(bool listOrFolderShown) {
        if (s_.LongPressDone) {
            s_.MainKeyDownTime = 0;
            s_.LongPressDone = false;
            return;
        }
        if (s_.TapCount == 0 && moreThanElapsed(in_.now, s_.MainKeyDownTime, kLongPressMs)) {
            s_.MainKeyDownTime = 0;
            if (!listOrFolderShown)
                emit(TriggerActionKind::ShowAllLaunchers);
            return;
        }
        s_.TapCount = std::min(s_.TapCount + 1, kMaxGestureCount);
        s_.LastKeyTime = now();
    }

    // A show by keyboard or edge: the clicks and taps of this press must not
    // show a second launcher once it is evaluated.
    void markKeyboardShow() {
        s_.ClickCount = 1;
        s_.LastKeyTime = now();
        s_.KeyHandled = true;
    }

    void digitWithMainKey(int n) {
        if (!mainKeyHeld() || mainKeyIs(kVkEscape) || held(kVkEscape) || in_.menuOpen ||
            in_.riseRunning)
            return;
        markKeyboardShow();
        if (!showBlocked() && displayed(n))
            keyboardShow(n);
    }

    // --- Edges ---------------------------------------------------------------

    bool pointerAtEdge() const {
        if (!in_.pointerOnPrimary)
            return false;
        const Rect& m = in_.primaryMonitor;
        const int x = in_.pointer.x;
        const int y = in_.pointer.y;
        const auto enabled = [this](ScreenEdge e) { return cfg_.edgeEnabled[e]; };
        return (enabled(kLeftEdge) && m.left <= x && x <= m.left + kEdgeStripPx) ||
               (enabled(kRightEdge) && m.right - kEdgeStripPx <= x && x <= m.right) ||
               (enabled(kTopEdge) && m.top <= y && y <= m.top + kEdgeStripPx) ||
               (enabled(kBottomEdge) && m.bottom - kEdgeStripPx <= y && y <= m.bottom);
    }

    // Whether the pointer stands in band n of a side or of the top or bottom
    // edge: each is cut into five equal bands, launcher 1 at the top or left.
    bool inSideBand(int n) const {
        const Rect& m = in_.primaryMonitor;
        const int x = in_.pointer.x;
        const int y = in_.pointer.y;
        const int band = (m.bottom - m.top) / kLauncherCount;
        return (x <= m.left + kEdgeStripPx || x >= m.right - kEdgeStripPx) &&
               m.top + kEdgeCornerPx <= y && y <= m.bottom - kEdgeCornerPx &&
               m.top + band * (n - 1) < y && y <= m.top + band * n;
    }
    bool inTopOrBottomBand(int n) const {
        const Rect& m = in_.primaryMonitor;
        const int x = in_.pointer.x;
        const int y = in_.pointer.y;
        const int band = (m.right - m.left) / kLauncherCount;
        return (y <= m.top + kEdgeStripPx || y >= m.bottom - kEdgeStripPx) &&
               m.left + kEdgeCornerPx <= x && x <= m.right - kEdgeCornerPx &&
               m.left + band * (n - 1) < x && x <= m.left + band * n;
    }

    bool mayShowAtEdge(int n) const { return displayed(n) && !in_.listGrowing && !listVisible(n); }

    void showAloneAtEdge(int n) {
        setLastShowTime();
        emit(TriggerActionKind::HideOtherLaunchers, n);
        emit(TriggerActionKind::ProcessMessages);
        emit(TriggerActionKind::ShowLauncher, n);
    }

    void mainKeyAtEdge() {
        markKeyboardShow();
        // Launchers are tried in order and each against both the sides and
        // the top and bottom, so near a corner the lower number wins.
        for (int n = 1; n <= kLauncherCount; ++n) {
            if (!mayShowAtEdge(n) || showBlocked())
                continue;
            if (inSideBand(n) || inTopOrBottomBand(n)) {
                showAloneAtEdge(n);
                return;
            }
        }
    }

    void plainEdge() {
        s_.ZHeld = held(kVkZ);
        const bool edgeCalls = !cfg_.zKeyMode || (s_.ZHeld && !mainKeyIs(kVkZ));
        if (edgeCalls && !showBlocked() && s_.DigitHeldCount == 0)
            emit(TriggerActionKind::ShowAllLaunchers);
    }

    void digitAtEdge() {
        const int n = heldDigitLauncher();
        emit(TriggerActionKind::HideOtherLaunchers, n);
        if (mayShowAtEdge(n))
            emit(TriggerActionKind::ShowLauncher, n);
    }

    void atEdge() {
        s_.AtEdge = true;
        if (in_.listGrowing)
            return;
        if (mainKeyHeld())
            mainKeyAtEdge();
        else
            plainEdge();
        if (s_.DigitHeldCount == 1)
            digitAtEdge();
    }

    // --- Taps and clicks ---------------------------------------------------

    bool clicksSettled() const {
        const bool buttonStillDown = s_.HookButton != kNoHookButton && held(s_.HookButton);
        return !buttonStillDown && atLeastElapsed(in_.now, s_.LastKeyTime, kGestureSettleMs) &&
               s_.ClickCount >= 1 && !in_.riseRunning && !s_.KeyHandled;
    }

    void evaluateClicks() {
        if (!clicksSettled())
            return;
        const int n = s_.ClickCount;
        if (displayed(n)) {
            s_.LongPressDone = true;
            if (s_.HookButton == kVkLeftButton) {
                s_.HookButton = kNoHookButton;
                emit(TriggerActionKind::RecordPreviousForeground);
                emit(TriggerActionKind::ShowLauncherAtClick, n);
                emit(TriggerActionKind::ProcessMessages);
                s_.TapCount = 0;
            } else if (s_.HookButton == kVkMiddleButton && !showBlocked()) {
                setLastShowTime();
                s_.HookButton = kNoHookButton;
                emit(TriggerActionKind::SetShowByMiddleClick);
                gestureStart(n, false);
                s_.TapCount = 0;
            }
        }
        s_.ClickCount = 0;
        s_.LastKeyTime = 0;
    }

    bool tapsSettled() const {
        return !in_.riseRunning && s_.DigitHeldCount == 0 && s_.ClickCount == 0 &&
               !in_.launchersBusy && !held(kVkEnter) &&
               atLeastElapsed(in_.now, s_.LastKeyTime, kGestureSettleMs) && s_.TapCount >= 1 &&
               s_.TapCount <= kMaxGestureCount;
    }

    // Z or Ctrl held as the taps end asks for the one-click group as well;
    // a main key that is Z or Ctrl itself cannot ask that.
    bool oneClickModifierHeld() const {
        return (!mainKeyIs(kVkZ) && held(kVkZ)) || (!mainKeyIs(kVkCtrl) && held(kVkCtrl));
    }

    // A single tap whose press lasted so long that it was neither a quick tap
    // nor a long press shows nothing: the user changed their mind.
    bool hesitantSingleTap() const {
        return s_.TapCount <= 1 && moreThanElapsed(in_.now, s_.MainKeyDownTime, kLongPressMs);
    }

    void evaluateTaps() {
        if (!tapsSettled())
            return;
        const int n = s_.TapCount;
        if (displayed(n)) {
            if (oneClickModifierHeld() && !showBlocked()) {
                setLastShowTime();
                emit(TriggerActionKind::HideOtherLaunchers, n);
                gestureStart(n, true);
            } else if (!showBlocked() && !hesitantSingleTap()) {
                keyboardShow(n);
            }
        }
        emit(TriggerActionKind::ProcessMessages);
        s_.TapCount = 0;
        s_.LastKeyTime = 0;
        s_.MainKeyDownTime = 0;
    }

    void dropStaleGesture() {
        if (atLeastElapsed(in_.now, s_.LastKeyTime, kGestureResetMs) &&
            (s_.TapCount > 0 || s_.ClickCount > 0)) {
            s_.ClickCount = 0;
            s_.LastKeyTime = 0;
            s_.TapCount = 0;
            s_.MainKeyDownTime = 0;
            s_.KeyHandled = false;
        }
    }

    void awayFromEdge() {
        s_.AtEdge = false;
        if (mainKeyHeld() && !mainKeyIs(kVkEscape) && !held(kVkEscape) && !in_.menuOpen &&
            !in_.riseRunning) {
            evaluateClicks();
            return;
        }
        evaluateTaps();
        dropStaleGesture();
    }

    TriggerState& s_;
    const TriggerSettings& cfg_;
    const InputFacts& in_;
    TimeStamp lastShowTime_;
    TriggerActions out_;
};

} // namespace

void scanDigits(TriggerState& state, const InputFacts& in) {
    state.DigitHeld = {};
    state.DigitHeldCount = 0;
    for (int n = 1; n <= kLauncherCount; ++n) {
        const std::size_t i = static_cast<std::size_t>(n - 1);
        const bool keyDown =
            in.keyHeld && (in.keyHeld(kVkNumpad0 + n) || in.keyHeld(kVkDigit0 + n));
        if (keyDown && in.launchers[i].displayed) {
            state.DigitHeld[i] = true;
            ++state.DigitHeldCount;
        }
    }
}

TriggerActions onHookMouse(TriggerState& state, const TriggerSettings& settings,
                           const InputFacts& in, unsigned mouseMessage) {
    TriggerRun run(state, settings, in);
    run.mouse(mouseMessage);
    return run.take();
}

HookKey decodeHookKey(std::uint32_t wParam, std::uint32_t lParam) {
    return {static_cast<int>(wParam & 0xFFFFu), (lParam & 0x80000000u) != 0};
}

TriggerActions onHookKey(TriggerState& state, const TriggerSettings& settings, const InputFacts& in,
                         HookKey key) {
    TriggerRun run(state, settings, in);
    run.key(key);
    return run.take();
}

TriggerActions evaluateTriggers(TriggerState& state, const TriggerSettings& settings,
                                const InputFacts& in) {
    TriggerRun run(state, settings, in);
    run.tick();
    return run.take();
}

WindowEventResponse respondToWindowEvent(const WindowEventFacts& event) {
    // Our own windows and child windows never carry the button, and while the
    // button is being placed or a command waits for the user to pick a window,
    // the events are the system's echo of that very work.
    if (event.window == 0 || event.window == event.mainWindow || event.ownedByMainWindow ||
        event.hasParent || event.waitingForActiveCommand || event.placementRunning)
        return WindowEventResponse::Ignore;
    switch (event.code) {
    case 0: // moved or sized
    case 5: // activated
    case 200:
    case 300:
        return event.buttonOptionOn && !event.buttonBusy ? WindowEventResponse::PlaceButton
                                                         : WindowEventResponse::Ignore;
    case 4: // destroyed
    case 100:
        return event.window == event.activeTrackedWindow ? WindowEventResponse::RemoveButton
                                                         : WindowEventResponse::Ignore;
    default:
        return WindowEventResponse::Ignore;
    }
}

} // namespace kelvo
