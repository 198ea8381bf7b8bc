#include "hook/inputhook/KeystrokeTranslation.h"

#include <gtest/gtest.h>

#include <vector>

namespace kelvo::hook {
namespace {

constexpr DWORD kNonConvertScan = 0x7B;
constexpr DWORD kAltScan = 0x38;
constexpr DWORD kShiftScan = 0x2A;

KBDLLHOOKSTRUCT keyEvent(DWORD vk, DWORD scan, DWORD flags) {
    KBDLLHOOKSTRUCT event{};
    event.vkCode = vk;
    event.scanCode = scan;
    event.flags = flags;
    return event;
}

KBDLLHOOKSTRUCT press(DWORD vk, DWORD scan, DWORD flags = 0) {
    return keyEvent(vk, scan, flags);
}
KBDLLHOOKSTRUCT release(DWORD vk, DWORD scan, DWORD flags = 0) {
    return keyEvent(vk, scan, flags | LLKHF_UP);
}

LPARAM flags(std::uint32_t bits) {
    return static_cast<LPARAM>(static_cast<std::int32_t>(bits));
}

struct KeystrokeCase {
    const char* name;
    std::vector<KBDLLHOOKSTRUCT> history; // fed to one translator; the last one is checked
    HookMessageParams expected;
};

class KeystrokeTranslationTest : public ::testing::TestWithParam<KeystrokeCase> {};

TEST_P(KeystrokeTranslationTest, GivesTheParametersOfAClassicKeyboardHook) {
    KeystrokeTranslator translator;
    HookMessageParams last{};
    for (const KBDLLHOOKSTRUCT& event : GetParam().history)
        last = translator.translate(event);
    EXPECT_EQ(last.wParam, GetParam().expected.wParam);
    EXPECT_EQ(last.lParam, GetParam().expected.lParam) << std::hex << last.lParam;
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeystrokeTranslationTest,
    ::testing::Values(
        KeystrokeCase{"FirstPress",
                      {press(VK_NONCONVERT, kNonConvertScan)},
                      {VK_NONCONVERT, flags(0x007B0001)}},
        KeystrokeCase{
            "AutoRepeatHasThePreviousStateBit",
            {press(VK_NONCONVERT, kNonConvertScan), press(VK_NONCONVERT, kNonConvertScan)},
            {VK_NONCONVERT, flags(0x407B0001)}},
        KeystrokeCase{
            "ReleaseHasTransitionAndPreviousStateBits",
            {press(VK_NONCONVERT, kNonConvertScan), release(VK_NONCONVERT, kNonConvertScan)},
            {VK_NONCONVERT, flags(0xC07B0001)}},
        KeystrokeCase{"ReleaseOfAKeyPressedBeforeTheHookWasDown",
                      {release(VK_NONCONVERT, kNonConvertScan)},
                      {VK_NONCONVERT, flags(0xC07B0001)}},
        KeystrokeCase{"PressAfterReleaseIsAFirstPressAgain",
                      {press(VK_NONCONVERT, kNonConvertScan),
                       release(VK_NONCONVERT, kNonConvertScan),
                       press(VK_NONCONVERT, kNonConvertScan)},
                      {VK_NONCONVERT, flags(0x007B0001)}},
        KeystrokeCase{
            "ExtendedKey", {press(VK_RIGHT, 0x4D, LLKHF_EXTENDED)}, {VK_RIGHT, flags(0x014D0001)}},
        KeystrokeCase{"AltHeldSetsTheContextBit",
                      {press('A', 0x1E, LLKHF_ALTDOWN)},
                      {'A', flags(0x201E0001)}},
        KeystrokeCase{"LeftAltReportedAsAlt",
                      {press(VK_LMENU, kAltScan, LLKHF_ALTDOWN)},
                      {VK_MENU, flags(0x20380001)}},
        KeystrokeCase{"RightCtrlReportedAsCtrl",
                      {press(VK_RCONTROL, 0x1D, LLKHF_EXTENDED)},
                      {VK_CONTROL, flags(0x011D0001)}},
        KeystrokeCase{"RightShiftIsNotARepeatOfLeftShift",
                      {press(VK_LSHIFT, kShiftScan), press(VK_RSHIFT, 0x36)},
                      {VK_SHIFT, flags(0x00360001)}},
        KeystrokeCase{"ScanCodeKeepsOnlyItsLowByte", {press('B', 0x130)}, {'B', flags(0x00300001)}},
        KeystrokeCase{"KeyCodeOutsideTheTableIsPassedOn", {press(0x1FF, 0)}, {0x1FF, flags(1)}}),
    [](const ::testing::TestParamInfo<KeystrokeCase>& info) { return info.param.name; });

TEST(MouseTranslation, ReportsTheMouseMessageWithoutPosition) {
    for (const WPARAM message : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_MBUTTONUP,
                                 WM_RBUTTONUP, WM_MOUSEWHEEL, WM_XBUTTONUP}) {
        EXPECT_EQ(classicMouseParams(message), (HookMessageParams{message, 0})) << message;
    }
}

} // namespace
} // namespace kelvo::hook
