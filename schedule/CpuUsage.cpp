#include "schedule/CpuUsage.h"

#include <algorithm>
#include <cmath>

namespace kelvo {
namespace {

// Counters read at slightly different moments can put the idle share a hair
// above 100 % or below 0 %; the result stays within 0 .. 100 rather than
// wrapping round in eight bits, which would block every end schedule that waits
// for a quiet machine until the next sample.
std::uint8_t percentFromIdleShare(long double idleShare) {
    const long double usage = std::trunc(100.0L - idleShare * 100.0L);
    return static_cast<std::uint8_t>(std::clamp(usage, 0.0L, 100.0L));
}

} // namespace

std::uint8_t cpuUsagePercent(const CpuTimes& delta) {
    const std::int64_t total = delta.kernel + delta.user;
    if (total <= 0)
        return 0;
    return percentFromIdleShare(static_cast<long double>(delta.idle) / total);
}

std::uint8_t cpuUsagePercent(std::int64_t idleDelta, std::int64_t elapsed, int processors) {
    if (elapsed <= 0 || processors <= 0)
        return 0;
    return percentFromIdleShare(static_cast<long double>(idleDelta) / elapsed / processors);
}

std::uint8_t CpuUsageSampler::sample(const CpuTimes& now) {
    const bool havePrevious = previous_.idle != 0;
    const CpuTimes delta{now.idle - previous_.idle, now.kernel - previous_.kernel,
                         now.user - previous_.user};
    previous_ = now;
    return havePrevious ? cpuUsagePercent(delta) : 0;
}

} // namespace kelvo
