#include "core/MainCycleGate.h"

#include <algorithm>

namespace kelvo {

bool MainCycleGate::admit(TimeStamp now, const std::array<bool, kFormCount>& formsReady) {
    if (ticks_ <= kWarmUpTicks)
        ++ticks_;
    if (ticks_ < kWarmUpTicks)
        return false;
    if (!std::all_of(formsReady.begin(), formsReady.end(), [](bool ready) { return ready; }))
        return false;
    if (errorTime_ != 0 && elapsedMs(now, errorTime_) < kErrorPauseMs)
        return false;
    return true;
}

} // namespace kelvo
