#include "core/LauncherPlacement.h"

#include "unit/LauncherFrameSample.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelvo {
namespace {

using test::kFullHdMonitor;
using test::kFullHdWork;
using test::launcherFrame;
constexpr int kSavedListHeight = test::kSampleSavedListHeight;

ArrangeInput arrangement(int mode, Rect work, std::vector<LauncherFrame> frames) {
    ArrangeInput in;
    in.mode = mode;
    in.workArea = work;
    in.screenWidth = 1920;
    in.screenHeight = 1080;
    in.launcher1ButtonHeight = 58;
    int launcherNo = 1;
    for (const LauncherFrame& f : frames)
        in.launchers.push_back({launcherNo++, f, kSavedListHeight, false, false});
    return in;
}

std::vector<LauncherFrame> launchers(int count, int windowWidth = 80, int labelWidth = 60) {
    return std::vector<LauncherFrame>(count, launcherFrame(windowWidth, labelWidth));
}

std::vector<int> windowLefts(const Arrangement& out) {
    std::vector<int> lefts;
    for (const LauncherFrame& f : out.frames)
        lefts.push_back(f.window.left);
    return lefts;
}

std::vector<int> buttonScreenTops(const Arrangement& out) {
    std::vector<int> tops;
    for (const LauncherFrame& f : out.frames)
        tops.push_back(f.window.top + f.button.top);
    return tops;
}

TEST(ArrangeLaunchers, NothingMovesInFreeModeWhileLauncher1IsAwayOrWithoutLaunchers) {
    EXPECT_FALSE(
        arrangeLaunchers(arrangement(kFreePlacementMode, kFullHdWork, launchers(3))).applies);
    ArrangeInput away = arrangement(kTopRowPlacementMode, kFullHdWork, launchers(3));
    away.launcher1Displaced = true;
    EXPECT_FALSE(arrangeLaunchers(away).applies);
    EXPECT_FALSE(arrangeLaunchers(arrangement(kTopRowPlacementMode, kFullHdWork, {})).applies);
    EXPECT_FALSE(arrangeLaunchers(arrangement(6, kFullHdWork, launchers(1))).applies);
    EXPECT_EQ(checkedPlacementMode(6), kCirclePlacementMode);
    EXPECT_EQ(checkedPlacementMode(-1), kCirclePlacementMode);
    EXPECT_EQ(checkedPlacementMode(kRightColumnPlacementMode), kRightColumnPlacementMode);
}

TEST(ArrangeLaunchers, ControlsAreCentredOrPushedToTheColumnsEdge) {
    // An odd window width shows the halving truncating.
    struct Case {
        int mode;
        int listLeft, buttonLeft, labelLeft;
    } cases[] = {
        {kCirclePlacementMode, 0, 11, 10},      {kBottomRowPlacementMode, 0, 11, 10},
        {kTopRowPlacementMode, 0, 11, 10},      {kLeftColumnPlacementMode, 0, 0, 2},
        {kRightColumnPlacementMode, 1, 23, 19},
    };
    for (const Case& c : cases) {
        LauncherFrame f = launcherFrame(81);
        f.list.width = 80;
        const Arrangement out = arrangeLaunchers(arrangement(c.mode, kFullHdWork, {f}));
        ASSERT_TRUE(out.applies) << c.mode;
        const LauncherFrame& placed = out.frames[0];
        EXPECT_EQ(placed.list.left, c.listLeft) << c.mode;
        EXPECT_EQ(placed.button.left, c.buttonLeft) << c.mode;
        EXPECT_EQ(placed.label.left, c.labelLeft) << c.mode;
        EXPECT_EQ(placed.nameImage.left, c.labelLeft) << c.mode;
        EXPECT_EQ(placed.list.height, kSavedListHeight) << c.mode;
    }
}

TEST(ArrangeLaunchers, ThreeInABottomRowStandOneColumnApart) {
    const Arrangement out =
        arrangeLaunchers(arrangement(kBottomRowPlacementMode, kFullHdWork, launchers(3)));
    ASSERT_TRUE(out.applies);
    // The middle window centred, the others one 70-pixel column away.
    EXPECT_EQ(windowLefts(out), (std::vector<int>{850, 920, 990}));
    for (const LauncherFrame& f : out.frames) {
        // Button, the taller of name pop-up (32) and name (15), and the list
        // above the button, all resting on the work area's bottom.
        EXPECT_EQ(f.window.top, 1040 - (58 + 32 + kSavedListHeight));
        EXPECT_EQ(f.button.top, kSavedListHeight);
    }
}

TEST(ArrangeLaunchers, RowsPutTheNamesIntoAdjacentColumns) {
    struct Case {
        const char* what;
        int mode;
        Rect work;
        std::vector<LauncherFrame> frames;
        std::vector<int> lefts;
    } cases[] = {
        {"one, centred", kTopRowPlacementMode, kFullHdWork, launchers(1), {920}},
        // Columns 430..500 and 500..570; the 41-pixel name sits 14 into its column.
        {"two, odd slack",
         kTopRowPlacementMode,
         {0, 0, 1000, 700},
         {launcherFrame(80, 60), launcherFrame(80, 41)},
         {425, 495}},
        {"four, work area off the left edge",
         kBottomRowPlacementMode,
         {100, 0, 1100, 700},
         launchers(4),
         {455, 525, 595, 665}},
        // Five 120-pixel names on 495 pixels: the columns shrink to 99, and
        // half of the missing 21 truncates to -10 (flooring would give -11).
        {"five, columns narrower than the names",
         kTopRowPlacementMode,
         {0, 0, 495, 700},
         launchers(5, 120, 120),
         {-13, 87, 187, 287, 387}},
    };
    for (const Case& c : cases) {
        const Arrangement out = arrangeLaunchers(arrangement(c.mode, c.work, c.frames));
        EXPECT_EQ(windowLefts(out), c.lefts) << c.what;
    }
}

TEST(ArrangeLaunchers, TheBottomRowAddsTheWorkAreasTopToItsBottom) {
    // Taskbar at the top: the work area runs from 40 to 1080, and the row
    // stands 40 pixels lower than the bottom edge alone would put it.
    const Arrangement out =
        arrangeLaunchers(arrangement(kBottomRowPlacementMode, {0, 40, 1920, 1080}, launchers(2)));
    for (const LauncherFrame& f : out.frames)
        EXPECT_EQ(f.window.top, 40 + 1080 - (58 + 32 + kSavedListHeight));
}

TEST(ArrangeLaunchers, TheBottomRowMakesRoomForTheTallestName) {
    struct Case {
        bool outlined;
        int labelHeight, nameImageHeight;
        int roomForName;
    } cases[] = {
        {false, 15, 50, 32}, // the outlined picture is not in use
        {true, 15, 40, 40},
        {false, 45, 20, 45},
    };
    for (const Case& c : cases) {
        ArrangeInput in = arrangement(kBottomRowPlacementMode, kFullHdWork, launchers(2));
        in.launchers[1].outlinedName = c.outlined;
        in.launchers[1].frame.label.height = c.labelHeight;
        in.launchers[1].frame.nameImage.height = c.nameImageHeight;
        const Arrangement out = arrangeLaunchers(in);
        EXPECT_EQ(out.frames[0].window.top, 1040 - (58 + c.roomForName + kSavedListHeight))
            << c.outlined << " " << c.labelHeight;
    }
}

TEST(ArrangeLaunchers, TheTopRowHangsTheButtonUnderTheNamePopUp) {
    const Arrangement out =
        arrangeLaunchers(arrangement(kTopRowPlacementMode, {0, 40, 1920, 1080}, launchers(3)));
    for (const LauncherFrame& f : out.frames) {
        EXPECT_EQ(f.window.top, 40);
        EXPECT_EQ(f.iconName.top, 0);
        EXPECT_EQ(f.button.top, 32 + 10);
        EXPECT_EQ(f.label.top, 0);
    }
}

TEST(ArrangeLaunchers, ARunningStripIsLaidOutBeforeTheRowIsFormed) {
    ArrangeInput in = arrangement(kTopRowPlacementMode, {0, 0, 1000, 700}, launchers(2));
    in.launchers[1].tracksRunning = true;
    std::vector<int> laidOut;
    in.layOutAroundStrip = [&](int launcherNo, LauncherFrame& f) {
        laidOut.push_back(launcherNo);
        EXPECT_EQ(f.label.left, 10); // already centred
        // One running application: a 65-pixel strip left of the button.
        f.window.width += 65;
        f.button.left += 65;
        f.label.left += 65;
    };
    const Arrangement out = arrangeLaunchers(in);
    EXPECT_EQ(laidOut, std::vector<int>{2});
    // The widened window still has its name 5 pixels into the column at 500.
    EXPECT_EQ(out.frames[1].window.left + out.frames[1].label.left, 505);
    EXPECT_EQ(out.frames[0].window.left, 425);

    laidOut.clear();
    in.mode = kLeftColumnPlacementMode;
    arrangeLaunchers(in);
    EXPECT_TRUE(laidOut.empty());
}

TEST(ArrangeLaunchers, ColumnsStackTheButtonsAtLeast100PixelsApart) {
    struct Case {
        const char* what;
        Rect work;
        std::vector<int> labelHeights;
        std::vector<int> buttonTops; // on the screen
    } cases[] = {
        // The second button centred on the line at 520, the first 100 above it.
        {"two", kFullHdWork, {15, 15}, {420, 520 - 29}},
        // With two, the first gap is the first name's own height.
        {"two, a tall first name", kFullHdWork, {130, 15}, {390, 520 - 29}},
        {"two under a top taskbar", {0, 40, 1920, 1080}, {15, 15}, {460, 560 - 29}},
        // With an odd count the middle button's top is half the work area's
        // height from the screen top, the work area's own top left out.
        {"one under a top taskbar", {0, 40, 1920, 1080}, {15}, {520}},
        {"four", kFullHdWork, {15, 15, 15, 15}, {291, 391, 491, 591}},
        // A wrapped name taller than 100 widens the gap on its outer side.
        {"five, a tall second name", kFullHdWork, {15, 130, 15, 15, 15}, {290, 420, 520, 620, 720}},
    };
    for (const Case& c : cases) {
        std::vector<LauncherFrame> frames;
        const int buttonTops[] = {42, 105, 42, 0, 42}; // a button's place in its window cancels out
        for (std::size_t i = 0; i < c.labelHeights.size(); ++i) {
            LauncherFrame f = launcherFrame();
            f.label.height = c.labelHeights[i];
            f.button.top = buttonTops[i];
            frames.push_back(f);
        }
        const Arrangement out =
            arrangeLaunchers(arrangement(kLeftColumnPlacementMode, c.work, frames));
        EXPECT_EQ(buttonScreenTops(out), c.buttonTops) << c.what;
        for (const LauncherFrame& f : out.frames)
            EXPECT_EQ(f.window.left, c.work.left) << c.what;
    }
}

TEST(ArrangeLaunchers, TheRightColumnStandsAgainstTheRightEdge) {
    std::vector<LauncherFrame> frames = {launcherFrame(80), launcherFrame(100, 60)};
    frames[1].list.width = 100;
    const Arrangement out =
        arrangeLaunchers(arrangement(kRightColumnPlacementMode, kFullHdWork, frames));
    EXPECT_EQ(windowLefts(out), (std::vector<int>{1840, 1820}));
    EXPECT_EQ(out.frames[1].label.left, 100 - 60 - 2);
}

TEST(ArrangeLaunchers, TheCircleStartsAboveTheScreenCentreAndGoesClockwise) {
    // Centred on the screen (960, 540), not on the work area; the buttons'
    // centres lie on a circle of radius 120.
    struct Placed {
        int left, top, buttonTop, listTop, labelTop;
    };
    struct Case {
        int count;
        std::vector<Placed> placed;
    } cases[] = {
        {1, {{920, 511, 0, 58, 58}}},
        {2, {{920, 391, 0, 58, 58}, {920, 631 - kSavedListHeight, 105, 0, 163}}},
        // sin 120 deg x 120 = 103.9; below the centre the list opens upwards.
        {3,
         {{920, 391, 0, 58, 58},
          {1024, 571 - kSavedListHeight, 105, 0, 163},
          {816, 571 - kSavedListHeight, 105, 0, 163}}},
        {4,
         {{920, 391, 0, 58, 58},
          {1040, 511, 0, 58, 58},
          {920, 631 - kSavedListHeight, 105, 0, 163},
          {800, 511, 0, 58, 58}}},
        // 72 deg: (114.1, 37.1); 144 deg: (70.5, -97.1).
        {5,
         {{920, 391, 0, 58, 58},
          {1034, 474, 0, 58, 58},
          {991, 608 - kSavedListHeight, 105, 0, 163},
          {849, 608 - kSavedListHeight, 105, 0, 163},
          {806, 474, 0, 58, 58}}},
    };
    for (const Case& c : cases) {
        const Arrangement out =
            arrangeLaunchers(arrangement(kCirclePlacementMode, kFullHdWork, launchers(c.count)));
        ASSERT_EQ(out.frames.size(), c.placed.size());
        for (std::size_t i = 0; i < c.placed.size(); ++i) {
            const LauncherFrame& f = out.frames[i];
            const Placed& p = c.placed[i];
            const std::string at = std::to_string(c.count) + "/" + std::to_string(i);
            EXPECT_EQ(f.window.left, p.left) << at;
            EXPECT_EQ(f.window.top, p.top) << at;
            EXPECT_EQ(f.button.top, p.buttonTop) << at;
            EXPECT_EQ(f.list.top, p.listTop) << at;
            EXPECT_EQ(f.label.top, p.labelTop) << at;
            EXPECT_EQ(f.nameImage.top, p.labelTop) << at;
            // The icon sits in the middle of the button.
            EXPECT_EQ(f.icon.left, 11 + 13) << at;
            EXPECT_EQ(f.icon.top, p.buttonTop + 13) << at;
        }
    }
}

TEST(RestoreHome, TheButtonGoesAboveOrBelowTheSavedList) {
    const LauncherFrame away = launcherFrame();
    const LauncherFrame top = restoreHome(away, {{700, 20}, kSavedListHeight, true});
    EXPECT_EQ(top.window.left, 700);
    EXPECT_EQ(top.window.top, 20);
    EXPECT_EQ(top.list.height, kSavedListHeight);
    EXPECT_EQ(top.button.top, 32 + 10);
    EXPECT_EQ(restoreHome(away, {{700, 900}, kSavedListHeight, false}).button.top,
              kSavedListHeight);
}

PointerShowInput pointerAt(int x, int y, Rect monitor = kFullHdMonitor, Rect work = kFullHdWork) {
    PointerShowInput in;
    in.pointer = {x, y};
    in.monitor = monitor;
    in.workArea = work;
    in.frame = launcherFrame();
    return in;
}

TEST(PlaceNearPointer, TheButtonLandsUnderThePointer) {
    const PointerShow upper = placeNearPointer(pointerAt(500, 300));
    const LauncherFrame& f = upper.frame;
    EXPECT_FALSE(upper.lowerHalf);
    EXPECT_TRUE(upper.displaced);
    EXPECT_EQ(f.window.left + f.button.left, 500);
    EXPECT_EQ(f.window.top + f.button.top, 300);
    EXPECT_EQ(f.button.top, 32); // under the item name pop-up
    EXPECT_EQ(f.label.top, 32 + 58);
    EXPECT_EQ(f.nameImage.top, 32 + 58);
    EXPECT_EQ(f.icon.top, 32 + 13);
    EXPECT_EQ(f.bubble.left, 11 - 16); // (58 - 91) / 2 truncates toward zero
    EXPECT_EQ(f.bubble.top, 32 - 107);
    EXPECT_EQ(f.window.height, 300);

    // Lower half: the list above, the pointer 40 pixels into the button.
    const PointerShow lower = placeNearPointer(pointerAt(500, 800));
    EXPECT_TRUE(lower.lowerHalf);
    EXPECT_EQ(lower.frame.button.top, 200 - 20);
    EXPECT_EQ(lower.frame.window.top, 800 - 200 - 20);
    EXPECT_EQ(lower.frame.label.top, 180 + 58);
}

TEST(PlaceNearPointer, StaysInsideTheWorkAreaNearTheEdges) {
    struct Case {
        const char* what;
        PointerShowInput in;
        int left, top;
        bool lowerHalf;
    } cases[] = {
        {"left edge", pointerAt(5, 300), 0, 268, false},
        {"right edge", pointerAt(1915, 300), 1840, 268, false},
        {"top edge", pointerAt(500, 10), 489, 0, false},
        // Half of the work area's 1040: 520 still counts as upper.
        {"just above the middle", pointerAt(500, 520), 489, 488, false},
        {"just below the middle", pointerAt(500, 521), 489, 301, true},
        {"bottom edge", pointerAt(500, 1079), 489, 859, true},
        {"right edge of a second monitor",
         pointerAt(3835, 600, {1920, 0, 3840, 1080}, {1920, 0, 3840, 1040}), 3760, 380, true},
    };
    for (const Case& c : cases) {
        const PointerShow out = placeNearPointer(c.in);
        EXPECT_EQ(out.frame.window.left, c.left) << c.what;
        EXPECT_EQ(out.frame.window.top, c.top) << c.what;
        EXPECT_EQ(out.lowerHalf, c.lowerHalf) << c.what;
    }
}

TEST(PlaceNearPointer, AShortWindowGrowsToHoldBubbleAndButton) {
    PointerShowInput in = pointerAt(500, 300);
    in.frame.window.height = 100;
    const LauncherFrame f = placeNearPointer(in).frame;
    EXPECT_EQ(f.window.height, 107 + 58);
    EXPECT_EQ(f.bubble.top, 0);
    EXPECT_EQ(f.button.top, 107);
    EXPECT_EQ(f.label.top, 107 + 58);
}

TEST(PlaceNearPointer, TheFreeModeDoesNotDisplace) {
    PointerShowInput in = pointerAt(500, 300);
    in.mode = kFreePlacementMode;
    EXPECT_FALSE(placeNearPointer(in).displaced);
}

} // namespace
} // namespace kelvo
