#include "core/MainCycle.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace kelvo {
namespace {

// A fake millisecond clock: stamps are taken from it and it only moves forward,
// wrapping like the real 32-bit one.
struct FakeClock {
    TimeStamp now = 100000;
    TimeStamp stamp() const { return now; }
    void advance(std::uint32_t ms) { now += ms; }
};

// --- Hiding the buttons a set time after they were shown ------------------------

// Two launchers on screen at home, nothing open, the pointer elsewhere.
AutoHideInput idleShownLaunchers(const FakeClock& clock) {
    AutoHideInput in;
    in.enabled = true;
    in.shownTime = clock.stamp();
    in.autoHideSeconds = 20;
    in.launchers[0].windowVisible = true;
    in.launchers[0].buttonVisible = true;
    in.launchers[2].windowVisible = true;
    in.launchers[2].buttonVisible = true;
    return in;
}

struct Condition {
    std::string name;
    std::function<void(AutoHideInput&)> apply;
    AutoHide expected;
};

TEST(AutoHide, EachConditionAloneHoldsItOffAndNoneLetsItHide) {
    const Condition conditions[] = {
        {"nothing holds", [](AutoHideInput&) {}, AutoHide::Hide},
        {"option off", [](AutoHideInput& in) { in.enabled = false; }, AutoHide::NotDue},
        {"never shown", [](AutoHideInput& in) { in.shownTime = 0; }, AutoHide::NotDue},
        {"list growing", [](AutoHideInput& in) { in.flags.listGrowing = true; }, AutoHide::NotDue},
        {"launchers busy", [](AutoHideInput& in) { in.flags.launchersBusy = true; },
         AutoHide::NotDue},
        {"menu open", [](AutoHideInput& in) { in.flags.menuOpen = true; }, AutoHide::NotDue},
        {"operation in progress", [](AutoHideInput& in) { in.flags.operationInProgress = true; },
         AutoHide::NotDue},
        {"folder start busy", [](AutoHideInput& in) { in.flags.folderStartBusy = true; },
         AutoHide::NotDue},
        {"displaced", [](AutoHideInput& in) { in.launchers[2].displaced = true; }, AutoHide::Held},
        {"list visible", [](AutoHideInput& in) { in.launchers[0].listVisible = true; },
         AutoHide::Held},
        {"folder view visible", [](AutoHideInput& in) { in.launchers[2].folderViewVisible = true; },
         AutoHide::Held},
        {"rename box visible", [](AutoHideInput& in) { in.launchers[0].renameEditVisible = true; },
         AutoHide::Held},
        {"settings dialog", [](AutoHideInput& in) { in.flags.settingsDialogVisible = true; },
         AutoHide::Held},
        {"schedule dialog", [](AutoHideInput& in) { in.flags.scheduleDialogVisible = true; },
         AutoHide::Held},
        {"pointer over button", [](AutoHideInput& in) { in.launchers[2].pointerOverButton = true; },
         AutoHide::Held},
        {"pointer over visible strip",
         [](AutoHideInput& in) {
             in.launchers[0].stripVisible = true;
             in.launchers[0].pointerOverStrip = true;
         },
         AutoHide::Held},
        // Facts of a window that is not on screen hold nothing off.
        {"hidden launcher displaced", [](AutoHideInput& in) { in.launchers[1].displaced = true; },
         AutoHide::Hide},
        {"hidden launcher list", [](AutoHideInput& in) { in.launchers[4].listVisible = true; },
         AutoHide::Hide},
        {"pointer where a hidden strip would be",
         [](AutoHideInput& in) { in.launchers[0].pointerOverStrip = true; }, AutoHide::Hide},
    };
    for (const Condition& c : conditions) {
        FakeClock clock;
        AutoHideInput in = idleShownLaunchers(clock);
        c.apply(in);
        clock.advance(20000);
        in.now = clock.stamp();
        EXPECT_EQ(decideAutoHide(in), c.expected) << c.name;
    }
}

TEST(AutoHide, FiresOnlyOnceTheSetSecondsHavePassed) {
    FakeClock clock;
    AutoHideInput in = idleShownLaunchers(clock);
    in.autoHideSeconds = 30;
    clock.advance(29999);
    in.now = clock.stamp();
    EXPECT_EQ(decideAutoHide(in), AutoHide::NotDue);
    clock.advance(1);
    in.now = clock.stamp();
    EXPECT_EQ(decideAutoHide(in), AutoHide::Hide);
}

// --- Closing an idle list --------------------------------------------------------

// Launcher 2 has its list open, idle since the stamp, the pointer outside it.
IdleListInput idleOpenList(const FakeClock& clock) {
    IdleListInput in;
    in.listActivityTime = clock.stamp();
    in.launchers[1].windowVisible = true;
    in.launchers[1].listVisible = true;
    return in;
}

struct IdleCase {
    std::string name;
    std::function<void(IdleListInput&)> apply;
    int expectedLauncher;
};

TEST(IdleList, ClosesAfterTenSecondsOnlyWithThePointerOutside) {
    const IdleCase cases[] = {
        {"pointer outside", [](IdleListInput&) {}, 2},
        {"pointer inside", [](IdleListInput& in) { in.launchers[1].pointerInWindow = true; }, 0},
        {"folder view instead of list",
         [](IdleListInput& in) {
             in.launchers[1].listVisible = false;
             in.launchers[1].folderViewVisible = true;
         },
         2},
        {"nothing open", [](IdleListInput& in) { in.launchers[1].listVisible = false; }, 0},
        {"no activity stamp", [](IdleListInput& in) { in.listActivityTime = 0; }, 0},
        {"menu open", [](IdleListInput& in) { in.flags.menuOpen = true; }, 0},
        {"item edit busy", [](IdleListInput& in) { in.flags.itemEditBusy = true; }, 0},
        {"folder start busy", [](IdleListInput& in) { in.flags.folderStartBusy = true; }, 0},
        {"operation in progress", [](IdleListInput& in) { in.flags.operationInProgress = true; },
         0},
        {"schedule dialog", [](IdleListInput& in) { in.flags.scheduleDialogVisible = true; }, 0},
        {"rename box", [](IdleListInput& in) { in.launchers[1].renameEditVisible = true; }, 0},
        // Only the first open launcher counts: a later one waits its turn.
        {"earlier launcher pointed at",
         [](IdleListInput& in) {
             in.launchers[0].listVisible = true;
             in.launchers[0].pointerInWindow = true;
         },
         0},
        {"later launcher pointed at",
         [](IdleListInput& in) {
             in.launchers[4].listVisible = true;
             in.launchers[4].pointerInWindow = true;
         },
         2},
    };
    for (const IdleCase& c : cases) {
        FakeClock clock;
        IdleListInput in = idleOpenList(clock);
        c.apply(in);
        clock.advance(kIdleListMs);
        in.now = clock.stamp();
        EXPECT_EQ(decideIdleListClose(in).launcherNo, c.expectedLauncher) << c.name;
    }
}

TEST(IdleList, NotBeforeTenSeconds) {
    FakeClock clock;
    IdleListInput in = idleOpenList(clock);
    clock.advance(kIdleListMs - 1);
    in.now = clock.stamp();
    EXPECT_EQ(decideIdleListClose(in).launcherNo, 0);
}

TEST(IdleList, TheStripReturnsOnlyWhenApplicationsAreFollowed) {
    FakeClock clock;
    IdleListInput in = idleOpenList(clock);
    clock.advance(kIdleListMs);
    in.now = clock.stamp();
    EXPECT_FALSE(decideIdleListClose(in).showStrip);
    in.launchers[1].trackedCount = 2;
    EXPECT_TRUE(decideIdleListClose(in).showStrip);
}

// --- Wrap-around of the millisecond clock ----------------------------------------

TEST(MainCycleClock, StampsTakenJustBeforeTheWrapStillTime) {
    FakeClock clock;
    clock.now = 0xFFFFF000u;

    AutoHideInput hide = idleShownLaunchers(clock);
    hide.autoHideSeconds = 10;
    IdleListInput idle = idleOpenList(clock);
    HintTimeoutInput hint;
    hint.hintShownTime = clock.stamp();
    hint.listOrFolderVisible = true;

    clock.advance(5000); // past the wrap, half way
    ASSERT_LT(clock.stamp(), 0xFFFFF000u);
    hide.now = idle.now = hint.now = clock.stamp();
    EXPECT_EQ(decideAutoHide(hide), AutoHide::NotDue);
    EXPECT_EQ(decideIdleListClose(idle).launcherNo, 0);
    EXPECT_FALSE(hintExpired(hint));

    clock.advance(5001);
    hide.now = idle.now = hint.now = clock.stamp();
    EXPECT_EQ(decideAutoHide(hide), AutoHide::Hide);
    EXPECT_EQ(decideIdleListClose(idle).launcherNo, 2);
    EXPECT_TRUE(hintExpired(hint));
}

// --- Short time-outs ---------------------------------------------------------------

// Each time-out at its edge: some wait "more than", some "at least" the time.
TEST(MainCycleTimeouts, EachFiresAtItsOwnEdge) {
    struct Case {
        std::string name;
        std::function<bool(TimeStamp stamp, TimeStamp now)> fires;
        std::uint32_t lastQuiet; // the longest wait that still does nothing
    };
    const Case cases[] = {
        {"show block",
         [](TimeStamp stamp, TimeStamp now) {
             return checkShowTimeouts({now, stamp, 0, false}).clearLastShowTime;
         },
         3000},
        {"bubbles",
         [](TimeStamp stamp, TimeStamp now) {
             return checkShowTimeouts({now, 0, stamp, false}).hideBubbles;
         },
         999},
        {"ignore next click",
         [](TimeStamp stamp, TimeStamp now) {
             IgnoreClickInput in{now, stamp, {}};
             in.ignoreNextClick[3] = true;
             return releaseIgnoredClicks(in).clearFlag[3];
         },
         999},
        {"schedule dialog close",
         [](TimeStamp stamp, TimeStamp now) {
             return listHiddenAfterScheduleClose({now, stamp, 4}) == 4;
         },
         500},
        {"hint over a list",
         [](TimeStamp stamp, TimeStamp now) {
             return hintExpired({now, stamp, true});
         },
         5000},
    };
    for (const Case& c : cases) {
        FakeClock clock;
        const TimeStamp stamp = clock.stamp();
        clock.advance(c.lastQuiet);
        EXPECT_FALSE(c.fires(stamp, clock.stamp())) << c.name;
        clock.advance(1);
        EXPECT_TRUE(c.fires(stamp, clock.stamp())) << c.name;
        EXPECT_FALSE(c.fires(0, clock.stamp())) << c.name << " without a stamp";
    }
}

TEST(MainCycleTimeouts, BubblesStayWhileTheButtonIsStillRising) {
    EXPECT_FALSE(checkShowTimeouts({50000, 0, 10000, true}).hideBubbles);
}

TEST(MainCycleTimeouts, OnlyFlaggedLaunchersAreReleasedAndTheStampWithThem) {
    IgnoreClickInput in{20000, 10000, {}};
    EXPECT_FALSE(releaseIgnoredClicks(in).clearItemMenuTime);
    in.ignoreNextClick[1] = in.ignoreNextClick[4] = true;
    const IgnoreClickRelease out = releaseIgnoredClicks(in);
    EXPECT_TRUE(out.clearItemMenuTime);
    EXPECT_EQ(out.clearFlag, (std::array<bool, kLauncherCount>{false, true, false, false, true}));
}

TEST(MainCycleTimeouts, AHintAwayFromAnyListClosesAtOnce) {
    EXPECT_TRUE(hintExpired({10001, 10000, false}));
    LauncherViews views{};
    EXPECT_FALSE(anyListOrFolderVisible(views));
    views[3].folderViewVisible = true;
    EXPECT_TRUE(anyListOrFolderVisible(views));
}

// --- Tracked applications ------------------------------------------------------------

TEST(TrackedRefresh, WaitsWhileTheUserWorksWithTheLauncher) {
    const struct {
        std::string name;
        std::function<void(LauncherView&, CycleFlags&)> apply;
    } blockers[] = {
        {"row selected", [](LauncherView& v, CycleFlags&) { v.rowSelected = true; }},
        {"list", [](LauncherView& v, CycleFlags&) { v.listVisible = true; }},
        {"folder view", [](LauncherView& v, CycleFlags&) { v.folderViewVisible = true; }},
        {"pointer on button", [](LauncherView& v, CycleFlags&) { v.pointerOverButton = true; }},
        {"rename box", [](LauncherView& v, CycleFlags&) { v.renameEditVisible = true; }},
        {"menu", [](LauncherView&, CycleFlags& f) { f.menuOpen = true; }},
        {"item edit", [](LauncherView&, CycleFlags& f) { f.itemEditBusy = true; }},
    };
    EXPECT_TRUE(mayRefreshTracked(LauncherView{}, CycleFlags{}));
    for (const auto& b : blockers) {
        LauncherView view;
        CycleFlags flags;
        b.apply(view, flags);
        EXPECT_FALSE(mayRefreshTracked(view, flags)) << b.name;
    }
}

TEST(TaskbarUpkeep, TheFirstNonFolderWindowInFrontLosesItsButton) {
    TaskbarUpkeepInput in;
    in.hideTaskbarButtons = true;
    in.foreground = 0x300;
    in.tracked = {
        {1, 0, 0x100, false}, {2, 4, 0x300, true}, {3, 1, 0x300, false}, {5, 2, 0x300, false}};
    EXPECT_EQ(taskbarButtonToRemove(in), std::optional<std::size_t>(2));

    in.foreground = 0x200;
    EXPECT_EQ(taskbarButtonToRemove(in), std::nullopt);
    in.foreground = 0x300;
    in.hideTaskbarButtons = false;
    EXPECT_EQ(taskbarButtonToRemove(in), std::nullopt);
}

TEST(TaskbarUpkeep, NoForegroundWindowMatchesNothing) {
    TaskbarUpkeepInput in;
    in.hideTaskbarButtons = true;
    in.tracked = {{1, 0, 0, false}}; // an entry whose window is not known yet
    EXPECT_EQ(taskbarButtonToRemove(in), std::nullopt);
}

// --- Button pictures and hover ---------------------------------------------------------

TEST(OneClickPicture, TheFirstOneClickItemInListOrderIsChosen) {
    const std::vector<bool> oneClick{true, false, true, false};
    EXPECT_EQ(firstOneClickItem({3, 2, 0, 1}, oneClick), 2);
    EXPECT_EQ(firstOneClickItem({0, 1, 2, 3}, oneClick), 0);
    EXPECT_EQ(firstOneClickItem({1, 3}, oneClick), -1);
    EXPECT_EQ(firstOneClickItem({7, -1, 2}, oneClick), 2); // stale order entries skipped
}

TEST(OneClickPicture, OnlyAnIdleVisibleButtonShowsItsOneClickPicture) {
    struct Case {
        std::string name;
        std::function<void(ButtonPictureInput&)> apply;
        ButtonPicture expected;
    } cases[] = {
        {"idle, nothing drawn yet", [](ButtonPictureInput&) {}, ButtonPicture::DrawIcon},
        {"idle, picture held", [](ButtonPictureInput& in) { in.iconHoldsPicture = true; },
         ButtonPicture::ShowImage},
        {"no one-click item", [](ButtonPictureInput& in) { in.oneClickItem = -1; },
         ButtonPicture::Leave},
        {"button hidden", [](ButtonPictureInput& in) { in.view.buttonVisible = false; },
         ButtonPicture::Leave},
        {"list open", [](ButtonPictureInput& in) { in.view.listVisible = true; },
         ButtonPicture::Leave},
        {"folder view open", [](ButtonPictureInput& in) { in.view.folderViewVisible = true; },
         ButtonPicture::Leave},
        {"row selected", [](ButtonPictureInput& in) { in.view.rowSelected = true; },
         ButtonPicture::Leave},
    };
    for (const Case& c : cases) {
        ButtonPictureInput in;
        in.view.buttonVisible = true;
        in.oneClickItem = 5;
        c.apply(in);
        const ButtonPictureStep step = decideButtonPicture(in);
        EXPECT_EQ(step.picture, c.expected) << c.name;
        if (step.picture != ButtonPicture::Leave) {
            EXPECT_EQ(step.itemIndex, 5) << c.name;
        }
    }
}

TEST(Hover, GrowsFourPixelsATickAndStopsAtFifty) {
    HoverInput in{true, false, 32, 32};
    int ticks = 0;
    HoverStep step;
    do {
        step = advanceHover(in);
        ASSERT_TRUE(step.showNameLabel);
        ASSERT_TRUE(step.resize);
        in.width = step.width;
        in.height = step.height;
        ++ticks;
    } while (!step.finished && ticks < 100);
    EXPECT_EQ(ticks, 5); // 36, 40, 44, 48, then 52 clipped
    EXPECT_EQ(step.width, 50);
    EXPECT_EQ(step.height, 50);
}

TEST(Hover, ATrackedIconGrowsTooAndNothingGrowsWithoutThePointer) {
    HoverStep overTracked = advanceHover({false, true, 20, 20});
    EXPECT_EQ(overTracked.width, 24);
    EXPECT_FALSE(overTracked.finished);

    HoverStep away = advanceHover({false, false, 40, 40});
    EXPECT_FALSE(away.showNameLabel);
    EXPECT_FALSE(away.resize);
    EXPECT_FALSE(away.finished);
}

} // namespace
} // namespace kelvo
