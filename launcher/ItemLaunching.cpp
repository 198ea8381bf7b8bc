// Launching the selected rows of a launcher and following the applications it
// started. The decisions are made by the launch planning; this file gathers
// the facts from the system and carries the answers out.
#include "launcher/ButtonForm.h"

#include "core/Forms.h"
#include "core/LauncherMainForm.h"
#include "launcher/WindowFacts_win.h"
#include "platform/Environment.h"
#include "platform/Foreground.h"
#include "platform/LocalClock.h"
#include "platform/MessageLoop.h"
#include "platform/Processes.h"
#include "platform/ShellLink.h"
#include "platform/ShellStart.h"
#include "platform/TaskbarButtons.h"
#include "platform/TopLevelWindows.h"
#include "storage/FileIO.h"
#include "storage/ItemFile.h"

#include <mmsystem.h>

#include <stdexcept>

namespace kelvo {
namespace {

bool keyHeld(int virtualKey) {
    return GetAsyncKeyState(virtualKey) < 0;
}

bool modifierOrArrowHeld() {
    for (int key : {VK_SHIFT, VK_CONTROL, VK_MENU, VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN})
        if (keyHeld(key))
            return true;
    return false;
}

void makeNotTopmost(HWND window) {
    SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void makeVisibleLaunchersNotTopmost() {
    for (int n = 1; n <= kLauncherCount; ++n)
        if (ButtonForms[n] && IsWindowVisible(ButtonForms[n]->hwnd()))
            makeNotTopmost(ButtonForms[n]->hwnd());
}

// Waits while the user-interface thread keeps answering its messages.
void waitAnswering(DWORD milliseconds) {
    win::processPendingMessages();
    if (milliseconds > 0)
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds, QS_ALLINPUT);
    win::processPendingMessages();
}

LaunchTarget resolveLaunchPath(const std::wstring& path) {
    const bool exists = fileio::fileExists(path);
    ShortcutFacts shortcut;
    if (exists && launchFileKind(path) == LaunchFileKind::Shortcut) {
        if (std::optional<win::ShortcutInfo> link = win::resolveShortcut(path)) {
            shortcut.loaded = true;
            shortcut.target = link->target;
            shortcut.args = link->arguments;
            shortcut.workDir = link->workingDirectory;
        }
    }
    return resolveLaunchTarget(path, exists, shortcut, &win::expandEnvironment);
}

// Asks for the program that opens the launch path. A refused query leaves the
// item to the shell, which opens documents and shortcuts of any kind itself;
// ending the whole batch there would leave a shortcut to a folder or a
// document impossible to start.
void findAssociatedProgram(TItemData& item, RowLaunch& row, bool vistaOrLater) {
    std::wstring answer;
    switch (associationQueryFor(item, row, vistaOrLater)) {
    case AssociationQuery::None:
        return;
    case AssociationQuery::ByExtension: {
        bool failed = false;
        answer = win::associatedExecutable(extensionOf(associationSubject(item, row)), failed);
        if (failed)
            return;
        break;
    }
    case AssociationQuery::ByPath:
        answer = win::findExecutable(associationSubject(item, row));
        break;
    }
    takeAssociationAnswer(item, row, win::expandEnvironment(answer));
}

win::ShellStartResult startThroughShell(const ShellStart& plan, HWND owner, bool vistaOrLater) {
    win::ShellStartRequest request{L"open", plan.file, plan.parameters, owner};
    win::ShellStartResult result = win::shellStart(request);
    if (retriesElevated(result.instanceValue, vistaOrLater)) {
        request.verb = L"runas";
        result = win::shellStart(request);
    }
    return result;
}

} // namespace

// --- The list's clicks ----------------------------------------------------------

std::vector<int> TButtonForm::SelectedRows() const {
    const int count = static_cast<int>(SendMessageW(ListBox1, LB_GETSELCOUNT, 0, 0));
    std::vector<int> rows(static_cast<std::size_t>(std::max(count, 0)));
    if (count > 0)
        SendMessageW(ListBox1, LB_GETSELITEMS, count, reinterpret_cast<LPARAM>(rows.data()));
    return rows;
}

std::wstring TButtonForm::RowText(int row) const {
    const int length = static_cast<int>(SendMessageW(ListBox1, LB_GETTEXTLEN, row, 0));
    if (length < 0)
        return {};
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    SendMessageW(ListBox1, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text.data()));
    return text;
}

void TButtonForm::SetRowText(int row, const std::wstring& text) {
    if (RowText(row) == text)
        return;
    const bool selected = SendMessageW(ListBox1, LB_GETSEL, row, 0) > 0;
    const int top = static_cast<int>(SendMessageW(ListBox1, LB_GETTOPINDEX, 0, 0));
    SendMessageW(ListBox1, WM_SETREDRAW, FALSE, 0);
    SendMessageW(ListBox1, LB_DELETESTRING, row, 0);
    SendMessageW(ListBox1, LB_INSERTSTRING, row, reinterpret_cast<LPARAM>(text.c_str()));
    if (selected)
        SendMessageW(ListBox1, LB_SETSEL, TRUE, row);
    SendMessageW(ListBox1, LB_SETTOPINDEX, top, 0);
    SendMessageW(ListBox1, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(ListBox1, nullptr, TRUE);
}

void TButtonForm::ListClick(int mouseDownY, int clickY) {
    LauncherShared& shared = ButtonForms[1]->Shared;
    TLauncherMainForm& main = *LauncherMainForm;
    SetLayeredWindowAttributes(hwnd(), static_cast<COLORREF>(WindowColor & 0xFFFFFF),
                               static_cast<BYTE>(main.ListAlpha[LauncherNo]),
                               LWA_COLORKEY | LWA_ALPHA);
    const int row = static_cast<int>(SendMessageW(ListBox1, LB_GETCARETINDEX, 0, 0));
    LauncherItems& items = Items();
    if (row < 0 || row >= items.ItemCount())
        return;
    TItemData& item = items.Items[static_cast<std::size_t>(items.JuniNo[row])];

    RowClickFacts facts;
    facts.itemMenuOpen = main.MenuOpen;
    facts.startupComplete = main.FormsReady[kPowerScheduleFormReady];
    facts.modifierHeld = modifierOrArrowHeld();
    facts.selectedCount = static_cast<int>(SendMessageW(ListBox1, LB_GETSELCOUNT, 0, 0));
    facts.mouseDownY = mouseDownY;
    facts.clickY = clickY;
    facts.ignoreNextClick = shared.IgnoreNextClick[LauncherNo];
    facts.insertHeld = keyHeld(VK_INSERT);
    facts.isFolderItem = fileio::directoryExists(item.ExeName);
    facts.displaced = main.Displaced[LauncherNo];
    facts.rowText = RowText(row);
    facts.previousForeground = describeWindow(shared.PreviousForeground);

    const RowClickDecision decision = decideRowClick(facts, item);
    switch (decision.action) {
    case RowClickAction::Ignore:
        return;
    case RowClickAction::ShowIconOnly:
        ShowRowIcon(row);
        return;
    case RowClickAction::ConsumeIgnoreFlag:
        shared.IgnoreNextClick[LauncherNo] = false;
        return;
    case RowClickAction::MinimiseRunning:
        if (decision.adoptWindow)
            item.MainWnd = facts.previousForeground.handle;
        SendMessageW(toHwnd(decision.minimiseWindow), WM_SYSCOMMAND, SC_MINIMIZE, 0);
        shared.PreviousForeground = nullptr;
        HideList();
        break;
    case RowClickAction::Launch:
        SendMessageW(ListBox1, LB_SETSEL, FALSE, -1);
        SendMessageW(ListBox1, LB_SETSEL, TRUE, row);
        LaunchSelection();
        break;
    }
    if (decision.returnHome && main.Displaced[LauncherNo])
        ReturnHome();
}

void TButtonForm::ListReturn() {
    TLauncherMainForm& main = *LauncherMainForm;
    const std::vector<int> rows = SelectedRows();
    if (rows.empty())
        return;
    const int mainKey = main.Settings.mainKeyCode;
    if (mainKey != VK_CONTROL && keyHeld(mainKey))
        return; // the main key's own gesture is running
    if (keyHeld(VK_CONTROL)) {
        RECT rowRect{};
        SendMessageW(ListBox1, LB_GETITEMRECT, rows.front(), reinterpret_cast<LPARAM>(&rowRect));
        POINT at{rowRect.left + 10, rowRect.bottom};
        ClientToScreen(ListBox1, &at);
        SendMessageW(ListBox1, LB_SETCARETINDEX, rows.front(), FALSE);
        bool running = false;
        for (int row : rows)
            running = running || hasRunningMarker(RowText(row));
        main.OpenItemMenu(LauncherNo, running, at);
        return;
    }
    LaunchSelection();
    if (main.Displaced[LauncherNo])
        ReturnHome();
}

void TButtonForm::LaunchOneClickGroup() {
    const LauncherItems& items = Items();
    SendMessageW(ListBox1, LB_SETSEL, FALSE, -1);
    bool any = false;
    for (int row = 0; row < items.ItemCount(); ++row) {
        if (items.Items[static_cast<std::size_t>(items.JuniNo[row])].OneClick) {
            SendMessageW(ListBox1, LB_SETSEL, TRUE, row);
            any = true;
        }
    }
    if (!any)
        return;
    ShowWindow(ListBox1, SW_SHOWNA);
    LaunchSelection();
}

void TButtonForm::ReturnHome() {
    TLauncherMainForm& main = *LauncherMainForm;
    HomePlace home;
    home.home = {main.HomeLeft[LauncherNo], main.HomeTop[LauncherNo]};
    home.savedListHeight = main.LBHeight[LauncherNo];
    home.buttonOnTop = main.IsButtonTop[LauncherNo];
    ApplyFrame(restoreHome(CaptureFrame(), home));
    main.Displaced[LauncherNo] = false;
    LayOut();
}

// --- The batch ------------------------------------------------------------------

void TButtonForm::LaunchSelection() {
    TLauncherMainForm& main = *LauncherMainForm;
    LauncherShared& shared = ButtonForms[1]->Shared;
    const std::vector<int> rows = SelectedRows();
    if (rows.empty() || (shared.LaunchBusy && !main.FolderStartBusy))
        return;
    main.StopTimer1();
    if (main.ListGrowLauncher == LauncherNo) {
        // The unrolling ends at once: the list gets its full height.
        main.ListGrowTime = 0;
        main.ListGrowing = false;
        main.ListGrowLauncher = 0;
    }
    HideLaunchersForLaunch();
    shared.LaunchBusy = true;

    BatchFacts batch;
    batch.folderStartBusy = main.FolderStartBusy;
    batch.sortsByLaunchCount = main.Settings.sortMode[LauncherNo - 1] == 0;
    batch.hideAfterRun = main.Settings.afterRunHide;
    batch.hideAfterTime = main.Settings.afterShowHide;
    std::vector<int> identified;
    try {
        for (int row : rows) {
            win::processPendingMessages();
            if (LaunchRow(row, static_cast<int>(rows.size()), identified))
                ++batch.launched;
        }
    } catch (...) {
        // The windows come back whatever went wrong; the error itself is the
        // caller's to swallow.
        batch.failed = true;
        FinishBatch(batch, identified);
        throw;
    }
    FinishBatch(batch, identified);
}

void TButtonForm::HideLaunchersForLaunch() {
    for (int n = 1; n <= kLauncherCount; ++n) {
        TButtonForm* form = ButtonForms[n];
        if (!form || !form->hwnd())
            continue;
        form->ImgButton.setVisible(false);
        form->ImgIcon.setVisible(false);
        form->Label1.setVisible(false);
        form->ImgBtnName.setVisible(false);
    }
    ShowWindow(ListBox1, SW_HIDE);
}

bool TButtonForm::LaunchRow(int row, int selectedCount, std::vector<int>& identified) {
    TLauncherMainForm& main = *LauncherMainForm;
    LauncherItems& items = Items();
    if (row < 0 || row >= items.ItemCount())
        return false;
    const int index = items.JuniNo[row];
    TItemData& item = items.Items[static_cast<std::size_t>(index)];

    const bool insertIsMainKey = main.Settings.mainKeyCode == VK_INSERT;
    const bool insertHeld = keyHeld(VK_INSERT);
    RunningAppFacts running;
    running.processStillActive = win::processStillActive(item.ProcessId);
    running.mainWndIsWindow = item.MainWnd != 0 && IsWindow(toHwnd(item.MainWnd));
    running.insertHeld = insertHeld;
    running.insertIsMainKey = insertIsMainKey;
    if (activatesRunningApp(item, running)) {
        ActivateRunningApp(item);
        return false;
    }

    RowLaunch launch =
        beginRowLaunch(item, false, isExtraInstance(insertHeld, insertIsMainKey), L"");
    win::processPendingMessages();
    if (needsTargetResolution(item, launch))
        takeResolvedTarget(item, launch, resolveLaunchPath(launch.launchPath));
    const TimeStamp now = timeGetTime();
    if (!main.ScheduledLaunch) {
        makeNotTopmost(hwnd());
        main.ListActivityTime = now;
        if (main.Settings.afterShowHide && !main.Settings.afterRunHide)
            main.ShownTime = now;
    }
    findAssociatedProgram(item, launch, main.IsVistaOrLater);

    const ShellStart plan = planShellStart(item, launch);
    IdentifyContext context;
    context.foregroundBefore = toHandle(GetForegroundWindow());
    context.startedAt = timeGetTime();
    win::ShellStartResult started = startThroughShell(plan, main.hwnd(), main.IsVistaOrLater);
    const bool launched = startSucceeded(started.instanceValue);
    if (launched) {
        if (launch.extraInstance) {
            item.WindowFixed = true;
        } else if (!item.ExeFile.empty() && !launch.foreignApp) {
            context.startedProcessId = started.process ? GetProcessId(started.process.get()) : 0;
            context.exeFile = item.ExeFile;
            context.usedAssociatedExe = !launch.associatedExe.empty();
            context.singleRow = selectedCount == 1;
            context.scheduledLaunch = main.ScheduledLaunch;
            context.showByMiddleClick = main.ShowByMiddleClick;
            IdentifyWindow(item, context, started.process.get());
            if (item.MainWnd != 0 && context.listLaunch && !context.usedAssociatedExe)
                identified.push_back(index);
        }
    }
    started.process.reset();
    launch.resolved = {};

    RowOutcome outcome;
    outcome.launched = launched;
    outcome.folderStartBusy = main.FolderStartBusy;
    outcome.hideTaskBarBtn = main.Settings.hideTaskBarBtn;
    outcome.mainWndVisible = item.MainWnd != 0 && IsWindowVisible(toHwnd(item.MainWnd));
    outcome.mainWndIs64 =
        win::isNative64BitProcess(win::windowProcessId(toHwnd(item.MainWnd)), main.Is64BitWindows);
    outcome.rowText = RowText(row);
    const TrackingDecision decision = finishRowLaunch(items, index, launch, outcome, localNow());
    if (decision.tracked) {
        SetRowText(row, decision.rowText);
        const HWND shown = toHwnd(ownerOrSelf(describeWindow(toHwnd(item.MainWnd))));
        if (decision.hideTaskbarButton)
            win::hideTaskbarButton(shown);
        if (decision.minimise)
            SendMessageW(toHwnd(item.MainWnd), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    }
    return launched;
}

void TButtonForm::ActivateRunningApp(TItemData& item) {
    const HWND mainWnd = toHwnd(item.MainWnd);
    const HWND owner = GetWindow(mainWnd, GW_OWNER);
    const HWND shown = owner ? owner : mainWnd;
    ActivationFacts facts;
    facts.mainWndVisible = IsWindowVisible(mainWnd) != FALSE;
    facts.mainWndMinimised = IsIconic(mainWnd) != FALSE;
    facts.shownWindowVisible = IsWindowVisible(shown) != FALSE;
    if (skipsHiddenApplication(facts))
        return;
    makeNotTopmost(hwnd());
    if (IsIconic(shown))
        SendMessageW(shown, WM_SYSCOMMAND, SC_RESTORE, 0);
    if (IsWindowVisible(shown))
        ShowWindow(shown, SW_SHOW);
    win::bringWindowToFront(shown);
    if (needsWindowRefind(item, toHandle(shown), toHandle(GetForegroundWindow())))
        RefindWindow(item, shown);
    if (!fileio::directoryExists(item.ExeName) && LauncherMainForm->Settings.hideTaskBarBtn &&
        IsWindowVisible(shown))
        win::hideTaskbarButton(shown);
}

void TButtonForm::RefindWindow(TItemData& item, HWND alreadyTried) {
    for (WindowHandle candidate :
         refindCandidates(describeTopLevelWindows(), item, toHandle(alreadyTried))) {
        const HWND window = toHwnd(candidate);
        const HWND owner = GetWindow(window, GW_OWNER);
        const HWND shown = owner ? owner : window;
        if (IsIconic(shown))
            SendMessageW(shown, WM_SYSCOMMAND, SC_RESTORE, 0);
        ShowWindow(shown, SW_SHOW);
        win::bringWindowToFront(shown);
        const HWND foreground = GetForegroundWindow();
        if (foreground == shown || foreground == window) {
            item.MainWnd = candidate;
            return;
        }
    }
}

void TButtonForm::IdentifyWindow(TItemData& item, const IdentifyContext& context, HANDLE process) {
    // A program that never becomes idle for input must not hold the launcher
    // forever; after this long it is looked for as it is.
    constexpr std::uint32_t kIdleWaitLimitMs = 60000;
    IdentifyState state = beginIdentification(item);
    HCURSOR previousCursor = nullptr;
    bool processReleased = false;
    while (state.phase != IdentifyPhase::Done) {
        IdentifyFacts facts;
        facts.now = timeGetTime();
        switch (state.phase) {
        case IdentifyPhase::WaitIdle:
            facts.inputIdle = processReleased || win::waitForInputIdle(process, 0) ||
                              elapsedMs(facts.now, context.startedAt) > kIdleWaitLimitMs;
            break;
        case IdentifyPhase::Attempts:
            facts.topLevel = describeTopLevelWindows();
            break;
        case IdentifyPhase::WatchForeground:
            facts.foreground = describeWindow(GetForegroundWindow());
            facts.foregroundIsDesktopShell = isDesktopShellImage(facts.foreground.imagePath);
            break;
        case IdentifyPhase::Settle:
        case IdentifyPhase::Done:
            break;
        }
        const IdentifyStep step = stepIdentification(state, context, facts);
        if (step.showBusyCursor)
            previousCursor = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        if (step.releaseProcess)
            processReleased = true;
        if (step.makeLaunchersNotTopmost)
            makeVisibleLaunchersNotTopmost();
        if (step.restoreCursor && previousCursor)
            SetCursor(previousCursor);
        if (step.letMessagesRun)
            waitAnswering(step.pollAfterMs);
        else if (state.phase == IdentifyPhase::WatchForeground)
            Sleep(10); // the foreground watch lets nothing else run meanwhile
    }
    item.MainWnd = state.mainWnd;
    item.ProcessId = state.processId;
}

// --- Finishing ------------------------------------------------------------------

void TButtonForm::FinishBatch(const BatchFacts& facts, const std::vector<int>& identified) {
    TLauncherMainForm& main = *LauncherMainForm;
    LauncherShared& shared = ButtonForms[1]->Shared;
    main.ScheduledLaunch = false;
    main.ShowByMiddleClick = false;
    const BatchFinish finish = planBatchFinish(facts);
    LauncherItems& items = Items();
    if (finish.resort) {
        std::vector<std::wstring> texts = RowTexts();
        sortByLaunchCount(items.Items, items.JuniNo, texts);
        for (int row = 0; row < static_cast<int>(texts.size()); ++row)
            SetRowText(row, texts[static_cast<std::size_t>(row)]);
    }
    if (finish.writeCounts) {
        ItemFile file(main.DataDir, LauncherNo);
        file.writeLaunchRecords(items.Items, identified);
        if (finish.resort)
            file.writeOrder(items.JuniNo);
        SizeListWidth();
    }
    if (finish.deselectAll)
        SendMessageW(ListBox1, LB_SETSEL, FALSE, -1);
    if (finish.hideAllLaunchers) {
        win::processPendingMessages();
        for (int n = 1; n <= kLauncherCount; ++n)
            if (ButtonForms[n])
                ShowWindow(ButtonForms[n]->hwnd(), SW_HIDE);
        main.ShownTime = 0;
    }
    shared.LaunchBusy = false;
    if (finish.restoreLaunchers)
        RestoreLaunchersAfterLaunch(finish);
    else
        main.StartTimer1();
}

void TButtonForm::RestoreLaunchersAfterLaunch(const BatchFinish& finish) {
    TLauncherMainForm& main = *LauncherMainForm;
    bool arrange = false;
    for (int n = 1; n <= kLauncherCount; ++n) {
        TButtonForm* form = ButtonForms[n];
        if (!form || !form->hwnd() || !main.Settings.launcherHyoji[n - 1])
            continue;
        form->ImgButton.setVisible(true);
        form->Label1.setVisible(!main.NameFuchidori[n]);
        form->ImgBtnName.setVisible(main.NameFuchidori[n]);
        if (main.Displaced[n]) {
            form->ReturnHome();
            arrange = arrange || main.PositionMode() != kFreePlacementMode;
        } else {
            SetWindowPos(form->hwnd(), nullptr, main.HomeLeft[n], main.HomeTop[n], 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        if (finish.showLauncherWindows) {
            if (IsWindowVisible(form->hwnd()))
                form->FirstShow();
            else
                ShowWindow(form->hwnd(), SW_SHOWNOACTIVATE);
        }
    }
    if (arrange)
        main.ArrangeLaunchers(main.PositionMode());
    HideList();
    LblIconName.setVisible(false);
    main.ListActivityTime = 0;
    win::processPendingMessages();
    for (int n = 1; n <= kLauncherCount; ++n)
        if (ButtonForms[n] && IsWindowVisible(ButtonForms[n]->hwnd()))
            SetWindowPos(ButtonForms[n]->hwnd(), HWND_BOTTOM, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    main.StartTimer1();
}

// --- Following launched applications -------------------------------------------------

// The closing procedure (asking, waiting, offering to end the process) comes
// with the strip of running applications; until then the close ends at once.
void TButtonForm::CloseTrackedApp(int, const std::wstring&) {
    LauncherMainForm->ClosingFinished = true;
}

void TButtonForm::RefreshTrackedApp(int position) {
    TLauncherMainForm& main = *LauncherMainForm;
    if (main.RefreshBusy[LauncherNo])
        return;
    main.RefreshBusy[LauncherNo] = true;
    LauncherItems& items = Items();
    if (position < 0 || position >= items.RunCount()) {
        main.RefreshBusy[LauncherNo] = false;
        return;
    }
    const int index = items.RunningItems[static_cast<std::size_t>(position)];
    TItemData& item = items.Items[static_cast<std::size_t>(index)];
    TrackedAppFacts facts;
    facts.stillActive = win::processStillActive(item.ProcessId);
    facts.windowExists = item.MainWnd != 0 && IsWindow(toHwnd(item.MainWnd));
    if (!facts.windowExists)
        facts.topLevel = describeTopLevelWindows();
    const RefreshDecision decision = decideTrackedAppRefresh(item, facts);
    if (decision.newWindow != 0)
        item.MainWnd = decision.newWindow;
    win::processPendingMessages();
    if (decision.outcome == RefreshOutcome::Ended) {
        std::vector<std::wstring> texts = RowTexts();
        const std::vector<std::wstring> before = texts;
        forgetEndedApp(items, position, fileio::directoryExists(item.ExeName), texts);
        for (int row = 0; row < static_cast<int>(texts.size()); ++row)
            if (texts[static_cast<std::size_t>(row)] != before[static_cast<std::size_t>(row)])
                SetRowText(row, texts[static_cast<std::size_t>(row)]);
        InvalidateRect(ListBox1, nullptr, TRUE);
        win::processPendingMessages();
    }
    main.RefreshBusy[LauncherNo] = false;
}

} // namespace kelvo
