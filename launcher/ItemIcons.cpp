#include "launcher/ItemIcons.h"

#include <shellapi.h>
#include <shlobj.h>

namespace kelvo {
namespace {

win::UniqueIcon specialFolderIcon(int csidl) {
    PIDLIST_ABSOLUTE pidl = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &pidl)) || !pidl)
        return {};
    SHFILEINFOW info{};
    SHGetFileInfoW(reinterpret_cast<LPCWSTR>(pidl), 0, &info, sizeof(info),
                   SHGFI_PIDL | SHGFI_ICON | SHGFI_LARGEICON);
    CoTaskMemFree(pidl);
    return win::UniqueIcon(info.hIcon);
}

win::UniqueIcon fileIcon(const std::wstring& path) {
    if (path.empty())
        return {};
    SHFILEINFOW info{};
    if (!SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), SHGFI_ICON | SHGFI_LARGEICON))
        return {};
    return win::UniqueIcon(info.hIcon);
}

} // namespace

win::UniqueIcon loadItemIcon(const TItemData& item) {
    if (auto csidl = specialFolderForItemName(item.ItemName))
        return specialFolderIcon(*csidl);
    return fileIcon(item.ExeName);
}

} // namespace kelvo
