#include "storage/ZuStringList.h"

#include <gtest/gtest.h>

#include <memory>

namespace kelvo {
namespace {

TEST(ZuStringListTest, BucketIsTheHashOfTheCodePage932Bytes) {
    const struct {
        const wchar_t* key;
        bool caseSensitive;
        int bucket;
    } cases[] = {
        {L"", false, 0},
        {L"A", false, 53},
        {L"Sec", false, 51}, // hashed as SEC
        {L"sec", false, 51},
        {L"sec", true, 915},
        {L"UseSchedule", false, 746},
        {L"UseSchedule", true, 906},
        {L"1999", false, 132},
        {L"起動", false, 18}, // bytes 8B 4E 93 AE, taken unsigned
        {L"ａｂ", false, 9},  // full-width letters fold too: hashed as ＡＢ
        {L"ＡＢ", true, 9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bucket);
        EXPECT_EQ(ZuBucketFor(c.key, c.caseSensitive), c.bucket);
    }
}

TEST(ZuStringListTest, FindsEntriesByTextOrByNameDependingOnTheKeyKind) {
    TZuHashedStringList list(true);
    list.Add(L"Alpha=1");
    list.Add(L"beta=2");
    list.Add(L"gamma");

    EXPECT_EQ(list.IndexOf(L"ALPHA=1"), 0);
    EXPECT_EQ(list.IndexOfName(L"BETA"), 1);
    EXPECT_EQ(list.IndexOf(L"Alpha"), -1);
    EXPECT_EQ(list.IndexOfName(L"gamma"), -1); // no "=": the name is empty

    list.SetNameHashed(true);
    EXPECT_EQ(list.IndexOfName(L"alpha"), 0);
    EXPECT_EQ(list.IndexOf(L"beta=2"), 1);
    EXPECT_EQ(list.GetValue(L"BETA"), L"2");
    EXPECT_EQ(list.IndexOfName(L""), -1);
    EXPECT_TRUE(list.NameExists(L"Alpha"));
    EXPECT_FALSE(list.NameExists(L"delta"));
}

TEST(ZuStringListTest, ChangingTheCaseRuleEmptiesTheList) {
    TZuHashedStringList list(true);
    list.Add(L"Key");
    list.SetCaseSensitive(true);
    EXPECT_EQ(list.GetCount(), 0);
    list.Add(L"Key");
    EXPECT_EQ(list.IndexOf(L"Key"), 0);
    EXPECT_EQ(list.IndexOf(L"KEY"), -1);
}

TEST(ZuStringListTest, EntriesStayFindableAfterTheyChangeOrMove) {
    TZuHashedStringList list(true);
    list.SetNameHashed(true);
    list.Add(L"a=1");
    list.Add(L"b=2");
    list.Add(L"c=3");

    list.Put(1, L"renamed=2"); // another name: filed anew
    EXPECT_EQ(list.IndexOfName(L"b"), -1);
    EXPECT_EQ(list.IndexOfName(L"RENAMED"), 1);

    list.Move(0, 2);
    EXPECT_EQ(list.IndexOfName(L"a"), 2);
    EXPECT_EQ(list.IndexOfName(L"c"), 1);

    list.Delete(2);
    EXPECT_EQ(list.IndexOfName(L"a"), -1);
    EXPECT_EQ(list.GetCount(), 2);

    list.Insert(0, L"a=9");
    EXPECT_EQ(list.IndexOfName(L"a"), 0);
    EXPECT_EQ(list.IndexOfName(L"c"), 2);
}

TEST(ZuStringListTest, TheFirstOfEqualEntriesIsFound) {
    TZuHashedStringList list(false);
    list.Add(L"same");
    list.Add(L"SAME");
    EXPECT_EQ(list.IndexOf(L"Same"), 0);
    list.Delete(0);
    EXPECT_EQ(list.IndexOf(L"Same"), 0);
    EXPECT_EQ(list.Get(0), L"SAME");
}

TEST(ZuStringListTest, SetValueReplacesInPlaceAndKeepsTheObject) {
    TZuHashedStringList list(true);
    list.SetNameHashed(true);
    list.SetValue(L"x", L"1");
    list.SetValue(L" y ", L"a b");
    list.PutObject(0, std::make_unique<TZuObject>());
    const TZuObject* object = list.GetObject(0);

    list.SetValue(L"X", L"2");
    EXPECT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.Get(0), L"X=2");
    EXPECT_EQ(list.GetObject(0), object);
    EXPECT_EQ(list.Get(1), L"y=\"a b\"");
}

// Counts the living instances, to see who frees them.
class Counted : public TZuObject {
  public:
    explicit Counted(int& alive) : alive_(alive) { ++alive_; }
    ~Counted() override { --alive_; }

  private:
    int& alive_;
};

TEST(ZuStringListTest, OwningListsFreeObjectsOthersOnlyReferToThem) {
    int alive = 0;
    {
        TZuHashedStringList owning(true);
        owning.AddObject(L"a", std::make_unique<Counted>(alive));
        owning.AddObject(L"b", std::make_unique<Counted>(alive));
        owning.PutObject(0, std::make_unique<Counted>(alive)); // replaces: the old one goes
        EXPECT_EQ(alive, 2);
        owning.Delete(1);
        EXPECT_EQ(alive, 1);
        owning.SetNameObject(L"missing", std::make_unique<Counted>(alive));
        EXPECT_EQ(alive, 1);
    }
    EXPECT_EQ(alive, 0);

    Counted kept(alive);
    {
        TZuHashedStringList referring(false);
        referring.Add(L"a");
        referring.PutObjectRef(0, &kept);
        EXPECT_EQ(referring.ObjectOf(L"A"), &kept);
        EXPECT_THROW(referring.PutObject(0, std::make_unique<TZuObject>()), std::logic_error);
    }
    EXPECT_EQ(alive, 1);
}

TEST(ZuStringListTest, QuotesWhatReadingBackWouldOtherwiseChange) {
    const struct {
        const wchar_t* value;
        const wchar_t* stored;
    } cases[] = {
        {L"", L""},
        {L"plain", L"plain"},
        {L"a b", L"\"a b\""},
        {L"say \"hi\"", L"\"say \"\"hi\"\"\""},
        {L"\"\"", L"\"\"\"\"\"\""},
        {L"\ttab", L"\"\ttab\""},
        {L"全角\u3000空白", L"全角\u3000空白"}, // only ASCII blanks need quotes
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.stored);
        EXPECT_EQ(ZuQuoteValue(c.value), c.stored);
        EXPECT_EQ(ZuDequoteValue(c.stored), c.value);
    }
}

TEST(ZuStringListTest, DequotesStoredFormsFoundInFiles) {
    const struct {
        const wchar_t* stored;
        const wchar_t* value;
    } cases[] = {
        {L"\"\"", L"\"\""}, // comes out empty: the stored text is the value
        {L"\"", L"\""},
        {L"\"abc", L"ab"},         // no closing quote: the last character goes
        {L"\"a b\" rest", L"a b"}, // after the closing quote nothing counts
        {L"a\"b", L"a\"b"},        // not quoted at all
        {L"\"x\"\"\"", L"x\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.stored);
        EXPECT_EQ(ZuDequoteValue(c.stored), c.value);
    }
}

TEST(ZuStringListTest, TrimTakesControlCharactersButNotTheFullWidthSpace) {
    EXPECT_EQ(ZuTrim(L" \t\x01x y\r\n"), L"x y");
    EXPECT_EQ(ZuTrim(L"\u3000x\u3000"), L"\u3000x\u3000");
    EXPECT_EQ(ZuTrim(L"   "), L"");
}

} // namespace
} // namespace kelvo
