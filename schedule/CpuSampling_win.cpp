#include "schedule/CpuSampling_win.h"

#include <windows.h>

#include <vector>

namespace kelvo {
namespace {

constexpr ULONG kSystemProcessorPerformanceInformation = 8;

// One element per processor as the system fills it; kernel time includes idle
// time, like GetSystemTimes.
struct ProcessorPerformance {
    LARGE_INTEGER IdleTime;
    LARGE_INTEGER KernelTime;
    LARGE_INTEGER UserTime;
    LARGE_INTEGER Reserved1[2];
    ULONG Reserved2;
};

using NtQuerySystemInformationFn = LONG(WINAPI*)(ULONG, void*, ULONG, ULONG*);

std::int64_t ticksOf(const FILETIME& t) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(t.dwHighDateTime) << 32) |
                                     t.dwLowDateTime);
}

NtQuerySystemInformationFn ntQuerySystemInformation() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    if (!ntdll)
        return nullptr;
    return reinterpret_cast<NtQuerySystemInformationFn>(
        reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQuerySystemInformation")));
}

} // namespace

std::optional<CpuTimes> readSystemTimes() {
    FILETIME idle{}, kernel{}, user{};
    if (!GetSystemTimes(&idle, &kernel, &user))
        return std::nullopt;
    return CpuTimes{ticksOf(idle), ticksOf(kernel), ticksOf(user)};
}

std::optional<CpuTimes> readProcessorPerformanceTimes() {
    const NtQuerySystemInformationFn query = ntQuerySystemInformation();
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    if (!query || info.dwNumberOfProcessors == 0)
        return std::nullopt;
    std::vector<ProcessorPerformance> processors(info.dwNumberOfProcessors);
    ULONG returned = 0;
    const ULONG size = static_cast<ULONG>(processors.size() * sizeof(ProcessorPerformance));
    if (query(kSystemProcessorPerformanceInformation, processors.data(), size, &returned) < 0)
        return std::nullopt;
    processors.resize(returned / sizeof(ProcessorPerformance));
    if (processors.empty())
        return std::nullopt;
    CpuTimes total;
    for (const ProcessorPerformance& p : processors) {
        total.idle += p.IdleTime.QuadPart;
        total.kernel += p.KernelTime.QuadPart;
        total.user += p.UserTime.QuadPart;
    }
    return total;
}

std::optional<CpuTimes> readCpuTimes() {
    if (auto times = readSystemTimes())
        return times;
    return readProcessorPerformanceTimes();
}

std::uint8_t sampleCpuUsage(CpuUsageSampler& sampler) {
    const std::optional<CpuTimes> times = readCpuTimes();
    return times ? sampler.sample(*times) : 0;
}

} // namespace kelvo
