#pragma once
// Base of the program's own child controls: creation inside a parent and the
// geometry and visibility calls every control needs.
#include "platform/Window.h"

namespace kelvo::win {

class ChildControl : public Window {
  public:
    void setBounds(int left, int top, int width, int height);
    void setVisible(bool visible);
    bool visible() const;
    RECT bounds() const; // in the parent's client coordinates

  protected:
    bool createChild(const wchar_t* className, HWND parent, int id);
    // The parent's background brush (its colour is the window's transparency key).
    HBRUSH parentBackground(HDC dc) const;
};

} // namespace kelvo::win
