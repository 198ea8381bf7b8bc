#include "platform/UnexpectedError.h"

#include <windows.h>

#include <atomic>
#include <string>

namespace kelvo::win {
namespace {
std::atomic<bool> g_endProcess{false};
}

void swallowUnexpectedError(const char* where) noexcept {
#ifndef NDEBUG
    // Quiet for the user, never for the developer.
    std::string text = std::string("launcher: unexpected error in ") + where + "\n";
    OutputDebugStringA(text.c_str());
#else
    (void)where;
#endif
    if (g_endProcess.load())
        ExitProcess(1);
}

void endProcessOnUnexpectedError() noexcept { g_endProcess.store(true); }

} // namespace kelvo::win
