#pragma once
// Sizes and places a launcher's item list: row geometry, list width, which
// side of the button the list opens on, and the unrolling animation.
#include "graphics/NameDisplay.h"

#include <string>
#include <vector>

namespace kelvo {

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

inline constexpr int kFreePlacementMode = 1;
inline constexpr int kArrangedPlacementMode = 3;

// round(fontSize x 1.8 x dpi / 96), halves to even: 20 at 11 points, 96 dpi.
int listItemHeight(int fontSize, int dpi);
int listIconSize(int fontSize);

struct ListWidthInput {
    int buttonWidth = 0;
    int iconSize = 0;
    int scrollBarWidth = 0;
    int monitorWidth = 0; // of the monitor nearest the window's top-left corner
};
int listWidth(const std::vector<std::wstring>& rows, const ListWidthInput& in,
              const TextWidthFn& textWidth);

// Which monitor's work area the layout keeps the launcher in.
enum class LayoutMonitor { Remembered, NearestToWindow, Primary };
LayoutMonitor layoutMonitor(bool displaced, int placementMode);

struct ListLayoutInput {
    Rect workArea;
    int monitorTop = 0;
    int windowLeft = 0;
    int windowTop = 0;
    int windowWidth = 0;
    int buttonTop = 0; // within the window
    int buttonHeight = 0;
    int labelTop = 0;
    int labelHeight = 0;
    int iconNameHeight = 0;
    int itemHeight = 0;
    int itemCount = 0;
    int placementMode = 0;
    bool displaced = false;
};

struct ListLayout {
    bool lowerHalf = false; // the list opens above the button
    int listTop = 0;
    int listHeight = 0;
    int buttonTop = 0;
    int labelTop = 0; // the outlined name picture takes it as well
    int iconNameTop = 0;
    int windowLeft = 0; // clamped into the work area
    int windowTop = 0;
    int windowHeight = 0;
    int targetHeight = 0; // LBTargetHeight
    // The rest is stored only when the launcher is not displaced.
    bool storesHome = false;
    int homeLeft = 0;
    int homeTop = 0;
    bool isButtonTop = false;
    int lbHeight = 0;
};
ListLayout layOutList(const ListLayoutInput& in);

// The stacking used while loading, before the first real layout.
struct ProvisionalStacking {
    int buttonTop = 0;
    int windowHeight = 0;
};
ProvisionalStacking provisionalStacking(bool isButtonTop, int listHeight, int buttonHeight,
                                        int labelHeight, int iconNameHeight);

// Top of the list: under the button when the list hangs below it, otherwise
// ending where the button begins.
int listTopBesideButton(bool listBelowButton, int buttonTop, int buttonHeight, int listHeight);

inline constexpr int kUnrollRowsPerStep = 3;
int unrollStartHeight(int itemHeight);

struct UnrollStep {
    int listHeight = 0;
    int listTop = 0;
    bool finished = false; // the list has its exact target height now
};
UnrollStep nextUnrollStep(int listHeight, int targetHeight, int itemHeight, bool listBelowButton,
                          int buttonTop, int buttonHeight);

} // namespace kelvo
