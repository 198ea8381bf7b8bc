#include "launcher/LaunchPlanning.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelvo {
namespace {

const std::wstring kEditorExe = L"C:\\Apps\\Editor.exe";
constexpr std::uint32_t kStartedPid = 4000;
constexpr WindowHandle kBeforeStart = 0x10;

std::wstring fakeExpand(const std::wstring& text) {
    std::wstring out = text;
    const std::wstring name = L"%SystemRoot%";
    for (std::size_t at; (at = out.find(name)) != std::wstring::npos;)
        out.replace(at, name.size(), L"C:\\Windows");
    return out;
}

// --- What is started ------------------------------------------------------------

TEST(LaunchTarget, ResolvesProgramsAndShortcutsOnlyWhenTheFileExists) {
    const ShortcutFacts shortcut{true, L"%SystemRoot%\\notepad.exe", L"/a %SystemRoot%",
                                 L"%SystemRoot%"};
    const ShortcutFacts broken{};
    struct Case {
        const char* what;
        std::wstring path;
        bool exists;
        ShortcutFacts link;
        LaunchTarget expected;
    } cases[] = {
        {"program", L"C:\\Apps\\Tool.EXE", true, broken, {L"C:\\Apps\\Tool.EXE", L"", L""}},
        {"missing program", L"C:\\Apps\\Tool.exe", false, broken, {}},
        {"shortcut",
         L"C:\\Links\\Note.LNK",
         true,
         shortcut,
         {L"C:\\Windows\\notepad.exe", L"/a C:\\Windows", L"C:\\Windows"}},
        {"shortcut that does not load", L"C:\\Links\\Bad.lnk", true, broken, {}},
        {"document", L"C:\\Docs\\a.txt", true, shortcut, {}},
    };
    for (const Case& c : cases) {
        const LaunchTarget t = resolveLaunchTarget(c.path, c.exists, c.link, fakeExpand);
        EXPECT_EQ(t.target, c.expected.target) << c.what;
        EXPECT_EQ(t.args, c.expected.args) << c.what;
        EXPECT_EQ(t.workDir, c.expected.workDir) << c.what;
    }
}

TEST(LaunchTarget, FolderViewPathLosesTrailingSeparators) {
    EXPECT_EQ(folderViewLaunchPath(L"C:\\Data\\Sub\\"), L"C:\\Data\\Sub");
    EXPECT_EQ(folderViewLaunchPath(L"C:\\Data\\a.txt"), L"C:\\Data\\a.txt");
}

struct StartCase {
    const char* what;
    TItemData item;
    bool folderView;
    std::wstring nodePath;
    LaunchTarget resolved;  // what resolving the launch path gives
    std::wstring answer;    // the association answer, already expanded
    AssociationQuery query; // expected
    ShellStart start;       // expected
    std::wstring exeFile;   // expected ExeFile of the item afterwards
};

// Runs the decisions of one start in the order the launch makes them.
ShellStart planStart(const StartCase& c, TItemData& item, AssociationQuery& query) {
    RowLaunch row = beginRowLaunch(item, c.folderView, false, c.nodePath);
    if (needsTargetResolution(item, row))
        takeResolvedTarget(item, row, c.resolved);
    query = associationQueryFor(item, row, true);
    if (query != AssociationQuery::None)
        takeAssociationAnswer(item, row, c.answer);
    return planShellStart(item, row);
}

TEST(LaunchTarget, ChoosesFileAndParametersOfTheShellStart) {
    const StartCase cases[] = {
        {"document opens in its associated program with the quoted path",
         {.ExeName = L"C:\\Docs\\Plan.txt"},
         false,
         L"",
         {},
         L"C:\\Windows\\notepad.exe",
         AssociationQuery::ByExtension,
         {L"C:\\Windows\\notepad.exe", L"\"C:\\Docs\\Plan.txt\""},
         L"C:\\Windows\\notepad.exe"},
        {"shortcut to a program: its target becomes the application",
         {.ExeName = L"C:\\Links\\Editor.lnk"},
         false,
         L"",
         {kEditorExe, L"-new", L"C:\\Apps"},
         L"",
         AssociationQuery::None,
         {L"C:\\Links\\Editor.lnk", L"-new"},
         kEditorExe},
        {"known program starts without resolving again",
         {.ExeName = L"C:\\Links\\Editor.lnk", .ExeFile = kEditorExe},
         false,
         L"",
         {kEditorExe, L"-ignored", L""},
         L"",
         AssociationQuery::None,
         {L"C:\\Links\\Editor.lnk", L""},
         kEditorExe},
        {"folder is opened by the shell without an association",
         {.ExeName = L"C:\\Data"},
         false,
         L"",
         {},
         L"",
         AssociationQuery::None,
         {L"C:\\Data", L""},
         L""},
        {"folder view: a document without association is quoted",
         {.ExeName = L"C:\\Data"},
         true,
         L"C:\\Data\\read me.md",
         {},
         L"",
         AssociationQuery::ByExtension,
         {L"\"C:\\Data\\read me.md\"", L""},
         L""},
        {"folder view: a file opens in the item's own program",
         {.ExeName = L"C:\\Data", .ExeFile = kEditorExe},
         true,
         L"C:\\Data\\a.txt",
         {},
         L"C:\\Windows\\notepad.exe",
         AssociationQuery::ByExtension,
         {L"C:\\Windows\\notepad.exe", L"\"C:\\Data\\a.txt\""},
         kEditorExe},
        {"folder view: a program file of a foreign app keeps the item's program",
         {.ExeName = L"C:\\Data", .ExeFile = kEditorExe},
         true,
         L"C:\\Data\\Other.exe",
         {L"C:\\Data\\Other.exe", L"", L""},
         L"",
         AssociationQuery::None,
         {L"C:\\Data\\Other.exe", L""},
         kEditorExe},
        {"an answer that is no program is not used",
         {.ExeName = L"C:\\Docs\\a.xyz"},
         false,
         L"",
         {},
         L"C:\\Tools\\viewer.com",
         AssociationQuery::ByExtension,
         {L"C:\\Docs\\a.xyz", L""},
         L""},
    };
    for (const StartCase& c : cases) {
        TItemData item = c.item;
        AssociationQuery query = AssociationQuery::None;
        const ShellStart start = planStart(c, item, query);
        EXPECT_EQ(query, c.query) << c.what;
        EXPECT_EQ(start.file, c.start.file) << c.what;
        EXPECT_EQ(start.parameters, c.start.parameters) << c.what;
        EXPECT_EQ(item.ExeFile, c.exeFile) << c.what;
    }
}

TEST(LaunchTarget, AssociationIsAskedByExtensionOnlyForPathsWithOne) {
    const RowLaunch list{};
    EXPECT_EQ(associationQueryFor({.ExeName = L"http://example.com/x.html"}, list, true),
              AssociationQuery::None);
    EXPECT_EQ(associationQueryFor({.ExeName = L"C:\\Data.d\\file"}, list, true),
              AssociationQuery::None);
    EXPECT_EQ(associationQueryFor({.ExeName = L"C:\\Data\\file"}, list, false),
              AssociationQuery::ByPath);
    EXPECT_EQ(extensionOf(L"C:\\Docs\\Plan.final.txt"), L".txt");
}

TEST(LaunchTarget, RetriesElevatedOnlyAfterARefusedStartOnNewerSystems) {
    EXPECT_TRUE(retriesElevated(5, true));
    EXPECT_TRUE(retriesElevated(32, true));
    EXPECT_FALSE(retriesElevated(33, true));
    EXPECT_FALSE(retriesElevated(5, false));
}

// --- A running item ------------------------------------------------------------

TEST(RunningItem, IsBroughtToTheFrontUnlessAnotherInstanceIsAskedFor) {
    const TItemData running{.ExeFile = kEditorExe, .MainWnd = 0x200, .ProcessId = 7};
    struct Case {
        const char* what;
        TItemData item;
        RunningAppFacts facts; // listLaunch, stillActive, isWindow, insertHeld, insertIsMainKey
        bool activates;
        bool extraInstance;
    } cases[] = {
        {"alive", running, {true, true, true, false, false}, true, false},
        {"Insert held", running, {true, true, true, true, false}, false, true},
        {"Insert is the main key", running, {true, true, true, true, true}, false, false},
        {"process ended", running, {true, false, true, false, false}, false, false},
        {"window gone", running, {true, true, false, false, false}, false, false},
        {"folder view", running, {false, true, true, false, false}, false, false},
        {"never started", {}, {true, true, true, false, false}, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(activatesRunningApp(c.item, c.facts), c.activates) << c.what;
        EXPECT_EQ(isExtraInstance(c.facts.insertHeld, c.facts.insertIsMainKey), c.extraInstance)
            << c.what;
    }
}

TEST(RunningItem, HiddenApplicationsAreSkippedAndLostWindowsReFound) {
    EXPECT_TRUE(skipsHiddenApplication({false, false, false}));
    EXPECT_FALSE(skipsHiddenApplication({false, true, false}));
    EXPECT_FALSE(skipsHiddenApplication({false, false, true}));

    const TItemData item{.ExeFile = kEditorExe, .MainWnd = 0x200, .ProcessId = 7};
    EXPECT_TRUE(needsWindowRefind(item, 0x100, 0x999));
    EXPECT_FALSE(needsWindowRefind(item, 0x100, 0x100));
    EXPECT_FALSE(needsWindowRefind(item, 0x100, 0x200));
    TItemData fixed = item;
    fixed.WindowFixed = true;
    EXPECT_FALSE(needsWindowRefind(fixed, 0x100, 0x999));

    const std::vector<WindowFacts> windows = {
        {.handle = 0x100, .visible = true, .processId = 7},
        {.handle = 0x300, .visible = false, .processId = 7},
        {.handle = 0x400, .visible = true, .isOwnWindow = true, .processId = 7},
        {.handle = 0x500, .visible = true, .processId = 9, .imagePath = L"c:\\apps\\EDITOR.exe"},
        {.handle = 0x600, .visible = true, .processId = 7},
    };
    EXPECT_EQ(refindCandidates(windows, item, 0x100), (std::vector<WindowHandle>{0x500, 0x600}));
}

// --- Identifying the window --------------------------------------------------------

struct Appearance {
    TimeStamp afterMs; // since the start
    WindowFacts window;
};

struct IdentifyCase {
    const char* what;
    IdentifyContext context;
    std::vector<Appearance> windows;
    TimeStamp foregroundAfterMs; // the foreground changes to `foreground` then
    WindowFacts foreground;
    bool foregroundIsShell;
    WindowHandle mainWnd;
    std::uint32_t processId;
    bool writeExeFile;
};

struct IdentifyRun {
    IdentifyState state;
    int busyCursors = 0;
    int releases = 0;
    int notTopmost = 0;
    int restores = 0;
};

// Drives the identification with a fake clock until it is done.
// `earlier` lists front windows that come and go before the case's own one.
IdentifyRun runIdentification(const IdentifyCase& c, TimeStamp startedAt, TimeStamp idleAfterMs,
                              const std::vector<Appearance>& earlier = {}) {
    IdentifyContext context = c.context;
    context.startedAt = startedAt;
    IdentifyRun run;
    run.state = beginIdentification({});
    TimeStamp now = startedAt;
    for (int guard = 0; guard < 100000 && run.state.phase != IdentifyPhase::Done; ++guard) {
        const TimeStamp since = now - startedAt;
        IdentifyFacts facts;
        facts.now = now;
        facts.inputIdle = since >= idleAfterMs;
        for (const Appearance& a : c.windows)
            if (since >= a.afterMs)
                facts.topLevel.push_back(a.window);
        if (since >= c.foregroundAfterMs) {
            facts.foreground = c.foreground;
            facts.foregroundIsDesktopShell = c.foregroundIsShell;
        } else {
            facts.foreground = {.handle = kBeforeStart, .processId = 1};
            for (const Appearance& a : earlier)
                if (since >= a.afterMs)
                    facts.foreground = a.window;
        }
        const IdentifyStep step = stepIdentification(run.state, context, facts);
        run.busyCursors += step.showBusyCursor;
        run.releases += step.releaseProcess;
        run.notTopmost += step.makeLaunchersNotTopmost;
        run.restores += step.restoreCursor;
        now += step.pollAfterMs != 0 ? step.pollAfterMs : 1;
    }
    return run;
}

IdentifyContext listContext() {
    return {
        .startedProcessId = kStartedPid, .exeFile = kEditorExe, .foregroundBefore = kBeforeStart};
}

IdentifyContext scheduledContext() {
    IdentifyContext context = listContext();
    context.scheduledLaunch = true;
    return context;
}

TEST(IdentifyWindow, FindsTheApplicationWindowAndWatchesTheForeground) {
    const WindowFacts mainOfProcess{.handle = 0x200, .visible = true, .processId = kStartedPid};
    const WindowFacts owned{
        .handle = 0x210, .owner = 0x200, .visible = true, .processId = kStartedPid};
    const WindowFacts desktop{
        .handle = 0x220, .visible = true, .isDesktop = true, .processId = kStartedPid};
    const WindowFacts hidden{.handle = 0x218, .processId = kStartedPid};
    const WindowFacts sameImage{
        .handle = 0x230, .visible = true, .processId = 4100, .imagePath = L"c:\\apps\\editor.EXE"};
    const WindowFacts later{.handle = 0x240, .visible = true, .processId = kStartedPid};
    const WindowFacts stranger{.handle = 0x250, .processId = 5000, .imagePath = L"C:\\x.exe"};
    const WindowFacts shell{.handle = 0x260, .processId = 6000};
    const WindowFacts launcher{.handle = 0x270, .isOwnWindow = true, .processId = kStartedPid};
    const WindowFacts none{};
    IdentifyContext associated = listContext();
    associated.usedAssociatedExe = true;
    IdentifyContext severalRows = listContext();
    severalRows.singleRow = false;

    const IdentifyCase cases[] = {
        {"window of the new process, foreground unchanged",
         listContext(),
         {{350, mainOfProcess}},
         0xFFFFFFFF,
         none,
         false,
         0x200,
         kStartedPid,
         true},
        {"owned, hidden and desktop windows are passed over",
         listContext(),
         {{0, owned}, {0, hidden}, {0, desktop}, {500, mainOfProcess}},
         0xFFFFFFFF,
         none,
         false,
         0x200,
         kStartedPid,
         true},
        {"another process of the same program",
         listContext(),
         {{0, sameImage}},
         0xFFFFFFFF,
         none,
         false,
         0x230,
         4100,
         true},
        {"nothing found in eleven attempts",
         listContext(),
         {{1500, mainOfProcess}},
         0xFFFFFFFF,
         none,
         false,
         0,
         0,
         false},
        {"a later front window of the process replaces the first",
         listContext(),
         {{0, mainOfProcess}},
         3000,
         later,
         false,
         0x240,
         kStartedPid,
         true},
        {"a front window found only by the watch",
         listContext(),
         {},
         4000,
         sameImage,
         false,
         0x230,
         4100,
         true},
        {"the desktop shell in front is not taken",
         listContext(),
         {{0, mainOfProcess}},
         3000,
         shell,
         true,
         0x200,
         kStartedPid,
         true},
        {"a launcher in front is not taken",
         listContext(),
         {{0, mainOfProcess}},
         3000,
         launcher,
         false,
         0x200,
         kStartedPid,
         true},
        {"a stranger in front is not taken",
         listContext(),
         {{0, mainOfProcess}},
         3000,
         stranger,
         false,
         0x200,
         kStartedPid,
         true},
        {"associated program: nothing is written",
         associated,
         {{0, mainOfProcess}},
         0xFFFFFFFF,
         none,
         false,
         0x200,
         kStartedPid,
         false},
        {"scheduled start adopts the program's front window without writing",
         scheduledContext(),
         {},
         4000,
         sameImage,
         false,
         0x230,
         4100,
         false},
        {"several rows: same process keeps its process id",
         severalRows,
         {{0, mainOfProcess}},
         3000,
         later,
         false,
         0x240,
         kStartedPid,
         true},
    };
    // The second start lies just before the 32-bit clock wraps.
    for (const TimeStamp startedAt : {TimeStamp{100000}, TimeStamp{0xFFFFFC00}}) {
        for (const IdentifyCase& c : cases) {
            const IdentifyRun run = runIdentification(c, startedAt, 200);
            const auto at = ::testing::Message() << c.what << " started at " << startedAt;
            ASSERT_EQ(run.state.phase, IdentifyPhase::Done) << at;
            EXPECT_EQ(run.state.mainWnd, c.mainWnd) << at;
            EXPECT_EQ(run.state.processId, c.processId) << at;
            EXPECT_EQ(run.state.writeExeFile, c.writeExeFile) << at;
            EXPECT_EQ(run.busyCursors, c.context.scheduledLaunch ? 0 : 1) << at;
            EXPECT_EQ(run.releases, 1) << at;
            EXPECT_EQ(run.notTopmost, 1) << at;
            EXPECT_EQ(run.restores, 1) << at;
        }
    }
}

TEST(IdentifyWindow, MakesElevenAttemptsAfterTheProcessIsIdle) {
    const IdentifyCase never{"nothing", listContext(), {}, 0xFFFFFFFF, {}, false, 0, 0, false};
    const IdentifyRun run = runIdentification(never, 5000, 2000);
    EXPECT_EQ(run.state.attempts, kIdentifyAttempts);

    const IdentifyCase soon{"found",
                            listContext(),
                            {{0, {.handle = 0x200, .visible = true, .processId = kStartedPid}}},
                            0xFFFFFFFF,
                            {},
                            false,
                            0,
                            0,
                            false};
    EXPECT_EQ(runIdentification(soon, 5000, 2000).state.attempts, 1);
}

TEST(IdentifyWindow, WatchesTheForegroundOnlyOnceTheStartHasSettled) {
    // A splash screen holds the front while the application starts; its main
    // window takes over before the watch begins.
    const WindowFacts splash{.handle = 0x280, .visible = true, .processId = kStartedPid};
    const WindowFacts main{.handle = 0x240, .visible = true, .processId = kStartedPid};
    const IdentifyCase c{"splash first", listContext(), {{0, splash}}, 2000, main, false, 0, 0,
                         false};
    for (const TimeStamp startedAt : {TimeStamp{100000}, TimeStamp{0xFFFFFC00}}) {
        const IdentifyRun run = runIdentification(c, startedAt, 200, {{600, splash}});
        EXPECT_EQ(run.state.mainWnd, WindowHandle{0x240}) << "started at " << startedAt;
    }
}

// --- Counting and tracking ----------------------------------------------------------

TEST(LaunchBookkeeping, CountsAndTracksOnlyWhatItCanFollow) {
    const TItemData program{.ExeName = L"C:\\Links\\Editor.lnk",
                            .ExeFile = kEditorExe,
                            .KidoCount = 4,
                            .MainWnd = 0x200,
                            .ProcessId = 7};
    TItemData minimising = program;
    minimising.MinimizeStart = true;
    const TItemData notFound{
        .ExeName = L"C:\\Apps\\Editor.exe", .ExeFile = kEditorExe, .KidoCount = 4};
    const TItemData document{.ExeName = L"C:\\Docs\\Plan.txt",
                             .ExeFile = L"C:\\Windows\\notepad.exe",
                             .KidoCount = 4,
                             .MainWnd = 0x300,
                             .ProcessId = 8};
    const TItemData folder{.ExeName = L"C:\\Data", .KidoCount = 4};
    const TItemData folderWithApp{.ExeName = L"C:\\Data",
                                  .ExeFile = kEditorExe,
                                  .KidoCount = 4,
                                  .MainWnd = 0x200,
                                  .ProcessId = 7};

    const RowLaunch list{};
    RowLaunch extra{};
    extra.extraInstance = true;
    RowLaunch associated{};
    associated.associatedExe = L"C:\\Windows\\notepad.exe";
    RowLaunch foreign{.folderView = true, .foreignApp = true};
    RowLaunch folderView{.folderView = true};

    struct Case {
        const char* what;
        TItemData item;
        RowLaunch row;
        RowOutcome outcome; // launched, folderStartBusy, hideTaskBarBtn, visible, is64, text
        bool counted;
        bool tracked;
        std::wstring exeFile; // in memory afterwards
        std::wstring rowText;
        std::wstring savedName;
        bool hideTaskbar;
        bool minimise;
    } cases[] = {
        {"program is tracked",
         program,
         list,
         {true, false, true, true, false, L"Editor"},
         true,
         true,
         kEditorExe,
         L"Editor-起動中",
         L"Editor",
         true,
         false},
        {"marked row keeps one marker",
         program,
         list,
         {true, false, false, true, false, L"Editor-起動中"},
         true,
         true,
         kEditorExe,
         L"Editor-起動中",
         L"Editor-起動中",
         false,
         false},
        {"minimised on start",
         minimising,
         list,
         {true, false, false, true, false, L"Editor"},
         true,
         true,
         kEditorExe,
         L"Editor-起動中",
         L"Editor",
         false,
         true},
        {"hidden window is not minimised",
         minimising,
         list,
         {true, false, false, false, false, L"Editor"},
         true,
         true,
         kEditorExe,
         L"Editor-起動中",
         L"Editor",
         false,
         false},
        {"extra instance is counted, not tracked",
         program,
         extra,
         {true, false, true, true, false, L"Editor"},
         true,
         false,
         L"",
         L"Editor",
         L"",
         false,
         false},
        {"window never found",
         notFound,
         list,
         {true, false, false, true, false, L"Editor"},
         true,
         false,
         L"",
         L"Editor",
         L"",
         false,
         false},
        {"document in its associated program",
         document,
         associated,
         {true, false, false, true, false, L"Plan"},
         true,
         false,
         L"",
         L"Plan",
         L"",
         false,
         false},
        {"folder start of all files",
         program,
         list,
         {true, true, false, true, false, L"E"},
         true,
         false,
         L"",
         L"E",
         L"",
         false,
         false},
        {"failed start",
         program,
         list,
         {false, false, false, true, false, L"Editor"},
         false,
         false,
         kEditorExe,
         L"Editor",
         L"",
         false,
         false},
        {"file of a folder in the item's program",
         folderWithApp,
         foreign,
         {true, false, false, true, false, L"a.txt"},
         false,
         false,
         kEditorExe,
         L"a.txt",
         L"",
         false,
         false},
        {"folder view opening a folder",
         folder,
         folderView,
         {true, false, false, true, false, L"Sub"},
         true,
         false,
         L"",
         L"Sub",
         L"",
         false,
         false},
    };
    const DateTime now = 46000.5;
    for (const Case& c : cases) {
        LauncherItems launcher;
        appendItem(launcher, {.ExeName = L"C:\\other.exe"});
        const int index = appendItem(launcher, c.item);
        const TrackingDecision d = finishRowLaunch(launcher, index, c.row, c.outcome, now);
        const TItemData& after = launcher.Items[1];
        EXPECT_EQ(d.counted, c.counted) << c.what;
        EXPECT_EQ(after.KidoCount, c.counted ? 5 : 4) << c.what;
        EXPECT_EQ(after.LastStartTime, c.counted ? now : 0) << c.what;
        EXPECT_EQ(d.tracked, c.tracked) << c.what;
        EXPECT_EQ(launcher.RunningItems, c.tracked ? std::vector<int>{1} : std::vector<int>{})
            << c.what;
        EXPECT_EQ(after.ExeFile, c.exeFile) << c.what;
        EXPECT_EQ(d.rowText, c.rowText) << c.what;
        const std::wstring saved = launcher.SavedName.size() > 1 ? launcher.SavedName[1] : L"";
        EXPECT_EQ(saved, c.savedName) << c.what;
        EXPECT_EQ(d.hideTaskbarButton, c.hideTaskbar) << c.what;
        EXPECT_EQ(d.minimise, c.minimise) << c.what;
    }
}

TEST(LaunchBookkeeping, FolderViewProgramIsTrackedUnderTheFileName) {
    LauncherItems launcher;
    const int index = appendItem(launcher, {.ExeName = L"C:\\Data",
                                            .ExeFile = L"C:\\Data\\Tool.exe",
                                            .MainWnd = 0x200,
                                            .ProcessId = 7});
    const RowLaunch row{.folderView = true};
    const TrackingDecision d = finishRowLaunch(
        launcher, index, row, {true, false, true, true, true, L"Tool.exe"}, 46000.0);
    EXPECT_TRUE(d.tracked);
    EXPECT_EQ(launcher.SavedName[0], L"Tool");
    EXPECT_TRUE(d.addStripIconFromExe);
    EXPECT_FALSE(d.addStripIconFromItem);
    EXPECT_FALSE(d.hideTaskbarButton);
    EXPECT_EQ(launcher.RunningIs64, std::vector<bool>{true});
}

TEST(LaunchBookkeeping, BatchFinishWritesAndHidesOnlyAfterALaunch) {
    struct Case {
        const char* what;
        BatchFacts facts; // launched, failed, folderStartBusy, sortsByCount, afterRun, afterTime
        BatchFinish expected; // resort, write, deselect, hideAll, restore, showWindows
    } cases[] = {
        {"launch, sorted by count",
         {1, false, false, true, false, false},
         {true, true, true, false, true, true}},
        {"launch, other order",
         {2, false, false, false, false, false},
         {false, true, true, false, true, true}},
        {"only activations",
         {0, false, false, true, true, false},
         {false, false, true, false, true, true}},
        {"hidden after run",
         {1, false, false, false, true, false},
         {false, true, true, true, true, false}},
        {"hidden after time",
         {1, false, false, false, false, true},
         {false, true, true, false, true, false}},
        {"starting a folder's files",
         {1, false, true, true, true, false},
         {false, true, false, false, false, false}},
        {"error", {1, true, false, true, true, false}, {false, false, true, false, true, true}},
    };
    for (const Case& c : cases) {
        const BatchFinish f = planBatchFinish(c.facts);
        EXPECT_EQ(f.resort, c.expected.resort) << c.what;
        EXPECT_EQ(f.writeCounts, c.expected.writeCounts) << c.what;
        EXPECT_EQ(f.deselectAll, c.expected.deselectAll) << c.what;
        EXPECT_EQ(f.hideAllLaunchers, c.expected.hideAllLaunchers) << c.what;
        EXPECT_EQ(f.restoreLaunchers, c.expected.restoreLaunchers) << c.what;
        EXPECT_EQ(f.showLauncherWindows, c.expected.showLauncherWindows) << c.what;
    }
}

TEST(LaunchBookkeeping, SortByLaunchCountKeepsEqualCountsInTheirOrder) {
    const std::vector<TItemData> items = {
        {.KidoCount = 2}, {.KidoCount = 5}, {.KidoCount = 2}, {.KidoCount = 0}, {.KidoCount = 5}};
    std::vector<int> juniNo = {3, 2, 4, 0, 1};
    std::vector<std::wstring> rows = {L"d", L"c", L"e", L"a", L"b-起動中"};
    sortByLaunchCount(items, juniNo, rows);
    EXPECT_EQ(juniNo, (std::vector<int>{4, 1, 2, 0, 3}));
    EXPECT_EQ(rows, (std::vector<std::wstring>{L"e", L"b-起動中", L"c", L"a", L"d"}));
}

// --- Clicks on a row ----------------------------------------------------------------

TEST(RowClick, FollowsTheGuardsAndTogglesARunningApplication) {
    const TItemData item{.ExeFile = kEditorExe, .MainWnd = 0x200, .ProcessId = 7};
    const WindowFacts itsWindow{.handle = 0x200, .processId = 7};
    const WindowFacts itsOwnedWindow{.handle = 0x210, .owner = 0x205, .processId = 7};
    const WindowFacts other{.handle = 0x300, .processId = 9};
    const WindowFacts launcher{.handle = 0x200, .isOwnWindow = true, .processId = 7};
    const RowClickFacts plain{.selectedCount = 1,
                              .mouseDownY = 40,
                              .clickY = 42,
                              .rowText = L"Editor-起動中",
                              .previousForeground = itsWindow};
    const auto with = [&](auto change) {
        RowClickFacts facts = plain;
        change(facts);
        return facts;
    };
    struct Case {
        const char* what;
        RowClickFacts facts;
        RowClickAction action;
        WindowHandle minimised;
        bool adopt;
    } cases[] = {
        {"running app in front is minimised", plain, RowClickAction::MinimiseRunning, 0x200, false},
        {"another window of its process: its owner, and it is adopted",
         with([&](RowClickFacts& f) { f.previousForeground = itsOwnedWindow; }),
         RowClickAction::MinimiseRunning, 0x205, true},
        {"running app behind another window is brought forward",
         with([&](RowClickFacts& f) { f.previousForeground = other; }), RowClickAction::Launch, 0,
         false},
        {"a launcher in front does not count",
         with([&](RowClickFacts& f) { f.previousForeground = launcher; }), RowClickAction::Launch,
         0, false},
        {"Insert starts another instance", with([](RowClickFacts& f) { f.insertHeld = true; }),
         RowClickAction::Launch, 0, false},
        {"Insert on a folder does nothing", with([](RowClickFacts& f) {
             f.insertHeld = true;
             f.isFolderItem = true;
         }),
         RowClickAction::Ignore, 0, false},
        {"row not running", with([](RowClickFacts& f) { f.rowText = L"Editor"; }),
         RowClickAction::Launch, 0, false},
        {"drag of six pixels", with([](RowClickFacts& f) { f.clickY = 34; }),
         RowClickAction::Ignore, 0, false},
        {"five pixels is still a click", with([](RowClickFacts& f) { f.clickY = 45; }),
         RowClickAction::MinimiseRunning, 0x200, false},
        {"click after the item menu", with([](RowClickFacts& f) { f.ignoreNextClick = true; }),
         RowClickAction::ConsumeIgnoreFlag, 0, false},
        {"modifier held", with([](RowClickFacts& f) { f.modifierHeld = true; }),
         RowClickAction::ShowIconOnly, 0, false},
        {"two rows selected", with([](RowClickFacts& f) { f.selectedCount = 2; }),
         RowClickAction::ShowIconOnly, 0, false},
        {"item menu open", with([](RowClickFacts& f) { f.itemMenuOpen = true; }),
         RowClickAction::Ignore, 0, false},
        {"row being dragged", with([](RowClickFacts& f) { f.rowDragging = true; }),
         RowClickAction::Ignore, 0, false},
        {"before start-up ends", with([](RowClickFacts& f) { f.startupComplete = false; }),
         RowClickAction::Ignore, 0, false},
    };
    for (const Case& c : cases) {
        const RowClickDecision d = decideRowClick(c.facts, item);
        EXPECT_EQ(d.action, c.action) << c.what;
        EXPECT_EQ(d.minimiseWindow, c.minimised) << c.what;
        EXPECT_EQ(d.adoptWindow, c.adopt) << c.what;
    }
}

// --- Keeping the tracked list true --------------------------------------------------

TEST(TrackedApp, RefreshKeepsReplacedWindowsAndDropsEndedApplications) {
    const TItemData item{.MainWnd = 0x200, .ProcessId = 7};
    const std::vector<WindowFacts> replaced = {
        {.handle = 0x300, .owner = 0x1, .visible = true, .processId = 7},
        {.handle = 0x310, .visible = false, .processId = 7},
        {.handle = 0x320, .visible = true, .isDesktop = true, .processId = 7},
        {.handle = 0x330, .visible = true, .processId = 8},
        {.handle = 0x340, .visible = true, .processId = 7},
    };
    struct Case {
        const char* what;
        TItemData item;
        TrackedAppFacts facts; // windowExists, stillActive, topLevel
        RefreshOutcome outcome;
        WindowHandle newWindow;
    } cases[] = {
        {"alive", item, {true, true, {}}, RefreshOutcome::StillRunning, 0},
        {"new window of the process",
         item,
         {false, true, replaced},
         RefreshOutcome::StillRunning,
         0x340},
        {"window closed, none replaces it", item, {false, true, {}}, RefreshOutcome::Ended, 0},
        {"process ended", item, {true, false, {}}, RefreshOutcome::Ended, 0},
        {"window never found",
         {.ProcessId = 7},
         {false, false, {}},
         RefreshOutcome::NotYetIdentified,
         0},
    };
    for (const Case& c : cases) {
        const RefreshDecision d = decideTrackedAppRefresh(c.item, c.facts);
        EXPECT_EQ(d.outcome, c.outcome) << c.what;
        EXPECT_EQ(d.newWindow, c.newWindow) << c.what;
    }
}

TEST(TrackedApp, ForgettingAnEndedApplicationUnmarksItsRow) {
    LauncherItems launcher;
    appendItem(launcher, {.ExeName = L"C:\\Data",
                          .ExeFile = kEditorExe,
                          .MainWnd = 0x200,
                          .ProcessId = 7,
                          .WindowFixed = true});
    appendItem(
        launcher,
        {.ExeName = L"C:\\b.exe", .ExeFile = L"C:\\b.exe", .MainWnd = 0x300, .ProcessId = 8});
    launcher.JuniNo = {1, 0};
    launcher.RunningItems = {0, 1};
    launcher.RunningIs64 = {false, true};
    std::vector<std::wstring> rows = {L"b-起動中", L"Data-起動中"};

    EXPECT_TRUE(forgetEndedApp(launcher, 0, true, rows));
    EXPECT_EQ(launcher.Items[0], (TItemData{.ExeName = L"C:\\Data"}));
    EXPECT_EQ(launcher.RunningItems, std::vector<int>{1});
    EXPECT_EQ(launcher.RunningIs64, std::vector<bool>{true});
    EXPECT_EQ(rows, (std::vector<std::wstring>{L"b-起動中", L"Data"}));

    EXPECT_FALSE(forgetEndedApp(launcher, 0, false, rows));
    EXPECT_EQ(launcher.Items[1].ExeFile, L"C:\\b.exe"); // a program keeps its executable
    EXPECT_EQ(rows, (std::vector<std::wstring>{L"b", L"Data"}));
}

TEST(TrackedApp, ForegroundCandidateExcludesTheProgramsOwnWindowsAndTheDesktop) {
    EXPECT_EQ(foregroundCandidate({.handle = 0x200}), WindowHandle{0x200});
    EXPECT_EQ(foregroundCandidate({.handle = 0x200, .isOwnWindow = true}), WindowHandle{0});
    EXPECT_EQ(foregroundCandidate({.handle = 0x200, .isDesktop = true}), WindowHandle{0});
    EXPECT_EQ(foregroundCandidate({}), WindowHandle{0});
}

} // namespace
} // namespace kelvo
