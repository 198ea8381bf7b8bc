#include "graphics/ListLayout.h"

#include "graphics/Rounding.h"

#include <algorithm>
#include <cstdint>

namespace kelvo {
namespace {

constexpr int kListPadding = 5;
constexpr int kListSideMargin = 16;
constexpr int kIconNameGap = 10;

int fullListHeight(int itemHeight, int itemCount) {
    return itemHeight * itemCount + kListPadding;
}

// Negative room (a button outside its work area) gives an empty list, not a
// window of negative height.
int fitIntoRoom(int height, int room) {
    return std::max(0, std::min(height, room));
}

int upperHalfLabelTop(const ListLayoutInput& in, int buttonBottom) {
    if (in.displaced)
        return buttonBottom;
    if (in.placementMode == kArrangedPlacementMode)
        return 0;
    if (in.placementMode == kFreePlacementMode)
        return in.labelTop;
    return buttonBottom;
}

void stackListAboveButton(const ListLayoutInput& in, ListLayout& out) {
    const int buttonScreenTop = in.windowTop + in.buttonTop;
    out.listHeight =
        fitIntoRoom(fullListHeight(in.itemHeight, in.itemCount), buttonScreenTop - in.workArea.top);
    out.windowTop = buttonScreenTop - out.listHeight;
    out.listTop = 0;
    out.buttonTop = out.listHeight;
    out.labelTop = out.buttonTop + in.buttonHeight;
    out.iconNameTop = out.labelTop;
    out.windowHeight =
        out.listHeight + in.buttonHeight + std::max(in.labelHeight, in.iconNameHeight);
}

void stackListBelowButton(const ListLayoutInput& in, int buttonY, ListLayout& out) {
    const int room = (in.workArea.bottom - in.monitorTop) - buttonY - in.buttonHeight;
    const int wanted = std::max(fullListHeight(in.itemHeight, in.itemCount), in.labelHeight);
    out.listHeight = fitIntoRoom(wanted, room);
    out.windowTop = in.monitorTop + buttonY - in.iconNameHeight - kIconNameGap;
    out.iconNameTop = 0;
    out.buttonTop = in.iconNameHeight + kIconNameGap;
    out.listTop = out.buttonTop + in.buttonHeight;
    out.labelTop = upperHalfLabelTop(in, out.buttonTop + in.buttonHeight);
    out.windowHeight = out.listHeight + in.buttonHeight + in.iconNameHeight + kIconNameGap;
}

void clampIntoWorkArea(const Rect& area, int width, int height, int& left, int& top) {
    // In this order: a window larger than the area ends up against its
    // right and bottom edges.
    left = std::max(left, area.left);
    left = std::min(left, area.right - width);
    top = std::max(top, area.top);
    top = std::min(top, area.bottom - height);
}

} // namespace

int listItemHeight(int fontSize, int dpi) {
    return roundHalfEven(std::int64_t{fontSize} * 18 * dpi, std::int64_t{10} * 96);
}

int listIconSize(int fontSize) {
    return fontSize * 16 / 10;
}

int listWidth(const std::vector<std::wstring>& rows, const ListWidthInput& in,
              const TextWidthFn& textWidth) {
    if (rows.empty())
        return in.buttonWidth;
    int widest = in.buttonWidth;
    for (const std::wstring& row : rows)
        widest = std::max(widest, textWidth(row));
    const int width = widest + in.iconSize + in.scrollBarWidth + kListSideMargin;
    return std::min(width, in.monitorWidth / 2);
}

LayoutMonitor layoutMonitor(bool displaced, int placementMode) {
    if (displaced)
        return LayoutMonitor::Remembered;
    if (placementMode == kFreePlacementMode)
        return LayoutMonitor::NearestToWindow;
    return LayoutMonitor::Primary;
}

ListLayout layOutList(const ListLayoutInput& in) {
    ListLayout out;
    const int buttonY = in.windowTop + in.buttonTop - in.monitorTop;
    // Truncating toward zero, so a button exactly at the middle counts as upper.
    out.lowerHalf = (in.workArea.bottom - in.monitorTop) / 2 < buttonY;
    if (out.lowerHalf)
        stackListAboveButton(in, out);
    else
        stackListBelowButton(in, buttonY, out);

    out.windowLeft = in.windowLeft;
    clampIntoWorkArea(in.workArea, in.windowWidth, out.windowHeight, out.windowLeft, out.windowTop);
    out.targetHeight = out.listHeight;
    // A displaced launcher returns home later, so its home stays as it was.
    if (!in.displaced) {
        out.storesHome = true;
        out.homeLeft = out.windowLeft;
        out.homeTop = out.windowTop;
        out.isButtonTop = !out.lowerHalf;
        out.lbHeight = out.listHeight;
    }
    return out;
}

ProvisionalStacking provisionalStacking(bool isButtonTop, int listHeight, int buttonHeight,
                                        int labelHeight, int iconNameHeight) {
    if (isButtonTop) {
        int height = listHeight + buttonHeight + iconNameHeight + kIconNameGap;
        // A list shorter than the label would cut the label off.
        if (listHeight < labelHeight)
            height += labelHeight;
        return {iconNameHeight + kIconNameGap, height};
    }
    return {listHeight, buttonHeight + listHeight + std::max(labelHeight, iconNameHeight)};
}

int listTopBesideButton(bool listBelowButton, int buttonTop, int buttonHeight, int listHeight) {
    return listBelowButton ? buttonTop + buttonHeight : buttonTop - listHeight;
}

int unrollStartHeight(int itemHeight) {
    return kUnrollRowsPerStep * itemHeight;
}

UnrollStep nextUnrollStep(int listHeight, int targetHeight, int itemHeight, bool listBelowButton,
                          int buttonTop, int buttonHeight) {
    UnrollStep step;
    step.listHeight = listHeight + kUnrollRowsPerStep * itemHeight;
    if (step.listHeight >= targetHeight) {
        step.listHeight = targetHeight;
        step.finished = true;
    }
    step.listTop = listTopBesideButton(listBelowButton, buttonTop, buttonHeight, step.listHeight);
    return step;
}

} // namespace kelvo
