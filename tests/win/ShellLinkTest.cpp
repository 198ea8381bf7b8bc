#include "platform/ShellFolders.h"
#include "platform/ShellLink.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace kelvo::win {
namespace {

class ShellLinkTest : public ::testing::Test {
  protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"kelvo_shelllink_テスト";
        CreateDirectoryW(folder_.c_str(), nullptr);
    }
    void TearDown() override {
        for (const std::wstring& name : folderEntries(folder_))
            DeleteFileW((folder_ + L"\\" + name).c_str());
        RemoveDirectoryW(folder_.c_str());
    }
    std::wstring folder_;
};

TEST_F(ShellLinkTest, WrittenLinksReadBackWithTargetArgumentsAndFolder) {
    ShortcutSpec spec;
    spec.linkPath = folder_ + L"\\ケルボランチャー2.lnk";
    spec.target = L"C:\\windows\\notepad.exe";
    spec.arguments = L"/S";
    spec.workingDirectory = L"C:\\windows";
    ASSERT_TRUE(writeShortcut(spec));

    auto info = resolveShortcut(spec.linkPath);
    ASSERT_TRUE(info);
    EXPECT_EQ(_wcsicmp(info->target.c_str(), spec.target.c_str()), 0) << info->target;
    EXPECT_EQ(info->arguments, L"/S");
    EXPECT_EQ(_wcsicmp(info->workingDirectory.c_str(), L"C:\\windows"), 0);
}

TEST_F(ShellLinkTest, EnvironmentVariablesAreExpanded) {
    SetEnvironmentVariableW(L"KELVO_TEST_DIR", L"C:\\windows");
    ShortcutSpec spec;
    spec.linkPath = folder_ + L"\\env.lnk";
    spec.target = L"C:\\windows\\notepad.exe";
    spec.arguments = L"%KELVO_TEST_DIR%\\win.ini";
    spec.workingDirectory = L"%KELVO_TEST_DIR%";
    ASSERT_TRUE(writeShortcut(spec));
    auto info = resolveShortcut(spec.linkPath);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->arguments, L"C:\\windows\\win.ini");
    EXPECT_EQ(info->workingDirectory, L"C:\\windows");
}

TEST_F(ShellLinkTest, FilesThatAreNotLinksGiveNothing) {
    std::wstring path = folder_ + L"\\desktop.ini";
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, "[.ShellClassInfo]\r\n", 19, &written, nullptr);
    CloseHandle(file);
    EXPECT_FALSE(resolveShortcut(path));
    EXPECT_FALSE(resolveShortcut(folder_ + L"\\missing.lnk"));
}

TEST(ShellFolders, PathPartsSplitAtTheLastSeparator) {
    EXPECT_EQ(folderOf(L"C:\\a\\b\\launcher.exe"), L"C:\\a\\b\\");
    EXPECT_EQ(fileNameOf(L"C:\\a\\b\\launcher.exe"), L"launcher.exe");
    EXPECT_EQ(folderOf(L"launcher.exe"), L"");
}

} // namespace
} // namespace kelvo::win
