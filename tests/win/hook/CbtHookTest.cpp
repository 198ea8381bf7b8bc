#include "hook/cbthook/CbtHook.h"

#include "ForeignWindowProcess.h"
#include "ForeignWindowProtocol.h"
#include "PostedMessages.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kelvo::test {
namespace {

// The library looks a few times a second; these bound how long a broken one
// holds the test up.
constexpr DWORD kWaitMs = 10000;
constexpr UINT kWindowEventMessage = WM_APP + 1;
constexpr LPARAM kMovedOrSized = 0;
constexpr LPARAM kDestroyed = 4;
constexpr LPARAM kActivated = 5;

bool bringToForeground(HWND window) {
    return waitUntil(
        [&] {
            SetForegroundWindow(window);
            return GetForegroundWindow() == window;
        },
        kWaitMs);
}

// A visible top-level window of the test process itself.
class OwnWindow {
  public:
    OwnWindow()
        : hwnd_(CreateWindowExW(0, L"STATIC", L"Kelvo own test window",
                                WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 100, 300, 200, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr)) {}
    ~OwnWindow() {
        if (hwnd_)
            DestroyWindow(hwnd_);
    }
    OwnWindow(const OwnWindow&) = delete;
    OwnWindow& operator=(const OwnWindow&) = delete;
    HWND hwnd() const { return hwnd_; }

  private:
    HWND hwnd_;
};

class CbtHookTest : public ::testing::Test {
  protected:
    void TearDown() override { StopCBTHook(); }

    bool waitForEvent(HWND window, LPARAM code, std::size_t count = 1) {
        return sink.waitFor(
            kWindowEventMessage,
            [&](const PostedMessage& m) {
                return m.wParam == reinterpret_cast<WPARAM>(window) && m.lParam == code;
            },
            count, kWaitMs);
    }

    bool anyEventFor(HWND window) const {
        const auto events = sink.received(kWindowEventMessage);
        return std::any_of(events.begin(), events.end(), [&](const PostedMessage& m) {
            return m.wParam == reinterpret_cast<WPARAM>(window);
        });
    }

    MessageSink sink;
};

TEST_F(CbtHookTest, ReportsActivationMoveAndDestructionOfAnotherProgramsWindow) {
    ASSERT_TRUE(StartCBTHook(sink.hwnd()));
    ForeignWindowProcess foreign;
    ASSERT_TRUE(foreign.started());
    const HWND window = foreign.waitForWindow(kWaitMs);
    ASSERT_NE(window, nullptr);

    ASSERT_TRUE(bringToForeground(window));
    EXPECT_TRUE(waitForEvent(window, kActivated));

    ASSERT_TRUE(PostMessageW(window, kMoveWindowMessage, 0, MAKELPARAM(160, 140)));
    EXPECT_TRUE(waitForEvent(window, kMovedOrSized));

    ASSERT_TRUE(PostMessageW(window, WM_CLOSE, 0, 0));
    EXPECT_TRUE(foreign.waitForExit(kWaitMs));
    EXPECT_TRUE(waitForEvent(window, kDestroyed));
}

TEST_F(CbtHookTest, IgnoresWindowsOfItsOwnProcess) {
    ASSERT_TRUE(StartCBTHook(sink.hwnd()));
    ForeignWindowProcess foreign;
    const HWND window = foreign.waitForWindow(kWaitMs);
    ASSERT_NE(window, nullptr);
    OwnWindow own;
    ASSERT_NE(own.hwnd(), nullptr);
    ASSERT_TRUE(bringToForeground(window));
    ASSERT_TRUE(waitForEvent(window, kActivated));

    ASSERT_TRUE(bringToForeground(own.hwnd()));
    // The report of the closed foreign window proves that the library has looked
    // while the own window was in front.
    ASSERT_TRUE(PostMessageW(window, WM_CLOSE, 0, 0));
    ASSERT_TRUE(waitForEvent(window, kDestroyed));
    ASSERT_EQ(GetForegroundWindow(), own.hwnd());
    StopCBTHook(); // waits for the thread, so all it posted is queued now
    pumpPendingMessages();

    EXPECT_FALSE(anyEventFor(own.hwnd()));
}

} // namespace
} // namespace kelvo::test
