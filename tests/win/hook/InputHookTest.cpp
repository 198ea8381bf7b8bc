#include "hook/inputhook/InputHook.h"

#include "PostedMessages.h"
#include "hook/HookHandles.h"
#include "hook/inputhook/SharedHookBlock.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace kelvo::test {
namespace {

// Waits bound how long a broken hook can hold the test up; a working one
// answers in milliseconds.
constexpr DWORD kWaitMs = 10000;
constexpr WORD kNonConvertScan = 0x7B;

LPARAM keystrokeFlags(std::uint32_t bits) {
    return static_cast<LPARAM>(static_cast<std::int32_t>(bits));
}

INPUT keyInput(WORD vk, bool release) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = kNonConvertScan;
    input.ki.dwFlags = release ? KEYEVENTF_KEYUP : 0;
    return input;
}

INPUT mouseInput(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    return input;
}

bool inject(INPUT input) {
    return SendInput(1, &input, sizeof(input)) == 1;
}

bool isDown(int vk) {
    return (GetAsyncKeyState(vk) & 0x8000) != 0;
}

// Injects a press and a release of `vk` and returns once the system has taken
// both. Low-level hooks see an event before the key state changes, so whatever a
// hook posted for the two events is queued by the time this returns.
bool injectPressAndWaitForRelease(const INPUT& press, const INPUT& release, int vk) {
    return inject(press) && waitUntil([&] { return isDown(vk); }, kWaitMs) && inject(release) &&
           waitUntil([&] { return !isDown(vk); }, kWaitMs);
}

bool isNonConvert(const PostedMessage& m) {
    return m.wParam == VK_NONCONVERT;
}

class InputHookTest : public ::testing::Test {
  protected:
    void TearDown() override { StopMouseKeyHook(); }

    std::size_t forwardedCount() const {
        return sink.received(mouseMessage).size() + sink.received(keyMessage).size();
    }

    const UINT mouseMessage = RegisterWindowMessageA("KelvoLauncher_Mouse");
    const UINT keyMessage = RegisterWindowMessageA("KelvoLauncher_Key");
    MessageSink sink;
};

TEST(InputHookNames, GettersReturnTheRegisteredNames) {
    EXPECT_STREQ(GetMouseHookMsgString(), "KelvoLauncher_Mouse");
    EXPECT_STREQ(GetKeyHookMsgString(), "KelvoLauncher_Key");
}

TEST_F(InputHookTest, ForwardsKeysWithTheFlagsOfAClassicKeyboardHook) {
    ASSERT_TRUE(StartMouseKeyHook(sink.hwnd()));

    ASSERT_TRUE(inject(keyInput(VK_NONCONVERT, false)));
    ASSERT_TRUE(inject(keyInput(VK_NONCONVERT, false))); // held: auto-repeat
    ASSERT_TRUE(inject(keyInput(VK_NONCONVERT, true)));

    ASSERT_TRUE(sink.waitFor(keyMessage, isNonConvert, 3, kWaitMs));
    std::vector<LPARAM> flags;
    for (const PostedMessage& m : sink.received(keyMessage))
        if (isNonConvert(m))
            flags.push_back(m.lParam);
    const std::vector<LPARAM> expected{keystrokeFlags(0x007B0001), keystrokeFlags(0x407B0001),
                                       keystrokeFlags(0xC07B0001)};
    EXPECT_EQ(flags, expected);
}

TEST_F(InputHookTest, ForwardsMouseButtonsAsTheirMessages) {
    ASSERT_TRUE(StartMouseKeyHook(sink.hwnd()));

    ASSERT_TRUE(inject(mouseInput(MOUSEEVENTF_LEFTDOWN)));
    ASSERT_TRUE(inject(mouseInput(MOUSEEVENTF_LEFTUP)));

    const auto isButtonUp = [](const PostedMessage& m) { return m.wParam == WM_LBUTTONUP; };
    ASSERT_TRUE(sink.waitFor(mouseMessage, isButtonUp, 1, kWaitMs));
    std::vector<WPARAM> buttons;
    for (const PostedMessage& m : sink.received(mouseMessage)) {
        EXPECT_EQ(m.lParam, 0);
        if (m.wParam != WM_MOUSEMOVE)
            buttons.push_back(m.wParam);
    }
    EXPECT_EQ(buttons, (std::vector<WPARAM>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
}

TEST_F(InputHookTest, ForwardsNothingAfterStop) {
    ASSERT_TRUE(StartMouseKeyHook(sink.hwnd()));
    ASSERT_TRUE(StartMouseKeyHook(sink.hwnd())); // a second start must not leave hooks behind
    ASSERT_TRUE(inject(keyInput(VK_NONCONVERT, false)));
    ASSERT_TRUE(inject(keyInput(VK_NONCONVERT, true)));
    ASSERT_TRUE(sink.waitFor(keyMessage, isNonConvert, 2, kWaitMs)) << "hooks never ran";

    StopMouseKeyHook();
    pumpPendingMessages(); // what was posted before the stop
    const std::size_t forwardedBeforeStop = forwardedCount();

    ASSERT_TRUE(injectPressAndWaitForRelease(keyInput(VK_NONCONVERT, false),
                                             keyInput(VK_NONCONVERT, true), VK_NONCONVERT));
    ASSERT_TRUE(injectPressAndWaitForRelease(mouseInput(MOUSEEVENTF_LEFTDOWN),
                                             mouseInput(MOUSEEVENTF_LEFTUP), VK_LBUTTON));
    pumpPendingMessages();
    EXPECT_EQ(forwardedCount(), forwardedBeforeStop);
}

TEST_F(InputHookTest, SharedBlockHoldsHooksWindowAndMessages) {
    ASSERT_TRUE(StartMouseKeyHook(sink.hwnd()));

    const hook::UniqueHandle mapping(
        OpenFileMappingW(FILE_MAP_READ, FALSE, hook::kSharedHookBlockName));
    ASSERT_TRUE(mapping);
    const hook::MappedView view(mapping.get(), FILE_MAP_READ, sizeof(hook::SharedHookBlock));
    ASSERT_NE(view.get(), nullptr);
    const auto& block = *static_cast<const hook::SharedHookBlock*>(view.get());
    EXPECT_NE(block.keyboardHook, 0u);
    EXPECT_NE(block.mouseHook, 0u);
    EXPECT_EQ(block.targetWindow, reinterpret_cast<std::uintptr_t>(sink.hwnd()));
    EXPECT_EQ(block.mouseMessage, mouseMessage);
    EXPECT_EQ(block.keyMessage, keyMessage);

    StopMouseKeyHook();
    EXPECT_EQ(block.keyboardHook, 0u);
    EXPECT_EQ(block.mouseHook, 0u);
}

} // namespace
} // namespace kelvo::test
