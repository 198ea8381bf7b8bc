#include "common/TempFolder.h"
#include "storage/FileIO.h"
#include "storage/IniFile.h"
#include "storage/TextCodec.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <thread>

namespace kelvo {
namespace {

class IniFileTest : public ::testing::Test {
  protected:
    void given(std::string_view bytes) const { folder.writeBytes(kName, bytes); }
    std::string onDisk() const { return folder.readBytes(kName); }

    static constexpr const wchar_t* kName = L"Settei1.ini";
    testsupport::TempFolder folder;
    const std::wstring path = folder.file(kName);
};

TEST_F(IniFileTest, ReadsIntegersInDecimalAndHex) {
    const struct {
        const char* stored;
        int expected;
    } cases[] = {
        {"42", 42},
        {"-7", -7},
        {"0", 0},
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
        {"$FF", 255},
        {"$ff", 255},
        {"0x1A", 26},
        {"0X1a", 26},
        {"$FFFFFFFF", -1},
        {"0x80000000", INT_MIN},
        {" 12 ", 12},
        {"\"34\"", 34},
        // Everything else gives the default.
        {"", 99},
        {"2147483648", 99},
        {"-2147483649", 99},
        {"$123456789", 99},
        {"12abc", 99},
        {"abc", 99},
        {"+5", 99},
        {"1.5", 99},
        {"0x", 99},
        {"$", 99},
        {"-", 99},
        {"- 5", 99},
        {"$-1", 99},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        given(std::string("[S]\r\nK=") + c.stored + "\r\n");
        EXPECT_EQ(IniFile(path).readInteger(L"S", L"K", 99), c.expected);
    }
    EXPECT_EQ(IniFile(path).readInteger(L"S", L"Missing", 99), 99);
}

TEST_F(IniFileTest, ReadsBooleansAsIntegersWithTheDefaultAsOneOrZero) {
    const struct {
        const char* stored;
        bool withTrueDefault;
        bool withFalseDefault;
    } cases[] = {
        {"1", true, true},    {"0", false, false}, {"2", true, true},    {"-1", true, true},
        {"$0", false, false}, {"", true, false},   {"yes", true, false}, {"true", true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        given(std::string("[S]\r\nK=") + c.stored + "\r\n");
        const IniFile ini(path);
        EXPECT_EQ(ini.readBool(L"S", L"K", true), c.withTrueDefault);
        EXPECT_EQ(ini.readBool(L"S", L"K", false), c.withFalseDefault);
    }
}

TEST_F(IniFileTest, TrimsBlanksAndOnePairOfQuotes) {
    const struct {
        const char* line;
        const wchar_t* expected;
    } cases[] = {
        {"K=plain", L"plain"},
        {"K=  spaced value \t", L"spaced value"},
        {"  K  =  v", L"v"},
        {"\tK=v", L"v"},
        {"K=\"quoted\"", L"quoted"},
        {"K='single'", L"single"},
        {"K=\"  inner blanks  \"", L"  inner blanks  "},
        {"K=\"a\" \"b\"", L"a\" \"b"},
        {"K=\"\"", L""},
        {"K=\"mismatch'", L"\"mismatch'"},
        {"K=\"", L"\""},
        {"K=a=b", L"a=b"},
        {"K=", L""},
        {"K=\x96\xB3\x95\xCF\x8A\xB7", L"無変換"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        given(std::string("[S]\r\n") + c.line + "\r\n");
        EXPECT_EQ(IniFile(path).readString(L"S", L" K ", L"default"), c.expected);
    }
}

TEST_F(IniFileTest, WritingTheValueAKeyAlreadyHoldsLeavesTheFileAlone) {
    given("[Position]\r\nX=10\r\nY=20\r\n");
    const auto identity = [&] {
        return std::filesystem::status(toUtf8(path)).type() == std::filesystem::file_type::regular
                   ? std::filesystem::hard_link_count(toUtf8(path))
                   : 0u;
    };
    std::filesystem::create_hard_link(toUtf8(path), toUtf8(path) + ".link");
    ASSERT_EQ(identity(), 2u); // a save renames a new file over the old one, breaking the link
    IniFile ini(path);
    EXPECT_TRUE(ini.writeInteger(L"position", L"x", 10));
    EXPECT_TRUE(ini.writeString(L"Position", L"Y", L"20"));
    EXPECT_EQ(identity(), 2u);
    EXPECT_TRUE(ini.writeInteger(L"Position", L"X", 11));
    EXPECT_EQ(identity(), 1u);
    EXPECT_EQ(onDisk(), "[Position]\r\nX=11\r\nY=20\r\n");
}

TEST_F(IniFileTest, NamesMatchWithoutCaseAndKeepTheirFirstSpelling) {
    given("[NameBackTransparent]\r\n1=0\r\nKidocount=3\r\n");
    IniFile ini(path);
    EXPECT_EQ(ini.readInteger(L"NameBackTransParent", L"1", 1), 0);
    EXPECT_EQ(ini.readInteger(L"namebacktransparent", L"KIDOCOUNT", 0), 3);

    ASSERT_TRUE(ini.writeBool(L"NAMEBACKTRANSPARENT", L"1", true));
    ASSERT_TRUE(ini.writeInteger(L"namebacktransparent", L"KidoCount", 4));
    EXPECT_EQ(onDisk(), "[NameBackTransparent]\r\n1=1\r\nKidocount=4\r\n");
}

TEST_F(IniFileTest, AppendsKeysAfterTheLastKeyAndSectionsAtTheEnd) {
    given("; launcher 1\r\n"
          "[Item0]\r\n"
          "Name=a\r\n"
          "\r\n"
          "[Item1]\r\n"
          "; no keys yet\r\n"
          "\r\n"
          "[Item2]\r\n"
          "Name=c\r\n"
          "; after the keys\r\n");
    IniFile ini(path);
    ASSERT_TRUE(ini.writeString(L"Item0", L"Path", L"C:\\a.exe"));
    ASSERT_TRUE(ini.writeString(L"Item1", L"Name", L"b"));
    ASSERT_TRUE(ini.writeString(L"Item2", L"Kidocount", L"1"));
    ASSERT_TRUE(ini.writeString(L"位置", L"Left", L"10"));
    ASSERT_TRUE(ini.writeString(L"位置", L"Top", L"20"));
    EXPECT_EQ(onDisk(), "; launcher 1\r\n"
                        "[Item0]\r\n"
                        "Name=a\r\n"
                        "Path=C:\\a.exe\r\n"
                        "\r\n"
                        "[Item1]\r\n"
                        "Name=b\r\n"
                        "; no keys yet\r\n"
                        "\r\n"
                        "[Item2]\r\n"
                        "Name=c\r\n"
                        "Kidocount=1\r\n"
                        "; after the keys\r\n"
                        "[\x88\xCA\x92u]\r\n"
                        "Left=10\r\n"
                        "Top=20\r\n");
}

TEST_F(IniFileTest, EndsAnUnterminatedLastLineBeforeAppending) {
    given("[A]\nX=1");
    ASSERT_TRUE(IniFile(path).writeInteger(L"A", L"Y", 2));
    EXPECT_EQ(onDisk(), "[A]\nX=1\r\nY=2\r\n");
}

TEST_F(IniFileTest, WritingToAMissingFileCreatesIt) {
    IniFile ini(path);
    EXPECT_EQ(ini.readString(L"S", L"K", L"none"), L"none");
    EXPECT_TRUE(ini.deleteKey(L"S", L"K"));
    EXPECT_TRUE(ini.eraseSection(L"S"));
    EXPECT_FALSE(folder.exists(kName)) << "only a write creates the file";

    ASSERT_TRUE(ini.writeString(L"S", L"K", L"v"));
    EXPECT_EQ(onDisk(), "[S]\r\nK=v\r\n");
}

TEST_F(IniFileTest, ReplacesAValueInPlaceKeepingItsLineBreak) {
    given("[S]\nA=1\nB=2\n");
    ASSERT_TRUE(IniFile(path).writeString(L"S", L"a", L"新しい値"));
    EXPECT_EQ(onDisk(), "[S]\nA=\x90V\x82\xB5\x82\xA2\x92l\nB=2\n");
}

TEST_F(IniFileTest, AReplacedValueLeavesItsKeyBytesAlone) {
    given("[S]\r\n  Key\x81 = old\r\n");
    IniFile ini(path);
    ASSERT_TRUE(ini.writeString(L"S", L"Key・", L"new"));
    EXPECT_EQ(onDisk(), "[S]\r\nKey\x81=new\r\n");
}

TEST_F(IniFileTest, StoresStringsAsTheyAreOnOneLine) {
    IniFile ini(path);
    ASSERT_TRUE(ini.writeString(L"S", L"Quoted", L"\"x\""));
    ASSERT_TRUE(ini.writeString(L"S", L"Spaces", L"a b"));
    ASSERT_TRUE(ini.writeString(L"S", L"Lines", L"one\r\ntwo"));
    EXPECT_EQ(onDisk(), "[S]\r\nQuoted=\"x\"\r\nSpaces=a b\r\nLines=one  two\r\n");
}

TEST_F(IniFileTest, MemoryHoldsWhatTheFileHolds) {
    IniFile ini(path);
    ASSERT_TRUE(ini.writeString(L"S", L"K", L"caf\xE9 ～"));
    EXPECT_EQ(ini.readString(L"S", L"K", L""), L"caf? ～");
    EXPECT_EQ(IniFile(path).readString(L"S", L"K", L""), L"caf? ～");
}

TEST_F(IniFileTest, DeletesKeysAndErasesWholeSections) {
    given("[Keep]\r\n"
          "A=1\r\n"
          "B=2\r\n"
          "[KidoCountSort]\r\n"
          "Value=0\r\n"
          "; its comment goes with it\r\n"
          "\r\n"
          "[Keep2]\r\n"
          "C=3\r\n"
          "[kidocountsort]\r\n"
          "Value=1\r\n");
    IniFile ini(path);
    ASSERT_TRUE(ini.deleteKey(L"keep", L"a"));
    ASSERT_TRUE(ini.eraseSection(L"KIDOCOUNTSORT"));
    EXPECT_FALSE(ini.sectionExists(L"KidoCountSort"));
    EXPECT_EQ(onDisk(), "[Keep]\r\nB=2\r\n[Keep2]\r\nC=3\r\n");

    const std::string before = onDisk();
    EXPECT_TRUE(ini.deleteKey(L"Keep", L"Missing"));
    EXPECT_TRUE(ini.eraseSection(L"Missing"));
    EXPECT_EQ(onDisk(), before);
}

TEST_F(IniFileTest, ASectionExistsOnlyWithAKey) {
    given("[Empty]\r\n"
          "[OnlyComment]\r\n"
          "; Value=1\r\n"
          "[NoEquals]\r\n"
          "Value\r\n"
          "[EmptyValue]\r\n"
          "Value=\r\n"
          "[PositionCenter]\r\n"
          "Other=1\r\n");
    const IniFile ini(path);
    EXPECT_FALSE(ini.sectionExists(L"Empty"));
    EXPECT_FALSE(ini.sectionExists(L"OnlyComment"));
    EXPECT_FALSE(ini.sectionExists(L"NoEquals"));
    EXPECT_FALSE(ini.sectionExists(L"Missing"));
    EXPECT_TRUE(ini.sectionExists(L"EmptyValue"));
    EXPECT_TRUE(ini.valueExists(L"EmptyValue", L"Value"));
    EXPECT_TRUE(ini.sectionExists(L"PositionCenter"));
    EXPECT_FALSE(ini.valueExists(L"PositionCenter", L"Value"));
    EXPECT_FALSE(ini.valueExists(L"NoEquals", L"Value"));
}

TEST_F(IniFileTest, LeavesLinesItDoesNotChangeByteForByte) {
    const std::string head = "\xEF\xBB\xBF; header comment\r\n"
                             "stray line before any section\n"
                             "[Item0]\r\n"
                             "\tName = \x83\x8B\x83R\x83| \r\n"
                             "Broken=\x81\r\n"
                             "odd line without equals\r\n"
                             "# \xFF\xFE not CP932 \x85\x40\r\n";
    const std::string tail = "\n"
                             "[Item1]\n"
                             "Name=\"quoted\"   \n"
                             "Name=second copy\r\n"
                             "   \r\n"
                             "last line without break";
    given(head + "Count=1\r\n" + tail);
    ASSERT_TRUE(IniFile(path).writeInteger(L"Item0", L"Count", 2));
    EXPECT_EQ(onDisk(), head + "Count=2\r\n" + tail);
}

TEST_F(IniFileTest, TheFirstOfDuplicateKeysIsReadAndReplaced) {
    given("[S]\r\nK=first\r\nk=second\r\n");
    IniFile ini(path);
    EXPECT_EQ(ini.readString(L"S", L"K", L""), L"first");
    ASSERT_TRUE(ini.writeString(L"S", L"K", L"new"));
    EXPECT_EQ(onDisk(), "[S]\r\nK=new\r\nk=second\r\n");
    EXPECT_EQ(ini.readSection(L"S"), std::vector<std::wstring>{L"K"});
}

TEST_F(IniFileTest, ListsSectionsAndKeysInFileOrder) {
    given(toCp932(L"[B]\r\nz=1\r\ny=2\r\n[a]\r\n[b]\r\nx=3\r\n[アイテム]\r\n名前=1\r\n"));
    const IniFile ini(path);
    EXPECT_EQ(ini.readSections(), (std::vector<std::wstring>{L"B", L"a", L"アイテム"}));
    EXPECT_EQ(ini.readSection(L"b"), (std::vector<std::wstring>{L"z", L"y"}));
    EXPECT_EQ(ini.readSection(L"アイテム"), std::vector<std::wstring>{L"名前"});
    EXPECT_TRUE(ini.readSection(L"Missing").empty());
}

TEST_F(IniFileTest, WritesThroughOneObjectAreSeenByAnotherLiveOne) {
    given("[S]\r\nA=1\r\n");
    IniFile first(path);
    IniFile second(path);
    EXPECT_EQ(first.readInteger(L"S", L"A", 0), 1);
    EXPECT_EQ(second.readInteger(L"S", L"A", 0), 1);

    ASSERT_TRUE(first.writeInteger(L"S", L"A", 2));
    EXPECT_EQ(second.readInteger(L"S", L"A", 0), 2);

    // A write from the other object starts from the file, losing nothing.
    ASSERT_TRUE(second.writeInteger(L"S", L"B", 3));
    EXPECT_EQ(first.readInteger(L"S", L"B", 0), 3);
    EXPECT_EQ(onDisk(), "[S]\r\nA=2\r\nB=3\r\n");
}

TEST_F(IniFileTest, WritesFromSeveralThreadsAreNotLost) {
    constexpr int kWritesPerThread = 15;
    std::vector<std::thread> writers;
    for (int t = 0; t < 2; ++t) {
        writers.emplace_back([this, t] {
            IniFile ini(path); // one object per thread, as each caller opens its own
            for (int i = 0; i < kWritesPerThread; ++i)
                ini.writeInteger(L"T" + std::to_wstring(t), L"K" + std::to_wstring(i), i);
        });
    }
    for (auto& writer : writers)
        writer.join();
    const IniFile ini(path);
    for (const wchar_t* section : {L"T0", L"T1"})
        EXPECT_EQ(ini.readSection(section).size(), std::size_t{kWritesPerThread}) << section;
}

TEST_F(IniFileTest, AFailedWriteIsReportedAndChangesNothing) {
    const std::wstring missingFolder =
        folder.file(L"missing") + testsupport::TempFolder::kSeparator;
    IniFile ini(missingFolder + L"Settei0.ini");
    EXPECT_FALSE(ini.writeString(L"S", L"K", L"v"));
    EXPECT_EQ(ini.readString(L"S", L"K", L"default"), L"default");
    EXPECT_FALSE(folder.exists(L"missing"));
}

TEST_F(IniFileTest, RefusesNamesThatWouldReadBackAsSomethingElse) {
    IniFile ini(path);
    EXPECT_FALSE(ini.writeString(L"", L"K", L"v"));
    EXPECT_FALSE(ini.writeString(L"S", L" ", L"v"));
    EXPECT_FALSE(ini.writeString(L"S]", L"K", L"v"));
    EXPECT_FALSE(ini.writeString(L"S", L"K=1", L"v"));
    EXPECT_FALSE(ini.writeString(L"S", L"[K]", L"v"));
    EXPECT_FALSE(folder.exists(kName));
}

TEST_F(IniFileTest, StoresDateTimesAsText) {
    IniFile ini(path);
    const DateTime launched = encodeDateTime({2016, 5, 6, 7, 30, 0, 0}).value();
    ASSERT_TRUE(ini.writeDateTime(L"Item0", L"KidoTime", launched));
    ASSERT_TRUE(ini.writeDateTime(L"Item0", L"Date", encodeDateTime({2016, 5, 6}).value()));
    ASSERT_TRUE(ini.writeString(L"Item0", L"Bad", L"yesterday"));
    ASSERT_TRUE(ini.writeString(L"Item0", L"Empty", L""));
    EXPECT_EQ(onDisk(), "[Item0]\r\nKidoTime=2016/05/06 7:30:00\r\nDate=2016/05/06\r\n"
                        "Bad=yesterday\r\nEmpty=\r\n");
    EXPECT_EQ(ini.readDateTime(L"Item0", L"KidoTime", 0), launched);
    EXPECT_EQ(ini.readDateTime(L"Item0", L"Bad", -1.0), -1.0);
    EXPECT_EQ(ini.readDateTime(L"Item0", L"Empty", -1.0), -1.0);
    EXPECT_EQ(ini.readDateTime(L"Item0", L"Missing", -1.0), -1.0);
}

TEST_F(IniFileTest, BatchedWritesAreSeenAtOnceAndSavedTogetherWhenTheBatchEnds) {
    given("[S]\r\nA=1\r\nGone=x\r\n");
    const std::string before = onDisk();
    IniFile ini(path);
    IniFile other(path);
    EXPECT_EQ(other.readInteger(L"S", L"A", 0), 1); // loaded before the batch
    {
        IniFile::Batch batch(ini);
        ASSERT_TRUE(ini.writeInteger(L"S", L"A", 2));
        ASSERT_TRUE(ini.deleteKey(L"S", L"Gone"));
        ASSERT_TRUE(ini.writeString(L"新規", L"名前", L"メモ帳"));
        EXPECT_EQ(ini.readInteger(L"S", L"A", 0), 2);
        EXPECT_EQ(other.readInteger(L"S", L"A", 0), 2);
        EXPECT_FALSE(other.valueExists(L"S", L"Gone"));
        EXPECT_EQ(other.readString(L"新規", L"名前", L""), L"メモ帳");

        // Another object's write joins the open batch rather than saving half of it.
        ASSERT_TRUE(other.writeInteger(L"S", L"B", 3));
        EXPECT_EQ(ini.readInteger(L"S", L"B", 0), 3);
        EXPECT_EQ(onDisk(), before);
    }
    EXPECT_EQ(onDisk(), toCp932(L"[S]\r\nA=2\r\nB=3\r\n[新規]\r\n名前=メモ帳\r\n"));
    EXPECT_EQ(IniFile(path).readInteger(L"S", L"B", 0), 3);

    // Writes after the batch are on disk at once again.
    ASSERT_TRUE(other.writeInteger(L"S", L"A", 4));
    EXPECT_EQ(IniFile(path).readInteger(L"S", L"A", 0), 4);
    EXPECT_EQ(ini.readInteger(L"S", L"A", 0), 4);
}

TEST_F(IniFileTest, NestedBatchesSaveOnlyWhenTheOutermostEnds) {
    for (const bool innerOnAnotherObject : {false, true}) {
        SCOPED_TRACE(innerOnAnotherObject ? "inner batch on another object" : "same object");
        given("[S]\r\nA=1\r\n");
        const std::string before = onDisk();
        IniFile ini(path);
        IniFile other(path);
        IniFile& innerIni = innerOnAnotherObject ? other : ini;

        IniFile::Batch outer(ini);
        ASSERT_TRUE(ini.writeInteger(L"S", L"A", 2));
        {
            IniFile::Batch inner(innerIni);
            ASSERT_TRUE(innerIni.writeInteger(L"S", L"B", 3));
            EXPECT_TRUE(inner.commit());
        }
        EXPECT_EQ(onDisk(), before);
        ASSERT_TRUE(ini.writeInteger(L"S", L"C", 4));
        EXPECT_EQ(onDisk(), before);

        EXPECT_TRUE(outer.commit());
        EXPECT_EQ(onDisk(), "[S]\r\nA=2\r\nB=3\r\nC=4\r\n");
        EXPECT_TRUE(outer.commit()) << "a second call reports the first result";
    }
}

TEST_F(IniFileTest, ABatchWithoutWritesLeavesTheFileAlone) {
    IniFile ini(path);
    IniFile::Batch batch(ini);
    EXPECT_EQ(ini.readString(L"S", L"K", L"none"), L"none");
    EXPECT_TRUE(ini.deleteKey(L"S", L"K"));
    EXPECT_TRUE(batch.commit());
    EXPECT_FALSE(folder.exists(kName)) << "only a write creates the file";
}

TEST_F(IniFileTest, AFailedSaveAtTheEndOfABatchIsReportedAndMemoryFollowsTheDisk) {
    const std::wstring dataFolder = folder.file(L"data");
    const std::wstring inData = dataFolder + testsupport::TempFolder::kSeparator + kName;
    ASSERT_TRUE(fileio::createDirectories(dataFolder));
    ASSERT_TRUE(fileio::writeFileAtomic(inData, "[S]\r\nA=1\r\n"));
    IniFile ini(inData);
    IniFile other(inData);
    EXPECT_EQ(other.readInteger(L"S", L"A", 0), 1);

    IniFile::Batch batch(ini);
    ASSERT_TRUE(ini.writeInteger(L"S", L"A", 2));
    ASSERT_TRUE(ini.writeInteger(L"S", L"B", 3));
    EXPECT_EQ(other.readInteger(L"S", L"B", 0), 3);  // the other object shares the batch
    std::filesystem::remove_all(toUtf8(dataFolder)); // taken away meanwhile

    EXPECT_FALSE(batch.commit());
    for (const IniFile* reader : {&ini, &other}) {
        EXPECT_EQ(reader->readInteger(L"S", L"A", 0), 0);
        EXPECT_FALSE(reader->valueExists(L"S", L"B"));
    }

    // Once the folder is back, a write starts from the file, without the lost writes.
    ASSERT_TRUE(fileio::createDirectories(dataFolder));
    ASSERT_TRUE(ini.writeInteger(L"S", L"C", 4));
    EXPECT_EQ(fileio::readFile(inData), "[S]\r\nC=4\r\n");
    EXPECT_EQ(other.readInteger(L"S", L"C", 0), 4);
}

} // namespace
} // namespace kelvo
