#include "graphics/LauncherPosition.h"

#include "graphics/Rounding.h"

#include <cstdlib>

namespace kelvo {

Point rescaleSavedPosition(Point saved, int currentWidth, int currentHeight, int storedWidth,
                           int storedHeight) {
    // A stored size of 0 or less is damage in the settings file; dividing by
    // it would put the launcher at infinity (or mirror it off screen), so the
    // saved position is kept as it is.
    if (storedWidth <= 0 || storedHeight <= 0)
        return saved;
    return {roundHalfEven(std::int64_t{saved.x} * currentWidth, storedWidth),
            roundHalfEven(std::int64_t{saved.y} * currentHeight, storedHeight)};
}

bool movedFarEnoughToDrag(Point pressedAt, Point now) {
    return std::abs(now.x - pressedAt.x) > kDragSlop || std::abs(now.y - pressedAt.y) > kDragSlop;
}

} // namespace kelvo
