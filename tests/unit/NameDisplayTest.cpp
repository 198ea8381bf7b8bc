#include "graphics/NameDisplay.h"

#include "common/FakeFont.h"

#include <gtest/gtest.h>

namespace kelvo {
namespace {

using test::fakeFontWidth;
using test::kFakeFontHeight;

TEST(NameDisplay, CaptionIsTheNumberInParenthesesAndTheTrimmedName) {
    EXPECT_EQ(launcherCaption(3, L"ゲーム"), L"(3)ゲーム");
    EXPECT_EQ(launcherCaption(2, L"仕事 \t "), L"(2)仕事");
    EXPECT_EQ(launcherCaption(5, L""), L"(5)");
    EXPECT_EQ(launcherCaption(1, defaultLauncherName(1)), L"(1)ランチャー1");
    EXPECT_EQ(captionWithoutSettingsFile(4), L"(4)ランチャー4");
}

TEST(NameDisplay, LabelIsTextWidthPlusFiveAndWrapsPast120) {
    struct Case {
        int textWidth;
        int width;
        bool wrap;
    } cases[] = {
        {40, 45, false},
        {115, 120, false}, // exactly 120 still fits on one line
        {116, 120, true},  // wider than 115: a 120-pixel wrapping label
        {400, 120, true},
    };
    for (const Case& c : cases) {
        NameLabelWidth label = nameLabelWidth(c.textWidth);
        EXPECT_EQ(label.width, c.width) << c.textWidth;
        EXPECT_EQ(label.wordWrap, c.wrap) << c.textWidth;
    }
    // "(1)" and 14 letters is 136 pixels in the fake font.
    EXPECT_TRUE(nameLabelWidth(fakeFontWidth(launcherCaption(1, L"ABCDEFGHIJKLMN"))).wordWrap);
}

TEST(NameDisplay, CentringTruncatesTowardZero) {
    EXPECT_EQ(centredLeft(10, 58, 40), 19);
    EXPECT_EQ(centredLeft(0, 58, 57), 0);  // half a pixel is dropped
    EXPECT_EQ(centredLeft(0, 58, 61), -1); // -1.5 becomes -1, not -2
    EXPECT_EQ(centredLeft(0, 58, 120), -31);
}

TEST(NameDisplay, ColourClashesKeepTheNameAndTheListVisible) {
    constexpr std::uint32_t silver = 0xC0C0C0, white = 0xFFFFFF, purple = 0xD84B92;
    struct Case {
        const char* what;
        NameColorsInput in;
        std::uint32_t window, edit;
    } cases[] = {
        {"nothing clashes", {silver, white, true, 0, white, purple}, silver, white},
        {"name colour is the window colour",
         {silver, silver, true, 0, white, purple},
         0x3F3F3F,
         white},
        {"an opaque name background is the name colour",
         {silver, white, false, silver, white, purple},
         0x3F3F3F,
         white},
        {"a transparent background is not",
         {silver, white, true, silver, white, purple},
         silver,
         white},
        {"edit box of the window colour takes the name colour",
         {silver, white, true, 0, silver, purple},
         silver,
         white},
        {"edit box of the new window colour",
         {silver, silver, true, 0, 0x3F3F3F, purple},
         0x3F3F3F,
         silver},
        {"list colour is the window colour",
         {silver, white, true, 0, white, silver},
         0x3F3F3F,
         white},
        {"complement of the list is the name colour: down by 10",
         {silver, 0x3F3F3F, true, 0, white, silver},
         0x3F3F35,
         white},
        {"below 0 the search goes on from white",
         {white, 0x000000, true, 0, silver, white},
         0xFFFFF5,
         silver},
    };
    for (const Case& c : cases) {
        NameColorsFix fix = fixColorClashes(c.in);
        EXPECT_EQ(fix.windowColor, c.window) << c.what;
        EXPECT_EQ(fix.editColor, c.edit) << c.what;
    }
}

TEST(NameDisplay, OutlinedNameBackgroundDiffersFromFaceAndOutline) {
    struct Case {
        std::uint32_t font, back, expected;
    } cases[] = {
        {0xFFFFFF, 0x000000, 0x008000}, {0xFFFFFF, 0x0000FF, 0x000000},
        {0x000000, 0xFFFFFF, 0x008000}, {0x000000, 0x000000, 0xFFFFFF},
        {0x000000, 0x0000FF, 0xFFFFFF},
    };
    for (const Case& c : cases)
        EXPECT_EQ(outlinedNameBackground(c.font, c.back), c.expected)
            << std::hex << c.font << " on " << c.back;
}

TEST(NameDisplay, OutlinedNameLines) {
    const std::wstring pair = {wchar_t(0xD842), wchar_t(0xDFB7)}; // one character, two units
    struct Case {
        const char* what;
        std::wstring caption;
        int labelWidth;
        std::vector<std::wstring> lines;
    } cases[] = {
        {"fits: the caption's own lines", L"(1)ABC", 53, {L"(1)ABC"}},
        {"own line breaks are kept", L"(1)A\r\nB", 60, {L"(1)A", L"B"}},
        // Limit 112: a line ends as soon as it is 112 wide or wider.
        {"ends on reaching the limit",
         L"(1)ABCDEFGHIJKLMNOPQ",
         117,
         {L"(1)ABCDEFGHIJK", L"LMNOPQ"}},
        {"may pass the limit by one character",
         L"(1)ランチャー名前がとても長い",
         120,
         {L"(1)ランチャー名", L"前がとても長い"}},
        {"a surrogate pair stays whole",
         L"(1)ABCDEFGHIJ" + pair + L"K",
         117,
         {L"(1)ABCDEFGHIJ" + pair, L"K"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(outlinedNameLines(c.caption, c.labelWidth, fakeFontWidth), c.lines) << c.what;
}

TEST(NameDisplay, OutlinedNamePlanDrawsSixOutlinesThenTheFacePerLine) {
    OutlinedNameInput in;
    in.caption = L"(1)ABCDEFGHIJKLMNOPQ";
    in.labelWidth = 117;
    in.labelHeight = 2 * kFakeFontHeight;
    in.fontColor = 0xFFFFFF;
    in.labelBackColor = 0x000000;
    in.lineHeight = kFakeFontHeight;
    OutlinedNamePicture plan = planOutlinedName(in, fakeFontWidth);

    EXPECT_EQ(plan.width, 122);
    EXPECT_EQ(plan.height, 31);
    EXPECT_EQ(plan.background, 0x008000u);
    ASSERT_EQ(plan.strokes.size(), 14u);
    const int y = kFakeFontHeight; // second line
    const struct {
        int x, y;
        std::uint32_t color;
    } secondLine[] = {{0, y + 1, 0}, {2, y + 1, 0}, {3, y + 1, 0},       {1, y, 0},
                      {1, y + 2, 0}, {1, y + 3, 0}, {1, y + 1, 0xFFFFFF}};
    for (size_t i = 0; i < 7; ++i) {
        const TextStroke& stroke = plan.strokes[7 + i];
        EXPECT_EQ(stroke.text, L"LMNOPQ");
        EXPECT_EQ(stroke.x, secondLine[i].x) << i;
        EXPECT_EQ(stroke.y, secondLine[i].y) << i;
        EXPECT_EQ(stroke.color, secondLine[i].color) << i;
    }
    EXPECT_EQ(plan.strokes[0].y, 1);
    EXPECT_EQ(plan.strokes[0].text, L"(1)ABCDEFGHIJK");
}

} // namespace
} // namespace kelvo
