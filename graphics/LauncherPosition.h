#pragma once
// Where a launcher window goes when it is first shown on a screen of another
// size, and when a press on its button turns into a drag.

namespace kelvo {

struct Point {
    int x = 0;
    int y = 0;
};

// Scales a position saved on a storedWidth x storedHeight screen to the
// current screen, each coordinate rounded to the nearest integer, halves to even.
Point rescaleSavedPosition(Point saved, int currentWidth, int currentHeight, int storedWidth,
                           int storedHeight);

// Small jitter of a click must not move the launcher.
inline constexpr int kDragSlop = 10;
bool movedFarEnoughToDrag(Point pressedAt, Point now);

} // namespace kelvo
