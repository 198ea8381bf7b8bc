// The weekday and day lists of the schedule files: any text gives a set in
// range (or leaves the set alone when it has no elements), and a written set
// reads back as itself.
#include "schedule/ScheduleStore.h"
#include "storage/TextCodec.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Parser = void (*)(std::wstring_view, std::vector<int>&);
using Writer = std::wstring (*)(const std::vector<int>&);

void check(std::wstring_view text, Parser parse, Writer write, int maxMember, int firstWritten,
           int lastWritten) {
    const std::vector<int> sentinel{maxMember + 1}; // out of range: never parsed
    std::vector<int> set = sentinel;
    parse(text, set);
    if (set == sentinel) {
        if (!kelvo::SplitScheduleList(text).empty())
            std::abort();
        return;
    }
    if (!std::is_sorted(set.begin(), set.end()) ||
        std::adjacent_find(set.begin(), set.end()) != set.end() ||
        std::any_of(set.begin(), set.end(), [&](int m) { return m < 0 || m > maxMember; }))
        std::abort();

    std::vector<int> written;
    std::copy_if(set.begin(), set.end(), std::back_inserter(written),
                 [&](int m) { return m >= firstWritten && m <= lastWritten; });
    std::vector<int> reread = sentinel;
    parse(write(set), reread);
    if (written.empty() ? reread != sentinel : reread != written)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring text =
        kelvo::fromCp932(std::string_view(reinterpret_cast<const char*>(data), size));
    check(text, kelvo::ParseWeekdayList, kelvo::WeekdayListText, 7, 0, 6);
    check(text, kelvo::ParseDayList, kelvo::DayListText, 31, 1, 31);
    return 0;
}
