#pragma once
// The registered items of one launcher as the program holds them: one record per
// item by item index, the list order, and the applications being followed.
// Plain records and arrays; every array indexed by item index has one element
// per item, and the helpers below grow and shrink them together.
#include "storage/DateTime.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kelvo {

// Appended to a row's text while the item's application is followed.
inline constexpr const wchar_t* kRunningMarker = L"-起動中";

bool hasRunningMarker(const std::wstring& text);
// The text without one trailing marker; other text comes back unchanged.
std::wstring withoutRunningMarker(const std::wstring& text);

// Every member has an initialiser, so that a record can be built naming only
// the fields that matter (designated initialisers) without a warning.
struct TItemData {
    std::wstring ItemName{}; // display name as stored, never with the running marker
    std::wstring ExeName{};  // what the item opens
    std::wstring ExeFile{};  // the executable of its application as last identified
    int KidoCount = 0;
    std::uintptr_t MainWnd = 0; // window handle of the application last launched
    std::uint32_t ProcessId = 0;
    bool OneClick = false;
    bool MinimizeStart = false;
    bool WindowFixed = false; // started as an extra instance: its window is not re-learned
    std::wstring Comment{};
    DateTime LastStartTime = 0; // 0 = never launched

    bool operator==(const TItemData&) const = default;
};

struct LauncherItems {
    std::vector<TItemData> Items;        // by item index
    std::vector<int> JuniNo;             // item index by list position
    std::vector<std::wstring> SavedName; // by item index: row text before the marker
    std::vector<int> RunningItems;       // followed items, in launch order
    std::vector<bool> RunningIs64;       // parallel to RunningItems

    int ItemCount() const { return static_cast<int>(Items.size()); }
    int RunCount() const { return static_cast<int>(RunningItems.size()); }
};

// True when `juniNo` holds each of 0 .. size − 1 exactly once. The range is
// checked before an entry is used to look for duplicates.
bool isValidOrder(const std::vector<int>& juniNo);

// Appends the item at the last list position; returns its item index.
int appendItem(LauncherItems& launcher, const TItemData& item);

// Old item index → new item index, or −1 for a removed item. The remaining items
// are numbered from 0 without gaps in their old order. Indices outside
// 0 .. itemCount − 1 in `removedItems` are ignored.
std::vector<int> removalMapping(int itemCount, const std::vector<int>& removedItems);

int itemCountAfterRemoval(const std::vector<int>& mapping);

// The list order after a removal: removed items leave their positions, the rest
// keep their sequence under their new indices. Entries that were already broken
// (out of range, repeated) are dropped and missing items appended in index order,
// so the result is always a permutation.
std::vector<int> orderAfterRemoval(const std::vector<int>& juniNo, const std::vector<int>& mapping);

// Applies a removal mapping to the records, the order, the saved names and the
// running list, as the item file's removal does to the file.
void applyRemoval(LauncherItems& launcher, const std::vector<int>& mapping);

// Shell folders whose icon comes from the folder itself rather than from the
// item's target; the value is the folder's CSIDL.
std::optional<int> specialFolderForItemName(const std::wstring& itemName);

// List height when none is stored: every row plus a margin, at most half the screen.
int defaultListHeight(int itemHeight, int itemCount, int screenHeight);

} // namespace kelvo
