#pragma once
// The decisions of launching an item and of following the application it
// started: what to hand to the shell, whether a running application is brought
// to the front instead, how its window is found, what is counted and tracked
// afterwards, and how clicks on a row behave. The window side gathers the facts
// (files, windows, processes, keys, time stamps) and carries out the answers;
// nothing here calls the system.
#include "core/CycleClock.h"
#include "launcher/ItemModel.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kelvo {

using WindowHandle = std::uintptr_t;

// --- What to start ----------------------------------------------------------

// Program and shortcut files are told apart by their extension alone, in any
// letter case.
enum class LaunchFileKind { Other, Program, Shortcut };
LaunchFileKind launchFileKind(const std::wstring& path);

bool endsWithExe(const std::wstring& path);

// The chosen file of a folder view as the shell wants it: no trailing separator.
std::wstring folderViewLaunchPath(const std::wstring& fullPath);

struct LaunchTarget {
    std::wstring target;
    std::wstring args;
    std::wstring workDir;
};

// What the shell link object read from a shortcut file (raw, not yet expanded).
struct ShortcutFacts {
    bool loaded = false;
    std::wstring target;
    std::wstring args;
    std::wstring workDir;
};

// Expands %NAME% environment references; supplied by the system side.
using EnvironmentExpander = std::function<std::wstring(const std::wstring&)>;

// A shortcut's fields with their environment references expanded; a shortcut
// that could not be loaded gives no target.
LaunchTarget resolveShortcut(const ShortcutFacts& shortcut, const EnvironmentExpander& expand);

// For an existing program its own path, for an existing shortcut what it points
// to; nothing for anything else.
LaunchTarget resolveLaunchTarget(const std::wstring& path, bool fileExists,
                                 const ShortcutFacts& shortcut, const EnvironmentExpander& expand);

// --- A running item: bring it to the front instead of starting it ------------

bool isExtraInstance(bool insertHeld, bool insertIsMainKey);

struct RunningAppFacts {
    bool listLaunch = true;          // folder-view launches always start
    bool processStillActive = false; // the exit code still says "running"
    bool mainWndIsWindow = false;
    bool insertHeld = false;
    bool insertIsMainKey = false;
};
// True when the row is served by activating the running application.
bool activatesRunningApp(const TItemData& item, const RunningAppFacts& facts);

struct ActivationFacts {
    bool mainWndVisible = false;
    bool mainWndMinimised = false;
    bool shownWindowVisible = false; // the owner of MainWnd, or MainWnd itself
};
// An application whose windows are all hidden cannot be brought forward.
bool skipsHiddenApplication(const ActivationFacts& facts);

// After forcing the window forward: another window of the application must be
// looked for when neither it nor MainWnd got the foreground.
bool needsWindowRefind(const TItemData& item, WindowHandle shownWindow, WindowHandle foreground);

// --- One window as the system side describes it -------------------------------

struct WindowFacts {
    WindowHandle handle = 0;
    WindowHandle owner = 0;
    bool visible = false;
    bool minimised = false;
    bool isDesktop = false;   // the shell's desktop view
    bool isOwnWindow = false; // a launcher, the main window, the application window, ...
    std::uint32_t processId = 0;
    std::wstring imagePath{}; // full image path of its process
};

// The window that is minimised, shown or stripped of its taskbar button.
WindowHandle ownerOrSelf(const WindowFacts& window);

// Paths of executables are compared without regard to letter case.
bool belongsToApplication(const WindowFacts& window, std::uint32_t processId,
                          const std::wstring& exeFile);

// Re-finding: the visible windows of the application, in enumeration order,
// other than the one already tried and the program's own windows.
std::vector<WindowHandle> refindCandidates(const std::vector<WindowFacts>& topLevel,
                                           const TItemData& item, WindowHandle alreadyTried);

// --- Starting through the shell ----------------------------------------------

// Working values of starting one row.
struct RowLaunch {
    bool folderView = false;
    bool extraInstance = false;
    bool foreignApp = false; // folder-view launch of an item that already has an application
    std::wstring launchPath{};
    LaunchTarget resolved{};
    std::wstring foreignExe{};
    std::wstring associatedExe{};
};

RowLaunch beginRowLaunch(const TItemData& item, bool folderView, bool extraInstance,
                         const std::wstring& folderViewPath);

// The path is resolved only when the item has no known application yet or a
// folder-view file is started.
bool needsTargetResolution(const TItemData& item, const RowLaunch& row);
void takeResolvedTarget(TItemData& item, RowLaunch& row, const LaunchTarget& resolved);

enum class AssociationQuery { None, ByExtension, ByPath };
// Whether (and how) the associated program must be asked for.
AssociationQuery associationQueryFor(const TItemData& item, const RowLaunch& row,
                                     bool vistaOrLater);
// The path whose association is asked for.
std::wstring associationSubject(const TItemData& item, const RowLaunch& row);
// The extension with its dot ("" when the path has none).
std::wstring extensionOf(const std::wstring& path);
// `expandedAnswer` is the association answer with its environment references expanded.
void takeAssociationAnswer(TItemData& item, RowLaunch& row, const std::wstring& expandedAnswer);

struct ShellStart {
    std::wstring file;
    std::wstring parameters;
};
ShellStart planShellStart(const TItemData& item, const RowLaunch& row);

// A refused start is tried once more with elevation where the system offers it.
bool retriesElevated(std::intptr_t instanceValue, bool vistaOrLater);
bool startSucceeded(std::intptr_t instanceValue);

// --- Identifying the window of a started application --------------------------

struct IdentifyContext {
    std::uint32_t startedProcessId = 0;
    std::wstring exeFile{};
    bool listLaunch = true;
    bool usedAssociatedExe = false;
    bool singleRow = true;
    bool scheduledLaunch = false;
    bool showByMiddleClick = false;
    WindowHandle foregroundBefore = 0; // remembered just before the start
    TimeStamp startedAt = 0;
};

enum class IdentifyPhase { WaitIdle, Attempts, Settle, WatchForeground, Done };

struct IdentifyState {
    IdentifyPhase phase = IdentifyPhase::WaitIdle;
    int attempts = 0;
    TimeStamp lastAttemptAt = 0;
    TimeStamp watchStartedAt = 0;
    WindowHandle mainWnd = 0;
    std::uint32_t processId = 0;
    bool writeExeFile = false; // the identified executable goes to the item file
    bool busyCursorShown = false;
};

// Starts from the item's remembered window and process.
IdentifyState beginIdentification(const TItemData& item);

struct IdentifyFacts {
    TimeStamp now = 0;
    bool inputIdle = false; // the process is idle for input, or can no longer be waited for
    std::vector<WindowFacts> topLevel{};
    WindowFacts foreground{};
    bool foregroundIsDesktopShell = false; // its process is the desktop shell
};

// What the window side does after a step, besides reading the state.
struct IdentifyStep {
    bool showBusyCursor = false;
    bool releaseProcess = false;
    bool makeLaunchersNotTopmost = false;
    bool restoreCursor = false;
    bool letMessagesRun = false; // the foreground watch polls without yielding
    std::uint32_t pollAfterMs = 0;
};

inline constexpr int kIdentifyAttempts = 11;
inline constexpr std::uint32_t kAttemptIntervalMs = 100;
inline constexpr std::uint32_t kSettleMs = 2500;
inline constexpr std::uint32_t kForegroundWatchMs = 10000;
inline constexpr std::uint32_t kIdlePollMs = 50;
inline constexpr std::uint32_t kSettlePollMs = 10;

// Advances the identification by one step under the given facts.
IdentifyStep stepIdentification(IdentifyState& state, const IdentifyContext& context,
                                const IdentifyFacts& facts);

// --- After a row: counting and tracking ---------------------------------------

struct RowOutcome {
    bool launched = false;
    bool folderStartBusy = false;
    bool hideTaskBarBtn = false;
    bool mainWndVisible = false;
    bool mainWndIs64 = false; // the window's process is a native 64-bit one
    std::wstring rowText{};   // list launch: the row; folder view: the chosen node's text
};

struct TrackingDecision {
    bool counted = false;
    bool tracked = false;
    bool addStripIconFromExe = false;  // folder view: the application's own icon
    bool addStripIconFromItem = false; // list launch: the item's icon
    bool hideTaskbarButton = false;    // on the owner of MainWnd, or MainWnd
    bool minimise = false;
    std::wstring rowText{}; // the row's new text (list launches)
};

// Counts the launch and decides whether the application is followed; updates
// the item, the running list and the saved name.
TrackingDecision finishRowLaunch(LauncherItems& launcher, int item, const RowLaunch& row,
                                 const RowOutcome& outcome, DateTime now);

std::wstring withRunningMarker(const std::wstring& text);
std::wstring withoutExtension(const std::wstring& name);

// --- Finishing the batch ------------------------------------------------------

struct BatchFacts {
    int launched = 0;
    bool failed = false; // an error ended the batch; counts are not written
    bool folderStartBusy = false;
    bool sortsByLaunchCount = false;
    bool hideAfterRun = false;
    bool hideAfterTime = false;
};

struct BatchFinish {
    bool resort = false;
    bool writeCounts = false; // KidoCount and LastStartTime of every item of the launcher
    bool deselectAll = false;
    bool hideAllLaunchers = false;
    bool restoreLaunchers = false;
    bool showLauncherWindows = false;
};
BatchFinish planBatchFinish(const BatchFacts& facts);

// Most launched first; rows with equal counts keep their order. The row texts
// move with their entries.
void sortByLaunchCount(const std::vector<TItemData>& items, std::vector<int>& juniNo,
                       std::vector<std::wstring>& rowTexts);

// --- Clicks on a row ------------------------------------------------------------

struct RowClickFacts {
    bool itemMenuOpen = false;
    bool rowDragging = false;
    bool startupComplete = true;
    bool modifierHeld = false; // Shift, Ctrl, Alt or an arrow key
    int selectedCount = 0;
    int mouseDownY = 0;
    int clickY = 0;
    bool ignoreNextClick = false;
    bool insertHeld = false;
    bool isFolderItem = false;
    bool displaced = false;
    std::wstring rowText{};
    WindowFacts previousForeground{}; // handle 0 when none
};

enum class RowClickAction {
    Ignore,       // nothing happens
    ShowIconOnly, // several rows or a modifier: only the row's icon is shown
    ConsumeIgnoreFlag,
    MinimiseRunning, // the item's application is in front: send it back
    Launch,
};

struct RowClickDecision {
    RowClickAction action = RowClickAction::Ignore;
    WindowHandle minimiseWindow = 0;
    bool adoptWindow = false; // the front window becomes the item's MainWnd
    bool returnHome = false;  // put a displaced launcher back
};
RowClickDecision decideRowClick(const RowClickFacts& facts, const TItemData& item);

inline constexpr int kDragThresholdPx = 5;

// --- Keeping the tracked list true --------------------------------------------

struct TrackedAppFacts {
    bool windowExists = false;
    bool stillActive = false;
    std::vector<WindowFacts> topLevel{}; // looked at only when the window is gone
};

enum class RefreshOutcome { NotYetIdentified, StillRunning, Ended };

struct RefreshDecision {
    RefreshOutcome outcome = RefreshOutcome::NotYetIdentified;
    WindowHandle newWindow = 0; // the window that replaced a closed one
};
RefreshDecision decideTrackedAppRefresh(const TItemData& item, const TrackedAppFacts& facts);

// Drops entry `position` of the tracked list and unmarks the item's row.
// Returns whether any tracked entry remains.
bool forgetEndedApp(LauncherItems& launcher, int position, bool exeNameIsFolder,
                    std::vector<std::wstring>& rowTexts);

// The foreground window unless it is one of the program's own or the desktop.
WindowHandle foregroundCandidate(const WindowFacts& foreground);

} // namespace kelvo
