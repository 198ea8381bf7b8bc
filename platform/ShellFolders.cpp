#include "platform/ShellFolders.h"

#include "platform/Handles.h"

#include <shlobj.h>

namespace kelvo::win {

std::wstring specialFolderPath(int csidl) {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)))
        return {};
    return path;
}

std::wstring programFilePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0)
            return {};
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::wstring folderOf(const std::wstring& path) {
    size_t pos = path.find_last_of(L"\\/");
    return pos == std::wstring::npos ? std::wstring() : path.substr(0, pos + 1);
}

std::wstring fileNameOf(const std::wstring& path) {
    size_t pos = path.find_last_of(L"\\/");
    return pos == std::wstring::npos ? path : path.substr(pos + 1);
}

std::vector<std::wstring> folderEntries(const std::wstring& folder) {
    std::vector<std::wstring> names;
    std::wstring pattern = folder;
    if (!pattern.empty() && pattern.back() != L'\\')
        pattern += L'\\';
    pattern += L'*';
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(FindFirstFileW(pattern.c_str(), &data));
    if (!find)
        return names;
    do {
        std::wstring name = data.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (FindNextFileW(find.get(), &data));
    return names;
}

} // namespace kelvo::win
