#include "core/LauncherPlacement.h"
#include "core/LauncherShowRules.h"

#include <gtest/gtest.h>

#include <vector>

namespace kelvo {
namespace {

TEST(ShowLauncher, NearThePointerOnlyWhenTheGestureAndTheOptionAgree) {
    struct Case {
        const char* what;
        ShowRequest request;
        bool nearPointer;
    } cases[] = {
        // launcherNo, tapCount, digitHeld, mainKeyHeld, nearMouse, byActiveWindowButton
        {"digit with the main key", {3, 0, true, true, true, false}, true},
        {"taps of the main key", {3, 3, false, false, true, false}, true},
        {"taps for another launcher", {3, 2, false, false, true, false}, false},
        {"main key still held after the taps", {3, 3, false, true, true, false}, false},
        {"digit without the main key", {3, 0, true, false, true, false}, false},
        {"option off", {3, 0, true, true, false, false}, false},
        {"active-window button, option off", {3, 0, false, false, false, true}, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(showsNearPointer(c.request), c.nearPointer) << c.what;
}

TEST(ShowLauncher, OpensTheListUnlessRunningApplicationsAreShownInstead) {
    struct Case {
        ListOpenInput in; // hasItems, tracksRunning, growAnimated, growthRunning
        ListOpening out;  // bringToFront, openList, startGrowth
    } cases[] = {
        {{false, false, true, false}, {false, false, false}},
        {{true, true, true, false}, {true, false, false}},
        {{true, false, true, false}, {true, true, true}},
        {{true, false, true, true}, {true, true, false}},
        {{true, false, false, false}, {true, true, false}},
    };
    for (const Case& c : cases) {
        const ListOpening out = planListOpening(c.in);
        const auto at = ::testing::Message() << c.in.hasItems << c.in.tracksRunning
                                             << c.in.growAnimated << c.in.growthRunning;
        EXPECT_EQ(out.bringToFront, c.out.bringToFront) << at;
        EXPECT_EQ(out.openList, c.out.openList) << at;
        EXPECT_EQ(out.startGrowth, c.out.startGrowth) << at;
    }
}

TEST(ListGrowth, StartsFromThreeRowsAndKeepsAListAboveOnTheButton) {
    struct Case {
        const char* what;
        ListGrowthInput in;
        GrowthStart result;
        int listHeight, listTop;
    } cases[] = {
        // launcherNo, timerRunning, growing, listHeight, listTop, buttonTop, itemHeight, now
        {"no launcher", {0, true, true, 105, 100, 42, 20, 7000}, GrowthStart::Ignored, 0, 0},
        {"timer stopped", {2, false, true, 105, 100, 42, 20, 7000}, GrowthStart::Cancelled, 0, 0},
        {"below the button",
         {2, true, true, 105, 100, 42, 20, 7000},
         GrowthStart::Started,
         60,
         100},
        {"above the button", {2, true, true, 105, 0, 200, 20, 7000}, GrowthStart::Started, 60, 140},
        {"shrinking above", {2, true, false, 105, 0, 200, 20, 7000}, GrowthStart::Started, 85, 115},
    };
    for (const Case& c : cases) {
        const ListGrowth out = startListGrowth(c.in);
        EXPECT_EQ(out.result, c.result) << c.what;
        if (c.result != GrowthStart::Started)
            continue;
        EXPECT_EQ(out.listHeight, c.listHeight) << c.what;
        EXPECT_EQ(out.listTop, c.listTop) << c.what;
        EXPECT_EQ(out.growTime, 7000u) << c.what;
    }
    ListGrowthInput atZero{1, true, true, 105, 100, 42, 20, 0};
    EXPECT_NE(startListGrowth(atZero).growTime, 0u); // 0 would mean "not growing"
}

// Launchers 1, 2 and 4 displayed; 1 and 4 on screen, 1 away from home.
LauncherStates threeLaunchers() {
    LauncherStates states{};
    states[0] = {true, true, true};
    states[1] = {true, false, false};
    states[3] = {true, true, false};
    return states;
}

TEST(CloseAllOnEscape, ClosesTheVisibleOnesAndSendsTheDisplacedHome) {
    const std::vector<LauncherClose> closes = closeAllOnEscape(29, true, threeLaunchers());
    ASSERT_EQ(closes.size(), 2u);
    EXPECT_EQ(closes[0].launcherNo, 1);
    EXPECT_TRUE(closes[0].restoreHome);
    EXPECT_EQ(closes[1].launcherNo, 4);
    EXPECT_FALSE(closes[1].restoreHome);

    EXPECT_TRUE(closeAllOnEscape(29, false, threeLaunchers()).empty());
    // Escape as the main key calls launchers up; it must not also close them.
    EXPECT_TRUE(closeAllOnEscape(kEscapeKeyCode, true, threeLaunchers()).empty());
}

TEST(HideOtherLaunchers, ClosesEveryOtherDisplayedLauncherUnlessAListGrows) {
    EXPECT_EQ(launchersHiddenForShow(2, false, threeLaunchers()), (std::vector<int>{1, 4}));
    EXPECT_EQ(launchersHiddenForShow(3, false, threeLaunchers()), (std::vector<int>{1, 2, 4}));
    EXPECT_TRUE(launchersHiddenForShow(2, true, threeLaunchers()).empty());
}

TEST(ReturnAllHome, RestoresTheDisplacedAndShowsWhatEachLauncherHolds) {
    ReturnHomeInput in;
    in.mode = kBottomRowPlacementMode;
    // displayed, displaced, hasItems, outlinedName, tracksRunning, refreshingStrip, rowSelected
    in.launchers[0] = {true, true, true, true, false, false, false};
    in.launchers[1] = {true, false, true, false, true, false, true};
    in.launchers[2] = {false, true, false, false, false, false, false};
    in.launchers[3] = {true, false, false, false, true, true, false};
    const std::vector<HomeReturn> steps = planReturnAllHome(in);
    ASSERT_EQ(steps.size(), 5u);

    EXPECT_TRUE(steps[0].restoreListAndButton);
    EXPECT_TRUE(steps[0].rearrange);
    EXPECT_TRUE(steps[0].deselectRows);
    EXPECT_TRUE(steps[0].showNameImage);
    EXPECT_FALSE(steps[0].showLabel);
    EXPECT_TRUE(steps[0].redrawIcon);
    EXPECT_TRUE(steps[0].showAtBottom);

    EXPECT_FALSE(steps[1].restoreListAndButton);
    EXPECT_TRUE(steps[1].showLabel);
    EXPECT_TRUE(steps[1].showStrip);
    EXPECT_FALSE(steps[1].redrawIcon); // a selected row keeps its own icon

    // Not displayed: brought home but nothing shown.
    EXPECT_TRUE(steps[2].rearrange);
    EXPECT_FALSE(steps[2].showButton);
    EXPECT_FALSE(steps[2].showAtBottom);

    EXPECT_FALSE(steps[3].showStrip); // being refreshed
    EXPECT_FALSE(steps[3].deselectRows);

    in.mode = kFreePlacementMode;
    in.hideAfterShow = true;
    const std::vector<HomeReturn> free = planReturnAllHome(in);
    EXPECT_TRUE(free[0].restoreListAndButton);
    EXPECT_FALSE(free[0].rearrange);
    EXPECT_FALSE(free[0].showAtBottom);
}

// Every condition lets the launchers go home; each case spoils one of them.
DeactivationInput readyToReturnHome() {
    DeactivationInput in;
    in.formsReady = true;
    return in;
}

TEST(Deactivation, ReturnsHomeOnlyWhenNothingHoldsTheLaunchers) {
    using Action = DeactivationAction;
    struct Case {
        const char* what;
        void (*spoil)(DeactivationInput&);
        Action action;
    } cases[] = {
        {"nothing in the way", [](DeactivationInput&) {}, Action::ReturnAllHome},
        {"forms not ready", [](DeactivationInput& in) { in.formsReady = false; }, Action::None},
        {"exiting", [](DeactivationInput& in) { in.exitStarted = true; }, Action::None},
        {"rising", [](DeactivationInput& in) { in.riseRunning = true; }, Action::None},
        {"key held", [](DeactivationInput& in) { in.showKeyHeld = true; }, Action::None},
        {"suppressed", [](DeactivationInput& in) { in.suppressOnce = true; },
         Action::ClearSuppression},
        {"busy", [](DeactivationInput& in) { in.launchersBusy = true; }, Action::None},
        {"pointer on a button", [](DeactivationInput& in) { in.pointerOverButtonOrStrip = true; },
         Action::None},
        {"just shown", [](DeactivationInput& in) { in.lastShowTime = 1234; }, Action::None},
        {"timed hide not armed", [](DeactivationInput& in) { in.hideAfterShow = true; },
         Action::None},
        {"timed hide armed",
         [](DeactivationInput& in) {
             in.hideAfterShow = true;
             in.shownTime = 1234;
         },
         Action::ReturnAllHome},
        {"suppressed once more", [](DeactivationInput& in) { in.suppressOnceMore = true; },
         Action::ClearSecondSuppression},
        {"active-window button busy",
         [](DeactivationInput& in) { in.activeWindowButtonBusy = true; }, Action::None},
        // The first flag is used up even while the launchers are busy; the
        // second only once nothing else holds them.
        {"suppressed and busy",
         [](DeactivationInput& in) {
             in.suppressOnce = true;
             in.launchersBusy = true;
         },
         Action::ClearSuppression},
        {"suppressed once more and busy",
         [](DeactivationInput& in) {
             in.suppressOnceMore = true;
             in.launchersBusy = true;
         },
         Action::None},
        {"suppressed while rising",
         [](DeactivationInput& in) {
             in.suppressOnce = true;
             in.riseRunning = true;
         },
         Action::None},
    };
    for (const Case& c : cases) {
        DeactivationInput in = readyToReturnHome();
        c.spoil(in);
        EXPECT_EQ(onDeactivation(in), c.action) << c.what;
    }
}

TEST(DisplayChange, RearrangesByTheCheckedModeOnceAScreenSizeIsKnown) {
    struct Case {
        DisplayChangeInput in; // startScreenWidth, startScreenHeight, monitorCount, storedMode
        bool proceeds, arranges;
        int mode;
    } cases[] = {
        {{1920, 1080, 1, 2}, true, true, 2},
        {{1920, 1080, 2, kFreePlacementMode}, true, false, kFreePlacementMode},
        {{1920, 1080, 1, 9}, true, true, kCirclePlacementMode}, // no entry checked
        {{0, 1080, 1, 2}, false, false, 0},
        {{1920, 0, 1, 2}, false, false, 0},
        {{1920, 1080, 0, 2}, false, false, 0},
    };
    for (const Case& c : cases) {
        const DisplayChange out = onDisplayChange(c.in);
        const auto at = ::testing::Message()
                        << c.in.startScreenWidth << "x" << c.in.startScreenHeight << " "
                        << c.in.monitorCount << " " << c.in.storedMode;
        EXPECT_EQ(out.proceeds, c.proceeds) << at;
        EXPECT_EQ(out.arranges, c.arranges) << at;
        if (c.proceeds) {
            EXPECT_EQ(out.mode, c.mode) << at;
        }
    }
}

TEST(SettingChange, OnlyAWorkAreaChangeRearranges) {
    EXPECT_EQ(onSettingChange(kSettingWorkArea, kLeftColumnPlacementMode),
              kLeftColumnPlacementMode);
    EXPECT_EQ(onSettingChange(kSettingWorkArea, -1), kCirclePlacementMode);
    EXPECT_FALSE(onSettingChange(20, kLeftColumnPlacementMode).has_value()); // the wallpaper
}

} // namespace
} // namespace kelvo
