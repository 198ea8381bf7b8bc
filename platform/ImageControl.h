#pragma once
// A child window that shows a bitmap with one colour treated as transparent,
// like an image control with a transparent colour. Mouse input goes to a
// handler set by the owner, so several images can share one set of handlers.
#include "platform/Handles.h"
#include "platform/ChildControl.h"

#include <cstdint>
#include <functional>

namespace kelvo::win {

enum class MouseAction { Enter, Move, Down, Up, Leave };
enum class MouseButton { None, Left, Right, Middle };

struct MouseEvent {
    MouseAction action = MouseAction::Move;
    MouseButton button = MouseButton::None;
    int x = 0, y = 0; // in the control
    WPARAM keys = 0;  // MK_* flags at the time of the event
};

class ImageControl : public ChildControl {
  public:
    static constexpr const wchar_t* kClassName = L"KelvoImage";

    bool create(HWND parent, int id);
    // Takes ownership of the bitmap; `transparent` is a 0x00BBGGRR colour.
    void setBitmap(HBITMAP bitmap, std::uint32_t transparent);
    // Shows an icon drawn at the control's size; the icon stays the caller's.
    void setIcon(HICON icon);
    void clear();
    HBITMAP bitmap() const { return static_cast<HBITMAP>(bitmap_.get()); }
    bool hasPicture() const { return bitmap_ || icon_ != nullptr; }

    std::function<void(const MouseEvent&)> onMouse;

  protected:
    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    void paint();
    void notify(MouseAction action, MouseButton button, WPARAM keys, LPARAM at);
    UniqueGdiObject bitmap_;
    HICON icon_ = nullptr;
    std::uint32_t transparent_ = 0;
    bool tracking_ = false;
};

} // namespace kelvo::win
