#pragma once
// The machine's cumulative processor times, read from the system, and one
// sample of the total CPU usage taken from them.
#include "schedule/CpuUsage.h"

#include <cstdint>
#include <optional>

namespace kelvo {

// The times summed over all processors, from GetSystemTimes.
std::optional<CpuTimes> readSystemTimes();
// The same summed from NtQuerySystemInformation's per-processor performance
// figures, for a system whose GetSystemTimes fails.
std::optional<CpuTimes> readProcessorPerformanceTimes();
// Whichever of the two answers first.
std::optional<CpuTimes> readCpuTimes();

// One sample: the usage in percent since the sampler's previous sample, 0 for
// the first one. When the system gives no times the result is 0 and the
// previous sample is kept, so the next one still covers a real interval.
std::uint8_t sampleCpuUsage(CpuUsageSampler& sampler);

} // namespace kelvo
