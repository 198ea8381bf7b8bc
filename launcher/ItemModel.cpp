#include "launcher/ItemModel.h"

#include <algorithm>
#include <string_view>

namespace kelvo {
namespace {

constexpr std::wstring_view kMarker = kRunningMarker;

// Shell folder identifiers (CSIDL values), spelt out so that this file needs no
// Windows header.
constexpr int kFolderDrives = 17;
constexpr int kFolderControlPanel = 3;
constexpr int kFolderRecycleBin = 10;

template <typename T> void keepSurvivors(std::vector<T>& values, const std::vector<int>& mapping) {
    std::vector<T> kept;
    kept.reserve(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i < mapping.size() && mapping[i] >= 0)
            kept.push_back(std::move(values[i]));
    }
    values = std::move(kept);
}

void followRunningItems(LauncherItems& launcher, const std::vector<int>& mapping) {
    std::vector<int> items;
    std::vector<bool> is64;
    for (std::size_t k = 0; k < launcher.RunningItems.size(); ++k) {
        const int item = launcher.RunningItems[k];
        if (item < 0 || item >= static_cast<int>(mapping.size()) || mapping[item] < 0)
            continue;
        items.push_back(mapping[item]);
        is64.push_back(k < launcher.RunningIs64.size() && launcher.RunningIs64[k]);
    }
    launcher.RunningItems = std::move(items);
    launcher.RunningIs64 = std::move(is64);
}

} // namespace

bool hasRunningMarker(const std::wstring& text) {
    return std::wstring_view(text).ends_with(kMarker);
}

std::wstring withoutRunningMarker(const std::wstring& text) {
    if (!hasRunningMarker(text))
        return text;
    return text.substr(0, text.size() - kMarker.size());
}

bool isValidOrder(const std::vector<int>& juniNo) {
    const int count = static_cast<int>(juniNo.size());
    std::vector<bool> seen(juniNo.size(), false);
    for (const int item : juniNo) {
        if (item < 0 || item >= count)
            return false;
        if (seen[item])
            return false;
        seen[item] = true;
    }
    return true;
}

int appendItem(LauncherItems& launcher, const TItemData& item) {
    const int index = launcher.ItemCount();
    launcher.Items.push_back(item);
    launcher.SavedName.resize(launcher.Items.size());
    launcher.JuniNo.push_back(index);
    return index;
}

std::vector<int> removalMapping(int itemCount, const std::vector<int>& removedItems) {
    std::vector<int> mapping(static_cast<std::size_t>(std::max(itemCount, 0)), 0);
    for (const int item : removedItems) {
        if (item >= 0 && item < itemCount)
            mapping[item] = -1;
    }
    int next = 0;
    for (int& newIndex : mapping) {
        if (newIndex == 0)
            newIndex = next++;
    }
    return mapping;
}

int itemCountAfterRemoval(const std::vector<int>& mapping) {
    return static_cast<int>(
        std::count_if(mapping.begin(), mapping.end(), [](int newIndex) { return newIndex >= 0; }));
}

std::vector<int> orderAfterRemoval(const std::vector<int>& juniNo,
                                   const std::vector<int>& mapping) {
    const int newCount = itemCountAfterRemoval(mapping);
    std::vector<bool> placed(static_cast<std::size_t>(newCount), false);
    std::vector<int> order;
    order.reserve(placed.size());
    for (const int item : juniNo) {
        if (item < 0 || item >= static_cast<int>(mapping.size()))
            continue;
        const int newIndex = mapping[item];
        if (newIndex < 0 || placed[newIndex])
            continue;
        placed[newIndex] = true;
        order.push_back(newIndex);
    }
    for (int item = 0; item < newCount; ++item) {
        if (!placed[item])
            order.push_back(item);
    }
    return order;
}

void applyRemoval(LauncherItems& launcher, const std::vector<int>& mapping) {
    launcher.JuniNo = orderAfterRemoval(launcher.JuniNo, mapping);
    keepSurvivors(launcher.Items, mapping);
    keepSurvivors(launcher.SavedName, mapping);
    launcher.SavedName.resize(launcher.Items.size());
    followRunningItems(launcher, mapping);
}

std::optional<int> specialFolderForItemName(const std::wstring& itemName) {
    static const struct {
        std::wstring_view name;
        int folder;
    } kSpecialFolders[] = {
        {L"コンピューター", kFolderDrives},
        {L"マイコンピュータ", kFolderDrives},
        {L"コントロールパネル", kFolderControlPanel},
        {L"ゴミ箱", kFolderRecycleBin},
    };
    for (const auto& entry : kSpecialFolders) {
        if (itemName == entry.name)
            return entry.folder;
    }
    return std::nullopt;
}

int defaultListHeight(int itemHeight, int itemCount, int screenHeight) {
    constexpr int kListMargin = 5;
    return std::min(itemHeight * itemCount + kListMargin, screenHeight / 2);
}

} // namespace kelvo
