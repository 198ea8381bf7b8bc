#pragma once
// A launcher as the window side measures it, for the placement and motion tests.
#include "core/LauncherPlacement.h"

namespace kelvo::test {

inline constexpr int kSampleSavedListHeight = 105;
inline constexpr Rect kFullHdWork{0, 0, 1920, 1040}; // taskbar at the bottom
inline constexpr Rect kFullHdMonitor{0, 0, 1920, 1080};

// An 80-pixel window holding a 58-pixel button, a 60 x 15 name, a 32-pixel
// item name pop-up, a 32-pixel icon and the 91 x 107 bubble; its list is open
// at 200 pixels.
inline LauncherFrame launcherFrame(int windowWidth = 80, int labelWidth = 60) {
    LauncherFrame f;
    f.window = {300, 200, windowWidth, 300};
    f.list = {0, 0, windowWidth, 200};
    f.button = {11, 42, 58, 58};
    f.label = {10, 100, labelWidth, 15};
    f.nameImage = {10, 100, labelWidth + 5, 20};
    f.iconName = {0, 0, 100, 32};
    f.icon = {24, 55, 32, 32};
    f.bubble = {0, 0, 91, 107};
    return f;
}

} // namespace kelvo::test
