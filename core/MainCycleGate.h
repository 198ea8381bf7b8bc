#pragma once
// Decides whether a tick of the 100 ms main cycle does any work: not during the
// warm-up after start, not before every window is ready, and not for three
// seconds after a tick failed (so a failing step cannot spin the cycle).
#include "core/CycleClock.h"

#include <array>

namespace kelvo {

inline constexpr int kFormCount = 12;
// Index of each window's readiness flag, in the order the windows report.
enum FormIndex : int {
    kMainFormReady = 0,
    kButtonForm1Ready = 1, // launchers 1..5 at 1..5
    kSetteiFormReady = 6,
    kVersionFormReady = 7,
    kScheduleFormReady = 8,
    kPowerScheduleFormReady = 9,
    kActiveWindowFormReady = 10,
    kHintFormReady = 11,
};

class MainCycleGate {
  public:
    static constexpr int kWarmUpTicks = 50;
    static constexpr std::uint32_t kErrorPauseMs = 3000;

    // True when the tick at `now` may run its phases.
    bool admit(TimeStamp now, const std::array<bool, kFormCount>& formsReady);
    void noteError(TimeStamp now) { errorTime_ = now == 0 ? 1 : now; }
    int ticks() const { return ticks_; }

  private:
    int ticks_ = 0;
    TimeStamp errorTime_ = 0;
};

} // namespace kelvo
