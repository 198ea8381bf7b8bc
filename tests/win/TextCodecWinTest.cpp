// The storage layer through the Win32 functions: the code page table that the
// native tests check against iconv, and INI files on Japanese paths.
#include "common/Cp932Samples.h"
#include "common/TempFolder.h"
#include "storage/DataFolder.h"
#include "storage/FileIO.h"
#include "storage/IniFile.h"
#include "storage/TextCodec.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>

namespace kelvo {
namespace {

std::string hex(std::string_view bytes) {
    std::string text;
    for (unsigned char b : bytes) {
        char digits[4];
        std::snprintf(digits, sizeof digits, "%02X ", b);
        text += digits;
    }
    return text;
}

// The platform's own answer, without anything of ours in between.
std::string systemToCp932(std::wstring_view text) {
    char bytes[256];
    const int n =
        WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                            bytes, sizeof bytes, nullptr, nullptr);
    return std::string(bytes, n > 0 ? static_cast<std::size_t>(n) : 0);
}

std::wstring systemFromCp932(std::string_view bytes) {
    wchar_t text[256];
    const int n = MultiByteToWideChar(932, 0, bytes.data(), static_cast<int>(bytes.size()), text,
                                      static_cast<int>(std::size(text)));
    return std::wstring(text, n > 0 ? static_cast<std::size_t>(n) : 0);
}

TEST(TextCodecWinTest, TheSharedTableIsWhatWindowsConverts) {
    for (const auto& sample : testdata::kCp932RoundTrips) {
        SCOPED_TRACE(sample.what);
        EXPECT_EQ(hex(systemToCp932(sample.text)), hex(sample.bytes));
        EXPECT_EQ(systemFromCp932(sample.bytes), sample.text);
    }
    for (const auto& sample : testdata::kCp932WriteOnly) {
        SCOPED_TRACE(sample.what);
        EXPECT_EQ(hex(systemToCp932(sample.text)), hex(sample.bytes));
    }
}

TEST(TextCodecWinTest, ConvertsTheSharedTable) {
    for (const auto& sample : testdata::kCp932RoundTrips) {
        SCOPED_TRACE(sample.what);
        EXPECT_EQ(hex(toCp932(sample.text)), hex(sample.bytes));
        EXPECT_EQ(fromCp932(sample.bytes), sample.text);
    }
    for (const auto& sample : testdata::kCp932ReadOnly) {
        SCOPED_TRACE(sample.what);
        EXPECT_EQ(fromCp932(sample.bytes), sample.text);
    }
    for (const auto& sample : testdata::kCp932WriteOnly) {
        SCOPED_TRACE(sample.what);
        EXPECT_EQ(hex(toCp932(sample.text)), hex(sample.bytes));
    }
    for (const auto& sample : testdata::kUtf8RoundTrips) {
        SCOPED_TRACE(sample.what);
        EXPECT_EQ(hex(toUtf8(sample.text)), hex(sample.utf8));
        EXPECT_EQ(fromUtf8(sample.utf8), sample.text);
    }
    for (const auto& sample : testdata::kUtf8ReadOnly) {
        SCOPED_TRACE(sample.what);
        EXPECT_EQ(fromUtf8(sample.utf8), sample.text);
    }
}

class JapanesePathTest : public ::testing::Test {
  protected:
    testsupport::TempFolder folder;
    // Created with mixed separators, as paths typed by users sometimes are.
    const std::wstring dataDir = dataFolderUnder(folder.path() + L"ドキュメント/");
    const std::wstring settei0 = dataDir + kGlobalSettingsFile;
};

TEST_F(JapanesePathTest, CreatesTheDataFolderAndRoundTripsAnIniFile) {
    ASSERT_TRUE(fileio::createDirectories(dataDir));
    EXPECT_TRUE(fileio::directoryExists(folder.path() + L"ドキュメント\\ルコポ"));
    {
        IniFile ini(settei0);
        ASSERT_TRUE(ini.writeString(L"MainKey", L"Name", L"無変換"));
        ASSERT_TRUE(ini.writeString(L"MoveToDir", L"Value", dataDir + kMovedFilesFolder));
        ASSERT_TRUE(ini.writeInteger(L"LBZoomInterval", L"Value", 150));
    }
    EXPECT_EQ(fileio::readFile(settei0).value_or(""),
              "[MainKey]\r\nName=" + toCp932(L"無変換") + "\r\n[MoveToDir]\r\nValue=" +
                  toCp932(dataDir + kMovedFilesFolder) + "\r\n[LBZoomInterval]\r\nValue=150\r\n");

    const IniFile again(settei0);
    EXPECT_EQ(again.readString(L"mainkey", L"name", L""), L"無変換");
    EXPECT_EQ(again.readString(L"MoveToDir", L"Value", L""), dataDir + kMovedFilesFolder);
    EXPECT_EQ(again.readInteger(L"LBZoomInterval", L"Value", 0), 150);
    EXPECT_EQ(folder.entryCount(), 1u) << "no temporary file left beside the data folder";
}

TEST_F(JapanesePathTest, TheSystemProfileFunctionsReadWhatWasWritten) {
    if (GetACP() != 932)
        GTEST_SKIP() << "the system profile functions read the ANSI code page, here " << GetACP()
                     << "; run with LANG=ja_JP.UTF-8";
    ASSERT_TRUE(fileio::createDirectories(dataDir));
    IniFile ini(settei0);
    ASSERT_TRUE(ini.writeString(L"LauncherName", L"1", L"ランチャー1"));
    ASSERT_TRUE(ini.writeString(L"LauncherName", L"2", L"ｹﾙﾎﾞ～①"));

    wchar_t value[64] = {};
    GetPrivateProfileStringW(L"launchername", L"1", L"", value, 64, settei0.c_str());
    EXPECT_STREQ(value, L"ランチャー1");
    GetPrivateProfileStringW(L"LauncherName", L"2", L"", value, 64, settei0.c_str());
    EXPECT_STREQ(value, L"ｹﾙﾎﾞ～①");

    // And the other way round.
    ASSERT_TRUE(WritePrivateProfileStringW(L"LauncherName", L"3", L"ルコポ", settei0.c_str()));
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, settei0.c_str()); // flush the cache
    EXPECT_EQ(IniFile(settei0).readString(L"LauncherName", L"3", L""), L"ルコポ");
}

} // namespace
} // namespace kelvo
