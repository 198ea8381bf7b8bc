#include "storage/GlobalSettings.h"

#include "storage/DataFolder.h"
#include "storage/FileIO.h"
#include "storage/IniFile.h"

#include <algorithm>
#include <string>

namespace kelvo {
namespace {

std::wstring launcherKey(int index) {
    return std::to_wstring(index + 1);
}

bool isSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// The folder is kept without a trailing separator, except where that is the
// root itself ("C:\", "/").
std::wstring withoutTrailingSeparator(std::wstring folder) {
    while (folder.size() > 1 && isSeparator(folder.back()) &&
           !(folder.size() == 3 && folder[1] == L':'))
        folder.pop_back();
    return folder;
}

// A count read from the file bounds a loop over its keys; a damaged count must
// not make it run for billions of missing keys.
int boundedCount(const IniFile& ini, const std::wstring& section, const std::wstring& key) {
    const int count = ini.readInteger(section, key, 0);
    const auto keys = static_cast<int>(ini.readSection(section).size());
    return std::clamp(count, 0, keys);
}

void readFont(const IniFile& ini, const GlobalLoadEnvironment& env, GlobalSettings& s) {
    s.fontName = ini.readString(L"FontName", L"Value", env.fallbackFontName);
    if (env.isFontInstalled && !env.isFontInstalled(s.fontName))
        s.fontName = env.fallbackFontName;
    s.fontSize = ini.readInteger(L"FontSize", L"Value", 11);
}

void readVisibility(const IniFile& ini, GlobalSettings& s) {
    for (int i = 0; i < kLauncherCount; ++i) {
        s.launcherHyoji[i] = ini.readBool(L"LauncherHyoji", launcherKey(i), i == 0);
        // Read again when each launcher loads; kept here so the value is whole.
        s.nameFuchidori[i] = ini.readBool(L"NameFuchidori", launcherKey(i), true);
    }
    for (int edge = 0; edge < 4; ++edge)
        s.hyojiMousePos[edge] = ini.readBool(L"HyojiMousePos", std::to_wstring(edge), true);
}

void readBehaviour(IniFile& ini, GlobalSettings& s) {
    s.zKey = ini.readBool(L"ZKey", L"Value", false);
    s.mainKeyCode = ini.readInteger(L"MainKey", L"Code", 29);
    s.mainKeyName = ini.readString(L"MainKey", L"Name", L"無変換");
    s.anime = ini.readBool(L"Anime", L"Value", true);
    s.showButtonNearMouse = ini.readBool(L"ShowButtonNearMouse", L"Value", true);
    s.afterRunHide = ini.readBool(L"AfterRunHide", L"Value", false);
    s.afterShowHide = ini.readBool(L"AfterShowHide", L"Value", false);
    s.afterShowHideSecond = ini.readInteger(L"AfterShowHide", L"Second", 0);
    s.afterShowHideDelaySeconds = s.afterShowHideSecond * 10 + 10;
    s.showItemAnime = ini.readBool(L"ShowItemAnime", L"Value", true);
    s.lbZoomInterval = ini.readInteger(L"LBZoomInterval", L"Value", 100);
    if (s.lbZoomInterval < 100) {
        // Faster steps than this were never meant to be set; the file is mended too.
        s.lbZoomInterval = 100;
        ini.writeInteger(L"LBZoomInterval", L"Value", 100);
    }
}

// [KidoCountSort] was one switch for all launchers: launch count (0) or manual (2).
void readSortModes(IniFile& ini, GlobalSettings& s) {
    if (ini.sectionExists(L"KidoCountSort")) {
        const int mode = ini.readBool(L"KidoCountSort", L"Value", true) ? 0 : 2;
        for (int i = 0; i < kLauncherCount; ++i) {
            s.sortMode[i] = mode;
            ini.writeInteger(L"SortMode", launcherKey(i), mode);
        }
        ini.eraseSection(L"KidoCountSort");
        return;
    }
    for (int i = 0; i < kLauncherCount; ++i)
        s.sortMode[i] = ini.readInteger(L"SortMode", launcherKey(i), 0);
}

// [PositionCenter] chose between the screen centre (0) and no home position (1).
void readPosition(IniFile& ini, GlobalSettings& s) {
    if (ini.valueExists(L"PositionCenter", L"Value")) {
        const bool centre = ini.readBool(L"PositionCenter", L"Value", false);
        ini.writeInteger(L"Position", L"Mode", centre ? 0 : 1);
        ini.eraseSection(L"PositionCenter");
    }
    s.positionMode = ini.readInteger(L"Position", L"Mode", 3);
}

void readActiveWindowButton(const IniFile& ini, GlobalSettings& s) {
    s.hideTaskBarBtn = ini.readBool(L"HideTaskBarBtn", L"Value", true);
    s.onActiveWindowShow = ini.readBool(L"OnActiveWindowShow", L"Value", true);
    s.activeWindowBtnPos = ini.readInteger(L"OnActiveWindowShow", L"BtnPos", 0);
    s.activeWindowAppMode = ini.readInteger(L"OnActiveWindowShow", L"AppMode", 0);
    const int count = boundedCount(ini, L"OnActiveWindowShow", L"AppCount");
    for (int i = 0; i < count; ++i)
        s.activeWindowApps.push_back(
            ini.readString(L"OnActiveWindowShow", L"App" + std::to_wstring(i), L""));
}

} // namespace

GlobalSettings loadGlobalSettings(const GlobalLoadEnvironment& env) {
    GlobalSettings s;
    const std::wstring defaultMoveToDir = env.dataDir + kMovedFilesFolder;
    const std::wstring settingsPath = env.dataDir + kGlobalSettingsFile;
    s.settingsFileExisted = fileio::fileExists(settingsPath);
    if (!s.settingsFileExisted) {
        // First start: the defaults of GlobalSettings; the file is only created
        // by the first setting that is saved.
        s.moveToDir = defaultMoveToDir;
        s.fontName = env.fallbackFontName;
    } else {
        IniFile ini(settingsPath);
        s.moveToDir = ini.readString(L"MoveToDir", L"Value", L"");
        if (s.moveToDir.empty()) // an empty folder name cannot be created or used
            s.moveToDir = defaultMoveToDir;
        readFont(ini, env, s);
        readVisibility(ini, s);
        readBehaviour(ini, s);
        readSortModes(ini, s);
        readPosition(ini, s);
        readActiveWindowButton(ini, s);
    }
    s.moveToDir = withoutTrailingSeparator(s.moveToDir);
    if (!fileio::directoryExists(s.moveToDir))
        fileio::createDirectories(s.moveToDir);
    s.fontStyle = readFontStyle(env.dataDir + kFontStyleFile);
    return s;
}

StartupProgramList readStartupPrograms(const std::wstring& dataDir) {
    StartupProgramList list;
    const std::wstring path = dataDir + kGlobalSettingsFile;
    if (!fileio::fileExists(path))
        return list;
    const IniFile ini(path);
    const int count = boundedCount(ini, L"StartUpRank", L"AppsCount");
    for (int i = 0; i < count; ++i) {
        const std::wstring index = std::to_wstring(i);
        list.fileNames.push_back(ini.readString(L"StartUpRank", L"FileName" + index, L""));
        list.intervals.push_back(ini.readInteger(L"StartUpRank", L"Interval" + index, 0));
    }
    return list;
}

std::uint8_t readFontStyle(const std::wstring& path) {
    const auto bytes = fileio::readFile(path);
    if (!bytes || bytes->empty())
        return 0;
    return static_cast<std::uint8_t>((*bytes)[0]);
}

bool writeFontStyle(const std::wstring& path, std::uint8_t style) {
    return fileio::writeFileAtomic(path, std::string(1, static_cast<char>(style)));
}

} // namespace kelvo
