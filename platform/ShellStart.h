#pragma once
// Starting files through the shell and asking it which program opens a file.
#include "platform/Handles.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace kelvo::win {

struct ShellStartRequest {
    const wchar_t* verb = L"open";
    std::wstring file;
    std::wstring parameters;
    HWND owner = nullptr;
};

struct ShellStartResult {
    // Above 32 on success, as the shell reports it.
    std::intptr_t instanceValue = 0;
    UniqueHandle process; // empty when the shell handed the file to a running program
};

// Starts without the shell's own error boxes: a failed start is reported to the
// caller, which decides what the user sees.
ShellStartResult shellStart(const ShellStartRequest& request);

// The program registered to open files with this extension ("" when none or
// when the query fails); `failed` tells a refused query from an empty answer.
std::wstring associatedExecutable(const std::wstring& extension, bool& failed);
// The older question, asked with the file itself.
std::wstring findExecutable(const std::wstring& path);

} // namespace kelvo::win
