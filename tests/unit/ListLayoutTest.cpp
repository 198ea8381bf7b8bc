#include "graphics/LauncherPosition.h"
#include "graphics/ListLayout.h"

#include "common/FakeFont.h"

#include <gtest/gtest.h>

namespace kelvo {
namespace {

TEST(ListGeometry, ItemHeightRoundsHalvesToEven) {
    struct Case {
        int fontSize, dpi, height;
    } cases[] = {
        {11, 96, 20},  // 19.8
        {9, 96, 16},   // 16.2
        {11, 144, 30}, // 29.7
        {10, 120, 22}, // 22.5 goes down to even
        {14, 120, 32}, // 31.5 goes up to even
    };
    for (const Case& c : cases)
        EXPECT_EQ(listItemHeight(c.fontSize, c.dpi), c.height) << c.fontSize << " pt " << c.dpi;
    EXPECT_EQ(listIconSize(11), 17);
    EXPECT_EQ(listIconSize(9), 14);
}

TEST(ListGeometry, ListWidthFollowsTheWidestRowUpToHalfTheMonitor) {
    const ListWidthInput in{58, 17, 17, 1024};
    const auto width = [&](std::vector<std::wstring> rows, int monitorWidth = 1024) {
        ListWidthInput sized = in;
        sized.monitorWidth = monitorWidth;
        return listWidth(rows, sized, test::fakeFontWidth);
    };
    EXPECT_EQ(width({}), 58);
    EXPECT_EQ(width({L"メモ帳", L"ABC"}), 58 + 17 + 17 + 16); // narrower than the button
    EXPECT_EQ(width({L"ABC", std::wstring(30, L'x')}), 240 + 17 + 17 + 16);
    EXPECT_EQ(width({std::wstring(30, L'x')}, 501), 250);
}

// A 1024 x 768 primary monitor without taskbar; the launcher's name pop-up is
// 32 high, so a button under it sits 42 below the window's top.
ListLayoutInput launcherAt(int windowTop, int buttonTop, int itemCount) {
    ListLayoutInput in;
    in.workArea = {0, 0, 1024, 768};
    in.monitorTop = 0;
    in.windowLeft = 100;
    in.windowTop = windowTop;
    in.windowWidth = 60;
    in.buttonTop = buttonTop;
    in.buttonHeight = 58;
    in.labelTop = 100;
    in.labelHeight = 15;
    in.iconNameHeight = 32;
    in.itemHeight = 20;
    in.itemCount = itemCount;
    return in;
}

TEST(ListLayout, UpperHalfOpensTheListBelowTheButton) {
    ListLayout out = layOutList(launcherAt(100, 42, 5));
    EXPECT_FALSE(out.lowerHalf);
    EXPECT_EQ(out.listHeight, 105);
    EXPECT_EQ(out.iconNameTop, 0);
    EXPECT_EQ(out.buttonTop, 42);
    EXPECT_EQ(out.listTop, 100);
    EXPECT_EQ(out.labelTop, 100);
    EXPECT_EQ(out.windowTop, 100);
    EXPECT_EQ(out.windowHeight, 105 + 58 + 32 + 10);
    EXPECT_EQ(out.targetHeight, 105);
    EXPECT_TRUE(out.storesHome);
    EXPECT_EQ(out.homeLeft, 100);
    EXPECT_EQ(out.homeTop, 100);
    EXPECT_TRUE(out.isButtonTop);
    EXPECT_EQ(out.lbHeight, 105);
}

TEST(ListLayout, LowerHalfOpensTheListAboveTheButton) {
    ListLayout out = layOutList(launcherAt(600, 42, 5));
    EXPECT_TRUE(out.lowerHalf);
    EXPECT_EQ(out.listTop, 0);
    EXPECT_EQ(out.listHeight, 105);
    EXPECT_EQ(out.buttonTop, 105);
    EXPECT_EQ(out.labelTop, 163);
    EXPECT_EQ(out.iconNameTop, 163);
    EXPECT_EQ(out.windowTop, 642 - 105); // the list ends where the button begins
    EXPECT_EQ(out.windowHeight, 105 + 58 + 32);
    EXPECT_FALSE(out.isButtonTop);
}

TEST(ListLayout, TheExactMiddleCountsAsUpperHalf) {
    struct Case {
        Rect workArea;
        int monitorTop, buttonY;
        bool lowerHalf;
    } cases[] = {
        {{0, 0, 1024, 768}, 0, 384, false},
        {{0, 0, 1024, 768}, 0, 385, true},
        // A second monitor below the first: (869 - 100) / 2 truncates to 384.
        {{0, 140, 1024, 869}, 100, 384, false},
        {{0, 140, 1024, 869}, 100, 385, true},
    };
    for (const Case& c : cases) {
        ListLayoutInput in = launcherAt(c.monitorTop + c.buttonY - 42, 42, 5);
        in.workArea = c.workArea;
        in.monitorTop = c.monitorTop;
        EXPECT_EQ(layOutList(in).lowerHalf, c.lowerHalf) << c.buttonY;
    }
}

TEST(ListLayout, FiftyItemsFillTheSpaceUpToTheWorkAreaEdge) {
    ListLayout below = layOutList(launcherAt(100, 42, 50));
    EXPECT_EQ(below.listHeight, 768 - 142 - 58);
    EXPECT_EQ(below.windowTop + below.windowHeight, 768);

    ListLayout above = layOutList(launcherAt(600, 42, 50));
    EXPECT_EQ(above.listHeight, 642);
    EXPECT_EQ(above.windowTop, 0);
    EXPECT_EQ(above.targetHeight, 642);
}

TEST(ListLayout, TheWindowIsClampedIntoTheWorkArea) {
    ListLayoutInput in = launcherAt(698, 42, 5); // button 740..798, past the bottom
    in.windowLeft = 1000;
    ListLayout out = layOutList(in);
    EXPECT_EQ(out.windowLeft, 1024 - 60);
    EXPECT_EQ(out.windowTop, 768 - out.windowHeight);
    EXPECT_EQ(out.homeTop, out.windowTop);

    in.windowLeft = -20;
    EXPECT_EQ(layOutList(in).windowLeft, 0);
}

TEST(ListLayout, LabelTopBelowTheButtonDependsOnPlacement) {
    struct Case {
        int mode;
        bool displaced;
        int labelTop;
    } cases[] = {
        {0, false, 100},
        {kArrangedPlacementMode, false, 0},
        {kFreePlacementMode, false, 77}, // left where it was
        {kArrangedPlacementMode, true, 100},
    };
    for (const Case& c : cases) {
        ListLayoutInput in = launcherAt(100, 42, 5);
        in.labelTop = 77;
        in.placementMode = c.mode;
        in.displaced = c.displaced;
        EXPECT_EQ(layOutList(in).labelTop, c.labelTop) << c.mode << " " << c.displaced;
    }
}

TEST(ListLayout, ADisplacedLauncherKeepsItsHome) {
    ListLayoutInput in = launcherAt(600, 42, 5);
    in.displaced = true;
    ListLayout out = layOutList(in);
    EXPECT_FALSE(out.storesHome);
    EXPECT_EQ(out.targetHeight, 105);
    EXPECT_EQ(layoutMonitor(true, kFreePlacementMode), LayoutMonitor::Remembered);
    EXPECT_EQ(layoutMonitor(false, kFreePlacementMode), LayoutMonitor::NearestToWindow);
    EXPECT_EQ(layoutMonitor(false, kArrangedPlacementMode), LayoutMonitor::Primary);
}

TEST(ListLayout, ProvisionalStackingWhileLoading) {
    struct Case {
        bool isButtonTop;
        int listHeight, buttonTop, windowHeight;
    } cases[] = {
        {true, 105, 42, 105 + 58 + 32 + 10},
        {true, 10, 42, 10 + 58 + 32 + 10 + 15}, // list lower than the label
        {false, 105, 105, 58 + 105 + 32},
    };
    for (const Case& c : cases) {
        ProvisionalStacking s = provisionalStacking(c.isButtonTop, c.listHeight, 58, 15, 32);
        EXPECT_EQ(s.buttonTop, c.buttonTop) << c.isButtonTop << " " << c.listHeight;
        EXPECT_EQ(s.windowHeight, c.windowHeight) << c.isButtonTop << " " << c.listHeight;
    }
}

TEST(ListUnrolling, ThirtyRowsUnrollInTenStepsToTheExactHeight) {
    const int itemHeight = 20, target = 30 * itemHeight + 5;
    for (bool below : {true, false}) {
        const int buttonTop = below ? 42 : target;
        int height = unrollStartHeight(itemHeight);
        EXPECT_EQ(height, 60);
        int steps = 0;
        UnrollStep step;
        do {
            step = nextUnrollStep(height, target, itemHeight, below, buttonTop, 58);
            EXPECT_EQ(step.listHeight - height, step.finished ? 5 : 60);
            EXPECT_EQ(step.listTop, below ? 100 : target - step.listHeight);
            height = step.listHeight;
            ++steps;
        } while (!step.finished && steps < 100);
        EXPECT_EQ(steps, 10);
        EXPECT_EQ(height, target);
        EXPECT_EQ(step.listTop, below ? 100 : 0);
    }
}

TEST(ListUnrolling, AShortListFinishesOnTheFirstStep) {
    UnrollStep step = nextUnrollStep(unrollStartHeight(20), 25, 20, true, 42, 58);
    EXPECT_TRUE(step.finished);
    EXPECT_EQ(step.listHeight, 25);
}

TEST(LauncherPosition, SavedPositionFollowsTheScreenSize) {
    struct Case {
        Point saved;
        int width, height, storedWidth, storedHeight;
        Point expected;
    } cases[] = {
        {{800, 300}, 1280, 1024, 1600, 1200, {640, 256}},
        {{3, 1}, 1, 1, 2, 2, {2, 0}},    // 1.5 and 0.5: halves to even
        {{-3, -1}, 1, 1, 2, 2, {-2, 0}}, // a monitor left of the primary one
        {{800, 300}, 1280, 1024, 0, 1200, {800, 300}},
        {{800, 300}, 1280, 1024, 1600, -5, {800, 300}},
    };
    for (const Case& c : cases) {
        Point p = rescaleSavedPosition(c.saved, c.width, c.height, c.storedWidth, c.storedHeight);
        EXPECT_EQ(p.x, c.expected.x) << c.saved.x << "," << c.saved.y;
        EXPECT_EQ(p.y, c.expected.y) << c.saved.x << "," << c.saved.y;
    }
}

TEST(LauncherPosition, ADragStartsBeyondTenPixels) {
    struct Case {
        Point now;
        bool drags;
    } cases[] = {
        {{110, 50}, false}, {{111, 50}, true}, {{100, 39}, true},
        {{90, 60}, false},  {{89, 50}, true},  {{110, 60}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(movedFarEnoughToDrag({100, 50}, c.now), c.drags) << c.now.x << "," << c.now.y;
}

} // namespace
} // namespace kelvo
