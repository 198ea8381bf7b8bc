#include "core/MainCycle.h"

#include "core/RisingMotion.h"

#include <algorithm>

namespace kelvo {
namespace {

bool isSet(TimeStamp stamp) {
    return stamp != 0;
}

bool atLeastElapsed(TimeStamp now, TimeStamp since, std::uint32_t ms) {
    return isSet(since) && elapsedMs(now, since) >= ms;
}

bool moreThanElapsed(TimeStamp now, TimeStamp since, std::uint32_t ms) {
    return isSet(since) && elapsedMs(now, since) > ms;
}

bool listOrFolderShown(const LauncherView& launcher) {
    return launcher.listVisible || launcher.folderViewVisible;
}

// Anything on a launcher the user may be looking at or about to use: hiding
// the buttons then would pull the window from under the pointer.
bool holdsAutoHideOff(const LauncherView& launcher, const CycleFlags& flags) {
    return launcher.displaced || listOrFolderShown(launcher) || launcher.renameEditVisible ||
           flags.settingsDialogVisible || flags.scheduleDialogVisible ||
           launcher.pointerOverButton || (launcher.stripVisible && launcher.pointerOverStrip);
}

bool autoHideSuspended(const CycleFlags& flags) {
    return flags.listGrowing || flags.launchersBusy || flags.menuOpen ||
           flags.operationInProgress || flags.folderStartBusy;
}

bool idleCloseBlocked(const LauncherView& launcher, const CycleFlags& flags) {
    return flags.scheduleDialogVisible || launcher.renameEditVisible || flags.menuOpen ||
           flags.operationInProgress || flags.itemEditBusy || flags.folderStartBusy;
}

} // namespace

bool anyListOrFolderVisible(const LauncherViews& launchers) {
    return std::any_of(launchers.begin(), launchers.end(), listOrFolderShown);
}

ShowTimeouts checkShowTimeouts(const ShowTimeoutInput& in) {
    ShowTimeouts out;
    out.clearLastShowTime = moreThanElapsed(in.now, in.lastShowTime, kShowBlockMs);
    out.hideBubbles = bubblesExpired(in.now, in.bubbleShownTime, in.riseRunning);
    return out;
}

IgnoreClickRelease releaseIgnoredClicks(const IgnoreClickInput& in) {
    IgnoreClickRelease out;
    if (!atLeastElapsed(in.now, in.itemMenuTime, kIgnoreClickMs))
        return out;
    for (std::size_t i = 0; i < in.ignoreNextClick.size(); ++i) {
        if (in.ignoreNextClick[i]) {
            out.clearFlag[i] = true;
            out.clearItemMenuTime = true;
        }
    }
    return out;
}

bool mayRefreshTracked(const LauncherView& launcher, const CycleFlags& flags) {
    return !launcher.rowSelected && !listOrFolderShown(launcher) && !launcher.pointerOverButton &&
           !flags.menuOpen && !flags.itemEditBusy && !launcher.renameEditVisible;
}

int listHiddenAfterScheduleClose(const ScheduleCloseInput& in) {
    // The dialog's own close needs a moment; hiding the list at once would let
    // the click that closed it land on the launcher below.
    if (!moreThanElapsed(in.now, in.scheduleCloseTime, kScheduleCloseSettleMs))
        return 0;
    return in.contextLauncher;
}

AutoHide decideAutoHide(const AutoHideInput& in) {
    if (!in.enabled || !isSet(in.shownTime) || autoHideSuspended(in.flags))
        return AutoHide::NotDue;
    const auto due = static_cast<std::uint32_t>(std::max(in.autoHideSeconds, 0)) * 1000u;
    if (elapsedMs(in.now, in.shownTime) < due)
        return AutoHide::NotDue;
    for (const LauncherView& launcher : in.launchers)
        if (launcher.windowVisible && holdsAutoHideOff(launcher, in.flags))
            return AutoHide::Held;
    return AutoHide::Hide;
}

IdleListClose decideIdleListClose(const IdleListInput& in) {
    IdleListClose out;
    if (in.flags.menuOpen || in.flags.itemEditBusy ||
        !atLeastElapsed(in.now, in.listActivityTime, kIdleListMs))
        return out;
    const auto open = std::find_if(in.launchers.begin(), in.launchers.end(), [](const auto& l) {
        return listOrFolderShown(l) || l.renameEditVisible;
    });
    // Only the first open launcher is looked at; a list the user is still
    // pointing at stays open however long it has been idle.
    if (open == in.launchers.end() || idleCloseBlocked(*open, in.flags) || open->pointerInWindow)
        return out;
    out.launcherNo = static_cast<int>(open - in.launchers.begin()) + 1;
    out.showStrip = open->trackedCount > 0;
    return out;
}

std::optional<std::size_t> taskbarButtonToRemove(const TaskbarUpkeepInput& in) {
    if (!in.hideTaskbarButtons || in.foreground == 0)
        return std::nullopt;
    for (std::size_t i = 0; i < in.tracked.size(); ++i)
        if (in.tracked[i].window == in.foreground && !in.tracked[i].isFolder)
            return i;
    return std::nullopt;
}

int firstOneClickItem(const std::vector<int>& order, const std::vector<bool>& oneClick) {
    for (int item : order)
        if (item >= 0 && static_cast<std::size_t>(item) < oneClick.size() && oneClick[item])
            return item;
    return -1;
}

ButtonPictureStep decideButtonPicture(const ButtonPictureInput& in) {
    ButtonPictureStep out;
    out.showStripIcons = in.view.stripVisible;
    // While the list is open or a row is chosen the button shows that row's
    // icon, which the one-click picture must not replace.
    const bool idle = in.view.buttonVisible && !listOrFolderShown(in.view) && !in.view.rowSelected;
    if (!idle || in.oneClickItem < 0)
        return out;
    out.picture = in.iconHoldsPicture ? ButtonPicture::ShowImage : ButtonPicture::DrawIcon;
    out.itemIndex = in.oneClickItem;
    return out;
}

HoverStep advanceHover(const HoverInput& in) {
    HoverStep out;
    if (!in.pointerOverIcon && !in.pointerOverTrackedIcon)
        return out;
    out.showNameLabel = true;
    out.resize = true;
    out.width = in.width + kHoverGrowPx;
    out.height = in.height + kHoverGrowPx;
    if (out.width >= kHoverFullPx) {
        out.width = kHoverFullPx;
        out.height = kHoverFullPx;
        out.finished = true;
    }
    return out;
}

bool hintExpired(const HintTimeoutInput& in) {
    if (!isSet(in.hintShownTime))
        return false;
    // Over an open list the hint explains a row, so it may stay a while;
    // anywhere else it belongs to nothing any more.
    if (!in.listOrFolderVisible)
        return true;
    return elapsedMs(in.now, in.hintShownTime) > kHintOverListMs;
}

} // namespace kelvo
