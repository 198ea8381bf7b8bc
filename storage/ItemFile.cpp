#include "storage/ItemFile.h"

#include "storage/FileIO.h"
#include "storage/IniFile.h"

#include <algorithm>
#include <utility>

namespace kelvo {
namespace {

constexpr const wchar_t* kItemCount = L"ItemCount";
constexpr const wchar_t* kValue = L"Value";
constexpr const wchar_t* kExeName = L"ExeName";
constexpr const wchar_t* kExeFile = L"ExeFile";
constexpr const wchar_t* kItemName = L"ItemName";
constexpr const wchar_t* kKidoCount = L"KidoCount";
constexpr const wchar_t* kJuniNo = L"JuniNo";
constexpr const wchar_t* kOneClick = L"OneClick";
constexpr const wchar_t* kMinimizeStart = L"MinimizeStart";
constexpr const wchar_t* kComment = L"Comment";
constexpr const wchar_t* kLastStartTime = L"LastStartTime";
constexpr const wchar_t* kPosition = L"Position";
constexpr const wchar_t* kLBHeight = L"LBHeight";

// Sections keyed by item index. JuniNo is keyed by list position and is
// rewritten as a whole rather than moved key by key.
constexpr const wchar_t* kPerItemSections[] = {
    kExeName, kExeFile, kItemName, kKidoCount, kOneClick, kMinimizeStart, kComment, kLastStartTime,
};

std::wstring key(int index) {
    return std::to_wstring(index);
}

wchar_t separatorOf(const std::wstring& dataDir) {
    return !dataDir.empty() && dataDir.back() == L'/' ? L'/' : L'\\';
}

// Most values an operation rewrites (launch counts and times of the items not
// launched, unchanged list positions) are already stored; leaving those lines
// alone keeps the file as the user last saw it and, when nothing differs at
// all, spares the save.
void writeIfChanged(IniFile& ini, const wchar_t* section, const std::wstring& k,
                    const std::wstring& text) {
    if (ini.valueExists(section, k) && ini.readString(section, k, L"") == text)
        return;
    ini.writeString(section, k, text);
}

TItemData readItem(const IniFile& ini, int index) {
    const std::wstring k = key(index);
    TItemData item;
    item.ExeName = ini.readString(kExeName, k, L"");
    item.ExeFile = ini.readString(kExeFile, k, L"");
    item.KidoCount = ini.readInteger(kKidoCount, k, 0);
    item.OneClick = ini.readBool(kOneClick, k, false);
    item.MinimizeStart = ini.readBool(kMinimizeStart, k, false);
    item.Comment = ini.readString(kComment, k, L"");
    item.LastStartTime = ini.readDateTime(kLastStartTime, k, 0);
    item.ItemName = ini.readString(kItemName, k, L"");
    return item;
}

// A broken order cannot be trusted to say which item was launched how often,
// so the counts go with it.
void resetOrder(IniFile& ini, LauncherItems& launcher) {
    IniFile::Batch batch(ini);
    for (int p = 0; p < launcher.ItemCount(); ++p) {
        launcher.JuniNo[p] = p;
        launcher.Items[p].KidoCount = 0;
        writeIfChanged(ini, kJuniNo, key(p), key(p));
        writeIfChanged(ini, kKidoCount, key(p), L"0");
    }
}

void removeFileIfPresent(const std::wstring& path) {
    if (fileio::fileExists(path))
        fileio::removeFile(path);
}

// Favicons are small bitmaps, so copying and deleting costs nothing and needs no
// file operation beyond those the storage layer already has.
void moveFile(const std::wstring& from, const std::wstring& to) {
    const auto bytes = fileio::readFile(from);
    if (bytes && fileio::writeFileAtomic(to, *bytes))
        fileio::removeFile(from);
}

// Afterwards `to` holds the favicon of `from`, or nothing when it had none, so
// that a stale file never shows up under another item.
void carryFile(const std::wstring& from, const std::wstring& to) {
    if (from == to)
        return;
    if (fileio::fileExists(from))
        moveFile(from, to);
    else
        removeFileIfPresent(to);
}

void moveValue(IniFile& ini, const wchar_t* section, int from, int to) {
    if (ini.valueExists(section, key(from)))
        writeIfChanged(ini, section, key(to), ini.readString(section, key(from), L""));
    else
        ini.deleteKey(section, key(to));
}

void writeOrderTo(IniFile& ini, const std::vector<int>& juniNo) {
    for (int p = 0; p < static_cast<int>(juniNo.size()); ++p)
        writeIfChanged(ini, kJuniNo, key(p), std::to_wstring(juniNo[p]));
}

} // namespace

std::wstring faviconPath(const std::wstring& dataDir, int launcherNo, int item) {
    return dataDir + L"Icon" + separatorOf(dataDir) + L"favicon" + std::to_wstring(launcherNo) +
           L"_" + std::to_wstring(item) + L".bmp";
}

ItemFile::ItemFile(std::wstring dataDir, int launcherNo)
    : dataDir_(std::move(dataDir)), launcherNo_(launcherNo),
      path_(dataDir_ + L"Settei" + std::to_wstring(launcherNo) + L".ini") {}

std::wstring ItemFile::faviconPath(int item) const {
    return kelvo::faviconPath(dataDir_, launcherNo_, item);
}

LoadedItems ItemFile::load() const {
    LoadedItems result;
    if (!fileio::fileExists(path_))
        return result;
    result.fileFound = true;

    IniFile ini(path_);
    LauncherItems& launcher = result.launcher;
    const int count = std::max(ini.readInteger(kItemCount, kValue, 0), 0);
    launcher.Items.reserve(count);
    launcher.JuniNo.reserve(count);
    for (int i = 0; i < count; ++i) {
        launcher.Items.push_back(readItem(ini, i));
        launcher.JuniNo.push_back(ini.readInteger(kJuniNo, key(i), -1));
        // Icons once cached next to the item file; they are drawn from the item now.
        removeFileIfPresent(dataDir_ + L"Item" + std::to_wstring(launcherNo_) + L"_" + key(i) +
                            L".bmp");
    }
    launcher.SavedName.resize(launcher.Items.size());

    if (!isValidOrder(launcher.JuniNo)) {
        resetOrder(ini, launcher);
        result.orderRepaired = true;
    }
    return result;
}

void ItemFile::appendItem(const AppendedItem& item) const {
    IniFile ini(path_);
    IniFile::Batch batch(ini);
    const std::wstring k = key(item.index);
    ini.writeInteger(kItemCount, kValue, item.index + 1);
    ini.writeString(kExeName, k, item.exeName);
    ini.writeString(kItemName, k, item.itemName);
    ini.writeInteger(kKidoCount, k, 0);
    ini.writeInteger(kJuniNo, k, item.index); // a new item takes the last list position
    ini.writeBool(kOneClick, k, false);
}

void ItemFile::moveItemIn(const MovedInItem& item) const {
    {
        IniFile ini(path_);
        IniFile::Batch batch(ini);
        const std::wstring k = key(item.index);
        ini.writeInteger(kItemCount, kValue, item.index + 1);
        ini.writeString(kExeName, k, item.exeName);
        if (item.exeFile.empty())
            ini.deleteKey(kExeFile, k);
        else
            ini.writeString(kExeFile, k, item.exeFile);
        ini.writeString(kItemName, k, withoutRunningMarker(item.listText));
        // Files written by earlier versions spell this section "Kidocount"; names
        // match without regard to case, so both spellings are the same section.
        ini.writeInteger(L"Kidocount", k, item.kidoCount);
        ini.writeBool(kMinimizeStart, k, item.minimizeStart);
        ini.writeBool(kOneClick, k, false); // one-click groups belong to a launcher
        if (item.manualSort)
            ini.writeInteger(kJuniNo, k, item.index);
    } // the item is saved before its favicon follows it

    if (item.fromLauncher > 0 && item.fromIndex >= 0)
        carryFile(kelvo::faviconPath(dataDir_, item.fromLauncher, item.fromIndex),
                  faviconPath(item.index));
}

void ItemFile::writeLaunchRecords(const std::vector<TItemData>& items,
                                  const std::vector<int>& identifiedItems) const {
    IniFile ini(path_);
    IniFile::Batch batch(ini);
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        writeIfChanged(ini, kKidoCount, key(i), std::to_wstring(items[i].KidoCount));
        writeIfChanged(ini, kLastStartTime, key(i), dateTimeToString(items[i].LastStartTime));
    }
    for (const int i : identifiedItems) {
        if (i >= 0 && i < static_cast<int>(items.size()))
            ini.writeString(kExeFile, key(i), items[i].ExeFile);
    }
}

void ItemFile::writeItemName(int item, const std::wstring& name) const {
    IniFile(path_).writeString(kItemName, key(item), name);
}

void ItemFile::writeComment(int item, const std::wstring& comment) const {
    IniFile(path_).writeString(kComment, key(item), comment);
}

void ItemFile::writeOrder(const std::vector<int>& juniNo) const {
    IniFile ini(path_);
    IniFile::Batch batch(ini);
    writeOrderTo(ini, juniNo);
}

void ItemFile::writeOneClick(int item, bool oneClick) const {
    IniFile(path_).writeBool(kOneClick, key(item), oneClick);
}

void ItemFile::writeMinimizeStart(int item, bool minimizeStart) const {
    IniFile(path_).writeBool(kMinimizeStart, key(item), minimizeStart);
}

std::vector<int> ItemFile::removeItems(int itemCount, const std::vector<int>& removedItems) const {
    const std::vector<int> mapping = removalMapping(itemCount, removedItems);
    const int newCount = itemCountAfterRemoval(mapping);
    if (newCount == itemCount)
        return mapping;

    IniFile ini(path_);
    IniFile::Batch batch(ini);
    // Removed items' favicons go first, so that the shifted ones can take their names.
    for (int old = 0; old < itemCount; ++old) {
        if (mapping[old] < 0)
            removeFileIfPresent(faviconPath(old));
    }
    // In ascending order every target index is already free: it belonged to a
    // removed item or to one that has moved down before.
    for (int old = 0; old < itemCount; ++old) {
        const int now = mapping[old];
        if (now < 0 || now == old)
            continue;
        for (const wchar_t* section : kPerItemSections)
            moveValue(ini, section, old, now);
        carryFile(faviconPath(old), faviconPath(now));
    }

    std::vector<int> order;
    for (int p = 0; p < itemCount; ++p)
        order.push_back(ini.readInteger(kJuniNo, key(p), -1));
    writeOrderTo(ini, orderAfterRemoval(order, mapping));

    for (int vacated = newCount; vacated < itemCount; ++vacated) {
        for (const wchar_t* section : kPerItemSections)
            ini.deleteKey(section, key(vacated));
        ini.deleteKey(kJuniNo, key(vacated));
        removeFileIfPresent(faviconPath(vacated));
    }
    ini.writeInteger(kItemCount, kValue, newCount);
    return mapping;
}

void ItemFile::writePosition(int x, int y) const {
    IniFile ini(path_);
    IniFile::Batch batch(ini);
    ini.writeInteger(kPosition, L"X", x);
    ini.writeInteger(kPosition, L"Y", y);
}

void ItemFile::writePositionY(int y) const {
    IniFile(path_).writeInteger(kPosition, L"Y", y);
}

void ItemFile::writeQuitState(const LauncherWindowState& state) const {
    IniFile ini(path_);
    IniFile::Batch batch(ini);
    ini.writeInteger(kPosition, L"X", state.X);
    ini.writeInteger(kPosition, L"Y", state.Y);
    ini.writeBool(kPosition, L"IsButtonTop", state.IsButtonTop);
    ini.writeInteger(kLBHeight, kValue, state.LBHeight);
}

LauncherWindowState ItemFile::readWindowState(int defaultLBHeight) const {
    const IniFile ini(path_);
    LauncherWindowState state;
    state.X = ini.readInteger(kPosition, L"X", 0);
    state.Y = ini.readInteger(kPosition, L"Y", 0);
    state.IsButtonTop = ini.readBool(kPosition, L"IsButtonTop", false);
    state.LBHeight = ini.readInteger(kLBHeight, kValue, defaultLBHeight);
    return state;
}

} // namespace kelvo
