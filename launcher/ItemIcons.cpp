#include "launcher/ItemIcons.h"

#include "core/TextCompare.h"

#include <shellapi.h>
#include <shlobj.h>

#include <map>

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

// The extension of a path's file name in lower case, or empty.
std::wstring extensionOf(const std::wstring& path) {
    const size_t name = path.find_last_of(L"\\/");
    const size_t dot = path.find_last_of(L'.');
    if (dot == std::wstring::npos || (name != std::wstring::npos && dot < name))
        return {};
    std::wstring extension = path.substr(dot);
    for (wchar_t& c : extension)
        c = foldCase(c);
    return extension;
}

// Files whose icon is their own rather than their type's.
bool hasOwnIcon(const std::wstring& extension) {
    static const wchar_t* const own[] = {L".exe", L".lnk", L".ico", L".url", L".cpl",
                                         L".scr", L".msc", L".dll", L".pif", L".appref-ms"};
    for (const wchar_t* e : own)
        if (extension == e)
            return true;
    return false;
}

// A document shows the icon of its type; asking the shell once per type instead
// of once per file keeps a launcher of thousands of documents quick to load.
win::UniqueIcon documentTypeIcon(const std::wstring& extension) {
    static std::map<std::wstring, win::UniqueIcon> byType;
    auto found = byType.find(extension);
    if (found == byType.end()) {
        SHFILEINFOW info{};
        const std::wstring probe = L"x" + extension;
        SHGetFileInfoW(probe.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                       SHGFI_USEFILEATTRIBUTES | SHGFI_ICON | SHGFI_LARGEICON);
        found = byType.emplace(extension, win::UniqueIcon(info.hIcon)).first;
    }
    return win::UniqueIcon(found->second ? CopyIcon(found->second.get()) : nullptr);
}

} // namespace

win::UniqueIcon loadItemIcon(const TItemData& item) {
    if (auto csidl = specialFolderForItemName(item.ItemName))
        return specialFolderIcon(*csidl);
    const std::wstring extension = extensionOf(item.ExeName);
    const DWORD attributes = GetFileAttributesW(item.ExeName.c_str());
    const bool isFolder =
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    if (!extension.empty() && !isFolder && !hasOwnIcon(extension))
        return documentTypeIcon(extension);
    return fileIcon(item.ExeName);
}

} // namespace kelvo
