#pragma once
// Base of the program's windows: a window whose class is registered under its
// form class name (so tools and tests can find it) and that reports to the
// main form when its creation is complete.
#include "core/MainCycleGate.h"
#include "platform/Window.h"

#include <string>

namespace kelvo {

class Form : public win::Window {
  public:
    int width() const;
    int height() const;
    bool visible() const { return hwnd() && IsWindowVisible(hwnd()); }

  protected:
    // Registers the form's class under its own name, then creates the window.
    bool createForm(const win::WindowCreateArgs& args);
    // The last step of every form's creation.
    void markReady(FormIndex index);
};

// A window whose contents arrive with later work: it exists with its class and
// its saved size, stays hidden and reports ready, so the start order and the
// readiness gate of the main cycle hold.
class HiddenForm : public Form {
  public:
    struct Args {
        const wchar_t* className = nullptr;
        FormIndex readyIndex = kMainFormReady;
        // Settei0.ini section holding Width/Height; empty when the size is not kept.
        const wchar_t* sizeSection = L"";
        int defaultWidth = 0, defaultHeight = 0;
    };
    bool FormCreate(const Args& args);
    const wchar_t* sizeSection() const { return sizeSection_; }

  private:
    const wchar_t* sizeSection_ = L"";
};

} // namespace kelvo
