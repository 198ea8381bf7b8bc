#pragma once
// Runs kelvo_foreign_window_app.exe for one test and makes sure it ends.
#include "ChildProcess.h"

namespace kelvo::test {

class ForeignWindowProcess {
  public:
    ForeignWindowProcess();
    ~ForeignWindowProcess(); // closes the window if the test did not
    ForeignWindowProcess(const ForeignWindowProcess&) = delete;
    ForeignWindowProcess& operator=(const ForeignWindowProcess&) = delete;

    bool started() const { return process_.started(); }
    // Its visible top-level window, once it has one; nullptr after the time-out.
    HWND waitForWindow(DWORD timeoutMs) const;
    bool waitForExit(DWORD timeoutMs) const { return process_.waitForExit(timeoutMs); }

  private:
    ChildProcess process_;
};

} // namespace kelvo::test
