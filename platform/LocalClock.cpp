#include "platform/LocalClock.h"

#include <windows.h>

namespace kelvo {

DateTime localNow() {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    const DateParts parts{t.wYear,   t.wMonth,  t.wDay,         t.wHour,
                          t.wMinute, t.wSecond, t.wMilliseconds};
    return encodeDateTime(parts).value_or(0);
}

} // namespace kelvo
