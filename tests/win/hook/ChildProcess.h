#pragma once
// A helper program of the tests, started from the test's own folder and never
// left running after the test.
#include "hook/HookHandles.h"

#include <string>

namespace kelvo::test {

class ChildProcess {
  public:
    ChildProcess(const wchar_t* program, const std::wstring& arguments);
    ~ChildProcess(); // terminates the program if it still runs
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return static_cast<bool>(process_); }
    DWORD processId() const { return processId_; }
    bool waitForExit(DWORD timeoutMs) const;
    // Valid once it has ended.
    DWORD exitCode() const;

  private:
    hook::UniqueHandle process_;
    DWORD processId_ = 0;
};

} // namespace kelvo::test
