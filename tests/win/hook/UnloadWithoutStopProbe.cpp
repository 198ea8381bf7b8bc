// Loads a hook library by name, starts it and releases it without stopping it,
// as a program that forgets to stop it would, then waits until the library still
// reports something. Exit code 0: the library went on working after its release;
// 2: nothing arrived; 1: the library or its start export could not be used.
// A crash shows as the exception code.
#include "UnloadWithoutStopProtocol.h"

#include <cwchar>

namespace {

// Generous: a working library reports within a fraction of a second.
constexpr DWORD kReportTimeoutMs = 10000;
constexpr DWORD kPumpSliceMs = 20;

struct ProbedLibrary {
    const wchar_t* file;
    const char* startExport;
};

constexpr ProbedLibrary kLibraries[] = {
    {L"inputhook.dll", "StartMouseKeyHook"},
    {L"cbthook.dll", "StartCBTHook"},
};

const ProbedLibrary* findLibrary(const wchar_t* file) {
    for (const ProbedLibrary& library : kLibraries)
        if (std::wcscmp(library.file, file) == 0)
            return &library;
    return nullptr;
}

void injectKeyPress(WORD vk) {
    INPUT inputs[2]{};
    inputs[0].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = vk;
    inputs[1] = inputs[0];
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
}

// Everything the libraries post lies at or above WM_APP.
bool waitForReport(HWND sink) {
    const ULONGLONG deadline = GetTickCount64() + kReportTimeoutMs;
    while (GetTickCount64() < deadline) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.hwnd == sink && msg.message >= WM_APP)
                return true;
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kPumpSliceMs, QS_ALLINPUT);
    }
    return false;
}

// A crash ends the probe with the exception code at once, instead of calling a
// debugger that would keep it, and the test waiting for it, alive.
LONG WINAPI endWithExceptionCode(EXCEPTION_POINTERS*) {
    return EXCEPTION_EXECUTE_HANDLER;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    SetUnhandledExceptionFilter(&endWithExceptionCode);
    const ProbedLibrary* probed = argc == 2 ? findLibrary(argv[1]) : nullptr;
    if (!probed)
        return kelvo::test::kProbeUnusable;
    const HMODULE library = LoadLibraryW(probed->file);
    if (!library)
        return kelvo::test::kProbeUnusable;
    using StartFunction = BOOL(WINAPI*)(HWND);
    // Through void (*)(), the one function type a cast to any other is allowed from.
    const auto start = reinterpret_cast<StartFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(library, probed->startExport)));
    const HWND sink = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
    if (!start || !sink || !start(sink))
        return kelvo::test::kProbeUnusable;

    FreeLibrary(library);
    injectKeyPress(VK_NONCONVERT); // something for an input hook to report
    return waitForReport(sink) ? kelvo::test::kProbeSurvived : kelvo::test::kProbeHeardNothing;
}
