#include "common/TempFolder.h"
#include "schedule/ScheduleStore.h"
#include "storage/TextCodec.h"
#include "storage/ZuMemIniFile.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace kelvo {
namespace {

using Set = std::vector<int>;

DateTime timeOfDay(int hour, int minute) {
    return (hour * 60 + minute) / 1440.0;
}

TScheduleData initialRecord() {
    TScheduleData r;
    InitScheduleRecord(r);
    return r;
}

// A weekly start at 7:30 on Monday and Thursday, and a daily end at 18:00 that
// waits for the CPU to calm down.
TScheduleData weeklyRecord() {
    TScheduleData r = initialRecord();
    r.UseSchedule = true;
    r.NextStartDateTime = *encodeDateTime({2016, 5, 9, 7, 30, 0});
    r.StartTime[0] = timeOfDay(7, 30);
    r.StartScheduleMode[0] = kModeWeekly;
    r.StartDaysOfWeek[0] = {1, 4};
    r.EndTime[1] = timeOfDay(18, 0);
    r.EndScheduleMode[1] = kModeDaily;
    r.EndDays[1] = {};
    r.LimitCPUPercent[1] = 30;
    return r;
}

// Every field away from its initial value, to see each one go and come back.
TScheduleData busyRecord() {
    TScheduleData r;
    r.UseSchedule = true;
    r.NextStartDateTime = *encodeDateTime({2016, 5, 9, 7, 30, 0});
    r.NextEndDateTime = *encodeDateTime({2016, 5, 10});
    for (int k = 0; k < kSchedulesPerSide; ++k) {
        r.StartTime[k] = timeOfDay(1 + k, 5);
        r.EndTime[k] = timeOfDay(20 + k, 45);
        r.StartScheduleMode[k] = k;
        r.EndScheduleMode[k] = 3 - k;
        r.StartDaysOfWeek[k] = {k, 6};
        r.EndDaysOfWeek[k] = {0, k + 2};
        r.StartDays[k] = {k + 2, 31};
        r.EndDays[k] = {1, k + 10};
        r.StartOnMonthEnd[k] = k != 0;
        r.EndOnMonthEnd[k] = k != 1;
        r.StartOnHoliday[k] = k != 2;
        r.EndOnHoliday[k] = true;
        r.OnceStartDay[k] = 20 + k;
        r.OnceEndDay[k] = 10 + k;
        r.OnceStartMonth[k] = 1 + k;
        r.OnceEndMonth[k] = 12 - k;
        r.ExceptStartSchedule[k] = true;
        r.ExceptEndSchedule[k] = k == 1;
        r.ExceptStartDaysOfWeek[k] = {5};
        r.ExceptEndDaysOfWeek[k] = {k};
        r.ExceptStartDays[k] = {3, 4};
        r.ExceptEndDays[k] = {28 + k};
        r.ExceptStartOnMonthEnd[k] = k == 0;
        r.ExceptEndOnMonthEnd[k] = k == 2;
        r.ExceptStartOnHoliday[k] = true;
        r.ExceptEndOnHoliday[k] = k == 0;
        r.RedumeStart[k] = k == 1;
        r.LimitCPUPercent[k] = 10 * k + 5;
    }
    r.NextEndLimitCPUPercent = kNoCpuLimit; // memory only
    return r;
}

class ScheduleStoreTest : public ::testing::Test {
  protected:
    ScheduleStoreTest() { store.DataDir = folder.path(); }

    void giveItems(int launcherNo, std::vector<TScheduleData> records) {
        store.Schedules[static_cast<std::size_t>(launcherNo)] = std::move(records);
    }
    TScheduleData& record(int launcherNo, int item) {
        return store.Schedules[static_cast<std::size_t>(launcherNo)].at(
            static_cast<std::size_t>(item));
    }
    std::wstring fileName(int launcherNo) const {
        return L"NewSchedule" + std::to_wstring(launcherNo) + L".ini";
    }
    void writeFile(const std::wstring& name, std::wstring_view text) const {
        folder.writeBytes(name, toCp932(text));
    }
    std::wstring readFile(const std::wstring& name) const {
        return fromCp932(folder.readBytes(name));
    }
    // One value as the file holds it, quotes removed.
    std::wstring stored(int launcherNo, int item, const wchar_t* key) const {
        const TZuMemIniFile ini(folder.file(fileName(launcherNo)));
        return ini.ReadString(std::to_wstring(item), key, L"<none>");
    }

    testsupport::TempFolder folder;
    ScheduleStore store;
};

TEST_F(ScheduleStoreTest, InitialRecordHasTheDocumentedValues) {
    const TScheduleData r = initialRecord();
    EXPECT_FALSE(r.UseSchedule);
    for (int k = 0; k < kSchedulesPerSide; ++k) {
        EXPECT_EQ(r.StartTime[k], -1.0);
        EXPECT_EQ(r.EndTime[k], -1.0);
        EXPECT_EQ(r.StartScheduleMode[k], kModeOnce);
        EXPECT_EQ(r.EndScheduleMode[k], kModeOnce);
        EXPECT_EQ(r.StartDays[k], (Set{1, 15}));
        EXPECT_EQ(r.ExceptEndDays[k], (Set{1, 15}));
        EXPECT_TRUE(r.StartDaysOfWeek[k].empty());
        EXPECT_EQ(r.LimitCPUPercent[k], -1);
    }
    EXPECT_EQ(r.NextStartDateTime, 0);
    EXPECT_EQ(r.NextEndLimitCPUPercent, -1);
}

TEST_F(ScheduleStoreTest, SaveWritesTheKeysInOrderAndOnlyThoseThatApply) {
    giveItems(1, {weeklyRecord()});
    SaveSchedule(store, 1, -1);
    EXPECT_EQ(readFile(fileName(1)), L"[0]\r\n"
                                     L"\r\n"
                                     L"UseSchedule=1\r\n"
                                     L"NextStartDateTime=\"2016/05/09 7:30:00\"\r\n"
                                     L"NextEndDateTime=1899/12/30\r\n"
                                     L"StartTime1=\"1899/12/30 7:30:00\"\r\n"
                                     L"EndTime1=1899/12/29\r\n"
                                     L"RedumeStart1=0\r\n"
                                     L"ExceptStartSchedule1=0\r\n"
                                     L"StartScheduleMode1=0\r\n"
                                     L"OnceStartDay1=0\r\n"
                                     L"OnceStartMonth1=0\r\n"
                                     L"StartDaysOfWeek1=1,4\r\n"
                                     L"StartDays1=1,15\r\n"
                                     L"StartOnMonthEnd1=0\r\n"
                                     L"StartOnHoliday1=0\r\n"
                                     L"ExceptStartDays1=1,15\r\n"
                                     L"ExceptStartOnMonthEnd1=0\r\n"
                                     L"ExceptStartOnHoliday1=0\r\n"
                                     L"StartTime2=1899/12/29\r\n"
                                     L"EndTime2=\"1899/12/30 18:00:00\"\r\n"
                                     L"ExceptEndSchedule2=0\r\n"
                                     L"EndScheduleMode2=1\r\n"
                                     L"OnceEndDay2=0\r\n"
                                     L"OnceEndMonth2=0\r\n"
                                     L"EndOnMonthEnd2=0\r\n"
                                     L"EndOnHoliday2=0\r\n"
                                     L"ExceptEndDays2=1,15\r\n"
                                     L"ExceptEndOnMonthEnd2=0\r\n"
                                     L"ExceptEndOnHoliday2=0\r\n"
                                     L"LimitCPUPerCent2=30\r\n"
                                     L"StartTime3=1899/12/29\r\n"
                                     L"EndTime3=1899/12/29\r\n"
                                     L"\r\n");
}

TEST_F(ScheduleStoreTest, EveryFieldComesBackAfterSaveAndLoad) {
    giveItems(2, {initialRecord(), busyRecord()});
    SaveSchedule(store, 2, -1);
    giveItems(2, {initialRecord(), initialRecord()});
    LoadSchedule(store, 2, -1);
    EXPECT_EQ(record(2, 1), busyRecord());
    TScheduleData unused = initialRecord();
    EXPECT_EQ(record(2, 0), unused);
}

TEST_F(ScheduleStoreTest, AnUnusedSectionLoadsAsUnusedWhateverItStillHolds) {
    writeFile(fileName(1), L"[0]\r\nUseSchedule=0\r\nStartTime1=\"1899/12/30 7:00:00\"\r\n"
                           L"EndTime2=\"1899/12/30 9:00:00\"\r\nStartScheduleMode1=0\r\n"
                           L"StartOnHoliday1=1\r\nNextStartDateTime=2030/01/01\r\n");
    TScheduleData r = busyRecord();
    giveItems(1, {r});
    LoadSchedule(store, 1, 0);
    const TScheduleData& loaded = record(1, 0);
    EXPECT_FALSE(loaded.UseSchedule);
    for (int k = 0; k < kSchedulesPerSide; ++k) {
        EXPECT_EQ(loaded.StartTime[k], -1.0);
        EXPECT_EQ(loaded.EndTime[k], -1.0);
        EXPECT_EQ(loaded.StartScheduleMode[k], kModeOnce);
        EXPECT_EQ(loaded.EndScheduleMode[k], kModeOnce);
        EXPECT_EQ(loaded.StartDays[k], (Set{1, 15}));
        EXPECT_EQ(loaded.ExceptEndDays[k], (Set{1, 15}));
        EXPECT_FALSE(loaded.StartOnHoliday[k]);
        EXPECT_FALSE(loaded.ExceptStartSchedule[k]);
        EXPECT_EQ(loaded.LimitCPUPercent[k], -1);
        // These are left as they were in memory.
        EXPECT_EQ(loaded.StartDaysOfWeek[k], r.StartDaysOfWeek[k]);
        EXPECT_EQ(loaded.OnceEndMonth[k], r.OnceEndMonth[k]);
        EXPECT_EQ(loaded.RedumeStart[k], r.RedumeStart[k]);
    }
    EXPECT_EQ(loaded.NextStartDateTime, 0);
}

TEST_F(ScheduleStoreTest, SetsThatASaveLeavesOutKeepTheirOldFileValue) {
    giveItems(1, {weeklyRecord()});
    record(1, 0).ExceptStartDaysOfWeek[0] = {0, 6};
    SaveSchedule(store, 1, 0);

    record(1, 0).StartDaysOfWeek[0].clear();
    record(1, 0).ExceptStartDaysOfWeek[0].clear();
    record(1, 0).StartDays[0].clear();
    SaveSchedule(store, 1, 0);
    EXPECT_EQ(stored(1, 0, L"StartDaysOfWeek1"), L"1,4");
    EXPECT_EQ(stored(1, 0, L"ExceptStartDaysOfWeek1"), L"0,6");
    EXPECT_EQ(stored(1, 0, L"StartDays1"), L""); // always written, even empty

    record(1, 0).StartDays[0] = {9};
    LoadSchedule(store, 1, 0);
    EXPECT_EQ(record(1, 0).StartDaysOfWeek[0], (Set{1, 4}));
    EXPECT_EQ(record(1, 0).ExceptStartDaysOfWeek[0], (Set{0, 6}));
    EXPECT_EQ(record(1, 0).StartDays[0], (Set{9})); // empty text: the set stays
}

TEST_F(ScheduleStoreTest, TheCpuLimitIsFoundWhicheverWayItIsSpelt) {
    writeFile(fileName(3), L"[0]\r\nUseSchedule=1\r\nEndTime2=\"1899/12/30 9:00:00\"\r\n"
                           L"LimitCPUPerCent2=30\r\nlimitcpupercent3=40\r\n");
    giveItems(3, {initialRecord()});
    LoadSchedule(store, 3, 0);
    EXPECT_EQ(record(3, 0).LimitCPUPercent, (PerSchedule<int>{-1, 30, 40}));
}

TEST_F(ScheduleStoreTest, ListsParseWithTheirRangesAndFallBacks) {
    const struct {
        const wchar_t* text;
        Set weekdays;
        Set days;
    } cases[] = {
        {L"1,15", {1}, {1, 15}},
        {L"1,40", {1}, {1}},
        {L"1,x", {}, {}},
        {L"0,7,8", {0, 7}, {0, 7, 8}},
        {L"6 0,,", {}, {}}, // ",," holds an empty element
        {L"3,", {}, {}},    // so does a comma at the very end
        {L"3, ", {3}, {3}}, // but not one followed by a blank
        {L"5 2  3", {2, 3, 5}, {2, 3, 5}},
        {L"\"1,2\"", {}, {}}, // one quoted element that is no number
        {L"\"4\",\"2\"", {2, 4}, {2, 4}},
        {L"-1,2", {2}, {2}},
        {L"$1F", {}, {31}},
        {L"99999999999", {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(toUtf8(c.text));
        Set weekdays{9}, days{9};
        ParseWeekdayList(c.text, weekdays);
        ParseDayList(c.text, days);
        EXPECT_EQ(weekdays, c.weekdays);
        EXPECT_EQ(days, c.days);
    }
    for (const wchar_t* blank : {L"", L"  ", L"\t"}) {
        Set kept{3};
        ParseDayList(blank, kept);
        EXPECT_EQ(kept, (Set{3}));
    }
}

TEST_F(ScheduleStoreTest, ListsAreWrittenInOrderWithinTheirRange) {
    EXPECT_EQ(WeekdayListText({6, 0, 3, 7, 6}), L"0,3,6");
    EXPECT_EQ(DayListText({31, 0, 1, 15, 32}), L"1,15,31");
    EXPECT_EQ(DayListText({}), L"");
}

TEST_F(ScheduleStoreTest, RemovingItemsRenumbersTheirSections) {
    TScheduleData first = weeklyRecord();
    TScheduleData second = busyRecord();
    TScheduleData third = weeklyRecord();
    third.StartDaysOfWeek[0] = {2};
    giveItems(1, {first, second, third});
    SaveSchedule(store, 1, -1);
    // Item 2 cleared its weekdays since: its old list stays in its section.
    record(1, 2).StartDaysOfWeek[0].clear();

    EXPECT_FALSE(RemoveScheduleRecords(store, 1, {-1, 0, 1})); // item 0 had no wake flag
    EXPECT_EQ(store.ItemCount(1), 2);
    EXPECT_EQ(record(1, 0), second);

    const TZuMemIniFile ini(folder.file(fileName(1)));
    EXPECT_EQ(ini.ReadSections(), (std::vector<std::wstring>{L"0", L"1"}));
    giveItems(1, {initialRecord(), initialRecord()});
    LoadSchedule(store, 1, -1);
    EXPECT_EQ(record(1, 0), second);
    EXPECT_EQ(record(1, 1).StartDaysOfWeek[0], (Set{2})); // its own, not item 1's
}

TEST_F(ScheduleStoreTest, RemovalReportsWakeFlagsOfRemovedItemsOnly) {
    TScheduleData waking = weeklyRecord();
    waking.RedumeStart[2] = true;
    giveItems(1, {weeklyRecord(), waking});
    EXPECT_FALSE(RemoveScheduleRecords(store, 1, {-1, 0}));
    EXPECT_TRUE(RemoveScheduleRecords(store, 1, {-1}));
    EXPECT_EQ(store.ItemCount(1), 0);
    EXPECT_FALSE(RemoveScheduleRecords(store, 1, {})); // nothing left to remove
}

TEST_F(ScheduleStoreTest, RemovingEveryItemEmptiesTheFile) {
    giveItems(4, {weeklyRecord(), weeklyRecord()});
    SaveSchedule(store, 4, -1);
    RemoveScheduleRecords(store, 4, {-1, -1});
    EXPECT_EQ(readFile(fileName(4)), L"");
    // A new first item must not inherit the schedule of the old one.
    AppendScheduleRecord(store, 4);
    LoadSchedule(store, 4, 0);
    EXPECT_FALSE(record(4, 0).UseSchedule);
}

TEST_F(ScheduleStoreTest, AnItemMovedInIsAppendedAndSaved) {
    giveItems(5, {initialRecord()});
    EXPECT_EQ(AppendScheduleRecord(store, 5), 1);
    MoveScheduleRecordIn(store, 5, 2, weeklyRecord());
    EXPECT_EQ(store.ItemCount(5), 3);
    EXPECT_EQ(record(5, 2), weeklyRecord());
    EXPECT_EQ(stored(5, 2, L"StartDaysOfWeek1"), L"1,4");
    EXPECT_EQ(stored(5, 0, L"UseSchedule"), L"<none>"); // only the new item is written
}

TEST_F(ScheduleStoreTest, ItemsOutsideTheLauncherAreLeftAlone) {
    giveItems(1, {weeklyRecord()});
    SaveSchedule(store, 1, 1);
    SaveSchedule(store, 0, -1);
    SaveSchedule(store, 6, -1);
    SaveSchedule(store, 2, -1); // no items: no file
    EXPECT_EQ(folder.entryCount(), 0u);
    SaveSchedule(store, 1, 0);
    LoadSchedule(store, 1, 7);
    LoadSchedule(store, 1, -2);
    EXPECT_EQ(record(1, 0), weeklyRecord());
}

class ScheduleStartupTest : public ScheduleStoreTest {
  protected:
    ScheduleStartup startup() {
        ScheduleStartup s;
        s.dataDir = folder.path();
        s.itemCounts = {0, 2, 0, 1, 0, 0};
        s.computeNextTimes = [this](int n, int i) { computed.emplace_back(n, i); };
        s.armScheduleWakeTimer = [this] { ++armed; };
        return s;
    }

    std::vector<std::pair<int, int>> computed;
    int armed = 0;
};

TEST_F(ScheduleStartupTest, MigratesTheLegacyFilesAndDeletesThem) {
    writeFile(L"Schedule1.ini", L"[0]\r\nUseSchedule=1\r\nStartTime1=1899/12/30 7:00:00\r\n"
                                L"StartTime3=1899/12/30 8:00:00\r\nScheduleMode=0\r\n"
                                L"StartDaysOfWeek=1,3\r\nRedumeStart=1\r\n"
                                L"EndTime2=1899/12/30 9:00:00\r\nEndScheduleMode=1\r\n"
                                L"LimitCPUPercent=25\r\nExceptEndDays2=5\r\nExceptEndDays=6\r\n"
                                L"[1]\r\nUseSchedule=0\r\nStartTime1=1899/12/30 7:00:00\r\n");
    writeFile(L"Schedule2.ini", L"[0]\r\nUseSchedule=1\r\n"); // launcher 2 has no items
    writeFile(L"Schedule.dat", L"old");

    InitSchedules(store, startup());

    EXPECT_FALSE(folder.exists(L"Schedule1.ini"));
    EXPECT_FALSE(folder.exists(L"Schedule2.ini"));
    EXPECT_FALSE(folder.exists(L"Schedule.dat"));
    EXPECT_FALSE(folder.exists(fileName(2)));
    ASSERT_TRUE(folder.exists(fileName(1)));
    EXPECT_EQ(stored(1, 1, L"UseSchedule"), L"<none>"); // only active items are carried over

    const TScheduleData& r = record(1, 0);
    EXPECT_TRUE(r.UseSchedule);
    EXPECT_EQ(r.StartScheduleMode, (PerSchedule<int>{0, 2, 0}));
    EXPECT_EQ(r.StartDaysOfWeek[2], (Set{1, 3}));
    EXPECT_TRUE(r.StartDaysOfWeek[1].empty());
    EXPECT_EQ(r.RedumeStart, (PerSchedule<bool>{true, false, true}));
    EXPECT_EQ(r.EndScheduleMode, (PerSchedule<int>{2, 1, 2}));
    EXPECT_EQ(r.LimitCPUPercent, (PerSchedule<int>{-1, 25, -1}));
    EXPECT_EQ(r.ExceptEndDays[1], (Set{5}));
    EXPECT_EQ(r.StartTime[1], -1.0);
    EXPECT_EQ(r.EndTime[1], timeOfDay(9, 0));
    EXPECT_FALSE(record(1, 1).UseSchedule);
    EXPECT_EQ(record(1, 1).StartTime[0], -1.0);

    EXPECT_EQ(computed, (std::vector<std::pair<int, int>>{{1, 0}}));
    EXPECT_EQ(armed, 1);
}

TEST_F(ScheduleStartupTest, LauncherWithoutAFileGetsUnusedDefaults) {
    giveItems(3, {busyRecord()}); // whatever was there before start-up
    InitSchedules(store, startup());
    EXPECT_EQ(store.ItemCount(1), 2);
    EXPECT_EQ(store.ItemCount(2), 0);
    ASSERT_EQ(store.ItemCount(3), 1);
    EXPECT_EQ(record(3, 0), initialRecord());
    EXPECT_TRUE(computed.empty());
    EXPECT_EQ(armed, 0);
    EXPECT_EQ(folder.entryCount(), 0u); // start-up alone writes nothing
}

TEST_F(ScheduleStartupTest, LoadsTheFilesAndReadsTheWakeLead) {
    writeFile(fileName(3), L"[0]\r\nUseSchedule=1\r\nStartTime1=\"1899/12/30 6:00:00\"\r\n"
                           L"RedumeStart1=0\r\n");
    const struct {
        const wchar_t* settings;
        int minutes;
    } cases[] = {
        {nullptr, 1},
        {L"[RedumeWaitTime]\r\nValue=3\r\n", 3},
        {L"[RedumeWaitTime]\r\nValue=5\r\n", 5},
        {L"[RedumeWaitTime]\r\nValue=0\r\n", 1},
        {L"[RedumeWaitTime]\r\nValue=600\r\n", 1},
        {L"[Other]\r\nValue=3\r\n", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.minutes);
        if (c.settings)
            writeFile(L"Settei0.ini", c.settings);
        computed.clear();
        InitSchedules(store, startup());
        EXPECT_EQ(store.RedumeWaitTime, c.minutes);
        EXPECT_EQ(record(3, 0).StartTime[0], timeOfDay(6, 0));
        EXPECT_EQ(computed, (std::vector<std::pair<int, int>>{{3, 0}}));
    }
    EXPECT_EQ(armed, 0); // no start asks to wake the machine
}

} // namespace
} // namespace kelvo
