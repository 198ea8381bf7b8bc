#pragma once
// The schedule records of all launchers, one per item and indexed exactly like
// the items, and their files NewSchedule<N>.ini in the data folder: one section
// per item, named by the item index. The files go through the commented INI
// engine, so comments that users put in them survive every save.
//
// Memory is the master copy once InitSchedules has run; a save only writes the
// keys that carry a value, so keys it leaves out keep what the file held.
#include "schedule/ScheduleData.h"
#include "storage/GlobalSettings.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvo {

class TZuMemIniFile;

struct ScheduleStore {
    std::wstring DataDir; // ends in a separator
    // By launcher number (element 0 unused); one record per item, by item index.
    std::array<std::vector<TScheduleData>, kLauncherCount + 1> Schedules{};
    int RedumeWaitTime = 1; // minutes a wake-up precedes a scheduled start

    int ItemCount(int launcherNo) const;
};

std::wstring scheduleFilePath(const std::wstring& dataDir, int launcherNo);
// Settei0.ini's [RedumeWaitTime] Value: the minutes a wake-up precedes a
// scheduled start, 1 .. 5; 1 when the file or a valid value is missing.
int ReadRedumeWaitTime(const std::wstring& dataDir);

// What start-up hands to InitSchedules: the item counts, and the evaluation of
// the next start and end times and of the wake timer, which live elsewhere.
struct ScheduleStartup {
    std::wstring dataDir;                                           // ends in a separator
    std::array<int, kLauncherCount + 1> itemCounts{};               // by launcher number
    std::function<void(int launcherNo, int item)> computeNextTimes; // does not save
    std::function<void()> armScheduleWakeTimer;
};

// Sizes the arrays to the items, migrates the older Schedule<N>.ini files,
// loads NewSchedule<N>.ini, applies defaults where a launcher has no file yet,
// computes the next times of the active items, deletes Schedule.dat, reads
// RedumeWaitTime and arms the wake timer when a schedule wants to wake the
// machine. Stopping and restarting the main timer around it is the caller's.
// File errors other than a missing file throw EZuFileAccessError.
void InitSchedules(ScheduleStore& store, const ScheduleStartup& startup);

// item = -1 for all items of the launcher. An item index outside the
// launcher's records, or a launcher number outside 1..5, does nothing.
void LoadSchedule(ScheduleStore& store, int launcherNo, int item);
void SaveSchedule(const ScheduleStore& store, int launcherNo, int item);

// The values an item gets when its section says the schedule is not used.
// Weekday sets, once day and month and the wake flags keep their values.
void ApplyUnusedScheduleDefaults(TScheduleData& record);

// Lists in the files: members in increasing order joined by "," (weekdays 0..6,
// days 1..31).
std::wstring WeekdayListText(const std::vector<int>& weekdays);
std::wstring DayListText(const std::vector<int>& days);
// Elements are separated by commas or blanks and may be double-quoted. Text
// without elements leaves `set` as it was; otherwise `set` becomes the elements
// in range (weekdays 0..7, days 0..31), or empty when any element is not an
// integer.
void ParseWeekdayList(std::wstring_view text, std::vector<int>& set);
void ParseDayList(std::wstring_view text, std::vector<int>& set);
// The elements as the list parser separates them.
std::vector<std::wstring> SplitScheduleList(std::wstring_view text);

// --- Keeping the records aligned with the items ---

// A newly registered item: a record with the initial values. Returns its index.
int AppendScheduleRecord(ScheduleStore& store, int launcherNo);

// After items of the launcher were removed; `mapping` gives old item index →
// new item index or -1 (removalMapping). The records follow their items, the
// file's sections are renumbered the same way (so the keys a save leaves out
// stay with their own item), the records are saved and sections at or beyond
// the new item count are erased. True when a removed item had a wake flag set:
// the caller then re-arms the wake timer.
bool RemoveScheduleRecords(ScheduleStore& store, int launcherNo, const std::vector<int>& mapping);

// An item moved or copied in: a copy of its record becomes the record of the
// new item `newItem` of the target launcher, and is saved.
void MoveScheduleRecordIn(ScheduleStore& store, int launcherNo, int newItem,
                          const TScheduleData& record);

// True when an item has its schedules on and asks to wake the machine.
bool WantsWakeUp(const TScheduleData& record);
bool AnyScheduleWantsWakeUp(const ScheduleStore& store);

} // namespace kelvo
