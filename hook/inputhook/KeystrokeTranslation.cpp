#include "hook/inputhook/KeystrokeTranslation.h"

#include <cstdint>

namespace kelvo::hook {

namespace {

constexpr std::uint32_t kRepeatCountOne = 1;
constexpr int kScanCodeShift = 16;
constexpr std::uint32_t kExtendedKeyBit = 1u << 24;
constexpr std::uint32_t kAltContextBit = 1u << 29;
constexpr std::uint32_t kPreviousStateBit = 1u << 30;
constexpr std::uint32_t kReleasedBit = 1u << 31;

bool isRelease(const KBDLLHOOKSTRUCT& event) {
    return (event.flags & LLKHF_UP) != 0;
}

DWORD classicVirtualKey(DWORD lowLevelKey) {
    switch (lowLevelKey) {
    case VK_LSHIFT:
    case VK_RSHIFT:
        return VK_SHIFT;
    case VK_LCONTROL:
    case VK_RCONTROL:
        return VK_CONTROL;
    case VK_LMENU:
    case VK_RMENU:
        return VK_MENU;
    default:
        return lowLevelKey;
    }
}

LPARAM classicKeystrokeFlags(const KBDLLHOOKSTRUCT& event, bool wasDown) {
    std::uint32_t flags = kRepeatCountOne;
    flags |= (event.scanCode & 0xFFu) << kScanCodeShift;
    if (event.flags & LLKHF_EXTENDED)
        flags |= kExtendedKeyBit;
    if (event.flags & LLKHF_ALTDOWN)
        flags |= kAltContextBit;
    // A key being released was down before it, whether or not its press was seen
    // (it may have been pressed before the hook was installed).
    if (wasDown || isRelease(event))
        flags |= kPreviousStateBit;
    if (isRelease(event))
        flags |= kReleasedBit;
    return static_cast<LPARAM>(static_cast<std::int32_t>(flags));
}

} // namespace

HookMessageParams KeystrokeTranslator::translate(const KBDLLHOOKSTRUCT& event) {
    // The state is kept per physical key (left and right Shift apart), since
    // auto-repeat belongs to the key that is held.
    bool wasDown = false;
    if (event.vkCode < down_.size()) {
        wasDown = down_[event.vkCode];
        down_[event.vkCode] = !isRelease(event);
    }
    return {classicVirtualKey(event.vkCode), classicKeystrokeFlags(event, wasDown)};
}

HookMessageParams classicMouseParams(WPARAM lowLevelMessage) {
    return {lowLevelMessage, 0};
}

} // namespace kelvo::hook
