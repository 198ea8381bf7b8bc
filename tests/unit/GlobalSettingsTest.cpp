#include "common/TempFolder.h"
#include "storage/DataFolder.h"
#include "storage/FileIO.h"
#include "storage/GlobalSettings.h"
#include "storage/IniFile.h"

#include <gtest/gtest.h>

#include <set>

namespace kelvo {
namespace {

constexpr wchar_t kSep = testsupport::TempFolder::kSeparator;

class GlobalSettingsTest : public ::testing::Test {
  protected:
    GlobalSettingsTest() {
        env.dataDir = folder.path();
        env.fallbackFontName = L"Yu Gothic UI";
        env.isFontInstalled = [this](const std::wstring& name) {
            return installedFonts.count(name) > 0;
        };
    }

    void given(std::string_view settei0) const { folder.writeBytes(kGlobalSettingsFile, settei0); }
    std::string settei0() const { return folder.readBytes(kGlobalSettingsFile); }
    IniFile settingsFile() const { return IniFile(folder.file(kGlobalSettingsFile)); }

    testsupport::TempFolder folder;
    std::set<std::wstring> installedFonts{L"Yu Gothic UI", L"ＭＳ Ｐゴシック"};
    GlobalLoadEnvironment env;
};

TEST_F(GlobalSettingsTest, FirstStartUsesTheDefaultsAndCreatesOnlyTheMovedFilesFolder) {
    // No data folder yet either: the load creates it on the way.
    env.dataDir = folder.path() + L"ルコポ" + kSep + L"KelvoLaucherData" + kSep;
    const GlobalSettings s = loadGlobalSettings(env);

    EXPECT_FALSE(s.settingsFileExisted);
    EXPECT_EQ(s.moveToDir, env.dataDir + L"移動されたファイル");
    EXPECT_TRUE(fileio::directoryExists(s.moveToDir));
    EXPECT_FALSE(fileio::fileExists(env.dataDir + kGlobalSettingsFile));
    EXPECT_EQ(s.fontName, L"Yu Gothic UI");
    EXPECT_EQ(s.fontSize, 11);
    EXPECT_EQ(s.fontStyle, 0);
    EXPECT_EQ(s.mainKeyCode, 29);
    EXPECT_EQ(s.mainKeyName, L"無変換");
    EXPECT_EQ(s.lbZoomInterval, 100);
    EXPECT_EQ(s.positionMode, 3);
    EXPECT_TRUE(s.anime);
    EXPECT_TRUE(s.showButtonNearMouse);
    EXPECT_EQ(s.hyojiMousePos, (std::array<bool, 4>{true, true, true, true}));
    EXPECT_EQ(s.launcherHyoji, (std::array<bool, 5>{true, false, false, false, false}));
    EXPECT_EQ(s.sortMode, (std::array<int, 5>{0, 0, 0, 0, 0}));
    EXPECT_EQ(s.nameFuchidori, (std::array<bool, 5>{true, true, true, true, true}));
}

TEST_F(GlobalSettingsTest, ReadsEverySettingOfTheFile) {
    const std::wstring moveTo = folder.path() + L"倉庫" + kSep + L"移動先";
    given(toCp932(L"[MoveToDir]\r\nValue=" + moveTo + kSep +
                  L"\r\n"
                  L"[FontName]\r\nValue=ＭＳ Ｐゴシック\r\n[FontSize]\r\nValue=9\r\n"
                  L"[LauncherHyoji]\r\n1=0\r\n3=1\r\n[HyojiMousePos]\r\n0=0\r\n3=0\r\n"
                  L"[NameFuchidori]\r\n2=0\r\n"
                  L"[ZKey]\r\nValue=1\r\n[MainKey]\r\nName=変換\r\nCode=28\r\n"
                  L"[Anime]\r\nValue=0\r\n[ShowButtonNearMouse]\r\nValue=0\r\n"
                  L"[AfterRunHide]\r\nValue=1\r\n[AfterShowHide]\r\nValue=1\r\nSecond=5\r\n"
                  L"[ShowItemAnime]\r\nValue=0\r\n[LBZoomInterval]\r\nValue=250\r\n"
                  L"[SortMode]\r\n1=1\r\n2=2\r\n[Position]\r\nMode=5\r\n"
                  L"[HideTaskBarBtn]\r\nValue=0\r\n"
                  L"[OnActiveWindowShow]\r\nValue=0\r\nBtnPos=12\r\nAppMode=2\r\nAppCount=2\r\n"
                  L"App0=C:\\Windows\\notepad.exe\r\nApp1=C:\\ツール\\エディタ.exe\r\n"));
    const std::string before = settei0();
    const GlobalSettings s = loadGlobalSettings(env);

    EXPECT_TRUE(s.settingsFileExisted);
    EXPECT_EQ(s.moveToDir, moveTo) << "kept without the trailing separator";
    EXPECT_TRUE(fileio::directoryExists(moveTo)) << "created with its parents";
    EXPECT_EQ(s.fontName, L"ＭＳ Ｐゴシック");
    EXPECT_EQ(s.fontSize, 9);
    EXPECT_EQ(s.launcherHyoji, (std::array<bool, 5>{false, false, true, false, false}));
    EXPECT_EQ(s.hyojiMousePos, (std::array<bool, 4>{false, true, true, false}));
    EXPECT_EQ(s.nameFuchidori, (std::array<bool, 5>{true, false, true, true, true}));
    EXPECT_TRUE(s.zKey);
    EXPECT_EQ(s.mainKeyName, L"変換");
    EXPECT_EQ(s.mainKeyCode, 28);
    EXPECT_FALSE(s.anime);
    EXPECT_FALSE(s.showButtonNearMouse);
    EXPECT_TRUE(s.afterRunHide);
    EXPECT_TRUE(s.afterShowHide);
    EXPECT_EQ(s.afterShowHideSecond, 5);
    EXPECT_EQ(s.afterShowHideDelaySeconds, 60);
    EXPECT_FALSE(s.showItemAnime);
    EXPECT_EQ(s.lbZoomInterval, 250);
    EXPECT_EQ(s.sortMode, (std::array<int, 5>{1, 2, 0, 0, 0}));
    EXPECT_EQ(s.positionMode, 5);
    EXPECT_FALSE(s.hideTaskBarBtn);
    EXPECT_FALSE(s.onActiveWindowShow);
    EXPECT_EQ(s.activeWindowBtnPos, 12);
    EXPECT_EQ(s.activeWindowAppMode, 2);
    EXPECT_EQ(s.activeWindowApps, (std::vector<std::wstring>{L"C:\\Windows\\notepad.exe",
                                                             L"C:\\ツール\\エディタ.exe"}));
    EXPECT_EQ(settei0(), before) << "nothing to convert, so nothing is written";
}

TEST_F(GlobalSettingsTest, ConvertsKidoCountSortIntoSortModes) {
    const struct {
        const char* value;
        int mode;
    } cases[] = {{"0", 2}, {"1", 0}, {"", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        given(std::string("[KidoCountSort]\r\nValue=") + c.value + "\r\n[SortMode]\r\n3=1\r\n");
        const GlobalSettings s = loadGlobalSettings(env);

        EXPECT_EQ(s.sortMode, (std::array<int, 5>{c.mode, c.mode, c.mode, c.mode, c.mode}));
        const IniFile ini = settingsFile();
        EXPECT_FALSE(ini.sectionExists(L"KidoCountSort"));
        for (const wchar_t* n : {L"1", L"2", L"3", L"4", L"5"})
            EXPECT_EQ(ini.readInteger(L"SortMode", n, -1), c.mode);
        EXPECT_EQ(settei0().find("KidoCountSort"), std::string::npos);
    }
}

TEST_F(GlobalSettingsTest, ConvertsPositionCenterIntoThePositionMode) {
    const struct {
        const char* file;
        int mode;
        bool sectionLeft;
    } cases[] = {
        {"[PositionCenter]\r\nValue=1\r\n", 0, false},
        {"[PositionCenter]\r\nValue=0\r\n", 1, false},
        {"[Position]\r\nMode=4\r\n[PositionCenter]\r\nValue=1\r\n", 0, false},
        // Without its Value the section is someone else's business.
        {"[Position]\r\nMode=4\r\n[PositionCenter]\r\nOther=1\r\n", 4, true},
        {"[PositionCenter]\r\n", 3, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        given(c.file);
        const bool writes = !c.sectionLeft;
        const GlobalSettings s = loadGlobalSettings(env);

        EXPECT_EQ(s.positionMode, c.mode);
        const bool left = settei0().find("[PositionCenter]") != std::string::npos;
        EXPECT_EQ(left, c.sectionLeft);
        if (writes)
            EXPECT_EQ(settingsFile().readInteger(L"Position", L"Mode", -1), c.mode);
        else
            EXPECT_EQ(settei0(), c.file);
    }
}

TEST_F(GlobalSettingsTest, RaisesAStepIntervalBelow100To100InTheFileToo) {
    given("[LBZoomInterval]\r\nValue=50\r\n[Anime]\r\nValue=1\r\n");
    EXPECT_EQ(loadGlobalSettings(env).lbZoomInterval, 100);
    EXPECT_EQ(settei0(), "[LBZoomInterval]\r\nValue=100\r\n[Anime]\r\nValue=1\r\n");
}

TEST_F(GlobalSettingsTest, FallsBackToTheIconTitleFontForAFontThatIsNotInstalled) {
    const struct {
        const char* file;
        const wchar_t* expected;
    } cases[] = {
        {"[FontName]\r\nValue=Removed Font\r\n", L"Yu Gothic UI"},
        {"[FontName]\r\nValue=\r\n", L"Yu Gothic UI"},
        {"[FontSize]\r\nValue=9\r\n", L"Yu Gothic UI"},
        {"[FontName]\r\nValue=\x82l\x82r \x82o\x83S\x83V\x83"
         "b\x83N\r\n",
         L"ＭＳ Ｐゴシック"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        given(c.file);
        EXPECT_EQ(loadGlobalSettings(env).fontName, c.expected);
    }
}

TEST_F(GlobalSettingsTest, FindsSectionsWrittenInSmallLetters) {
    given("[launcherhyoji]\r\n2=1\r\n[mainkey]\r\ncode=28\r\n[lbzoominterval]\r\nvalue=200\r\n");
    const GlobalSettings s = loadGlobalSettings(env);
    EXPECT_TRUE(s.launcherHyoji[1]);
    EXPECT_EQ(s.mainKeyCode, 28);
    EXPECT_EQ(s.lbZoomInterval, 200);
}

TEST_F(GlobalSettingsTest, EmptyMoveToDirMeansTheDefaultFolder) {
    given("[MoveToDir]\r\nValue=\r\n");
    const GlobalSettings s = loadGlobalSettings(env);
    EXPECT_EQ(s.moveToDir, folder.path() + kMovedFilesFolder);
    EXPECT_TRUE(fileio::directoryExists(s.moveToDir));
}

TEST_F(GlobalSettingsTest, ReadsTheFontStyleByte) {
    folder.writeBytes(kFontStyleFile, "\x03");
    const GlobalSettings s = loadGlobalSettings(env);
    EXPECT_EQ(s.fontStyle, 0x03) << "bold and italic";

    const std::wstring path = folder.file(kFontStyleFile);
    ASSERT_TRUE(writeFontStyle(path, 0x0C));
    EXPECT_EQ(folder.readBytes(kFontStyleFile), "\x0C");
    EXPECT_EQ(readFontStyle(path), 0x0C);
    folder.writeBytes(kFontStyleFile, "");
    EXPECT_EQ(readFontStyle(path), 0);
    EXPECT_EQ(readFontStyle(folder.file(L"absent.dat")), 0);
}

TEST_F(GlobalSettingsTest, ReadsTheStartupProgramsInOrder) {
    EXPECT_TRUE(readStartupPrograms(folder.path()).fileNames.empty());

    given(toCp932(L"[StartUpRank]\r\nAppsCount=2\r\n"
                  L"FileName0=C:\\スタートアップ\\メール.lnk\r\nInterval0=0\r\n"
                  L"FileName1=C:\\スタートアップ\\ブラウザ.lnk\r\nInterval1=30\r\n"));
    const StartupProgramList list = readStartupPrograms(folder.path());
    EXPECT_EQ(list.fileNames, (std::vector<std::wstring>{L"C:\\スタートアップ\\メール.lnk",
                                                         L"C:\\スタートアップ\\ブラウザ.lnk"}));
    EXPECT_EQ(list.intervals, (std::vector<int>{0, 30}));
}

TEST_F(GlobalSettingsTest, ADamagedCountDoesNotRunAwayOverMissingKeys) {
    given("[StartUpRank]\r\nAppsCount=2000000000\r\nFileName0=a.lnk\r\n"
          "[OnActiveWindowShow]\r\nAppCount=2000000000\r\n");
    EXPECT_LE(readStartupPrograms(folder.path()).fileNames.size(), 3u);
    EXPECT_LE(loadGlobalSettings(env).activeWindowApps.size(), 1u);
}

} // namespace
} // namespace kelvo
