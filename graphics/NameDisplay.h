#pragma once
// The launcher's name under its button: the caption, the size and place of
// the plain label, the colour key that must not clash with visible colours,
// and the outlined rendering. Colours are 0x00BBGGRR, already resolved.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvo {

// Pixel width of a text in the font in use; native tests pass a fake font.
using TextWidthFn = std::function<int(std::wstring_view)>;

std::wstring defaultLauncherName(int launcherNo);
// "(N)" + the name, blanks trimmed from both ends.
std::wstring launcherCaption(int launcherNo, std::wstring_view launcherName);
// Without a global settings file the stored names are not consulted.
std::wstring captionWithoutSettingsFile(int launcherNo);

inline constexpr int kNameLabelMaxWidth = 120;

struct NameLabelWidth {
    int width = 0;
    bool wordWrap = false;
};
NameLabelWidth nameLabelWidth(int captionTextWidth);

// Left edge that centres a control of innerWidth over another; the halving
// truncates toward zero, so a wider control leans one pixel to the right.
int centredLeft(int outerLeft, int outerWidth, int innerWidth);

struct NameColorsInput {
    std::uint32_t windowColor = 0; // also the transparency key
    std::uint32_t fontColor = 0;
    bool backTransparent = true;
    std::uint32_t backColor = 0;
    std::uint32_t editColor = 0;
    std::uint32_t listColor = 0;
};

struct NameColorsFix {
    std::uint32_t windowColor = 0; // make this the transparency key
    std::uint32_t editColor = 0;
};
NameColorsFix fixColorClashes(const NameColorsInput& in);

// Colour that fills the outlined name picture and serves as its key.
std::uint32_t outlinedNameBackground(std::uint32_t fontColor, std::uint32_t labelBackColor);

std::vector<std::wstring> outlinedNameLines(std::wstring_view caption, int labelWidth,
                                            const TextWidthFn& textWidth);

enum class NameInk { Outline, Face }; // the label's background colour, its font colour

struct NameStroke {
    int x = 0;
    int y = 0;
    NameInk ink = NameInk::Outline;
};
// Six outline strokes around the face, then the face itself, for line k.
std::array<NameStroke, 7> outlinedNameStrokes(int lineIndex, int lineHeight);

struct TextStroke {
    std::wstring text;
    int x = 0;
    int y = 0;
    std::uint32_t color = 0;
};

struct OutlinedNameInput {
    std::wstring caption;
    int labelWidth = 0;
    int labelHeight = 0;
    std::uint32_t fontColor = 0xFFFFFF;
    std::uint32_t labelBackColor = 0;
    int lineHeight = 0; // text height in the caption font
};

// Everything the window side needs to paint the outlined name: fill a
// width x height picture with background (also its transparent colour), then
// draw the strokes in order.
struct OutlinedNamePicture {
    int width = 0;
    int height = 0;
    std::uint32_t background = 0;
    std::vector<TextStroke> strokes;
};
OutlinedNamePicture planOutlinedName(const OutlinedNameInput& in, const TextWidthFn& textWidth);

} // namespace kelvo
