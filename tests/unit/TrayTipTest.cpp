#include "core/TrayTip.h"
#include "storage/TextCodec.h"

#include <gtest/gtest.h>

namespace kelvo {
namespace {

TEST(TrayTip, NamesTheMainKey) {
    EXPECT_EQ(trayTipForMainKey(L"無変換"), L"ケルボランチャー\r表示するときのキー:[無変換]");
    EXPECT_EQ(trayTipForMainKey(L"F12"), L"ケルボランチャー\r表示するときのキー:[F12]");
    EXPECT_EQ(initialTrayTip(), L"ケルボランチャー");
}

TEST(TrayTip, ALongTipIsCutTo127BytesWithoutSplittingACharacter) {
    // 41 bytes of fixed text, then a name of double-byte characters: the cut
    // must fall between characters, never inside one.
    std::wstring tip = trayTipForMainKey(std::wstring(60, L'漢'));
    EXPECT_LE(toCp932(tip).size(), 127u);
    EXPECT_GE(toCp932(tip).size(), 126u);
    EXPECT_EQ(fromCp932(toCp932(tip)), tip);

    std::wstring ascii = fitTrayTip(std::wstring(200, L'a'));
    EXPECT_EQ(ascii.size(), 127u);
    EXPECT_EQ(fitTrayTip(L"短い"), L"短い");
}

} // namespace
} // namespace kelvo
