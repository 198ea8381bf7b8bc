#pragma once
// The total CPU usage of the machine from two samples of its cumulative
// processor times, as an integer percentage. Taking the samples is the
// platform's business; this is the arithmetic and the memory of the last sample.
#include <cstdint>

namespace kelvo {

// Cumulative times since boot, summed over all processors, in the system's
// 100-nanosecond units. Kernel time includes idle time, as the system counts it.
struct CpuTimes {
    std::int64_t idle = 0;
    std::int64_t kernel = 0;
    std::int64_t user = 0;
};

// Usage over an interval from the growth of the times: 100 − idle / (kernel +
// user) × 100, truncated toward zero. 0 when no processor time passed.
std::uint8_t cpuUsagePercent(const CpuTimes& delta);

// The same from the idle time of all processors and the wall-clock time that
// passed, for counters that give the time of day instead of busy times:
// 100 − idle / elapsed × 100 / processors. 0 without elapsed time or processors.
std::uint8_t cpuUsagePercent(std::int64_t idleDelta, std::int64_t elapsed, int processors);

// Keeps the previous sample: the first sample, and one taken while the previous
// idle time is still 0, give 0.
class CpuUsageSampler {
  public:
    std::uint8_t sample(const CpuTimes& now);

  private:
    CpuTimes previous_{};
};

} // namespace kelvo
