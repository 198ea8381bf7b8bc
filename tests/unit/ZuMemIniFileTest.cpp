#include "common/TempFolder.h"
#include "storage/TextCodec.h"
#include "storage/ZuMemIniFile.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace kelvo {
namespace {

using Lines = std::vector<std::wstring>;

// The engine over lines given in memory, as if they had been read from a file.
std::unique_ptr<TZuMemIniFile> parsed(const Lines& lines) {
    auto ini = std::make_unique<TZuMemIniFile>(L"");
    ini->SetStrings(lines);
    return ini;
}

TEST(ZuMemIniFileTest, NamesIgnoreCaseAndLinesAreWrittenBackNormalised) {
    const auto ini = parsed({L"[Sec]", L"a = 1", L"B=2"});
    EXPECT_EQ(ini->ReadString(L"sec", L"A", L"-"), L"1");
    EXPECT_EQ(ini->ReadString(L"SEC", L"b", L"-"), L"2");
    EXPECT_EQ(ini->ReadString(L" Sec ", L" a ", L"-"), L"1");
    EXPECT_EQ(ini->ReadString(L"Sec", L"c", L"-"), L"-");
    EXPECT_EQ(ini->ReadString(L"Other", L"a", L"-"), L"-");
    EXPECT_EQ(ini->GetStrings(), (Lines{L"[Sec]", L"", L"a=1", L"B=2", L""}));
}

TEST(ZuMemIniFileTest, CommentsStayWithWhatFollowsThem) {
    const auto ini = parsed({
        L"; about the file",
        L"[First]",
        L"  ; about x, indented",
        L"x=1",
        L"",
        L"y=2",
        L"[Second]",
        L"z=3",
        L"; at the end",
    });
    EXPECT_EQ(ini->GetStrings(), (Lines{
                                     L"; about the file",
                                     L"[First]",
                                     L"",
                                     L"  ; about x, indented",
                                     L"x=1",
                                     L"y=2",
                                     L"",
                                     L"[Second]",
                                     L"",
                                     L"z=3",
                                     L"",
                                     L"; at the end",
                                 }));
}

TEST(ZuMemIniFileTest, LinesThatBelongNowhereAreDropped) {
    const auto ini = parsed({
        L"orphan=1", // above the first header
        L"; waits for a home",
        L"[ ]", // blank name: ignored, the comment stays pending
        L"[]", L"[S]", L"=no name",
        L"flag", // no "=": the name with an empty value
    });
    EXPECT_EQ(ini->GetStrings(), (Lines{L"; waits for a home", L"[S]", L"", L"flag=", L""}));
    EXPECT_EQ(ini->ReadSection(L"S"), (Lines{L"flag"}));
}

TEST(ZuMemIniFileTest, RepeatedKeysAndSectionsMerge) {
    const auto ini = parsed({
        L"[S]",
        L"a=1",
        L"b=2",
        L"A=3", // the first place, the last value, the last spelling
        L"[T]",
        L"t=1",
        L"; S again",
        L"[s]",
        L"c=4",
    });
    EXPECT_EQ(ini->GetStrings(), (Lines{L"; S again", L"[S]", L"", L"A=3", L"b=2", L"c=4", L"",
                                        L"[T]", L"", L"t=1", L""}));
    EXPECT_EQ(ini->ReadSections(), (Lines{L"S", L"T"}));
}

TEST(ZuMemIniFileTest, ValuesSurviveQuotingAndReadingBack) {
    const wchar_t* values[] = {
        L"plain", L"a b",   L" padded ", L"say \"hi\"", L"\"\"",
        L"\"",    L"\ttab", L"[x]",      L"日本語 値",  L"",
    };
    TZuMemIniFile ini(L"");
    for (const wchar_t* value : values) {
        SCOPED_TRACE(toUtf8(value));
        ini.WriteString(L"S", L"k", value);
        EXPECT_EQ(ini.ReadString(L"S", L"k", L"-"), value);
        // And once more through the text of the file.
        const auto reread = parsed(ini.GetStrings());
        EXPECT_EQ(reread->ReadString(L"S", L"k", L"-"), value);
    }
}

TEST(ZuMemIniFileTest, StoredFormsAreQuotedOnlyWhenNeeded) {
    TZuMemIniFile ini(L"");
    ini.WriteString(L"S", L"bare", L"1,15");
    ini.WriteString(L"S", L"blank", L"2016/05/06 7:30:00");
    ini.WriteString(L"S", L"quote", L"a\"b");
    ini.WriteString(L"S", L"empty", L"");
    ini.WriteString(L"S", L"[k", L"]"); // bare, the line would read back as a header
    EXPECT_EQ(ini.ReadSectionValues(L"s"), (Lines{L"bare=1,15", L"blank=\"2016/05/06 7:30:00\"",
                                                  L"quote=\"a\"\"b\"", L"empty=", L"[k=\"]\""}));
    EXPECT_EQ(parsed(ini.GetStrings())->ReadString(L"S", L"[k", L"-"), L"]");
}

TEST(ZuMemIniFileTest, AValueOfTwoQuotesInTheFileReadsAsTwoQuotes) {
    const auto ini = parsed({L"[S]", L"k=\"\"", L"q=\"quoted\" tail"});
    EXPECT_EQ(ini->ReadString(L"S", L"k", L"-"), L"\"\"");
    EXPECT_EQ(ini->ReadString(L"S", L"q", L"-"), L"quoted");
}

TEST(ZuMemIniFileTest, RefusedNamesAndValuesRaiseTheirMessagesInOrder) {
    using Action = std::function<void(TZuMemIniFile&)>;
    const struct {
        const char* what;
        Action action;
        const wchar_t* message;
    } cases[] = {
        {"blank section", [](TZuMemIniFile& i) { i.WriteString(L"  ", L"k", L"v"); },
         L"空のセクション名"},
        {"section before value", [](TZuMemIniFile& i) { i.WriteString(L"", L"k", L"a\rb"); },
         L"空のセクション名"},
        {"CR before LF", [](TZuMemIniFile& i) { i.WriteString(L"S", L"k", L"a\nb\r"); },
         L"値が CR を含む"},
        {"LF", [](TZuMemIniFile& i) { i.WriteString(L"S", L"k", L"a\nb"); }, L"値が LF を含む"},
        {"value before name", [](TZuMemIniFile& i) { i.WriteString(L"S", L"", L"\n"); },
         L"値が LF を含む"},
        {"empty name", [](TZuMemIniFile& i) { i.WriteString(L"S", L" ", L"v"); }, L"空の名前"},
        {"equals", [](TZuMemIniFile& i) { i.WriteString(L"S", L"a=b", L"v"); },
         L"名前が \"=\" を含んでいる"},
        {"equals before semicolon", [](TZuMemIniFile& i) { i.WriteString(L"S", L";a=b", L"v"); },
         L"名前が \"=\" を含んでいる"},
        {"semicolon", [](TZuMemIniFile& i) { i.WriteString(L"S", L" ;a", L"v"); },
         L"名前の先頭が \";\""},
        {"erase unnamed", [](TZuMemIniFile& i) { i.EraseSection(L" "); },
         L"無名セクションは削除できません"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TZuMemIniFile ini(L"");
        try {
            c.action(ini);
            ADD_FAILURE() << "no error";
        } catch (const EZuMemIniFileError& e) {
            EXPECT_EQ(e.Message(), c.message);
        }
    }
}

TEST(ZuMemIniFileTest, ErrorsHaveTheirOwnClasses) {
    TZuMemIniFile ini(L"");
    EXPECT_THROW(ini.WriteString(L"", L"k", L"v"), EZuMemIniFileInvalidSection);
    EXPECT_THROW(ini.WriteString(L"S", L"k", L"\r"), EZuMemIniFileInvalidValue);
    EXPECT_THROW(ini.WriteString(L"S", L"=", L"v"), EZuMemIniFileInvalidName);
    EXPECT_THROW(ini.EraseSection(L""), EZuMemIniFileInvalidSection);
}

TEST(ZuMemIniFileTest, ARefusedKeyNameLeavesItsNewSectionBehind) {
    TZuMemIniFile ini(L"");
    EXPECT_THROW(ini.WriteString(L"New", L"", L"v"), EZuMemIniFileInvalidName);
    EXPECT_EQ(ini.ReadSections(), (Lines{L"New"}));
    EXPECT_TRUE(ini.ReadSection(L"New").empty());
}

TEST(ZuMemIniFileTest, SectionsAndKeysCanBeRemovedWithTheirComments) {
    const auto ini = parsed({
        L"; A's comment",
        L"[A]",
        L"; k's comment",
        L"k=1",
        L"m=2",
        L"[B]",
        L"n=3",
        L"; end",
    });
    ini->DeleteKey(L" a ", L"K");
    ini->EraseSection(L"b");
    ini->EraseSection(L"missing");
    EXPECT_EQ(ini->GetStrings(), (Lines{L"; A's comment", L"[A]", L"", L"m=2", L"", L"; end"}));
}

TEST(ZuMemIniFileTest, CommentBlocksAreMadeOfCommentLines) {
    const auto ini = parsed({L"[S]", L"k=1"});
    ini->SetSectionComment(L"s", {L"plain", L"", L"  ;kept"});
    ini->FindSection(L"S")->SetKeyComment(L"missing", {L"ignored"});
    ini->FindSection(L"S")->SetKeyComment(L"K", {L"note"});
    ini->SetSectionComment(L"missing", {L"ignored"});
    EXPECT_EQ(ini->GetStrings(),
              (Lines{L";plain", L";", L"  ;kept", L"[S]", L"", L";note", L"k=1", L""}));
}

TEST(ZuMemIniFileTest, RenamingASectionKeepsItsContentAndPlace) {
    const auto ini = parsed({L"; a", L"[1]", L"k=1", L"[0]", L"old=1", L"[2]", L"k=2"});
    EXPECT_TRUE(ini->RenameSection(L"2", L"0")); // the other "0" goes
    EXPECT_FALSE(ini->RenameSection(L"9", L"3"));
    EXPECT_FALSE(ini->RenameSection(L"1", L" "));
    EXPECT_EQ(ini->GetStrings(),
              (Lines{L"; a", L"[1]", L"", L"k=1", L"", L"[0]", L"", L"k=2", L""}));
    EXPECT_EQ(ini->ReadString(L"0", L"k", L"-"), L"2");
    EXPECT_EQ(ini->ReadString(L"2", L"k", L"-"), L"-");
}

TEST(ZuMemIniFileTest, TypedValuesUseTheirTextForms) {
    TZuMemIniFile ini(L"");
    ini.WriteInteger(L"S", L"int", -42);
    ini.WriteBool(L"S", L"yes", true);
    ini.WriteBool(L"S", L"no", false);
    ini.WriteDateTime(L"S", L"when", *encodeDateTime({2016, 5, 6, 7, 30, 0}));
    ini.WriteDateTime(L"S", L"midnight", *encodeDateTime({2016, 5, 6}));
    ini.WriteDateTime(L"S", L"noon", 0.5);
    ini.WriteDateTime(L"S", L"unused", -1.0);
    EXPECT_EQ(
        ini.ReadSectionValues(L"S"),
        (Lines{L"int=-42", L"yes=1", L"no=0", L"when=\"2016/05/06 7:30:00\"",
               L"midnight=2016/05/06", L"noon=\"1899/12/30 12:00:00\"", L"unused=1899/12/29"}));
    EXPECT_EQ(ini.ReadDateTime(L"S", L"unused", 7), -1.0);
    EXPECT_EQ(ini.ReadDateTime(L"S", L"noon", 7), 0.5);
    EXPECT_EQ(ini.ReadDateTime(L"S", L"int", 7), 7);
    EXPECT_EQ(ini.ReadDateTime(L"S", L"missing", 7), 7);
}

TEST(ZuMemIniFileTest, TypedReadsFallBackToTheDefault) {
    const struct {
        const wchar_t* text;
        int integer;
        bool boolean;
    } cases[] = {
        {L"0x1F", 31, true}, {L"0X1f", 31, true},       {L"$10", 16, true},
        {L"-5", -5, true},   {L"0", 0, false},          {L"2", 2, true},
        {L"0x", 99, true},   {L"abc", 99, true},        {L"1.5", 99, true},
        {L"", 99, true},     {L"2147483648", 99, true}, {L"0xFFFFFFFF", -1, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(toUtf8(c.text));
        TZuMemIniFile ini(L"");
        ini.WriteString(L"S", L"k", c.text);
        EXPECT_EQ(ini.ReadInteger(L"S", L"k", 99), c.integer);
        EXPECT_EQ(ini.ReadBool(L"S", L"k", true), c.boolean);
    }
}

class ZuMemIniFileOnDiskTest : public ::testing::Test {
  protected:
    static constexpr const wchar_t* kName = L"NewSchedule1.ini";
    testsupport::TempFolder folder;
    const std::wstring path = folder.file(kName);
};

TEST_F(ZuMemIniFileOnDiskTest, AMissingFileIsEmptyAndUpdateFileCreatesIt) {
    TZuMemIniFile ini(path);
    EXPECT_TRUE(ini.ReadSections().empty());
    ini.UpdateFile();
    ASSERT_TRUE(folder.exists(kName));
    EXPECT_EQ(folder.readBytes(kName), "");
}

TEST_F(ZuMemIniFileOnDiskTest, ReadsAnyLineBreakAndWritesCodePage932WithCrLf) {
    folder.writeBytes(kName, toCp932(L"[起動]\r\n名前=値 あり\rx=1\ny=2"));
    TZuMemIniFile ini(path);
    EXPECT_EQ(ini.ReadString(L"起動", L"名前", L"-"), L"値 あり");
    EXPECT_EQ(ini.ReadString(L"起動", L"y", L"-"), L"2");
    ini.UpdateFile();
    EXPECT_EQ(folder.readBytes(kName),
              toCp932(L"[起動]\r\n\r\n名前=\"値 あり\"\r\nx=1\r\ny=2\r\n\r\n"));
}

TEST_F(ZuMemIniFileOnDiskTest, ChangesReachTheFileOnlyThroughUpdateFile) {
    folder.writeBytes(kName, "[S]\r\nk=1\r\n");
    {
        TZuMemIniFile ini(path);
        ini.WriteString(L"S", L"k", L"2");
    }
    EXPECT_EQ(folder.readBytes(kName), "[S]\r\nk=1\r\n");
    TZuMemIniFile ini(path);
    folder.writeBytes(kName, "[S]\r\nk=3\r\n"); // read once: later changes are not seen
    EXPECT_EQ(ini.ReadString(L"S", L"k", L"-"), L"1");
}

TEST_F(ZuMemIniFileOnDiskTest, AFailedWriteIsReported) {
    TZuMemIniFile ini(folder.file(L"no-such-folder") + testsupport::TempFolder::kSeparator +
                      L"x.ini");
    ini.WriteString(L"S", L"k", L"v");
    EXPECT_THROW(ini.UpdateFile(), EZuFileAccessError);
}

} // namespace
} // namespace kelvo
