#pragma once
// What the program asks of other processes: whether one still runs, which file
// it was started from, its bitness, and waiting for it to take input.
#include <windows.h>

#include <string>

namespace kelvo::win {

// True while the process exists and has not ended (its exit code still reads
// as "running"). A process that cannot be opened counts as ended.
bool processStillActive(DWORD processId);

// Full path of the process' executable; empty when it cannot be asked.
std::wstring processImagePath(DWORD processId);

// True for a native 64-bit process on 64-bit Windows; false for 32-bit ones and
// on 32-bit Windows.
bool isNative64BitProcess(DWORD processId, bool windowsIs64Bit);

// One bounded wait for the process to become idle for input; true when it is,
// or when it has no input queue to wait for (a console or an ended process).
bool waitForInputIdle(HANDLE process, DWORD milliseconds);

} // namespace kelvo::win
