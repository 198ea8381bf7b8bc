#include "common/TempFolder.h"
#include "storage/FileIO.h"

#include <gtest/gtest.h>

namespace kelvo {
namespace {

using namespace fileio;

class FileIOTest : public ::testing::Test {
  protected:
    testsupport::TempFolder folder;
};

TEST_F(FileIOTest, WritesAFileWholeAndReplacesItWithoutLeftovers) {
    const std::wstring path = folder.file(L"設定.ini");
    ASSERT_TRUE(writeFileAtomic(path, std::string("first\0line", 10)));
    EXPECT_EQ(readFile(path), std::string("first\0line", 10));
    ASSERT_TRUE(writeFileAtomic(path, "second"));
    EXPECT_EQ(readFile(path), "second");
    ASSERT_TRUE(writeFileAtomic(path, ""));
    EXPECT_EQ(readFile(path), "");

    EXPECT_EQ(folder.entryCount(), 1u) << "the temporary file must be gone";
}

TEST_F(FileIOTest, FailsWhereTheFolderIsMissing) {
    const std::wstring path = folder.file(L"missing/file.ini");
    EXPECT_FALSE(writeFileAtomic(path, "x"));
    EXPECT_FALSE(readFile(path).has_value());
    EXPECT_FALSE(fileExists(path));
}

TEST_F(FileIOTest, TellsFilesFromFolders) {
    const std::wstring file = folder.file(L"Font.dat");
    ASSERT_TRUE(writeFileAtomic(file, "\x03"));
    EXPECT_TRUE(fileExists(file));
    EXPECT_FALSE(directoryExists(file));
    EXPECT_TRUE(directoryExists(folder.path()));
    EXPECT_FALSE(fileExists(folder.path()));
    EXPECT_FALSE(readFile(folder.path()).has_value());
    EXPECT_FALSE(fileExists(folder.file(L"absent")));
    EXPECT_FALSE(directoryExists(folder.file(L"absent")));
}

TEST_F(FileIOTest, CreatesAllMissingParents) {
    const std::wstring deep = folder.file(L"ルコポ/KelvoLaucherData/移動されたファイル");
    ASSERT_TRUE(createDirectories(deep));
    EXPECT_TRUE(directoryExists(deep));
    EXPECT_TRUE(createDirectories(deep + L"/")) << "an existing folder is fine";

    ASSERT_TRUE(writeFileAtomic(folder.file(L"blocker"), ""));
    EXPECT_FALSE(createDirectories(folder.file(L"blocker/child")));
    EXPECT_FALSE(createDirectories(L""));
}

TEST_F(FileIOTest, RemovesFiles) {
    const std::wstring file = folder.file(L"Edge.bat");
    ASSERT_TRUE(writeFileAtomic(file, "start msedge"));
    EXPECT_TRUE(removeFile(file));
    EXPECT_FALSE(fileExists(file));
    EXPECT_FALSE(removeFile(file)) << "nothing left to remove";
}

} // namespace
} // namespace kelvo
