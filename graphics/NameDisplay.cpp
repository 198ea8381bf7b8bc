#include "graphics/NameDisplay.h"

namespace kelvo {
namespace {

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kDarkGreen = 0x008000;
constexpr int kLabelPadding = 5;
constexpr std::uint32_t kKeyStep = 10;

bool isBlank(wchar_t c) {
    return c <= L' ';
}

std::wstring_view trimBlanks(std::wstring_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::vector<std::wstring> ownLines(std::wstring_view text) {
    std::vector<std::wstring> lines;
    std::wstring line;
    for (size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c == L'\r' || c == L'\n') {
            lines.push_back(line);
            line.clear();
            if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')
                ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty() || lines.empty())
        lines.push_back(line);
    return lines;
}

// A surrogate pair is one character on screen; it is never split.
size_t characterLength(std::wstring_view text, size_t at) {
    const bool pair = at + 1 < text.size() && text[at] >= 0xD800 && text[at] <= 0xDBFF &&
                      text[at + 1] >= 0xDC00 && text[at + 1] <= 0xDFFF;
    return pair ? 2 : 1;
}

std::vector<std::wstring> linesByWidth(std::wstring_view text, int lineLimit,
                                       const TextWidthFn& textWidth) {
    std::vector<std::wstring> lines;
    std::wstring line;
    for (size_t i = 0; i < text.size();) {
        size_t length = characterLength(text, i);
        line.append(text.substr(i, length));
        i += length;
        if (textWidth(line) >= lineLimit) {
            lines.push_back(std::move(line));
            line.clear();
        }
    }
    if (!line.empty())
        lines.push_back(std::move(line));
    return lines;
}

} // namespace

std::wstring defaultLauncherName(int launcherNo) {
    return L"ランチャー" + std::to_wstring(launcherNo);
}

std::wstring launcherCaption(int launcherNo, std::wstring_view launcherName) {
    std::wstring caption = L"(" + std::to_wstring(launcherNo) + L")";
    caption.append(launcherName);
    return std::wstring(trimBlanks(caption));
}

std::wstring captionWithoutSettingsFile(int launcherNo) {
    return launcherCaption(launcherNo, defaultLauncherName(launcherNo));
}

NameLabelWidth nameLabelWidth(int captionTextWidth) {
    const int wanted = captionTextWidth + kLabelPadding;
    if (wanted > kNameLabelMaxWidth)
        return {kNameLabelMaxWidth, true};
    return {wanted, false};
}

int centredLeft(int outerLeft, int outerWidth, int innerWidth) {
    return outerLeft + (outerWidth - innerWidth) / 2;
}

NameColorsFix fixColorClashes(const NameColorsInput& in) {
    const std::uint32_t nameColor = in.backTransparent ? in.fontColor : in.backColor;
    NameColorsFix fix{in.windowColor, in.editColor};
    // The window colour is the transparency key: whatever shares it vanishes.
    if (nameColor == fix.windowColor)
        fix.windowColor = kWhite - nameColor;
    if (fix.editColor == fix.windowColor)
        fix.editColor = nameColor;
    if (in.listColor == fix.windowColor) {
        fix.windowColor = kWhite - in.listColor;
        while (fix.windowColor == nameColor || fix.windowColor == in.listColor)
            fix.windowColor = fix.windowColor < kKeyStep ? kWhite : fix.windowColor - kKeyStep;
    }
    return fix;
}

std::uint32_t outlinedNameBackground(std::uint32_t fontColor, std::uint32_t labelBackColor) {
    // The key must differ from both the face and the outline, or parts of the
    // name would turn transparent.
    if (fontColor != kBlack)
        return labelBackColor != kBlack ? kBlack : kDarkGreen;
    return labelBackColor == kWhite ? kDarkGreen : kWhite;
}

std::vector<std::wstring> outlinedNameLines(std::wstring_view caption, int labelWidth,
                                            const TextWidthFn& textWidth) {
    if (textWidth(caption) <= labelWidth)
        return ownLines(caption);
    return linesByWidth(caption, labelWidth - kLabelPadding, textWidth);
}

std::array<NameStroke, 7> outlinedNameStrokes(int lineIndex, int lineHeight) {
    const int y = lineIndex * lineHeight;
    return {{
        {0, y + 1, NameInk::Outline},
        {2, y + 1, NameInk::Outline},
        {3, y + 1, NameInk::Outline},
        {1, y, NameInk::Outline},
        {1, y + 2, NameInk::Outline},
        {1, y + 3, NameInk::Outline},
        {1, y + 1, NameInk::Face},
    }};
}

OutlinedNamePicture planOutlinedName(const OutlinedNameInput& in, const TextWidthFn& textWidth) {
    OutlinedNamePicture picture;
    picture.width = in.labelWidth + kLabelPadding;
    picture.height = in.labelHeight + kLabelPadding;
    picture.background = outlinedNameBackground(in.fontColor, in.labelBackColor);
    const std::vector<std::wstring> lines = outlinedNameLines(in.caption, in.labelWidth, textWidth);
    for (size_t k = 0; k < lines.size(); ++k) {
        for (const NameStroke& stroke : outlinedNameStrokes(static_cast<int>(k), in.lineHeight)) {
            const std::uint32_t color =
                stroke.ink == NameInk::Face ? in.fontColor : in.labelBackColor;
            picture.strokes.push_back({lines[k], stroke.x, stroke.y, color});
        }
    }
    return picture;
}

} // namespace kelvo
