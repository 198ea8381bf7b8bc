#include "core/StartupShortcut.h"

#include <gtest/gtest.h>

namespace kelvo {
namespace {

const std::wstring kProgram = L"C:\\Program Files\\Kelvo\\launcher.exe";

TEST(StartupShortcut, FindsTheFirstLinkToTheProgramWhateverTheCase) {
    std::vector<StartupFolderLink> links = {
        {L"desktop.ini", L""},
        {L"メモ帳.lnk", L"C:\\Windows\\notepad.exe"},
        {L"古い名前.lnk", L"c:\\program files\\KELVO\\Launcher.EXE"},
        {L"ケルボランチャー2.lnk", kProgram},
    };
    auto own = findOwnStartupLink(links, kProgram);
    ASSERT_TRUE(own);
    EXPECT_EQ(own->fileName, L"古い名前.lnk");
    EXPECT_FALSE(findOwnStartupLink({links[0], links[1]}, kProgram));
}

TEST(StartupShortcut, OnlyTheStandardNameIsKept) {
    EXPECT_FALSE(needsStandardName(L"ケルボランチャー2.lnk"));
    EXPECT_FALSE(needsStandardName(L"ケルボランチャー2.LNK"));
    EXPECT_TRUE(needsStandardName(L"ケルボランチャー.lnk"));
    EXPECT_TRUE(needsStandardName(L"launcher.exe へのショートカット.lnk"));
}

TEST(StartupShortcut, LogonStartNeedsTheShortcutAndTheArgument) {
    struct Case {
        std::wstring shortcut;
        std::vector<std::wstring> arguments;
        bool expected;
    } cases[] = {
        {L"C:\\Startup\\ケルボランチャー2.lnk", {L"/S"}, true},
        {L"", {L"/S"}, false}, // typed by hand without the shortcut
        {L"C:\\Startup\\ケルボランチャー2.lnk", {}, false},
        {L"C:\\Startup\\ケルボランチャー2.lnk", {L"/s"}, false},
        {L"C:\\Startup\\ケルボランチャー2.lnk", {L"/X", L"/S"}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(isStartedByStartup(c.shortcut, c.arguments), c.expected);
}

} // namespace
} // namespace kelvo
