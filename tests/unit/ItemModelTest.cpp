#include "launcher/ItemModel.h"

#include <gtest/gtest.h>

namespace kelvo {
namespace {

TEST(RunningMarkerTest, IsRecognisedAndStrippedOnlyAtTheEnd) {
    const struct {
        std::wstring text;
        bool marked;
        std::wstring stripped;
    } cases[] = {
        {L"メモ帳-起動中", true, L"メモ帳"},
        {L"メモ帳", false, L"メモ帳"},
        {L"-起動中", true, L""},
        {L"A-起動中-起動中", true, L"A-起動中"}, // one marker per call
        {L"A-起動中B", false, L"A-起動中B"},
        {L"起動中", false, L"起動中"},
        {L"", false, L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        EXPECT_EQ(hasRunningMarker(c.text), c.marked);
        EXPECT_EQ(withoutRunningMarker(c.text), c.stripped);
    }
}

TEST(ItemOrderTest, IsValidOnlyAsAPermutation) {
    const struct {
        std::vector<int> juniNo;
        bool valid;
    } cases[] = {
        {{}, true},         {{0}, true},         {{2, 0, 1}, true}, {{0, 2, 2}, false},
        {{0, 1, 5}, false}, {{0, -1, 1}, false}, {{1, 1}, false},   {{3, 0, 1}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.juniNo));
        EXPECT_EQ(isValidOrder(c.juniNo), c.valid);
    }
}

TEST(RemovalMappingTest, NumbersTheRemainingItemsWithoutGaps) {
    const struct {
        int count;
        std::vector<int> removed;
        std::vector<int> mapping;
    } cases[] = {
        {5, {1, 3}, {0, -1, 1, -1, 2}},
        {3, {0}, {-1, 0, 1}},
        {3, {2}, {0, 1, -1}},
        {3, {}, {0, 1, 2}},
        {3, {0, 1, 2}, {-1, -1, -1}},
        {3, {1, 1}, {0, -1, 1}},
        {3, {-1, 3, 7}, {0, 1, 2}}, // indices outside the table are ignored
        {0, {0}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.removed));
        EXPECT_EQ(removalMapping(c.count, c.removed), c.mapping);
    }
}

TEST(RemovalMappingTest, OrderKeepsItsSequenceAndStaysAPermutation) {
    const std::vector<int> removeOneAndThree = {0, -1, 1, -1, 2};
    const struct {
        std::vector<int> juniNo;
        std::vector<int> expected;
    } cases[] = {
        {{4, 1, 0, 3, 2}, {2, 0, 1}},
        {{0, 1, 2, 3, 4}, {0, 1, 2}},
        {{3, 1, 4, 2, 0}, {2, 1, 0}},
        // A damaged order still comes out whole: bad entries drop out and the
        // items they lost are appended in index order.
        {{4, 4, -1, 9, 1}, {2, 0, 1}},
        {{}, {0, 1, 2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.juniNo));
        EXPECT_EQ(orderAfterRemoval(c.juniNo, removeOneAndThree), c.expected);
    }
}

TEST(RemovalMappingTest, AppliesToRecordsSavedNamesAndRunningList) {
    LauncherItems launcher;
    for (const wchar_t* name : {L"A", L"B", L"C", L"D"})
        appendItem(launcher, TItemData{.ItemName = name});
    launcher.SavedName = {L"A", L"B", L"C", L"D"};
    launcher.JuniNo = {3, 2, 1, 0};
    launcher.RunningItems = {3, 1, 0};
    launcher.RunningIs64 = {true, false, false};

    applyRemoval(launcher, removalMapping(4, {1}));

    ASSERT_EQ(launcher.ItemCount(), 3);
    EXPECT_EQ(launcher.Items[0].ItemName, L"A");
    EXPECT_EQ(launcher.Items[1].ItemName, L"C");
    EXPECT_EQ(launcher.Items[2].ItemName, L"D");
    EXPECT_EQ(launcher.SavedName, (std::vector<std::wstring>{L"A", L"C", L"D"}));
    EXPECT_EQ(launcher.JuniNo, (std::vector<int>{2, 1, 0}));
    // The removed item leaves the running list; the flags stay with their items.
    EXPECT_EQ(launcher.RunningItems, (std::vector<int>{2, 0}));
    EXPECT_EQ(launcher.RunningIs64, (std::vector<bool>{true, false}));
}

TEST(ItemModelTest, AppendedItemTakesTheLastListPosition) {
    LauncherItems launcher;
    appendItem(launcher, TItemData{.ItemName = L"A"});
    appendItem(launcher, TItemData{.ItemName = L"B"});
    launcher.JuniNo = {1, 0};

    EXPECT_EQ(appendItem(launcher, TItemData{.ItemName = L"C"}), 2);
    EXPECT_EQ(launcher.JuniNo, (std::vector<int>{1, 0, 2}));
    EXPECT_EQ(launcher.SavedName.size(), 3u);
}

TEST(ItemModelTest, SpecialFoldersAreKnownByTheirExactNames) {
    const struct {
        std::wstring name;
        std::optional<int> folder;
    } cases[] = {
        {L"コンピューター", 17},         {L"マイコンピュータ", 17},
        {L"コントロールパネル", 3},      {L"ゴミ箱", 10},
        {L"ごみ箱", std::nullopt},       {L"ゴミ箱-起動中", std::nullopt},
        {L"ドキュメント", std::nullopt}, {L"", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.name));
        EXPECT_EQ(specialFolderForItemName(c.name), c.folder);
    }
}

TEST(ItemModelTest, DefaultListHeightIsCappedAtHalfTheScreen) {
    const struct {
        int itemHeight, itemCount, screenHeight, expected;
    } cases[] = {
        {18, 0, 1080, 5},     {18, 3, 1080, 59},
        {18, 29, 1080, 527},  {18, 30, 1080, 540}, // 545 would pass the middle of the screen
        {18, 100, 1081, 540},                      // half by integer division
        {24, 10, 768, 245},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.itemCount);
        EXPECT_EQ(defaultListHeight(c.itemHeight, c.itemCount, c.screenHeight), c.expected);
    }
}

} // namespace
} // namespace kelvo
