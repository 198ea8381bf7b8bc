#pragma once
// An item file of the size a well-used launcher reaches: 500 items of 10 keys,
// with Japanese values, for the benchmarks of the INI accessor.
#include <string>
#include <vector>

namespace kelvo::testdata {

inline constexpr int kSampleItemCount = 500;
inline constexpr const wchar_t* kSampleItemKeys[] = {
    L"Name",     L"FileName", L"Param",     L"WorkDir", L"Kidocount",
    L"KidoTime", L"IconFile", L"IconIndex", L"Comment", L"Toroku",
};

struct IniKey {
    std::wstring section;
    std::wstring key;
};

inline std::wstring sampleItemSection(int item) {
    return L"Item" + std::to_wstring(item);
}

inline std::vector<IniKey> sampleItemKeys() {
    std::vector<IniKey> keys;
    for (int item = 0; item < kSampleItemCount; ++item) {
        for (const wchar_t* key : kSampleItemKeys)
            keys.push_back({sampleItemSection(item), key});
    }
    return keys;
}

// The file's text; the caller converts it to code page 932.
inline std::wstring sampleItemFileText() {
    std::wstring text;
    for (int item = 0; item < kSampleItemCount; ++item) {
        const std::wstring n = std::to_wstring(item);
        text += L"[" + sampleItemSection(item) + L"]\r\n";
        text += L"Name=アプリケーション" + n + L"\r\n";
        text += L"FileName=C:\\Program Files\\ルコポ\\ツール" + n + L"\\起動.exe\r\n";
        text += L"Param=/S \"設定ファイル" + n + L".ini\"\r\n";
        text += L"WorkDir=C:\\Users\\太郎\\Documents\\作業" + n + L"\r\n";
        text += L"Kidocount=" + std::to_wstring(item * 7 % 113) + L"\r\n";
        text += L"KidoTime=2016/05/06 7:30:00\r\n";
        text += L"IconFile=C:\\Windows\\System32\\shell32.dll\r\n";
        text += L"IconIndex=" + std::to_wstring(item % 40) + L"\r\n";
        text += L"Comment=毎朝起動するアプリ（" + n + L"番目）\r\n";
        text += L"Toroku=1\r\n";
    }
    return text;
}

} // namespace kelvo::testdata
