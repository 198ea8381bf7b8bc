#pragma once
// The item file of one launcher, Settei<N>.ini in the data folder, and the
// favicon bitmaps that belong to its item indices. Each operation opens the
// file, writes exactly the values it changes and closes it again. The values
// one operation writes reach the disk together, in one atomic save, before the
// call returns: there is nothing to flush, and the file never holds half of an
// operation.
//
// Per-item values are keyed by item index in decimal; the JuniNo section is keyed
// by list position and holds item indices.
#include "launcher/ItemModel.h"

#include <string>
#include <vector>

namespace kelvo {

struct LoadedItems {
    bool fileFound = false;     // no file: no items, and nothing was written
    bool orderRepaired = false; // the stored order was broken and launch counts were reset
    LauncherItems launcher;
};

struct LauncherWindowState {
    int X = 0;
    int Y = 0;
    bool IsButtonTop = false;
    int LBHeight = 0;
};

struct AppendedItem {
    int index = 0; // the new item's index: the item count before appending
    std::wstring exeName{};
    std::wstring itemName{};
};

// An item taken over from another launcher.
struct MovedInItem {
    int index = 0; // its index here: the item count before appending
    std::wstring exeName{};
    std::wstring exeFile{};
    std::wstring listText{}; // the source row, possibly with the running marker
    int kidoCount = 0;
    bool minimizeStart = false;
    // The order is written here only when the launcher is sorted by hand;
    // otherwise the re-sort that follows writes it.
    bool manualSort = false;
    // Where the item came from, so that its favicon follows it; 0 = nowhere.
    int fromLauncher = 0;
    int fromIndex = -1;
};

class ItemFile {
  public:
    // `dataDir` ends in a path separator; the favicon folder uses the same one.
    ItemFile(std::wstring dataDir, int launcherNo);

    const std::wstring& path() const { return path_; }
    std::wstring faviconPath(int item) const;

    // Reads every item. A broken order is reset to the identity with all launch
    // counts cleared, in memory and in the file; leftover Item<N>_<i>.bmp files
    // of the loaded indices are deleted.
    LoadedItems load() const;

    void appendItem(const AppendedItem& item) const;
    void moveItemIn(const MovedInItem& item) const;

    // After a launch: every item's launch count and last launch time, and the
    // executable of each item in `identifiedItems`.
    void writeLaunchRecords(const std::vector<TItemData>& items,
                            const std::vector<int>& identifiedItems) const;

    void writeItemName(int item, const std::wstring& name) const;
    void writeComment(int item, const std::wstring& comment) const;
    void writeOrder(const std::vector<int>& juniNo) const;
    void writeOneClick(int item, bool oneClick) const;
    void writeMinimizeStart(int item, bool minimizeStart) const;

    // Removes `removedItems` from a launcher of `itemCount` items: the others move
    // down to close the gaps, with all their values and favicons, the order keeps
    // its sequence, and the keys of the vacated indices are deleted. Returns the
    // mapping old index → new index (−1 = removed) for the in-memory arrays
    // (applyRemoval) and the schedules.
    std::vector<int> removeItems(int itemCount, const std::vector<int>& removedItems) const;

    void writePosition(int x, int y) const;
    void writePositionY(int y) const;
    void writeQuitState(const LauncherWindowState& state) const;
    // X and Y default to 0, IsButtonTop to false, LBHeight to `defaultLBHeight`.
    LauncherWindowState readWindowState(int defaultLBHeight) const;

  private:
    std::wstring dataDir_;
    int launcherNo_;
    std::wstring path_;
};

// Icon\favicon<N>_<i>.bmp in the data folder.
std::wstring faviconPath(const std::wstring& dataDir, int launcherNo, int item);

} // namespace kelvo
