#pragma once
// Translation of low-level input events into the parameters a classic keyboard
// or mouse hook reports, so that the program reads the same messages whichever
// kind of hook produced them. Pure: no Windows calls, only the event fields.
#include <windows.h>

#include <bitset>

namespace kelvo::hook {

struct HookMessageParams {
    WPARAM wParam;
    LPARAM lParam;

    bool operator==(const HookMessageParams&) const = default;
};

// Turns the key events of a low-level keyboard hook into (virtual key, keystroke
// flags) as a classic hook reports them. A low-level hook tells left and right
// Shift, Ctrl and Alt apart, the classic one names the generic VK_SHIFT,
// VK_CONTROL and VK_MENU, which is what the program compares with its keys. A
// low-level hook does not say whether a key-down is an auto-repeat, so the
// translator remembers which keys are down; feed it every event, in order.
class KeystrokeTranslator {
  public:
    HookMessageParams translate(const KBDLLHOOKSTRUCT& event);

  private:
    std::bitset<256> down_;
};

// A classic mouse hook reports the mouse message, which is exactly what the
// low-level hook receives as its wParam; the program wants no position.
HookMessageParams classicMouseParams(WPARAM lowLevelMessage);

} // namespace kelvo::hook
