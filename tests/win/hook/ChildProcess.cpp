#include "ChildProcess.h"

#include "PostedMessages.h"

namespace kelvo::test {

namespace {

std::wstring besideThisProgram(const wchar_t* fileName) {
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    path.erase(path.find_last_of(L"\\/") + 1);
    return path + fileName;
}

} // namespace

ChildProcess::ChildProcess(const wchar_t* program, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + besideThisProgram(program) + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return;
    const hook::UniqueHandle mainThread(info.hThread);
    process_.reset(info.hProcess);
    processId_ = info.dwProcessId;
}

ChildProcess::~ChildProcess() {
    if (process_ && !waitForExit(0))
        TerminateProcess(process_.get(), 1);
}

bool ChildProcess::waitForExit(DWORD timeoutMs) const {
    // Pumps meanwhile: the test thread's windows must keep answering.
    return waitUntil([&] { return WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0; },
                     timeoutMs);
}

DWORD ChildProcess::exitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.get(), &code);
    return code;
}

} // namespace kelvo::test
