#include "core/LauncherPlacement.h"

#include "graphics/NameDisplay.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>

namespace kelvo {
namespace {

constexpr int kColumnPadding = 10; // added to the widest name to get a row's column
constexpr int kMinColumnGap = 100; // between the buttons of a column
constexpr int kEdgeLabelInset = 2; // keeps a name off the screen edge in a column
constexpr int kCircleRadius = 120;
constexpr int kIconNameGap = 10;     // between the item name pop-up and the button
constexpr int kPointerListLift = 20; // the pointer stays on the button, not on the list

// The vertical twin of centredLeft, truncating the same way.
int centredTop(int outerTop, int outerHeight, int innerHeight) {
    return centredLeft(outerTop, outerHeight, innerHeight);
}

bool isArrangingMode(int mode) {
    return mode >= kCirclePlacementMode && mode <= kRightColumnPlacementMode &&
           mode != kFreePlacementMode;
}

// Modes 0 to 3 centre list, button and name; the columns push them against
// the screen edge they stand on.
void alignControls(int mode, LauncherFrame& f) {
    const int width = f.window.width;
    if (mode == kLeftColumnPlacementMode) {
        f.list.left = 0;
        f.button.left = 0;
        f.label.left = kEdgeLabelInset;
    } else if (mode == kRightColumnPlacementMode) {
        f.list.left = width - f.list.width;
        f.button.left = width - f.button.width;
        f.label.left = width - f.label.width - kEdgeLabelInset;
    } else {
        f.list.left = centredLeft(0, width, f.list.width);
        f.button.left = centredLeft(0, width, f.button.width);
        f.label.left = centredLeft(0, width, f.label.width);
    }
    f.nameImage.left = f.label.left;
}

// --- a row: the names stand centred in adjacent columns ---------------------

int columnWidth(const std::vector<LauncherFrame>& frames, const Rect& work) {
    int widest = 0;
    for (const LauncherFrame& f : frames)
        widest = std::max(widest, f.label.width);
    const int count = static_cast<int>(frames.size());
    return std::min(widest + kColumnPadding, (work.right - work.left) / count);
}

// Half the room a name leaves in its column; negative when the column had to
// shrink below the name, and then truncated toward zero like the rest.
int halfSlack(int column, const LauncherFrame& f) {
    return (column - f.label.width) / 2;
}

int leftOfNeighbourOnTheLeft(const LauncherFrame& right, const LauncherFrame& f, int column) {
    return right.window.left + right.label.left - halfSlack(column, right) - halfSlack(column, f) -
           f.label.width - f.label.left;
}

int leftOfNeighbourOnTheRight(const LauncherFrame& left, const LauncherFrame& f, int column) {
    return left.window.left + left.label.left + left.label.width + halfSlack(column, left) +
           halfSlack(column, f) - f.label.left;
}

void spreadRow(std::vector<LauncherFrame>& frames, const Rect& work) {
    const int count = static_cast<int>(frames.size());
    const int column = columnWidth(frames, work);
    const int workWidth = work.right - work.left;
    const int centreLine = work.left + workWidth / 2;
    const int middle = count / 2;
    LauncherFrame& mid = frames[middle];
    // An odd count centres the middle window; an even one starts the middle
    // name's column on the centre line.
    if (count % 2 == 1)
        mid.window.left = (workWidth - mid.window.width) / 2 + work.left;
    else
        mid.window.left = centreLine + halfSlack(column, mid) - mid.label.left;

    for (int k = middle - 1; k >= 0; --k)
        frames[k].window.left = leftOfNeighbourOnTheLeft(frames[k + 1], frames[k], column);
    for (int k = middle + 1; k < count; ++k)
        frames[k].window.left = leftOfNeighbourOnTheRight(frames[k - 1], frames[k], column);
}

// The tallest thing under any button: the name (plain or outlined) or the
// item name pop-up.
int tallestName(const std::vector<ArrangedLauncher>& launchers,
                const std::vector<LauncherFrame>& frames) {
    int tallest = 0;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const LauncherFrame& f = frames[i];
        const int name = launchers[i].outlinedName ? f.nameImage.height : f.label.height;
        tallest = std::max(tallest, std::max(f.iconName.height, name));
    }
    return tallest;
}

void standOnBottom(const ArrangeInput& in, std::vector<LauncherFrame>& frames) {
    const int tallest = tallestName(in.launchers, frames);
    for (LauncherFrame& f : frames) {
        // Both edges of the work area are added, not the bottom alone, which is
        // where launchers have always stood: with a taskbar at the top the row
        // sits that much lower.
        f.window.top =
            in.workArea.top + in.workArea.bottom - (f.button.height + tallest + f.list.height);
        f.button.top = f.list.height;
    }
}

void hangFromTop(const Rect& work, std::vector<LauncherFrame>& frames) {
    for (LauncherFrame& f : frames) {
        f.window.top = work.top;
        f.iconName.top = 0;
        f.button.top = f.iconName.height + kIconNameGap;
        f.label.top = 0;
    }
}

void arrangeRow(const ArrangeInput& in, std::vector<LauncherFrame>& frames) {
    if (in.layOutAroundStrip) {
        for (std::size_t i = 0; i < frames.size(); ++i)
            if (in.launchers[i].tracksRunning)
                in.layOutAroundStrip(in.launchers[i].launcherNo, frames[i]);
    }
    spreadRow(frames, in.workArea);
    if (in.mode == kBottomRowPlacementMode)
        standOnBottom(in, frames);
    else
        hangFromTop(in.workArea, frames);
}

// --- a column: the buttons stacked at least 100 pixels apart ----------------

int buttonGap(const LauncherFrame& f) {
    return std::max(kMinColumnGap, f.label.height);
}

void arrangeColumn(const ArrangeInput& in, std::vector<LauncherFrame>& frames) {
    const Rect& work = in.workArea;
    for (LauncherFrame& f : frames)
        f.window.left =
            in.mode == kLeftColumnPlacementMode ? work.left : work.right - f.window.width;

    const int count = static_cast<int>(frames.size());
    const int middle = count / 2;
    const int halfHeight = (work.bottom - work.top) / 2;
    LauncherFrame& mid = frames[middle];
    // An odd count puts the middle button's top half the work area's height
    // below the screen's top (the work area's own top is not added); an even
    // one centres the middle button on the work area.
    if (count % 2 == 1)
        mid.window.top = halfHeight - mid.button.top;
    else
        mid.window.top = halfHeight + work.top - in.launcher1ButtonHeight / 2 - mid.button.top;

    if (count == 2) {
        // The first button's top a gap above the centre line, the second
        // button centred on it.
        LauncherFrame& first = frames[0];
        first.window.top = halfHeight + work.top - buttonGap(first) - first.button.top;
        return;
    }
    for (int k = middle - 1; k >= 0; --k) {
        const LauncherFrame& below = frames[k + 1];
        frames[k].window.top =
            below.window.top + below.button.top - buttonGap(below) - frames[k].button.top;
    }
    for (int k = middle + 1; k < count; ++k) {
        const LauncherFrame& above = frames[k - 1];
        frames[k].window.top =
            above.window.top + above.button.top + buttonGap(above) - frames[k].button.top;
    }
}

// --- the circle round the screen centre -------------------------------------

// Rounds halves to even, as the screen arithmetic always has.
int roundToEven(double value) {
    return static_cast<int>(std::nearbyint(value));
}

Point pointOnCircle(Point centre, int degrees) {
    const double radians = degrees * std::numbers::pi / 180.0;
    return {centre.x + roundToEven(std::sin(radians) * kCircleRadius),
            centre.y - roundToEven(std::cos(radians) * kCircleRadius)};
}

void putListUnderButton(LauncherFrame& f) {
    f.button.top = 0;
    f.list.top = f.button.height;
    f.label.top = f.button.height;
}

void arrangeCircle(const ArrangeInput& in, std::vector<LauncherFrame>& frames) {
    const Point centre{in.screenWidth / 2, in.screenHeight / 2};
    const int halfButton = in.launcher1ButtonHeight / 2;
    const int count = static_cast<int>(frames.size());
    if (count == 1) {
        LauncherFrame& f = frames[0];
        f.window.left = centre.x - f.window.width / 2;
        f.window.top = centre.y - halfButton;
        putListUnderButton(f);
    } else {
        // Clockwise from straight above the centre.
        const int step = 360 / count;
        for (int i = 0; i < count; ++i) {
            LauncherFrame& f = frames[i];
            const Point at = pointOnCircle(centre, i * step);
            f.window.left = at.x - f.window.width / 2;
            const int buttonTop = at.y - halfButton;
            if (buttonTop > centre.y) { // below the centre the list opens upwards
                f.window.top = buttonTop - f.list.height;
                f.list.top = 0;
                f.button.top = f.list.height;
                f.label.top = f.button.top + f.button.height;
            } else {
                f.window.top = buttonTop;
                putListUnderButton(f);
            }
        }
    }
    for (LauncherFrame& f : frames) {
        f.nameImage.top = f.label.top;
        f.icon.left = centredLeft(f.button.left, f.button.width, f.icon.width);
        f.icon.top = centredTop(f.button.top, f.button.height, f.icon.height);
    }
}

} // namespace

int checkedPlacementMode(int storedMode) {
    return storedMode >= kCirclePlacementMode && storedMode <= kRightColumnPlacementMode
               ? storedMode
               : kCirclePlacementMode;
}

int clampLeftIntoWorkArea(int left, int width, const Rect& workArea) {
    left = std::max(left, workArea.left);
    return std::min(left, workArea.right - width);
}

Arrangement arrangeLaunchers(const ArrangeInput& in) {
    Arrangement out;
    if (!isArrangingMode(in.mode) || in.launcher1Displaced || in.launchers.empty())
        return out;
    out.applies = true;
    out.frames.reserve(in.launchers.size());
    for (const ArrangedLauncher& launcher : in.launchers) {
        LauncherFrame f = launcher.frame;
        f.list.height = launcher.savedListHeight;
        alignControls(in.mode, f);
        f.window.left = clampLeftIntoWorkArea(f.window.left, f.window.width, in.workArea);
        out.frames.push_back(f);
    }
    switch (in.mode) {
    case kCirclePlacementMode:
        arrangeCircle(in, out.frames);
        break;
    case kBottomRowPlacementMode:
    case kTopRowPlacementMode:
        arrangeRow(in, out.frames);
        break;
    default:
        arrangeColumn(in, out.frames);
        break;
    }
    return out;
}

LauncherFrame restoreHome(const LauncherFrame& frame, const HomePlace& home) {
    LauncherFrame f = frame;
    f.window.left = home.home.x;
    f.window.top = home.home.y;
    f.list.height = home.savedListHeight;
    f.button.top = home.buttonOnTop ? f.iconName.height + kIconNameGap : f.list.height;
    return f;
}

void stackAroundButton(LauncherFrame& f) {
    // The bubble rises above the button, so a short window must make room.
    if (f.bubble.height + f.button.height > f.window.height) {
        f.window.height = f.bubble.height + f.button.height;
        f.bubble.top = 0;
        f.button.top = f.bubble.height;
    }
    f.label.top = f.button.top + f.button.height;
    f.nameImage.top = f.label.top;
    f.icon.top = centredTop(f.button.top, f.button.height, f.icon.height);
    f.bubble.left = centredLeft(f.button.left, f.button.width, f.bubble.width);
    f.bubble.top = f.button.top - f.bubble.height;
}

Box bubbleOnButton(const LauncherFrame& f) {
    Box bubble = f.bubble;
    bubble.left = centredLeft(f.button.left, f.button.width, f.bubble.width);
    bubble.top = f.button.top;
    return bubble;
}

PointerShow placeNearPointer(const PointerShowInput& in) {
    PointerShow out;
    out.frame = in.frame;
    LauncherFrame& f = out.frame;
    const int x = clampLeftIntoWorkArea(in.pointer.x - f.button.left, f.window.width, in.workArea);
    const int y = in.pointer.y;
    // Half of the work area's bottom coordinate, not of its height.
    out.lowerHalf = y - in.monitor.top > in.workArea.bottom / 2;
    const int listHeight = f.list.height;
    f.button.top = out.lowerHalf ? listHeight - kPointerListLift : f.iconName.height;
    stackAroundButton(f);
    out.displaced = in.mode != kFreePlacementMode;
    f.window.left = x;
    if (out.lowerHalf)
        f.window.top = y - listHeight - kPointerListLift;
    else
        f.window.top = std::max(y - f.iconName.height, in.workArea.top);
    return out;
}

} // namespace kelvo
