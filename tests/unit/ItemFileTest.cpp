#include "common/TempFolder.h"
#include "storage/FileIO.h"
#include "storage/IniFile.h"
#include "storage/ItemFile.h"
#include "storage/TextCodec.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kelvo {
namespace {

DateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return encodeDateTime({y, mo, d, h, mi, s, 0}).value();
}

const std::wstring kPerItemSections[] = {
    L"ExeName",  L"ExeFile",       L"ItemName", L"KidoCount",
    L"OneClick", L"MinimizeStart", L"Comment",  L"LastStartTime",
};

class ItemFileTest : public ::testing::Test {
  protected:
    static constexpr int kLauncher = 2;
    static constexpr const wchar_t* kFileName = L"Settei2.ini";

    void given(std::wstring_view text) const { folder.writeBytes(kFileName, toCp932(text)); }
    std::string onDisk() const { return folder.readBytes(kFileName); }

    // What a fresh reader finds; "<none>" when the key is absent.
    std::wstring value(const std::wstring& section, int index) const {
        return value(section, std::to_wstring(index));
    }
    std::wstring value(const std::wstring& section, const std::wstring& key) const {
        const IniFile ini(file.path());
        return ini.valueExists(section, key) ? ini.readString(section, key, L"") : L"<none>";
    }

    void givenFavicon(int launcher, int item, std::string_view bytes) const {
        fileio::createDirectories(folder.path() + L"Icon");
        fileio::writeFileAtomic(faviconPath(folder.path(), launcher, item), bytes);
    }
    std::string favicon(int launcher, int item) const {
        return fileio::readFile(faviconPath(folder.path(), launcher, item)).value_or("<none>");
    }

    testsupport::TempFolder folder;
    const ItemFile file{folder.path(), kLauncher};
};

TEST(FaviconPathTest, UsesTheDataFolderSeparator) {
    const struct {
        std::wstring dataDir;
        int launcher, item;
        std::wstring expected;
    } cases[] = {
        {L"C:\\Users\\太郎\\Data\\", 2, 0, L"C:\\Users\\太郎\\Data\\Icon\\favicon2_0.bmp"},
        {L"/tmp/data/", 5, 12, L"/tmp/data/Icon/favicon5_12.bmp"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(faviconPath(c.dataDir, c.launcher, c.item), c.expected);
}

TEST_F(ItemFileTest, MissingFileMeansNoItemsAndNothingWritten) {
    folder.writeBytes(L"Item2_0.bmp", "BM");

    const LoadedItems loaded = file.load();

    EXPECT_FALSE(loaded.fileFound);
    EXPECT_EQ(loaded.launcher.ItemCount(), 0);
    EXPECT_FALSE(folder.exists(kFileName));
    EXPECT_TRUE(folder.exists(L"Item2_0.bmp"));
}

TEST_F(ItemFileTest, LoadsEveryStoredFieldAndIgnoresIndicesBeyondTheCount) {
    given(L"[ItemCount]\r\nValue=2\r\n"
          L"[ExeName]\r\n0=C:\\ツール\\エディタ.lnk\r\n1=https://example.jp/\r\n2=C:\\余り.exe\r\n"
          L"[ExeFile]\r\n0=C:\\ツール\\bin\\エディタ.exe\r\n"
          L"[ItemName]\r\n0=エディタ\r\n1=ニュース\r\n2=余り\r\n"
          L"[KidoCount]\r\n0=12\r\n1=3\r\n"
          L"[JuniNo]\r\n0=1\r\n1=0\r\n"
          L"[OneClick]\r\n1=1\r\n"
          L"[MinimizeStart]\r\n0=1\r\n"
          L"[Comment]\r\n1=毎朝読む\r\n"
          L"[LastStartTime]\r\n0=2016/05/03 9:05:07\r\n");

    const LoadedItems loaded = file.load();

    ASSERT_TRUE(loaded.fileFound);
    EXPECT_FALSE(loaded.orderRepaired);
    const LauncherItems& l = loaded.launcher;
    ASSERT_EQ(l.ItemCount(), 2);
    EXPECT_EQ(l.Items[0], (TItemData{.ItemName = L"エディタ",
                                     .ExeName = L"C:\\ツール\\エディタ.lnk",
                                     .ExeFile = L"C:\\ツール\\bin\\エディタ.exe",
                                     .KidoCount = 12,
                                     .MinimizeStart = true,
                                     .LastStartTime = at(2016, 5, 3, 9, 5, 7)}));
    EXPECT_EQ(l.Items[1], (TItemData{.ItemName = L"ニュース",
                                     .ExeName = L"https://example.jp/",
                                     .KidoCount = 3,
                                     .OneClick = true,
                                     .Comment = L"毎朝読む"}));
    EXPECT_EQ(l.JuniNo, (std::vector<int>{1, 0}));
    EXPECT_EQ(l.SavedName.size(), 2u);
}

TEST_F(ItemFileTest, BrokenOrderIsResetAndLaunchCountsAreLost) {
    const std::wstring items = L"[ItemCount]\r\nValue=3\r\n"
                               L"[ExeName]\r\n0=a.exe\r\n1=b.exe\r\n2=c.exe\r\n"
                               L"[KidoCount]\r\n0=5\r\n1=6\r\n2=7\r\n";
    const struct {
        const char* what;
        std::wstring order;
    } cases[] = {
        {"no JuniNo section", L""},
        {"duplicate", L"[JuniNo]\r\n0=0\r\n1=2\r\n2=2\r\n"},
        {"out of range", L"[JuniNo]\r\n0=0\r\n1=1\r\n2=5\r\n"},
        {"stored as missing", L"[JuniNo]\r\n0=1\r\n1=-1\r\n2=0\r\n"},
        {"key missing", L"[JuniNo]\r\n0=1\r\n2=0\r\n"},
        {"not a number", L"[JuniNo]\r\n0=1\r\n1=x\r\n2=0\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        given(items + c.order);

        const LoadedItems loaded = file.load();

        EXPECT_TRUE(loaded.orderRepaired);
        EXPECT_EQ(loaded.launcher.JuniNo, (std::vector<int>{0, 1, 2}));
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(loaded.launcher.Items[i].KidoCount, 0);
            EXPECT_EQ(value(L"JuniNo", i), std::to_wstring(i));
            EXPECT_EQ(value(L"KidoCount", i), L"0");
        }
        EXPECT_EQ(loaded.launcher.Items[2].ExeName, L"c.exe"); // items keep their indices
    }
}

TEST_F(ItemFileTest, ValidOrderIsKeptAndTheFileLeftAlone) {
    given(L"[ItemCount]\r\nValue=3\r\n[KidoCount]\r\n0=5\r\n1=6\r\n2=7\r\n"
          L"[JuniNo]\r\n0=2\r\n1=0\r\n2=1\r\n");
    const std::string before = onDisk();

    const LoadedItems loaded = file.load();

    EXPECT_FALSE(loaded.orderRepaired);
    EXPECT_EQ(loaded.launcher.JuniNo, (std::vector<int>{2, 0, 1}));
    EXPECT_EQ(loaded.launcher.Items[2].KidoCount, 7);
    EXPECT_EQ(onDisk(), before);
}

TEST_F(ItemFileTest, ReadsStoredValueForms) {
    const struct {
        std::wstring lastStartTime;
        DateTime expectedTime;
        std::wstring oneClick;
        bool expectedOneClick;
    } cases[] = {
        {L"2016/05/03 9:05:07", at(2016, 5, 3, 9, 5, 7), L"2", true},
        {L"2016/05/03", at(2016, 5, 3), L"1", true},
        {L"1899/12/30", 0, L"yes", false},
        {L"", 0, L"0", false},
        {L"先週", 0, L"", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.lastStartTime));
        given(L"[ItemCount]\r\nValue=1\r\n[JuniNo]\r\n0=0\r\n[LastStartTime]\r\n0=" +
              c.lastStartTime + L"\r\n[OneClick]\r\n0=" + c.oneClick + L"\r\n");
        const TItemData item = file.load().launcher.Items.at(0);
        EXPECT_EQ(item.LastStartTime, c.expectedTime);
        EXPECT_EQ(item.OneClick, c.expectedOneClick);
    }
}

TEST_F(ItemFileTest, LaunchCountsUnderEitherSpellingOfTheSection) {
    given(L"[ItemCount]\r\nValue=1\r\n[JuniNo]\r\n0=0\r\n[Kidocount]\r\n0=42\r\n");
    EXPECT_EQ(file.load().launcher.Items.at(0).KidoCount, 42);
}

TEST_F(ItemFileTest, LoadDeletesOldBitmapsOfTheLoadedIndicesOnly) {
    given(L"[ItemCount]\r\nValue=2\r\n[JuniNo]\r\n0=0\r\n1=1\r\n");
    for (const wchar_t* name : {L"Item2_0.bmp", L"Item2_1.bmp", L"Item2_2.bmp", L"Item1_0.bmp"})
        folder.writeBytes(name, "BM");

    file.load();

    EXPECT_FALSE(folder.exists(L"Item2_0.bmp"));
    EXPECT_FALSE(folder.exists(L"Item2_1.bmp"));
    EXPECT_TRUE(folder.exists(L"Item2_2.bmp"));
    EXPECT_TRUE(folder.exists(L"Item1_0.bmp"));
}

TEST_F(ItemFileTest, AppendWritesTheNewItemAtTheLastPosition) {
    given(L"[ItemCount]\r\nValue=2\r\n[ExeName]\r\n0=a.exe\r\n1=b.exe\r\n"
          L"[JuniNo]\r\n0=1\r\n1=0\r\n"
          // Left over from an older table; not part of the new item.
          L"[Comment]\r\n2=古いコメント\r\n");

    file.appendItem({.index = 2, .exeName = L"C:\\新規\\c.exe", .itemName = L"新規"});

    EXPECT_EQ(value(L"ItemCount", L"Value"), L"3");
    EXPECT_EQ(value(L"ExeName", 2), L"C:\\新規\\c.exe");
    EXPECT_EQ(value(L"ItemName", 2), L"新規");
    EXPECT_EQ(value(L"KidoCount", 2), L"0");
    EXPECT_EQ(value(L"JuniNo", 2), L"2");
    EXPECT_EQ(value(L"OneClick", 2), L"0");
    for (const wchar_t* untouched : {L"ExeFile", L"MinimizeStart", L"LastStartTime"})
        EXPECT_EQ(value(untouched, 2), L"<none>") << untouched;
    const LoadedItems loaded = file.load();
    EXPECT_FALSE(loaded.orderRepaired);
    EXPECT_EQ(loaded.launcher.JuniNo, (std::vector<int>{1, 0, 2}));
}

TEST_F(ItemFileTest, AppendCreatesTheFile) {
    file.appendItem({.index = 0, .exeName = L"a.exe", .itemName = L"A"});

    const LoadedItems loaded = file.load();
    ASSERT_EQ(loaded.launcher.ItemCount(), 1);
    EXPECT_EQ(loaded.launcher.Items[0].ItemName, L"A");
    EXPECT_FALSE(loaded.orderRepaired);
}

TEST_F(ItemFileTest, MoveInCarriesTheItemAndItsFavicon) {
    const struct {
        const char* what;
        bool manualSort;
        std::wstring exeFile;
        bool sourceHasFavicon;
        std::wstring expectedJuniNo;
        std::wstring expectedExeFile;
        std::string expectedFavicon;
    } cases[] = {
        {"sorted by hand", true, L"C:\\bin\\メモ.exe", true, L"2", L"C:\\bin\\メモ.exe",
         "favicon of launcher 1, item 4"},
        // A stale favicon under the new index must not become the moved item's.
        {"sorted automatically", false, L"", false, L"<none>", L"<none>", "<none>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        given(L"[ItemCount]\r\nValue=2\r\n[ExeName]\r\n0=a.exe\r\n1=b.exe\r\n"
              L"[KidoCount]\r\n0=1\r\n1=2\r\n[JuniNo]\r\n0=0\r\n1=1\r\n"
              L"[ExeFile]\r\n2=古い.exe\r\n[OneClick]\r\n2=1\r\n");
        fileio::removeFile(faviconPath(folder.path(), 1, 4));
        if (c.sourceHasFavicon)
            givenFavicon(1, 4, "favicon of launcher 1, item 4");
        else
            givenFavicon(kLauncher, 2, "stale");

        file.moveItemIn({.index = 2,
                         .exeName = L"C:\\メモ.lnk",
                         .exeFile = c.exeFile,
                         .listText = L"メモ-起動中",
                         .kidoCount = 9,
                         .minimizeStart = true,
                         .manualSort = c.manualSort,
                         .fromLauncher = 1,
                         .fromIndex = 4});

        EXPECT_EQ(value(L"ItemCount", L"Value"), L"3");
        EXPECT_EQ(value(L"ExeName", 2), L"C:\\メモ.lnk");
        EXPECT_EQ(value(L"ExeFile", 2), c.expectedExeFile);
        EXPECT_EQ(value(L"ItemName", 2), L"メモ");
        EXPECT_EQ(value(L"KidoCount", 2), L"9");
        EXPECT_EQ(value(L"MinimizeStart", 2), L"1");
        EXPECT_EQ(value(L"OneClick", 2), L"0");
        EXPECT_EQ(value(L"JuniNo", 2), c.expectedJuniNo);
        EXPECT_EQ(favicon(kLauncher, 2), c.expectedFavicon);
        EXPECT_EQ(favicon(1, 4), "<none>");
    }
}

TEST_F(ItemFileTest, MoveInToANewFileIsReadBackWithItsLaunchCount) {
    file.moveItemIn(
        {.index = 0, .exeName = L"a.exe", .listText = L"A", .kidoCount = 4, .manualSort = true});

    EXPECT_NE(onDisk().find("[Kidocount]"), std::string::npos);
    const LoadedItems loaded = file.load();
    EXPECT_FALSE(loaded.orderRepaired);
    EXPECT_EQ(loaded.launcher.Items.at(0).KidoCount, 4);
}

TEST_F(ItemFileTest, LaunchRecordsEveryCountAndTimeAndTheIdentifiedExecutable) {
    given(L"[ItemCount]\r\nValue=3\r\n[ExeFile]\r\n0=old0.exe\r\n1=old1.exe\r\n");
    const std::vector<TItemData> items = {
        {.ExeFile = L"new0.exe", .KidoCount = 3, .LastStartTime = at(2016, 5, 3, 9, 5, 7)},
        {.ExeFile = L"C:\\新\\new1.exe", .KidoCount = 0, .LastStartTime = 0},
        {.ExeFile = L"new2.exe", .KidoCount = 1, .LastStartTime = at(2016, 5, 6)},
    };

    file.writeLaunchRecords(items, {1});

    EXPECT_EQ(value(L"KidoCount", 0), L"3");
    EXPECT_EQ(value(L"KidoCount", 1), L"0");
    EXPECT_EQ(value(L"KidoCount", 2), L"1");
    EXPECT_EQ(value(L"LastStartTime", 0), L"2016/05/03 9:05:07");
    EXPECT_EQ(value(L"LastStartTime", 1), L"1899/12/30");
    EXPECT_EQ(value(L"LastStartTime", 2), L"2016/05/06");
    EXPECT_EQ(value(L"ExeFile", 0), L"old0.exe");
    EXPECT_EQ(value(L"ExeFile", 1), L"C:\\新\\new1.exe");
    EXPECT_EQ(value(L"ExeFile", 2), L"<none>");
}

TEST_F(ItemFileTest, SingleValueWritesLandUnderTheItemIndex) {
    given(L"[ItemCount]\r\nValue=2\r\n[ItemName]\r\n0=A\r\n1=B\r\n[JuniNo]\r\n0=0\r\n1=1\r\n");

    file.writeItemName(1, L"新しい名前");
    file.writeComment(0, L"月末に使う");
    file.writeOneClick(1, true);
    file.writeMinimizeStart(0, true);
    file.writeOrder({1, 0});

    const LauncherItems l = file.load().launcher;
    EXPECT_EQ(l.Items[0].ItemName, L"A");
    EXPECT_EQ(l.Items[1].ItemName, L"新しい名前");
    EXPECT_EQ(l.Items[0].Comment, L"月末に使う");
    EXPECT_TRUE(l.Items[1].OneClick);
    EXPECT_FALSE(l.Items[0].OneClick);
    EXPECT_TRUE(l.Items[0].MinimizeStart);
    EXPECT_EQ(l.JuniNo, (std::vector<int>{1, 0}));
}

// Five items whose every value names its item, so that a value under the wrong
// index shows. Items 2 and 3 have no ExeFile, items 0, 1 and 4 have favicons.
class ItemRemovalTest : public ItemFileTest {
  protected:
    static constexpr int kCount = 5;

    void SetUp() override {
        std::wstring text = L"[ItemCount]\r\nValue=5\r\n";
        for (const auto& section : kPerItemSections) {
            text += L"[" + section + L"]\r\n";
            for (int i = 0; i < kCount; ++i) {
                const std::wstring v = storedValue(section, i);
                if (v != L"<none>")
                    text += std::to_wstring(i) + L"=" + v + L"\r\n";
            }
        }
        text += L"[JuniNo]\r\n0=4\r\n1=1\r\n2=0\r\n3=3\r\n4=2\r\n";
        text += L"[Position]\r\nX=10\r\nY=20\r\n";
        given(text);
        for (int i = 0; i < kCount; ++i)
            fileio::removeFile(faviconPath(folder.path(), kLauncher, i));
        for (const int i : {0, 1, 4})
            givenFavicon(kLauncher, i, "icon" + std::to_string(i));
        givenFavicon(1, 3, "other launcher");
    }

    static std::wstring storedValue(const std::wstring& section, int i) {
        const std::wstring n = std::to_wstring(i);
        if (section == L"ExeName")
            return L"C:\\アプリ" + n + L".exe";
        if (section == L"ExeFile")
            return (i == 2 || i == 3) ? L"<none>" : L"C:\\bin\\実体" + n + L".exe";
        if (section == L"ItemName")
            return L"項目" + n;
        if (section == L"KidoCount")
            return std::to_wstring(i * 10 + 1);
        if (section == L"OneClick")
            return std::to_wstring(i % 2);
        if (section == L"MinimizeStart")
            return i == 4 ? L"1" : L"0";
        if (section == L"Comment")
            return L"メモ" + n;
        return L"2016/05/0" + std::to_wstring(i + 1) + L" 9:05:07"; // LastStartTime
    }
};

TEST_F(ItemRemovalTest, ShiftsRemainingItemsDownAndClearsTheVacatedIndices) {
    const struct {
        std::vector<int> removed;
        std::vector<int> mapping;
        std::vector<int> juniNo;
    } cases[] = {
        {{1, 3}, {0, -1, 1, -1, 2}, {2, 0, 1}},      {{3, 1}, {0, -1, 1, -1, 2}, {2, 0, 1}},
        {{0}, {-1, 0, 1, 2, 3}, {3, 0, 2, 1}},       {{4}, {0, 1, 2, 3, -1}, {1, 0, 3, 2}},
        {{0, 1, 2, 3, 4}, {-1, -1, -1, -1, -1}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.removed));
        SetUp();

        const std::vector<int> mapping = file.removeItems(kCount, c.removed);

        EXPECT_EQ(mapping, c.mapping);
        const int newCount = static_cast<int>(c.juniNo.size());
        EXPECT_EQ(value(L"ItemCount", L"Value"), std::to_wstring(newCount));
        for (int old = 0; old < kCount; ++old) {
            const int now = c.mapping[old];
            if (now < 0)
                continue;
            for (const auto& section : kPerItemSections)
                EXPECT_EQ(value(section, now), storedValue(section, old)) << section << now;
            const bool hasIcon = old == 0 || old == 1 || old == 4;
            EXPECT_EQ(favicon(kLauncher, now), hasIcon ? "icon" + std::to_string(old) : "<none>")
                << now;
        }
        for (int p = 0; p < newCount; ++p)
            EXPECT_EQ(value(L"JuniNo", p), std::to_wstring(c.juniNo[p]));
        for (int vacated = newCount; vacated < kCount; ++vacated) {
            for (const auto& section : kPerItemSections)
                EXPECT_EQ(value(section, vacated), L"<none>") << section << vacated;
            EXPECT_EQ(value(L"JuniNo", vacated), L"<none>");
            EXPECT_EQ(favicon(kLauncher, vacated), "<none>");
        }
        EXPECT_EQ(favicon(1, 3), "other launcher");
        EXPECT_EQ(value(L"Position", L"Y"), L"20");
    }
}

TEST_F(ItemRemovalTest, FileAndMemoryAgreeAfterwards) {
    LauncherItems memory = file.load().launcher;
    memory.RunningItems = {4, 1};
    memory.RunningIs64 = {true, false};

    const std::vector<int> mapping = file.removeItems(memory.ItemCount(), {1, 3});
    applyRemoval(memory, mapping);

    const LoadedItems reloaded = file.load();
    EXPECT_FALSE(reloaded.orderRepaired);
    EXPECT_EQ(reloaded.launcher.Items, memory.Items);
    EXPECT_EQ(reloaded.launcher.JuniNo, memory.JuniNo);
    EXPECT_EQ(memory.RunningItems, (std::vector<int>{2}));
    EXPECT_EQ(memory.RunningIs64, (std::vector<bool>{true}));
}

TEST_F(ItemRemovalTest, NothingSelectedChangesNothing) {
    const std::string before = onDisk();
    EXPECT_EQ(file.removeItems(kCount, {}), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(onDisk(), before);
}

TEST_F(ItemFileTest, WindowStateRoundTripsWithDefaults) {
    EXPECT_EQ(file.readWindowState(77).LBHeight, 77);
    EXPECT_EQ(file.readWindowState(77).X, 0);
    EXPECT_FALSE(folder.exists(kFileName));

    file.writeQuitState({.X = -300, .Y = 40, .IsButtonTop = true, .LBHeight = 245});
    file.writePositionY(60);

    const LauncherWindowState state = file.readWindowState(77);
    EXPECT_EQ(state.X, -300);
    EXPECT_EQ(state.Y, 60);
    EXPECT_TRUE(state.IsButtonTop);
    EXPECT_EQ(state.LBHeight, 245);
    EXPECT_EQ(value(L"Position", L"IsButtonTop"), L"1");
}

} // namespace
} // namespace kelvo
