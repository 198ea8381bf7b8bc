#pragma once
// Where the program keeps everything it remembers, and the names of the files there.
#include <string>

namespace kelvo {

inline constexpr const wchar_t* kGlobalSettingsFile = L"Settei0.ini";
inline constexpr const wchar_t* kFontStyleFile = L"Font.dat";
inline constexpr const wchar_t* kMovedFilesFolder = L"移動されたファイル";

// <Documents>\ルコポ\KelvoLaucherData\ (the folder name is spelt so since the
// first release; changing it would orphan every user's data).
inline std::wstring dataFolderUnder(const std::wstring& documents) {
    std::wstring dir = documents;
    if (!dir.empty() && dir.back() != L'\\' && dir.back() != L'/')
        dir += L'\\';
    return dir + L"ルコポ\\KelvoLaucherData\\";
}

} // namespace kelvo
