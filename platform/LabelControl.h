#pragma once
// A child window that shows a caption in a font and colour of its own, centred,
// with or without a background: the launcher's plain name and the name pop-up.
#include "platform/Handles.h"
#include "platform/ChildControl.h"

#include <cstdint>
#include <string>

namespace kelvo::win {

struct LabelStyle {
    std::uint32_t textColor = 0xFFFFFF;  // 0x00BBGGRR
    std::uint32_t backColor = 0x000000;
    bool transparentBack = true;          // the parent's colour shows through
    bool wordWrap = false;
};

class LabelControl : public ChildControl {
  public:
    static constexpr const wchar_t* kClassName = L"KelvoLabel";

    bool create(HWND parent, int id);
    void setCaption(const std::wstring& caption);
    const std::wstring& caption() const { return caption_; }
    // Takes ownership of the font.
    void setFont(HFONT font);
    HFONT font() const { return static_cast<HFONT>(font_.get()); }
    void setStyle(const LabelStyle& style);
    const LabelStyle& style() const { return style_; }
    // The height the caption needs at a given width, in this label's font.
    int textHeightFor(int width) const;

  protected:
    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    void paint();
    std::wstring caption_;
    UniqueGdiObject font_;
    LabelStyle style_;
};

} // namespace kelvo::win
