// kelvotool: looks at the program's calendar, schedules and INI files from a
// terminal. Prints UTF-8.
//
//   kelvotool holidays YEAR
//   kelvotool next FILE SECTION "YYYY/MM/DD H:NN:SS" [--wait MINUTES]
//   kelvotool ini FILE
#include "schedule/HolidayCalendar.h"
#include "schedule/ScheduleEvaluation.h"
#include "schedule/ScheduleStore.h"
#include "storage/DateTime.h"
#include "storage/FileIO.h"
#include "storage/TextCodec.h"
#include "storage/ZuMemIniFile.h"

#include <atomic>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kelvo {
namespace {

constexpr const char* kUsage = "usage:\n"
                               "  kelvotool holidays YEAR\n"
                               "  kelvotool next FILE SECTION \"YYYY/MM/DD H:NN:SS\" "
                               "[--wait MINUTES]\n"
                               "  kelvotool ini FILE\n";

// Wrong arguments: the usage is shown with the message.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

void printLine(std::wstring_view line) {
    const std::string bytes = toUtf8(line);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fputc('\n', stdout);
}

std::optional<int> parseInt(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

int intArgument(std::string_view text, int min, int max, const char* what) {
    const auto value = parseInt(text);
    if (!value || *value < min || *value > max)
        throw UsageError(std::string(what) + " must be a number from " + std::to_string(min) +
                         " to " + std::to_string(max) + ": " + std::string(text));
    return *value;
}

std::wstring existingFile(std::string_view argument) {
    const std::wstring path = fromUtf8(argument);
    if (!fileio::fileExists(path))
        throw std::runtime_error("no such file: " + std::string(argument));
    return path;
}

int printHolidays(const std::vector<std::string_view>& args) {
    if (args.size() != 1)
        throw UsageError("holidays takes one year");
    // The last year stops short of 9999 so that every day's neighbours exist.
    const int year = intArgument(args[0], 1, 9998, "YEAR");
    for (const Holiday& holiday : holidaysOfYear(year))
        printLine(dateTimeToString(holiday.date) + L' ' + holiday.name);
    return 0;
}

// A private folder that is removed with everything in it.
class ScratchFolder {
  public:
    ScratchFolder() {
        static std::atomic<unsigned> counter{0};
        const auto seed = std::chrono::steady_clock::now().time_since_epoch().count();
        for (;;) {
            path_ = std::filesystem::temp_directory_path() /
                    ("kelvotool-" + std::to_string(seed) + "-" + std::to_string(++counter));
            if (std::filesystem::create_directory(path_))
                break;
        }
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // Ends in a separator, as a data folder does.
    std::wstring dataDir() const { return fromUtf8(path_.string()) + L'/'; }

  private:
    std::filesystem::path path_;
};

// LoadSchedule reads NewSchedule<N>.ini of a data folder. The schedule file is
// copied under that name into a scratch folder, so that any file can be read
// exactly the way the program reads its own.
TScheduleData loadScheduleRecord(const std::wstring& file, int item) {
    const auto bytes = fileio::readFile(file);
    if (!bytes)
        throw std::runtime_error("cannot read " + toUtf8(file));
    const ScratchFolder folder;
    constexpr int kLauncherNo = 1;
    if (!fileio::writeFileAtomic(scheduleFilePath(folder.dataDir(), kLauncherNo), *bytes))
        throw std::runtime_error("cannot copy " + toUtf8(file) + " to a scratch folder");
    ScheduleStore store;
    store.DataDir = folder.dataDir();
    auto& records = store.Schedules[kLauncherNo];
    records.resize(static_cast<std::size_t>(item) + 1);
    for (TScheduleData& record : records)
        InitScheduleRecord(record);
    LoadSchedule(store, kLauncherNo, item);
    return records[static_cast<std::size_t>(item)];
}

std::wstring timeText(DateTime value) {
    return value == 0 ? L"0" : dateTimeToString(value);
}

int printNextTimes(const std::vector<std::string_view>& args) {
    if (args.size() != 3 && !(args.size() == 5 && args[3] == "--wait"))
        throw UsageError("next takes FILE SECTION \"YYYY/MM/DD H:NN:SS\" [--wait MINUTES]");
    const std::wstring file = existingFile(args[0]);
    // Sections are item indices.
    const int item = intArgument(args[1], 0, 99'999, "SECTION");
    const auto now = parseDateTime(fromUtf8(args[2]));
    if (!now)
        throw UsageError("not a date and time: " + std::string(args[2]));
    const int wait = args.size() == 5 ? intArgument(args[4], 0, 24 * 60, "MINUTES") : 1;

    TScheduleData record = loadScheduleRecord(file, item);
    ComputeNextTimes(record, wait, *now);
    printLine(L"start=" + timeText(record.NextStartDateTime));
    printLine(L"end=" + timeText(record.NextEndDateTime));
    printLine(L"endlimit=" + std::to_wstring(record.NextEndLimitCPUPercent));
    return 0;
}

int printIniLines(const std::vector<std::string_view>& args) {
    if (args.size() != 1)
        throw UsageError("ini takes one file");
    const TZuMemIniFile ini(existingFile(args[0]));
    // The file is written in code page 932: what it cannot hold comes out as
    // it would be written.
    for (const std::wstring& line : ini.GetStrings())
        printLine(fromCp932(toCp932(line)));
    return 0;
}

int run(const std::vector<std::string_view>& args) {
    if (args.empty())
        throw UsageError("no command");
    const std::vector<std::string_view> rest(args.begin() + 1, args.end());
    if (args[0] == "holidays")
        return printHolidays(rest);
    if (args[0] == "next")
        return printNextTimes(rest);
    if (args[0] == "ini")
        return printIniLines(rest);
    throw UsageError("unknown command: " + std::string(args[0]));
}

} // namespace
} // namespace kelvo

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    try {
        return kelvo::run(args);
    } catch (const kelvo::UsageError& e) {
        std::fprintf(stderr, "kelvotool: %s\n%s", e.what(), kelvo::kUsage);
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kelvotool: %s\n", e.what());
        return 1;
    }
}
