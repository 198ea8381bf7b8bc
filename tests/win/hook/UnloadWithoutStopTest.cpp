#include "ChildProcess.h"
#include "PostedMessages.h"
#include "UnloadWithoutStopProtocol.h"

#include <gtest/gtest.h>

#include <ostream>

namespace kelvo::test {
namespace {

constexpr DWORD kWaitMs = 30000;

// A window of the test process in front: to the probe it is another program's
// window, which the window-event library reports at its first look.
class ForegroundWindow {
  public:
    ForegroundWindow()
        : hwnd_(CreateWindowExW(0, L"STATIC", L"Kelvo probe foreground",
                                WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 200, 300, 200, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr)) {}
    ~ForegroundWindow() {
        if (hwnd_)
            DestroyWindow(hwnd_);
    }
    ForegroundWindow(const ForegroundWindow&) = delete;
    ForegroundWindow& operator=(const ForegroundWindow&) = delete;

    bool bringToFront() const {
        return waitUntil(
            [&] {
                SetForegroundWindow(hwnd_);
                return GetForegroundWindow() == hwnd_;
            },
            kWaitMs);
    }

  private:
    HWND hwnd_;
};

class UnloadWithoutStopTest : public ::testing::TestWithParam<const wchar_t*> {};

TEST_P(UnloadWithoutStopTest, LibraryKeepsWorkingAfterAReleaseWithoutStop) {
    ForegroundWindow inFront;
    ASSERT_TRUE(inFront.bringToFront());

    ChildProcess probe(kUnloadProbe, GetParam());
    ASSERT_TRUE(probe.started());
    ASSERT_TRUE(probe.waitForExit(kWaitMs));
    EXPECT_EQ(probe.exitCode(), kProbeSurvived) << std::hex << probe.exitCode();
}

INSTANTIATE_TEST_SUITE_P(Libraries, UnloadWithoutStopTest,
                         ::testing::Values(L"inputhook.dll", L"cbthook.dll"),
                         [](const ::testing::TestParamInfo<const wchar_t*>& info) {
                             return info.index == 0 ? "inputhook" : "cbthook";
                         });

} // namespace
} // namespace kelvo::test
