#include "ForeignWindowProcess.h"

#include "ForeignWindowProtocol.h"
#include "PostedMessages.h"

namespace kelvo::test {

namespace {

constexpr DWORD kCloseTimeoutMs = 10000;

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK matchProcessWindow(HWND hwnd, LPARAM param) {
    auto& search = *reinterpret_cast<WindowSearch*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (process != search.processId || !IsWindowVisible(hwnd))
        return TRUE;
    search.found = hwnd;
    return FALSE;
}

} // namespace

ForeignWindowProcess::ForeignWindowProcess() : process_(kForeignWindowApp, L"") {}

ForeignWindowProcess::~ForeignWindowProcess() {
    if (!process_.started() || process_.waitForExit(0))
        return;
    // A polite close first, so that the program ends as it does in the tests.
    if (const HWND window = waitForWindow(0))
        PostMessageW(window, WM_CLOSE, 0, 0);
    process_.waitForExit(kCloseTimeoutMs);
}

HWND ForeignWindowProcess::waitForWindow(DWORD timeoutMs) const {
    WindowSearch search{process_.processId(), nullptr};
    waitUntil(
        [&] {
            EnumWindows(&matchProcessWindow, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        timeoutMs);
    return search.found;
}

} // namespace kelvo::test
