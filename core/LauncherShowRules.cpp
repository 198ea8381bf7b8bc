#include "core/LauncherShowRules.h"

#include "core/LauncherPlacement.h"
#include "graphics/ListLayout.h"

namespace kelvo {
namespace {

TimeStamp stampOf(TimeStamp now) {
    return now == 0 ? 1 : now; // 0 would read as "not set"
}

// A deactivation the user did not cause directly must not tear the
// launchers away: while they are being used, or just after a show.
bool launchersInUse(const DeactivationInput& in) {
    if (in.pointerOverButtonOrStrip || in.lastShowTime != 0)
        return true;
    // Waiting for the timed hide, which has not been armed yet.
    return in.hideAfterShow && in.shownTime == 0;
}

} // namespace

bool showsNearPointer(const ShowRequest& request) {
    const bool byKey = (request.digitHeld && request.mainKeyHeld) ||
                       (!request.mainKeyHeld && request.launcherNo == request.tapCount);
    return (byKey && request.nearMouse) || request.byActiveWindowButton;
}

ListOpening planListOpening(const ListOpenInput& in) {
    ListOpening out;
    if (!in.hasItems)
        return out;
    out.bringToFront = true;
    if (in.tracksRunning)
        return out;
    out.openList = true;
    out.startGrowth = in.growAnimated && !in.growthRunning;
    return out;
}

ListGrowth startListGrowth(const ListGrowthInput& in) {
    ListGrowth out;
    if (in.launcherNo <= 0)
        return out;
    if (!in.timerRunning) {
        out.result = GrowthStart::Cancelled;
        return out;
    }
    out.result = GrowthStart::Started;
    out.listHeight = in.growing ? unrollStartHeight(in.itemHeight) : in.listHeight - in.itemHeight;
    // A list above the button keeps its lower edge on the button.
    out.listTop = in.buttonTop >= in.listTop ? in.buttonTop - out.listHeight : in.listTop;
    out.growTime = stampOf(in.now);
    return out;
}

std::vector<LauncherClose> closeAllOnEscape(int mainKeyCode, bool escapeHeld,
                                            const LauncherStates& launchers) {
    std::vector<LauncherClose> closes;
    if (mainKeyCode == kEscapeKeyCode || !escapeHeld)
        return closes;
    for (int n = 1; n <= kLauncherCount; ++n) {
        const LauncherState& state = launchers[n - 1];
        if (state.visible)
            closes.push_back({n, state.displaced});
    }
    return closes;
}

std::vector<int> launchersHiddenForShow(int shown, bool listGrowing,
                                        const LauncherStates& launchers) {
    std::vector<int> hidden;
    if (listGrowing)
        return hidden;
    for (int n = 1; n <= kLauncherCount; ++n)
        if (n != shown && launchers[n - 1].displayed)
            hidden.push_back(n);
    return hidden;
}

std::vector<HomeReturn> planReturnAllHome(const ReturnHomeInput& in) {
    std::vector<HomeReturn> steps;
    for (int n = 1; n <= kLauncherCount; ++n) {
        const ReturnHomeLauncher& launcher = in.launchers[n - 1];
        HomeReturn step;
        step.launcherNo = n;
        step.deselectRows = launcher.hasItems;
        step.restoreListAndButton = launcher.displaced;
        step.rearrange = launcher.displaced && in.mode != kFreePlacementMode;
        if (launcher.displayed) {
            step.showButton = true;
            step.showLabel = !launcher.outlinedName;
            step.showNameImage = launcher.outlinedName;
            step.showStrip = launcher.tracksRunning && !launcher.refreshingStrip;
            step.redrawIcon = !launcher.rowSelected;
            // With the timed hide on, the launchers stay hidden until called.
            step.showAtBottom = !in.hideAfterShow;
        }
        steps.push_back(step);
    }
    return steps;
}

DeactivationAction onDeactivation(const DeactivationInput& in) {
    if (!in.formsReady || in.exitStarted || in.riseRunning || in.showKeyHeld)
        return DeactivationAction::None;
    if (in.suppressOnce)
        return DeactivationAction::ClearSuppression;
    if (in.launchersBusy || launchersInUse(in))
        return DeactivationAction::None;
    if (in.suppressOnceMore)
        return DeactivationAction::ClearSecondSuppression;
    if (in.activeWindowButtonBusy)
        return DeactivationAction::None;
    return DeactivationAction::ReturnAllHome;
}

DisplayChange onDisplayChange(const DisplayChangeInput& in) {
    DisplayChange out;
    // Before start-up recorded a screen size there is nothing to compare with.
    if (in.startScreenWidth == 0 || in.startScreenHeight == 0 || in.monitorCount == 0)
        return out;
    out.proceeds = true;
    out.mode = checkedPlacementMode(in.storedMode);
    out.arranges = out.mode != kFreePlacementMode;
    return out;
}

std::optional<int> onSettingChange(unsigned setting, int storedMode) {
    if (setting != kSettingWorkArea)
        return std::nullopt;
    return checkedPlacementMode(storedMode);
}

} // namespace kelvo
