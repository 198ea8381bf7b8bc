#include "launcher/LaunchPlanning.h"

#include "core/TextCompare.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>

namespace kelvo {
namespace {

bool endsWithIgnoringCase(const std::wstring& text, std::wstring_view suffix) {
    return text.size() >= suffix.size() &&
           sameTextIgnoringCase(std::wstring_view(text).substr(text.size() - suffix.size()),
                                suffix);
}

bool isSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

std::wstring quoted(const std::wstring& path) {
    return L"\"" + path + L"\"";
}

// Expansion is asked for only where a reference can be, so that a path with no
// '%' comes back exactly as it was given.
std::wstring expandIfNeeded(const std::wstring& text, const EnvironmentExpander& expand) {
    if (text.find(L'%') == std::wstring::npos || !expand)
        return text;
    return expand(text);
}

bool isUsableWindow(const WindowFacts& window) {
    return window.handle != 0 && !window.isDesktop && !window.isOwnWindow;
}

IdentifyStep startWatchingForeground(IdentifyState& state, TimeStamp now) {
    state.phase = IdentifyPhase::WatchForeground;
    state.watchStartedAt = now;
    IdentifyStep step;
    step.makeLaunchersNotTopmost = true;
    return step;
}

void attemptCandidate(IdentifyState& state, const IdentifyContext& context,
                      const std::vector<WindowFacts>& topLevel) {
    for (const WindowFacts& window : topLevel) {
        // Hidden windows of the process (the input method's, a message window)
        // exist before the main window does; taking one would follow a window
        // that cannot be brought forward and vanishes unnoticed.
        if (window.owner != 0 || window.isDesktop || !window.visible)
            continue;
        if (!belongsToApplication(window, context.startedProcessId, context.exeFile))
            continue;
        state.mainWnd = window.handle;
        state.processId = window.processId;
        if (context.listLaunch && !context.usedAssociatedExe)
            state.writeExeFile = true;
        state.phase = IdentifyPhase::Settle;
        return;
    }
}

// A new foreground window after the start is most likely the application's
// real main window (a splash or launcher stub may have come first).
void adoptForeground(IdentifyState& state, const IdentifyContext& context,
                     const IdentifyFacts& facts) {
    const WindowFacts& f = facts.foreground;
    if (f.handle == 0 || f.handle == context.foregroundBefore || f.handle == state.mainWnd)
        return;
    if (facts.foregroundIsDesktopShell || f.isDesktop || f.isOwnWindow)
        return;
    const bool sameProcess = f.processId != 0 && f.processId == state.processId;
    const bool sameImage =
        !context.exeFile.empty() && sameTextIgnoringCase(f.imagePath, context.exeFile);
    const bool interactive =
        context.singleRow && !context.scheduledLaunch && !context.showByMiddleClick;
    if (interactive) {
        if (!sameProcess && !sameImage)
            return;
        state.mainWnd = f.handle;
        state.processId = f.processId;
        if (context.listLaunch && !context.usedAssociatedExe)
            state.writeExeFile = true;
        return;
    }
    if (sameProcess) {
        state.mainWnd = f.handle;
    } else if (sameImage) {
        state.mainWnd = f.handle;
        state.processId = f.processId;
    }
}

} // namespace

// --- What to start ----------------------------------------------------------

LaunchFileKind launchFileKind(const std::wstring& path) {
    if (endsWithIgnoringCase(path, L".exe"))
        return LaunchFileKind::Program;
    if (endsWithIgnoringCase(path, L".lnk"))
        return LaunchFileKind::Shortcut;
    return LaunchFileKind::Other;
}

bool endsWithExe(const std::wstring& path) {
    return endsWithIgnoringCase(path, L".exe");
}

std::wstring folderViewLaunchPath(const std::wstring& fullPath) {
    std::wstring path = fullPath;
    while (!path.empty() && isSeparator(path.back()))
        path.pop_back();
    return path;
}

LaunchTarget resolveShortcut(const ShortcutFacts& shortcut, const EnvironmentExpander& expand) {
    if (!shortcut.loaded)
        return {};
    return {expandIfNeeded(shortcut.target, expand), expandIfNeeded(shortcut.args, expand),
            expandIfNeeded(shortcut.workDir, expand)};
}

LaunchTarget resolveLaunchTarget(const std::wstring& path, bool fileExists,
                                 const ShortcutFacts& shortcut, const EnvironmentExpander& expand) {
    if (!fileExists)
        return {};
    LaunchTarget target;
    switch (launchFileKind(path)) {
    case LaunchFileKind::Program:
        target.target = path;
        break;
    case LaunchFileKind::Shortcut:
        target = resolveShortcut(shortcut, expand);
        break;
    case LaunchFileKind::Other:
        return {};
    }
    target.target = expandIfNeeded(target.target, expand);
    target.workDir = expandIfNeeded(target.workDir, expand);
    return target;
}

// --- A running item ------------------------------------------------------------

bool isExtraInstance(bool insertHeld, bool insertIsMainKey) {
    return insertHeld && !insertIsMainKey;
}

bool activatesRunningApp(const TItemData& item, const RunningAppFacts& facts) {
    // With Insert as the main key, Insert cannot ask for another instance, and a
    // running application is then always started again rather than brought forward.
    return facts.listLaunch && item.ProcessId != 0 && facts.processStillActive &&
           facts.mainWndIsWindow && !facts.insertIsMainKey && !facts.insertHeld;
}

bool skipsHiddenApplication(const ActivationFacts& facts) {
    return !facts.mainWndVisible && !facts.shownWindowVisible && !facts.mainWndMinimised;
}

bool needsWindowRefind(const TItemData& item, WindowHandle shownWindow, WindowHandle foreground) {
    return !item.WindowFixed && foreground != shownWindow && foreground != item.MainWnd &&
           !item.ExeFile.empty();
}

WindowHandle ownerOrSelf(const WindowFacts& window) {
    return window.owner != 0 ? window.owner : window.handle;
}

bool belongsToApplication(const WindowFacts& window, std::uint32_t processId,
                          const std::wstring& exeFile) {
    if (processId != 0 && window.processId == processId)
        return true;
    return !exeFile.empty() && sameTextIgnoringCase(window.imagePath, exeFile);
}

std::vector<WindowHandle> refindCandidates(const std::vector<WindowFacts>& topLevel,
                                           const TItemData& item, WindowHandle alreadyTried) {
    std::vector<WindowHandle> found;
    for (const WindowFacts& window : topLevel) {
        if (!isUsableWindow(window) || window.handle == alreadyTried || !window.visible)
            continue;
        if (belongsToApplication(window, item.ProcessId, item.ExeFile))
            found.push_back(window.handle);
    }
    return found;
}

// --- Starting through the shell ----------------------------------------------

RowLaunch beginRowLaunch(const TItemData& item, bool folderView, bool extraInstance,
                         const std::wstring& folderViewPath) {
    RowLaunch row;
    row.folderView = folderView;
    row.extraInstance = extraInstance;
    row.foreignApp = folderView && !item.ExeFile.empty();
    row.launchPath = folderView ? folderViewLaunchPath(folderViewPath) : item.ExeName;
    return row;
}

bool needsTargetResolution(const TItemData& item, const RowLaunch& row) {
    return item.ExeFile.empty() || row.folderView;
}

void takeResolvedTarget(TItemData& item, RowLaunch& row, const LaunchTarget& resolved) {
    row.resolved = resolved;
    if (!endsWithExe(resolved.target))
        return;
    // A file of a folder view opened with the item's own program must not
    // replace the program the item is known by.
    if (row.foreignApp)
        row.foreignExe = resolved.target;
    else
        item.ExeFile = resolved.target;
}

std::wstring associationSubject(const TItemData& item, const RowLaunch& row) {
    return row.folderView ? row.launchPath : item.ExeName;
}

std::wstring extensionOf(const std::wstring& path) {
    const std::size_t dot = path.find_last_of(L'.');
    if (dot == std::wstring::npos)
        return {};
    const std::size_t separator = path.find_last_of(L"\\/");
    if (separator != std::wstring::npos && separator > dot)
        return {};
    return path.substr(dot);
}

AssociationQuery associationQueryFor(const TItemData& item, const RowLaunch& row,
                                     bool vistaOrLater) {
    const bool needed = item.ExeFile.empty() || (row.foreignApp && row.foreignExe.empty());
    if (!needed)
        return AssociationQuery::None;
    if (!vistaOrLater)
        return AssociationQuery::ByPath;
    // Folders, addresses and bare names have no association to ask for; the
    // shell opens them itself.
    const std::wstring subject = associationSubject(item, row);
    if (extensionOf(subject).empty() || subject.find(L'\\') == std::wstring::npos)
        return AssociationQuery::None;
    return AssociationQuery::ByExtension;
}

void takeAssociationAnswer(TItemData& item, RowLaunch& row, const std::wstring& expandedAnswer) {
    if (!endsWithExe(expandedAnswer))
        return;
    row.associatedExe = expandedAnswer;
    if (!item.ExeFile.empty())
        row.foreignExe = expandedAnswer;
    else
        item.ExeFile = expandedAnswer;
}

ShellStart planShellStart(const TItemData& item, const RowLaunch& row) {
    ShellStart start;
    if (!row.associatedExe.empty())
        start.file = row.associatedExe;
    else if (!row.folderView)
        start.file = item.ExeName;
    else if (row.foreignApp)
        start.file = row.foreignExe.empty() ? quoted(row.launchPath) : row.foreignExe;
    else
        start.file = item.ExeFile.empty() ? quoted(row.launchPath) : item.ExeFile;

    if (item.ExeFile.empty())
        start.parameters.clear();
    else if (!row.associatedExe.empty())
        start.parameters = quoted(row.folderView ? row.launchPath : item.ExeName);
    else
        start.parameters = row.resolved.args;
    return start;
}

bool startSucceeded(std::intptr_t instanceValue) {
    return instanceValue > 32;
}

bool retriesElevated(std::intptr_t instanceValue, bool vistaOrLater) {
    return !startSucceeded(instanceValue) && vistaOrLater;
}

// --- Identifying the window -------------------------------------------------------

IdentifyState beginIdentification(const TItemData& item) {
    IdentifyState state;
    state.mainWnd = item.MainWnd;
    state.processId = item.ProcessId;
    return state;
}

namespace {

IdentifyStep waitForIdle(IdentifyState& state, const IdentifyContext& context,
                         const IdentifyFacts& facts) {
    IdentifyStep step;
    if (!state.busyCursorShown && !context.scheduledLaunch && !context.showByMiddleClick) {
        // Unattended starts keep the pointer as it is: nobody asked and waits.
        step.showBusyCursor = true;
        state.busyCursorShown = true;
    }
    step.letMessagesRun = true;
    if (!facts.inputIdle) {
        step.pollAfterMs = kIdlePollMs;
        return step;
    }
    state.phase = IdentifyPhase::Attempts;
    state.lastAttemptAt = facts.now;
    step.pollAfterMs = kAttemptIntervalMs;
    return step;
}

IdentifyStep attemptIdentification(IdentifyState& state, const IdentifyContext& context,
                                   const IdentifyFacts& facts) {
    IdentifyStep step;
    step.letMessagesRun = true;
    const std::uint32_t sinceAttempt = elapsedMs(facts.now, state.lastAttemptAt);
    if (sinceAttempt < kAttemptIntervalMs) {
        step.pollAfterMs = kAttemptIntervalMs - sinceAttempt;
        return step;
    }
    ++state.attempts;
    state.lastAttemptAt = facts.now;
    attemptCandidate(state, context, facts.topLevel);
    if (state.phase == IdentifyPhase::Attempts && state.attempts >= kIdentifyAttempts)
        state.phase = IdentifyPhase::Settle;
    step.releaseProcess = state.phase == IdentifyPhase::Settle;
    step.pollAfterMs = kAttemptIntervalMs;
    return step;
}

IdentifyStep letStartSettle(IdentifyState& state, const IdentifyContext& context,
                            const IdentifyFacts& facts) {
    // Applications often replace their first window while starting up;
    // watching the foreground only after they settled finds the lasting one.
    if (elapsedMs(facts.now, context.startedAt) > kSettleMs)
        return startWatchingForeground(state, facts.now);
    IdentifyStep step;
    step.letMessagesRun = true;
    step.pollAfterMs = kSettlePollMs;
    return step;
}

IdentifyStep watchForeground(IdentifyState& state, const IdentifyContext& context,
                             const IdentifyFacts& facts) {
    IdentifyStep step;
    const WindowHandle f = facts.foreground.handle;
    const bool changed = f != context.foregroundBefore || f == state.mainWnd;
    if (!changed && elapsedMs(facts.now, state.watchStartedAt) <= kForegroundWatchMs)
        return step;
    adoptForeground(state, context, facts);
    state.phase = IdentifyPhase::Done;
    step.restoreCursor = true;
    return step;
}

} // namespace

IdentifyStep stepIdentification(IdentifyState& state, const IdentifyContext& context,
                                const IdentifyFacts& facts) {
    switch (state.phase) {
    case IdentifyPhase::WaitIdle:
        return waitForIdle(state, context, facts);
    case IdentifyPhase::Attempts:
        return attemptIdentification(state, context, facts);
    case IdentifyPhase::Settle:
        return letStartSettle(state, context, facts);
    case IdentifyPhase::WatchForeground:
        return watchForeground(state, context, facts);
    case IdentifyPhase::Done:
        break;
    }
    return {};
}

// --- Counting and tracking ----------------------------------------------------------

std::wstring withRunningMarker(const std::wstring& text) {
    return hasRunningMarker(text) ? text : text + kRunningMarker;
}

std::wstring withoutExtension(const std::wstring& name) {
    const std::wstring extension = extensionOf(name);
    return name.substr(0, name.size() - extension.size());
}

TrackingDecision finishRowLaunch(LauncherItems& launcher, int itemIndex, const RowLaunch& row,
                                 const RowOutcome& outcome, DateTime now) {
    TrackingDecision decision;
    decision.rowText = outcome.rowText;
    if (!outcome.launched || row.foreignApp)
        return decision;
    TItemData& item = launcher.Items[static_cast<std::size_t>(itemIndex)];
    decision.counted = true;
    ++item.KidoCount;
    item.LastStartTime = now;
    const bool associated = !row.associatedExe.empty();
    if (associated || item.ExeFile.empty()) {
        item.ProcessId = 0;
        item.MainWnd = 0;
        item.ExeFile.clear();
    }

    const bool untracked = row.extraInstance || item.ProcessId == 0 || item.MainWnd == 0 ||
                           !row.foreignExe.empty() || outcome.folderStartBusy;
    if (untracked) {
        // The item file keeps its application; only this start is not followed.
        item.ExeFile.clear();
        return decision;
    }

    decision.tracked = true;
    launcher.RunningItems.push_back(itemIndex);
    launcher.RunningIs64.push_back(outcome.mainWndIs64);
    if (launcher.SavedName.size() < launcher.Items.size())
        launcher.SavedName.resize(launcher.Items.size());
    if (row.folderView) {
        launcher.SavedName[static_cast<std::size_t>(itemIndex)] = withoutExtension(outcome.rowText);
        decision.addStripIconFromExe = !item.ExeFile.empty();
    } else {
        launcher.SavedName[static_cast<std::size_t>(itemIndex)] = outcome.rowText;
        decision.addStripIconFromItem = true;
        decision.hideTaskbarButton = outcome.hideTaskBarBtn;
    }
    decision.rowText = withRunningMarker(outcome.rowText);
    decision.minimise = !item.ExeFile.empty() && outcome.mainWndVisible && item.MinimizeStart;
    return decision;
}

// --- Finishing the batch ------------------------------------------------------------

BatchFinish planBatchFinish(const BatchFacts& facts) {
    BatchFinish finish;
    const bool anyLaunched = facts.launched > 0 && !facts.failed;
    finish.writeCounts = anyLaunched;
    finish.resort = anyLaunched && !facts.folderStartBusy && facts.sortsByLaunchCount;
    finish.deselectAll = !facts.folderStartBusy;
    finish.hideAllLaunchers = facts.hideAfterRun && anyLaunched && !facts.folderStartBusy;
    finish.restoreLaunchers = !facts.folderStartBusy;
    finish.showLauncherWindows =
        finish.restoreLaunchers && (!anyLaunched || (!facts.hideAfterRun && !facts.hideAfterTime));
    return finish;
}

void sortByLaunchCount(const std::vector<TItemData>& items, std::vector<int>& juniNo,
                       std::vector<std::wstring>& rowTexts) {
    const auto countOf = [&](int item) {
        return item >= 0 && item < static_cast<int>(items.size())
                   ? items[static_cast<std::size_t>(item)].KidoCount
                   : 0;
    };
    std::vector<std::size_t> positions(juniNo.size());
    std::iota(positions.begin(), positions.end(), std::size_t{0});
    std::stable_sort(positions.begin(), positions.end(), [&](std::size_t a, std::size_t b) {
        return countOf(juniNo[a]) > countOf(juniNo[b]);
    });
    std::vector<int> order;
    std::vector<std::wstring> texts;
    for (std::size_t p : positions) {
        order.push_back(juniNo[p]);
        if (p < rowTexts.size())
            texts.push_back(rowTexts[p]);
    }
    juniNo = std::move(order);
    if (texts.size() == rowTexts.size())
        rowTexts = std::move(texts);
}

// --- Clicks on a row ----------------------------------------------------------------

RowClickDecision decideRowClick(const RowClickFacts& facts, const TItemData& item) {
    RowClickDecision decision;
    if (facts.itemMenuOpen || facts.rowDragging || !facts.startupComplete)
        return decision;
    if (facts.modifierHeld || facts.selectedCount != 1) {
        decision.action = RowClickAction::ShowIconOnly;
        return decision;
    }
    if (std::abs(facts.clickY - facts.mouseDownY) > kDragThresholdPx)
        return decision;
    if (facts.ignoreNextClick) {
        decision.action = RowClickAction::ConsumeIgnoreFlag;
        return decision;
    }
    decision.returnHome = facts.displaced;
    const WindowFacts& front = facts.previousForeground;
    if (hasRunningMarker(facts.rowText) && !facts.insertHeld && isUsableWindow(front)) {
        const bool isMainWnd = front.handle == item.MainWnd;
        const bool sameProcess = item.ProcessId != 0 && front.processId == item.ProcessId;
        if (isMainWnd || sameProcess) {
            decision.action = RowClickAction::MinimiseRunning;
            decision.adoptWindow = !isMainWnd;
            decision.minimiseWindow = ownerOrSelf(front);
            return decision;
        }
    }
    // Insert asks for another instance; a folder has none, so nothing opens.
    decision.action =
        facts.isFolderItem && facts.insertHeld ? RowClickAction::Ignore : RowClickAction::Launch;
    return decision;
}

// --- Keeping the tracked list true ------------------------------------------------------

RefreshDecision decideTrackedAppRefresh(const TItemData& item, const TrackedAppFacts& facts) {
    RefreshDecision decision;
    if (item.MainWnd == 0)
        return decision;
    bool hasWindow = facts.windowExists;
    if (!hasWindow) {
        for (const WindowFacts& window : facts.topLevel) {
            if (window.owner == 0 && window.visible && !window.isDesktop &&
                window.processId == item.ProcessId && item.ProcessId != 0) {
                decision.newWindow = window.handle;
                hasWindow = true;
                break;
            }
        }
    }
    decision.outcome =
        facts.stillActive && hasWindow ? RefreshOutcome::StillRunning : RefreshOutcome::Ended;
    return decision;
}

bool forgetEndedApp(LauncherItems& launcher, int position, bool exeNameIsFolder,
                    std::vector<std::wstring>& rowTexts) {
    if (position < 0 || position >= launcher.RunCount())
        return launcher.RunCount() > 0;
    const int itemIndex = launcher.RunningItems[static_cast<std::size_t>(position)];
    if (itemIndex >= 0 && itemIndex < launcher.ItemCount()) {
        TItemData& item = launcher.Items[static_cast<std::size_t>(itemIndex)];
        if (exeNameIsFolder)
            item.ExeFile.clear();
        item.MainWnd = 0;
        item.ProcessId = 0;
        item.WindowFixed = false;
    }
    launcher.RunningItems.erase(launcher.RunningItems.begin() + position);
    if (position < static_cast<int>(launcher.RunningIs64.size()))
        launcher.RunningIs64.erase(launcher.RunningIs64.begin() + position);
    for (std::size_t row = 0; row < launcher.JuniNo.size() && row < rowTexts.size(); ++row) {
        if (launcher.JuniNo[row] == itemIndex) {
            rowTexts[row] = withoutRunningMarker(rowTexts[row]);
            break;
        }
    }
    return launcher.RunCount() > 0;
}

WindowHandle foregroundCandidate(const WindowFacts& foreground) {
    return isUsableWindow(foreground) ? foreground.handle : 0;
}

} // namespace kelvo
