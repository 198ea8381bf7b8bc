#include "schedule/ScheduleStore.h"

#include "storage/DataFolder.h"
#include "storage/FileIO.h"
#include "storage/IniFile.h"
#include "storage/ZuMemIniFile.h"

#include <algorithm>
#include <bitset>
#include <optional>

namespace kelvo {
namespace {

constexpr int kMaxWeekdayMember = 7; // read and kept, but only 0..6 are written
constexpr int kMaxDayMember = 31;
constexpr const wchar_t* kDefaultDayList = L"1,15";
constexpr int kUnusedMode = kModeOnce;
constexpr int kMinRedumeWaitTime = 1;
constexpr int kMaxRedumeWaitTime = 5;

bool IsValidLauncher(int launcherNo) {
    return launcherNo >= 1 && launcherNo <= kLauncherCount;
}

std::wstring SectionName(int item) {
    return std::to_wstring(item);
}

// "StartTime" + 1 → "StartTime1": the key of schedule k (index 0..2).
std::wstring Numbered(std::wstring_view key, int k) {
    std::wstring name(key);
    name += static_cast<wchar_t>(L'1' + k);
    return name;
}

std::wstring LegacyFilePath(const std::wstring& dataDir, int launcherNo) {
    return dataDir + L"Schedule" + std::to_wstring(launcherNo) + L".ini";
}

// The items a call covers: one, or all when item is -1; none when out of range.
std::pair<int, int> ItemRange(int itemCount, int item) {
    if (item == -1)
        return {0, itemCount};
    if (item < 0 || item >= itemCount)
        return {0, 0};
    return {item, item + 1};
}

// The members of a set in increasing order, without repeats, within first..last.
std::wstring ListText(const std::vector<int>& set, int first, int last) {
    std::bitset<32> members;
    for (int member : set) {
        if (member >= first && member <= last)
            members.set(static_cast<std::size_t>(member));
    }
    std::wstring text;
    for (int member = first; member <= last; ++member) {
        if (!members.test(static_cast<std::size_t>(member)))
            continue;
        if (!text.empty())
            text += L',';
        text += std::to_wstring(member);
    }
    return text;
}

void ParseList(std::wstring_view text, int maxMember, std::vector<int>& set) {
    const std::vector<std::wstring> elements = SplitScheduleList(text);
    if (elements.empty())
        return;
    std::bitset<32> members;
    for (const std::wstring& element : elements) {
        const std::optional<int> value = ZuParseInteger(element);
        if (!value) {
            set.clear(); // one bad element spoils the whole list
            return;
        }
        if (*value >= 0 && *value <= maxMember)
            members.set(static_cast<std::size_t>(*value));
    }
    set.clear();
    for (int member = 0; member <= maxMember; ++member) {
        if (members.test(static_cast<std::size_t>(member)))
            set.push_back(member);
    }
}

bool IsListBlank(wchar_t c) {
    return c >= 1 && c <= 32;
}

// A quoted element runs to the first quote that is not doubled (or to the end).
std::wstring QuotedElement(std::wstring_view text, std::size_t& i) {
    std::wstring element;
    ++i;
    while (i < text.size()) {
        if (text[i] == L'"') {
            ++i;
            if (i >= text.size() || text[i] != L'"')
                break;
        }
        element += text[i++];
    }
    return element;
}

// --- Reading and writing one record ---

class RecordReader {
  public:
    RecordReader(const TZuMemIniFile& ini, std::wstring section)
        : ini_(ini), section_(std::move(section)) {}

    bool Bool(std::wstring_view key, int k, bool def) const {
        return ini_.ReadBool(section_, Numbered(key, k), def);
    }
    int Int(std::wstring_view key, int k, int def) const {
        return ini_.ReadInteger(section_, Numbered(key, k), def);
    }
    DateTime Time(std::wstring_view key, int k, DateTime def) const {
        return ini_.ReadDateTime(section_, Numbered(key, k), def);
    }
    void Weekdays(std::wstring_view key, int k, std::vector<int>& set) const {
        ParseWeekdayList(ini_.ReadString(section_, Numbered(key, k), L""), set);
    }
    void Days(std::wstring_view key, int k, std::vector<int>& set) const {
        ParseDayList(ini_.ReadString(section_, Numbered(key, k), kDefaultDayList), set);
    }

  private:
    const TZuMemIniFile& ini_;
    std::wstring section_;
};

void ReadUsedRecord(const TZuMemIniFile& ini, const std::wstring& section, TScheduleData& r) {
    r.NextStartDateTime = ini.ReadDateTime(section, L"NextStartDateTime", 0);
    r.NextEndDateTime = ini.ReadDateTime(section, L"NextEndDateTime", 0);
    const RecordReader in(ini, section);
    for (int k = 0; k < kSchedulesPerSide; ++k) {
        r.StartTime[k] = in.Time(L"StartTime", k, kUnusedScheduleTime);
        r.EndTime[k] = in.Time(L"EndTime", k, kUnusedScheduleTime);
        r.RedumeStart[k] = in.Bool(L"RedumeStart", k, false);
        r.ExceptStartSchedule[k] = in.Bool(L"ExceptStartSchedule", k, false);
        r.StartScheduleMode[k] = in.Int(L"StartScheduleMode", k, kModeOnce);
        r.OnceStartDay[k] = in.Int(L"OnceStartDay", k, 0);
        r.OnceStartMonth[k] = in.Int(L"OnceStartMonth", k, 0);
        in.Weekdays(L"StartDaysOfWeek", k, r.StartDaysOfWeek[k]);
        in.Days(L"StartDays", k, r.StartDays[k]);
        r.StartOnMonthEnd[k] = in.Bool(L"StartOnMonthEnd", k, false);
        r.StartOnHoliday[k] = in.Bool(L"StartOnHoliday", k, false);
        in.Weekdays(L"ExceptStartDaysOfWeek", k, r.ExceptStartDaysOfWeek[k]);
        in.Days(L"ExceptStartDays", k, r.ExceptStartDays[k]);
        r.ExceptStartOnMonthEnd[k] = in.Bool(L"ExceptStartOnMonthEnd", k, false);
        r.ExceptStartOnHoliday[k] = in.Bool(L"ExceptStartOnHoliday", k, false);
        r.ExceptEndSchedule[k] = in.Bool(L"ExceptEndSchedule", k, false);
        r.EndScheduleMode[k] = in.Int(L"EndScheduleMode", k, kModeOnce);
        r.OnceEndDay[k] = in.Int(L"OnceEndDay", k, 0);
        r.OnceEndMonth[k] = in.Int(L"OnceEndMonth", k, 0);
        in.Weekdays(L"EndDaysOfWeek", k, r.EndDaysOfWeek[k]);
        in.Days(L"EndDays", k, r.EndDays[k]);
        r.EndOnMonthEnd[k] = in.Bool(L"EndOnMonthEnd", k, false);
        r.EndOnHoliday[k] = in.Bool(L"EndOnHoliday", k, false);
        in.Weekdays(L"ExceptEndDaysOfWeek", k, r.ExceptEndDaysOfWeek[k]);
        in.Days(L"ExceptEndDays", k, r.ExceptEndDays[k]);
        r.ExceptEndOnMonthEnd[k] = in.Bool(L"ExceptEndOnMonthEnd", k, false);
        r.ExceptEndOnHoliday[k] = in.Bool(L"ExceptEndOnHoliday", k, false);
        r.LimitCPUPercent[k] = in.Int(L"LimitCPUPercent", k, kNoCpuLimit);
    }
}

void ReadRecord(const TZuMemIniFile& ini, int item, TScheduleData& record) {
    const std::wstring section = SectionName(item);
    record.UseSchedule = ini.ReadBool(section, L"UseSchedule", false);
    if (record.UseSchedule)
        ReadUsedRecord(ini, section, record);
    else
        ApplyUnusedScheduleDefaults(record);
}

class RecordWriter {
  public:
    RecordWriter(TZuMemIniFile& ini, std::wstring section)
        : ini_(ini), section_(std::move(section)) {}

    void Bool(std::wstring_view key, int k, bool value) {
        ini_.WriteBool(section_, Numbered(key, k), value);
    }
    void Int(std::wstring_view key, int k, int value) {
        ini_.WriteInteger(section_, Numbered(key, k), value);
    }
    void Time(std::wstring_view key, int k, DateTime value) {
        ini_.WriteDateTime(section_, Numbered(key, k), value);
    }
    // Weekday lists, and all day lists but StartDays, are left out when empty.
    void WeekdaysIfAny(std::wstring_view key, int k, const std::vector<int>& set) {
        if (!set.empty())
            ini_.WriteString(section_, Numbered(key, k), WeekdayListText(set));
    }
    void Days(std::wstring_view key, int k, const std::vector<int>& set) {
        ini_.WriteString(section_, Numbered(key, k), DayListText(set));
    }
    void DaysIfAny(std::wstring_view key, int k, const std::vector<int>& set) {
        if (!set.empty())
            Days(key, k, set);
    }

  private:
    TZuMemIniFile& ini_;
    std::wstring section_;
};

void WriteStartSide(RecordWriter& out, const TScheduleData& r, int k) {
    out.Bool(L"RedumeStart", k, r.RedumeStart[k]);
    out.Bool(L"ExceptStartSchedule", k, r.ExceptStartSchedule[k]);
    out.Int(L"StartScheduleMode", k, r.StartScheduleMode[k]);
    out.Int(L"OnceStartDay", k, r.OnceStartDay[k]);
    out.Int(L"OnceStartMonth", k, r.OnceStartMonth[k]);
    out.WeekdaysIfAny(L"StartDaysOfWeek", k, r.StartDaysOfWeek[k]);
    out.Days(L"StartDays", k, r.StartDays[k]);
    out.Bool(L"StartOnMonthEnd", k, r.StartOnMonthEnd[k]);
    out.Bool(L"StartOnHoliday", k, r.StartOnHoliday[k]);
    out.WeekdaysIfAny(L"ExceptStartDaysOfWeek", k, r.ExceptStartDaysOfWeek[k]);
    out.DaysIfAny(L"ExceptStartDays", k, r.ExceptStartDays[k]);
    out.Bool(L"ExceptStartOnMonthEnd", k, r.ExceptStartOnMonthEnd[k]);
    out.Bool(L"ExceptStartOnHoliday", k, r.ExceptStartOnHoliday[k]);
}

void WriteEndSide(RecordWriter& out, const TScheduleData& r, int k) {
    out.Bool(L"ExceptEndSchedule", k, r.ExceptEndSchedule[k]);
    out.Int(L"EndScheduleMode", k, r.EndScheduleMode[k]);
    out.Int(L"OnceEndDay", k, r.OnceEndDay[k]);
    out.Int(L"OnceEndMonth", k, r.OnceEndMonth[k]);
    out.WeekdaysIfAny(L"EndDaysOfWeek", k, r.EndDaysOfWeek[k]);
    out.DaysIfAny(L"EndDays", k, r.EndDays[k]);
    out.Bool(L"EndOnMonthEnd", k, r.EndOnMonthEnd[k]);
    out.Bool(L"EndOnHoliday", k, r.EndOnHoliday[k]);
    out.WeekdaysIfAny(L"ExceptEndDaysOfWeek", k, r.ExceptEndDaysOfWeek[k]);
    out.DaysIfAny(L"ExceptEndDays", k, r.ExceptEndDays[k]);
    out.Bool(L"ExceptEndOnMonthEnd", k, r.ExceptEndOnMonthEnd[k]);
    out.Bool(L"ExceptEndOnHoliday", k, r.ExceptEndOnHoliday[k]);
    // Spelt so in every file written so far; lookups ignore case, so reading
    // "LimitCPUPercent" finds it.
    out.Int(L"LimitCPUPerCent", k, r.LimitCPUPercent[k]);
}

void WriteRecord(TZuMemIniFile& ini, int item, const TScheduleData& r) {
    const std::wstring section = SectionName(item);
    ini.WriteBool(section, L"UseSchedule", r.UseSchedule);
    ini.WriteDateTime(section, L"NextStartDateTime", r.NextStartDateTime);
    ini.WriteDateTime(section, L"NextEndDateTime", r.NextEndDateTime);
    if (!r.UseSchedule)
        return;
    RecordWriter out(ini, section);
    for (int k = 0; k < kSchedulesPerSide; ++k) {
        out.Time(L"StartTime", k, r.StartTime[k]);
        out.Time(L"EndTime", k, r.EndTime[k]);
        if (r.StartTime[k] >= 0)
            WriteStartSide(out, r, k);
        if (r.EndTime[k] >= 0)
            WriteEndSide(out, r, k);
    }
}

void WriteRecords(TZuMemIniFile& ini, const std::vector<TScheduleData>& records, int item) {
    const auto [first, last] = ItemRange(static_cast<int>(records.size()), item);
    for (int i = first; i < last; ++i)
        WriteRecord(ini, i, records[static_cast<std::size_t>(i)]);
}

// --- The previous file format ---

// One set of rules served all three start times and one all three end times;
// only the times (and, by an old slip, ExceptEndDays) carry the number.
void ReadLegacyStart(const IniFile& legacy, const std::wstring& section, TScheduleData& r, int k) {
    if (r.StartTime[k] < 0) {
        r.StartScheduleMode[k] = kUnusedMode;
        return;
    }
    r.RedumeStart[k] = legacy.readBool(section, L"RedumeStart", false);
    r.ExceptStartSchedule[k] = legacy.readBool(section, L"ExceptSchedule", false);
    r.StartScheduleMode[k] = legacy.readInteger(section, L"ScheduleMode", kModeOnce);
    r.OnceStartDay[k] = legacy.readInteger(section, L"OnceStartDay", 0);
    r.OnceStartMonth[k] = legacy.readInteger(section, L"OnceStartMonth", 0);
    ParseWeekdayList(legacy.readString(section, L"StartDaysOfWeek", L""), r.StartDaysOfWeek[k]);
    ParseDayList(legacy.readString(section, L"StartDays", kDefaultDayList), r.StartDays[k]);
    ParseWeekdayList(legacy.readString(section, L"ExceptStartDaysOfWeek", L""),
                     r.ExceptStartDaysOfWeek[k]);
    ParseDayList(legacy.readString(section, L"ExceptStartDays", kDefaultDayList),
                 r.ExceptStartDays[k]);
}

void ReadLegacyEnd(const IniFile& legacy, const std::wstring& section, TScheduleData& r, int k) {
    if (r.EndTime[k] < 0) {
        r.EndScheduleMode[k] = kUnusedMode;
        r.LimitCPUPercent[k] = kNoCpuLimit;
        return;
    }
    r.LimitCPUPercent[k] = legacy.readInteger(section, L"LimitCPUPercent", kNoCpuLimit);
    r.ExceptEndSchedule[k] = legacy.readBool(section, L"ExceptEndSchedule", false);
    r.EndScheduleMode[k] = legacy.readInteger(section, L"EndScheduleMode", kModeOnce);
    r.OnceEndDay[k] = legacy.readInteger(section, L"OnceEndDay", 0);
    r.OnceEndMonth[k] = legacy.readInteger(section, L"OnceEndMonth", 0);
    ParseWeekdayList(legacy.readString(section, L"EndDaysOfWeek", L""), r.EndDaysOfWeek[k]);
    ParseDayList(legacy.readString(section, L"EndDays", kDefaultDayList), r.EndDays[k]);
    ParseWeekdayList(legacy.readString(section, L"ExceptEndDaysOfWeek", L""),
                     r.ExceptEndDaysOfWeek[k]);
    ParseDayList(legacy.readString(section, Numbered(L"ExceptEndDays", k), kDefaultDayList),
                 r.ExceptEndDays[k]);
}

void ReadLegacyRecord(const IniFile& legacy, int item, TScheduleData& r) {
    const std::wstring section = SectionName(item);
    r.UseSchedule = legacy.readBool(section, L"UseSchedule", false);
    if (!r.UseSchedule)
        return;
    r.NextStartDateTime = legacy.readDateTime(section, L"NextStartDateTime", 0);
    r.NextEndDateTime = legacy.readDateTime(section, L"NextEndDateTime", 0);
    for (int k = 0; k < kSchedulesPerSide; ++k) {
        r.StartTime[k] =
            legacy.readDateTime(section, Numbered(L"StartTime", k), kUnusedScheduleTime);
        r.EndTime[k] = legacy.readDateTime(section, Numbered(L"EndTime", k), kUnusedScheduleTime);
    }
    for (int k = 0; k < kSchedulesPerSide; ++k) {
        ReadLegacyStart(legacy, section, r, k);
        ReadLegacyEnd(legacy, section, r, k);
    }
}

// Reads every item of the old file and stores the active ones in the new file.
void MigrateLegacyFile(ScheduleStore& store, int launcherNo) {
    std::vector<TScheduleData>& records = store.Schedules[static_cast<std::size_t>(launcherNo)];
    if (records.empty())
        return;
    {
        const IniFile legacy(LegacyFilePath(store.DataDir, launcherNo));
        for (std::size_t i = 0; i < records.size(); ++i)
            ReadLegacyRecord(legacy, static_cast<int>(i), records[i]);
    }
    if (std::none_of(records.begin(), records.end(),
                     [](const TScheduleData& r) { return r.UseSchedule; }))
        return;
    TZuMemIniFile ini(scheduleFilePath(store.DataDir, launcherNo));
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (records[i].UseSchedule)
            WriteRecord(ini, static_cast<int>(i), records[i]);
    }
    ini.UpdateFile();
}

// The item index a section stands for, or nothing for other names.
std::optional<int> ItemOfSection(const std::wstring& name) {
    if (name.empty() || name.size() > 9 ||
        !std::all_of(name.begin(), name.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; }))
        return std::nullopt;
    return std::stoi(name);
}

// Sections of removed items go; those of the others take their new numbers,
// lowest first, so that a new name is always free when it is taken.
void RenumberSections(TZuMemIniFile& ini, const std::vector<bool>& kept) {
    for (std::size_t old = 0; old < kept.size(); ++old) {
        if (!kept[old])
            ini.EraseSection(SectionName(static_cast<int>(old)));
    }
    int next = 0;
    for (std::size_t old = 0; old < kept.size(); ++old) {
        if (!kept[old])
            continue;
        const int item = next++;
        if (item == static_cast<int>(old))
            continue;
        // No section of its own: nothing another item left may pass for it.
        if (!ini.RenameSection(SectionName(static_cast<int>(old)), SectionName(item)))
            ini.EraseSection(SectionName(item));
    }
}

void EraseSectionsFrom(TZuMemIniFile& ini, int itemCount) {
    for (const std::wstring& name : ini.ReadSections()) {
        const std::optional<int> item = ItemOfSection(name);
        if (item && *item >= itemCount)
            ini.EraseSection(name);
    }
}

bool HasWakeFlag(const TScheduleData& record) {
    return std::any_of(record.RedumeStart.begin(), record.RedumeStart.end(),
                       [](bool flag) { return flag; });
}

} // namespace

int ScheduleStore::ItemCount(int launcherNo) const {
    return IsValidLauncher(launcherNo)
               ? static_cast<int>(Schedules[static_cast<std::size_t>(launcherNo)].size())
               : 0;
}

std::wstring scheduleFilePath(const std::wstring& dataDir, int launcherNo) {
    return dataDir + L"NewSchedule" + std::to_wstring(launcherNo) + L".ini";
}

int ReadRedumeWaitTime(const std::wstring& dataDir) {
    const std::wstring path = dataDir + kGlobalSettingsFile;
    if (!fileio::fileExists(path))
        return kMinRedumeWaitTime;
    const int minutes = IniFile(path).readInteger(L"RedumeWaitTime", L"Value", kMinRedumeWaitTime);
    // The dialog offers 1 to 5 minutes; anything else was not written by it.
    return minutes >= kMinRedumeWaitTime && minutes <= kMaxRedumeWaitTime ? minutes
                                                                          : kMinRedumeWaitTime;
}

void ApplyUnusedScheduleDefaults(TScheduleData& r) {
    for (int k = 0; k < kSchedulesPerSide; ++k) {
        r.StartTime[k] = kUnusedScheduleTime;
        r.EndTime[k] = kUnusedScheduleTime;
        r.StartScheduleMode[k] = kUnusedMode;
        r.EndScheduleMode[k] = kUnusedMode;
        r.StartDays[k] = defaultScheduleDays();
        r.EndDays[k] = defaultScheduleDays();
        r.ExceptStartDays[k] = defaultScheduleDays();
        r.ExceptEndDays[k] = defaultScheduleDays();
        r.ExceptStartSchedule[k] = false;
        r.ExceptEndSchedule[k] = false;
        r.StartOnMonthEnd[k] = false;
        r.EndOnMonthEnd[k] = false;
        r.StartOnHoliday[k] = false;
        r.EndOnHoliday[k] = false;
        r.ExceptStartOnMonthEnd[k] = false;
        r.ExceptEndOnMonthEnd[k] = false;
        r.ExceptStartOnHoliday[k] = false;
        r.ExceptEndOnHoliday[k] = false;
        r.LimitCPUPercent[k] = kNoCpuLimit;
    }
    r.NextStartDateTime = 0;
    r.NextEndDateTime = 0;
}

std::wstring WeekdayListText(const std::vector<int>& weekdays) {
    return ListText(weekdays, 0, 6);
}

std::wstring DayListText(const std::vector<int>& days) {
    return ListText(days, 1, 31);
}

// Commas separate elements, and so do blanks; a comma at the very end stands
// for one more, empty element.
std::vector<std::wstring> SplitScheduleList(std::wstring_view text) {
    // A NUL ends the text, as it ends the character string the list came from.
    text = text.substr(0, text.find(L'\0'));
    std::vector<std::wstring> elements;
    std::size_t i = 0;
    const auto skipBlanks = [&] {
        while (i < text.size() && IsListBlank(text[i]))
            ++i;
    };
    skipBlanks();
    while (i < text.size()) {
        if (text[i] == L'"') {
            elements.push_back(QuotedElement(text, i));
        } else {
            const std::size_t start = i;
            while (i < text.size() && !IsListBlank(text[i]) && text[i] != L',')
                ++i;
            elements.emplace_back(text.substr(start, i - start));
        }
        skipBlanks();
        if (i < text.size() && text[i] == L',') {
            if (i + 1 == text.size())
                elements.emplace_back();
            ++i;
            skipBlanks();
        }
    }
    return elements;
}

void ParseWeekdayList(std::wstring_view text, std::vector<int>& set) {
    ParseList(text, kMaxWeekdayMember, set);
}

void ParseDayList(std::wstring_view text, std::vector<int>& set) {
    ParseList(text, kMaxDayMember, set);
}

void LoadSchedule(ScheduleStore& store, int launcherNo, int item) {
    if (!IsValidLauncher(launcherNo))
        return;
    std::vector<TScheduleData>& records = store.Schedules[static_cast<std::size_t>(launcherNo)];
    const auto [first, last] = ItemRange(static_cast<int>(records.size()), item);
    const std::wstring path = scheduleFilePath(store.DataDir, launcherNo);
    if (first == last || !fileio::fileExists(path))
        return;
    const TZuMemIniFile ini(path);
    for (int i = first; i < last; ++i)
        ReadRecord(ini, i, records[static_cast<std::size_t>(i)]);
}

void SaveSchedule(const ScheduleStore& store, int launcherNo, int item) {
    if (!IsValidLauncher(launcherNo))
        return;
    const std::vector<TScheduleData>& records =
        store.Schedules[static_cast<std::size_t>(launcherNo)];
    const auto [first, last] = ItemRange(static_cast<int>(records.size()), item);
    if (first == last)
        return;
    TZuMemIniFile ini(scheduleFilePath(store.DataDir, launcherNo));
    WriteRecords(ini, records, item);
    ini.UpdateFile();
}

void InitSchedules(ScheduleStore& store, const ScheduleStartup& startup) {
    store.DataDir = startup.dataDir;
    TScheduleData initial;
    InitScheduleRecord(initial);
    for (int n = 1; n <= kLauncherCount; ++n) {
        const int count = std::max(0, startup.itemCounts[static_cast<std::size_t>(n)]);
        store.Schedules[static_cast<std::size_t>(n)].assign(static_cast<std::size_t>(count),
                                                            initial);
    }
    for (int n = 1; n <= kLauncherCount; ++n) {
        const std::wstring legacyPath = LegacyFilePath(store.DataDir, n);
        if (!fileio::fileExists(legacyPath))
            continue;
        MigrateLegacyFile(store, n);
        fileio::removeFile(legacyPath);
    }
    for (int n = 1; n <= kLauncherCount; ++n) {
        if (fileio::fileExists(scheduleFilePath(store.DataDir, n))) {
            LoadSchedule(store, n, -1);
            continue;
        }
        for (TScheduleData& record : store.Schedules[static_cast<std::size_t>(n)]) {
            ApplyUnusedScheduleDefaults(record);
            record.UseSchedule = false;
        }
    }
    for (int n = 1; n <= kLauncherCount; ++n) {
        const auto& records = store.Schedules[static_cast<std::size_t>(n)];
        for (std::size_t i = 0; i < records.size(); ++i) {
            if (records[i].UseSchedule && startup.computeNextTimes)
                startup.computeNextTimes(n, static_cast<int>(i));
        }
    }
    const std::wstring oldestFormat = store.DataDir + L"Schedule.dat";
    if (fileio::fileExists(oldestFormat))
        fileio::removeFile(oldestFormat);
    store.RedumeWaitTime = ReadRedumeWaitTime(store.DataDir);
    if (AnyScheduleWantsWakeUp(store) && startup.armScheduleWakeTimer)
        startup.armScheduleWakeTimer();
}

int AppendScheduleRecord(ScheduleStore& store, int launcherNo) {
    if (!IsValidLauncher(launcherNo))
        return -1;
    auto& records = store.Schedules[static_cast<std::size_t>(launcherNo)];
    InitScheduleRecord(records.emplace_back());
    return static_cast<int>(records.size()) - 1;
}

bool RemoveScheduleRecords(ScheduleStore& store, int launcherNo, const std::vector<int>& mapping) {
    if (!IsValidLauncher(launcherNo))
        return false;
    auto& records = store.Schedules[static_cast<std::size_t>(launcherNo)];
    std::vector<bool> kept(records.size());
    std::vector<TScheduleData> survivors;
    bool removedWakeFlag = false;
    for (std::size_t i = 0; i < records.size(); ++i) {
        kept[i] = i < mapping.size() && mapping[i] >= 0;
        if (kept[i])
            survivors.push_back(std::move(records[i]));
        else
            removedWakeFlag = removedWakeFlag || HasWakeFlag(records[i]);
    }
    if (survivors.size() == records.size())
        return false;
    records = std::move(survivors);

    const std::wstring path = scheduleFilePath(store.DataDir, launcherNo);
    if (!fileio::fileExists(path) && records.empty())
        return removedWakeFlag;
    TZuMemIniFile ini(path);
    RenumberSections(ini, kept);
    WriteRecords(ini, records, -1);
    EraseSectionsFrom(ini, static_cast<int>(records.size()));
    ini.UpdateFile();
    return removedWakeFlag;
}

void MoveScheduleRecordIn(ScheduleStore& store, int launcherNo, int newItem,
                          const TScheduleData& record) {
    if (!IsValidLauncher(launcherNo) || newItem < 0)
        return;
    auto& records = store.Schedules[static_cast<std::size_t>(launcherNo)];
    if (records.size() <= static_cast<std::size_t>(newItem)) {
        TScheduleData initial;
        InitScheduleRecord(initial);
        records.resize(static_cast<std::size_t>(newItem) + 1, initial);
    }
    records[static_cast<std::size_t>(newItem)] = record;
    SaveSchedule(store, launcherNo, newItem);
}

bool WantsWakeUp(const TScheduleData& record) {
    return record.UseSchedule && HasWakeFlag(record);
}

bool AnyScheduleWantsWakeUp(const ScheduleStore& store) {
    return std::any_of(store.Schedules.begin(), store.Schedules.end(), [](const auto& records) {
        return std::any_of(records.begin(), records.end(), WantsWakeUp);
    });
}

} // namespace kelvo
