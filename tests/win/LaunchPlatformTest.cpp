// The system services launching stands on: starting through the shell, the
// association query, processes, windows and the foreground lock.
#include "platform/Environment.h"
#include "platform/Foreground.h"
#include "platform/Handles.h"
#include "platform/Processes.h"
#include "platform/ShellStart.h"
#include "platform/TopLevelWindows.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

namespace kelvo::win {
namespace {

std::wstring lower(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(), ::towlower);
    return text;
}

std::wstring systemProgram(const wchar_t* name) {
    wchar_t folder[MAX_PATH]{};
    GetSystemDirectoryW(folder, MAX_PATH);
    return std::wstring(folder) + L"\\" + name;
}

TEST(ShellStart, StartsAProgramAndKeepsItsProcess) {
    ShellStartRequest request;
    request.file = systemProgram(L"cmd.exe");
    request.parameters = L"/c exit 0";
    ShellStartResult started = shellStart(request);
    ASSERT_GT(started.instanceValue, 32);
    ASSERT_TRUE(started.process);
    const DWORD id = GetProcessId(started.process.get());
    EXPECT_NE(lower(processImagePath(id)).find(L"cmd.exe"), std::wstring::npos);
    ASSERT_EQ(WaitForSingleObject(started.process.get(), 30000), WAIT_OBJECT_0);
    EXPECT_FALSE(processStillActive(id));
}

TEST(ShellStart, AMissingFileIsReportedAsAFailedStart) {
    ShellStartRequest request;
    request.file = L"C:\\no such folder\\missing.exe";
    ShellStartResult started = shellStart(request);
    EXPECT_LE(started.instanceValue, 32);
    EXPECT_FALSE(started.process);
}

// A fresh Wine prefix knows the text file type but not the extension that
// leads to it, which every Windows installation has; the test gives it the
// extension for its duration.
class TextAssociation : public ::testing::Test {
  protected:
    void SetUp() override {
        HKEY existing = nullptr;
        if (RegOpenKeyExW(HKEY_CLASSES_ROOT, L".txt", 0, KEY_READ, &existing) == ERROR_SUCCESS) {
            RegCloseKey(existing);
            return;
        }
        created_ = RegSetKeyValueW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\.txt", nullptr, REG_SZ,
                                   L"txtfile", sizeof(L"txtfile")) == ERROR_SUCCESS;
    }
    void TearDown() override {
        if (created_)
            RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\.txt");
    }
    bool created_ = false;
};

TEST_F(TextAssociation, TextDocumentsHaveAnAssociatedProgram) {
    bool failed = true;
    const std::wstring program = expandEnvironment(associatedExecutable(L".txt", failed));
    EXPECT_FALSE(failed);
    EXPECT_NE(lower(program).find(L".exe"), std::wstring::npos) << program;
}

TEST(ShellStart, AnUnknownExtensionIsAFailedQuery) {
    bool failed = false;
    EXPECT_TRUE(associatedExecutable(L".kelvo-unknown-extension", failed).empty());
    EXPECT_TRUE(failed);
}

TEST(Processes, TheCurrentProcessRunsAndIsItsOwnImage) {
    const DWORD self = GetCurrentProcessId();
    EXPECT_TRUE(processStillActive(self));
    wchar_t module[MAX_PATH]{};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    EXPECT_EQ(lower(processImagePath(self)), lower(module));
    EXPECT_FALSE(processStillActive(0));
    EXPECT_TRUE(processImagePath(0).empty());
    // This 32-bit process is never taken for a native 64-bit one, on either
    // kind of Windows.
    BOOL wow64 = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow64);
    EXPECT_FALSE(isNative64BitProcess(self, wow64 != FALSE));
    EXPECT_FALSE(isNative64BitProcess(self, false));
}

TEST(Environment, ExpandsReferencesAndLeavesOtherTextAlone) {
    SetEnvironmentVariableW(L"KELVO_TEST_FOLDER", L"C:\\kelvo");
    EXPECT_EQ(expandEnvironment(L"%KELVO_TEST_FOLDER%\\a.exe"), L"C:\\kelvo\\a.exe");
    EXPECT_EQ(expandEnvironment(L"C:\\plain\\b.exe"), L"C:\\plain\\b.exe");
    EXPECT_EQ(expandEnvironment(L""), L"");
}

class OwnWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window_ = CreateWindowExW(0, L"STATIC", L"kelvo test window", WS_OVERLAPPEDWINDOW, 10, 10,
                                  200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(window_);
    }
    void TearDown() override { DestroyWindow(window_); }
    HWND window_ = nullptr;
};

TEST_F(OwnWindowTest, TopLevelWindowsIncludeItWithItsProcess) {
    const std::vector<HWND> windows = topLevelWindows();
    EXPECT_NE(std::find(windows.begin(), windows.end(), window_), windows.end());
    EXPECT_EQ(windowProcessId(window_), GetCurrentProcessId());
    EXPECT_FALSE(isShellDesktopView(window_));
    EXPECT_EQ(windowProcessId(nullptr), 0u);
}

TEST_F(OwnWindowTest, BringingToTheFrontKeepsTheForegroundLockTimeOut) {
    DWORD before = 0;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &before, 0));
    ShowWindow(window_, SW_SHOW);
    bringWindowToFront(window_);
    DWORD after = 0;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &after, 0));
    EXPECT_EQ(after, before);
    EXPECT_FALSE(bringWindowToFront(nullptr));
}

} // namespace
} // namespace kelvo::win
