#include "platform/Window.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace kelvo::win {
namespace {

constexpr UINT kPing = WM_APP + 10;
constexpr UINT kThrow = WM_APP + 11;

class ProbeWindow : public Window {
  public:
    int pings = 0;
    bool sawCreate = false;

  protected:
    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
        case WM_CREATE:
            sawCreate = true; // the object is reachable from the very first messages
            return 0;
        case kPing:
            ++pings;
            return 42;
        case kThrow:
            throw std::runtime_error("handler failed");
        }
        return defaultHandling(msg, wParam, lParam);
    }
};

TEST(Window, MessagesReachTheObjectFromCreationOn) {
    ASSERT_TRUE(Window::registerClass({.className = L"KelvoProbeWindow"}));
    ASSERT_TRUE(Window::registerClass({.className = L"KelvoProbeWindow"})); // again: fine
    ProbeWindow window;
    ASSERT_TRUE(window.create({.className = L"KelvoProbeWindow", .title = L"probe"}));
    EXPECT_TRUE(window.sawCreate);
    EXPECT_EQ(SendMessageW(window.hwnd(), kPing, 0, 0), 42);
    EXPECT_EQ(window.pings, 1);
}

TEST(Window, AnExceptionInAHandlerDoesNotLeaveTheWindowProcedure) {
    ASSERT_TRUE(Window::registerClass({.className = L"KelvoProbeWindow"}));
    ProbeWindow window;
    ASSERT_TRUE(window.create({.className = L"KelvoProbeWindow", .title = L"probe"}));
    SendMessageW(window.hwnd(), kThrow, 0, 0);
    EXPECT_EQ(SendMessageW(window.hwnd(), kPing, 0, 0), 42); // still serving messages
}

TEST(Window, DestroyingTheObjectDestroysItsWindow) {
    ASSERT_TRUE(Window::registerClass({.className = L"KelvoProbeWindow"}));
    HWND hwnd = nullptr;
    {
        ProbeWindow window;
        ASSERT_TRUE(window.create({.className = L"KelvoProbeWindow", .title = L"probe"}));
        hwnd = window.hwnd();
        EXPECT_TRUE(IsWindow(hwnd));
    }
    EXPECT_FALSE(IsWindow(hwnd));
}

} // namespace
} // namespace kelvo::win
