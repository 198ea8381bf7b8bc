#pragma once
// The global settings file Settei0.ini as the launchers read it at start, with
// the conversions of superseded keys, and the one-byte font style file.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kelvo {

inline constexpr int kLauncherCount = 5;

struct GlobalSettings {
    bool settingsFileExisted = false; // no Settei0.ini means the first start

    std::wstring moveToDir;                  // no trailing backslash
    std::array<bool, 4> hyojiMousePos{true, true, true, true}; // left, right, top, bottom
    bool zKey = false;
    int mainKeyCode = 29;
    std::wstring mainKeyName = L"無変換";
    bool anime = true;
    bool showButtonNearMouse = true;
    bool afterRunHide = false;
    bool afterShowHide = false;
    int afterShowHideSecond = 0;        // as stored, 0..5
    int afterShowHideDelaySeconds = 10; // Second * 10 + 10
    bool showItemAnime = true;
    int lbZoomInterval = 100;
    std::array<int, kLauncherCount> sortMode{0, 0, 0, 0, 0};
    std::array<bool, kLauncherCount> nameFuchidori{true, true, true, true, true};
    std::array<bool, kLauncherCount> launcherHyoji{true, false, false, false, false};
    int positionMode = 3;
    bool hideTaskBarBtn = true;
    bool onActiveWindowShow = true;
    int activeWindowBtnPos = 0;
    int activeWindowAppMode = 0;
    std::vector<std::wstring> activeWindowApps;
    std::wstring fontName;
    int fontSize = 11;
    std::uint8_t fontStyle = 0; // bit 0 bold, 1 italic, 2 underline, 3 strike-out
};

struct GlobalLoadEnvironment {
    std::wstring dataDir;          // ends in a backslash
    std::wstring fallbackFontName; // the system's icon-title font
    std::function<bool(const std::wstring&)> isFontInstalled;
};

// Reads Settei0.ini and Font.dat, converts superseded keys in the file, and
// creates the folder for moved files when it is missing.
GlobalSettings loadGlobalSettings(const GlobalLoadEnvironment& env);

// The programs started in order after logon ([StartUpRank]); empty when the
// settings file does not exist.
struct StartupProgramList {
    std::vector<std::wstring> fileNames;
    std::vector<int> intervals; // seconds, one per file name
};
StartupProgramList readStartupPrograms(const std::wstring& dataDir);

std::uint8_t readFontStyle(const std::wstring& path); // 0 when the file is absent or empty
bool writeFontStyle(const std::wstring& path, std::uint8_t style);

} // namespace kelvo
