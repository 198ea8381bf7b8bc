#pragma once
// Millisecond time stamps of the main cycle: values of a 32-bit clock that wraps
// about every 49.7 days, 0 meaning "not set".
#include <cstdint>

namespace kelvo {

using TimeStamp = std::uint32_t;

// The absolute value of the 32-bit difference, so a stamp taken just before the
// clock wrapped still gives a small elapsed time.
inline std::uint32_t elapsedMs(TimeStamp now, TimeStamp since) {
    std::int32_t diff = static_cast<std::int32_t>(now - since);
    return diff < 0 ? static_cast<std::uint32_t>(-static_cast<std::int64_t>(diff))
                    : static_cast<std::uint32_t>(diff);
}

} // namespace kelvo
