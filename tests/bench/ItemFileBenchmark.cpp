// The item file operations a user waits for: removing an item, recording a
// launch, and loading every launcher at start-up, on item files of the size a
// heavily used launcher reaches.
#include "storage/DateTime.h"
#include "storage/ItemFile.h"
#include "storage/TextCodec.h"
#include "tests/common/TempFolder.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace kelvo {
namespace {

constexpr int kLauncherCount = 5;

// A mix of the names and targets people register, so that values have the
// lengths and the double-byte share of real files.
const wchar_t* const kItemNames[] = {
    L"テキストエディタ", L"表計算", L"画像ビューア",   L"メールソフト", L"ブラウザ",
    L"国語辞典",         L"家計簿", L"動画プレーヤー", L"ニュース",     L"日報フォルダ",
};

std::wstring exeNameOf(int i) {
    const std::wstring n = std::to_wstring(i);
    if (i % 7 == 0)
        return L"https://www.example.jp/お知らせ/" + n + L"/";
    if (i % 5 == 0)
        return L"C:\\Users\\太郎\\Documents\\作業" + n;
    return L"C:\\Program Files\\アプリ集\\ツール" + n + L"\\起動" + n + L".lnk";
}

std::wstring exeFileOf(int i) {
    return L"C:\\Program Files\\アプリ集\\ツール" + std::to_wstring(i) + L"\\bin\\本体.exe";
}

// Launched at some time in May 2016, in the form the program stores.
std::wstring lastStartTimeOf(int i) {
    const int minutes = i * 37;
    return dateTimeToString(
        encodeDateTime({2016, 5, 1 + i % 28, minutes / 60 % 24, minutes % 60, i % 60, 0}).value());
}

// A list order sorted by hand, so not the identity; the same for each size.
std::vector<int> shuffledOrder(int itemCount) {
    std::vector<int> order(itemCount);
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), std::mt19937(static_cast<unsigned>(itemCount)));
    return order;
}

// One section keyed by item index, as the program writes them: a key per item
// in index order, items without a value left out.
template <class ValueOf>
std::wstring perItemSection(const wchar_t* name, int count, ValueOf value) {
    std::wstring text = L"[" + std::wstring(name) + L"]\r\n";
    for (int i = 0; i < count; ++i) {
        const std::wstring v = value(i);
        if (!v.empty())
            text += std::to_wstring(i) + L"=" + v + L"\r\n";
    }
    return text;
}

// The item file of a launcher of `itemCount` items that has been in use for a
// while: every item launched (unless `withLaunchTimes` is false, as for items
// registered since the last launch), a sixth of them with a comment.
std::wstring itemFileText(int itemCount, bool withLaunchTimes) {
    const std::vector<int> order = shuffledOrder(itemCount);
    std::wstring text = L"[ItemCount]\r\nValue=" + std::to_wstring(itemCount) + L"\r\n";
    text += perItemSection(L"ExeName", itemCount, exeNameOf);
    text += perItemSection(L"ExeFile", itemCount,
                           [](int i) { return i % 7 == 0 ? std::wstring() : exeFileOf(i); });
    text += perItemSection(L"ItemName", itemCount, [](int i) {
        return std::wstring(kItemNames[i % std::size(kItemNames)]) + L" " + std::to_wstring(i);
    });
    text += perItemSection(L"KidoCount", itemCount,
                           [](int i) { return std::to_wstring(i * 37 % 500); });
    text +=
        perItemSection(L"JuniNo", itemCount, [&order](int p) { return std::to_wstring(order[p]); });
    text += perItemSection(L"OneClick", itemCount,
                           [](int i) { return std::wstring(i % 25 == 0 ? L"1" : L"0"); });
    text += perItemSection(L"MinimizeStart", itemCount,
                           [](int i) { return std::wstring(i % 11 == 0 ? L"1" : L""); });
    text += perItemSection(L"Comment", itemCount, [](int i) {
        return i % 6 == 0 ? L"週次の集計に使う（" + std::to_wstring(i) + L"番目）" : std::wstring();
    });
    if (withLaunchTimes)
        text += perItemSection(L"LastStartTime", itemCount, lastStartTimeOf);
    text += L"[Position]\r\nX=120\r\nY=80\r\nIsButtonTop=0\r\n[LBHeight]\r\nValue=245\r\n";
    return text;
}

class LauncherFiles {
  public:
    void write(int launcherNo, int itemCount, bool withLaunchTimes = true) const {
        folder_.writeBytes(L"Settei" + std::to_wstring(launcherNo) + L".ini",
                           toCp932(itemFileText(itemCount, withLaunchTimes)));
    }
    ItemFile itemFile(int launcherNo) const { return ItemFile(folder_.path(), launcherNo); }

  private:
    testsupport::TempFolder folder_;
};

// Every value of the items after the first moves down one index, and the
// order and the last index's keys are rewritten.
void BM_ItemFileRemoveFirstItem(benchmark::State& state) {
    const int itemCount = static_cast<int>(state.range(0));
    const LauncherFiles files;
    const ItemFile file = files.itemFile(1);
    for (auto _ : state) {
        state.PauseTiming();
        files.write(1, itemCount);
        state.ResumeTiming();
        benchmark::DoNotOptimize(file.removeItems(itemCount, {0}));
    }
}
BENCHMARK(BM_ItemFileRemoveFirstItem)->Arg(200)->Arg(2000)->Unit(benchmark::kMillisecond);

// One item launched: its count, its time and its executable change, every
// other item's values are rewritten with what is stored.
void BM_ItemFileRecordLaunch(benchmark::State& state) {
    const int itemCount = static_cast<int>(state.range(0));
    const LauncherFiles files;
    files.write(1, itemCount);
    const ItemFile file = files.itemFile(1);
    std::vector<TItemData> items = file.load().launcher.Items;
    int launches = 0;
    for (auto _ : state) {
        TItemData& launched = items[launches % itemCount];
        ++launched.KidoCount;
        launched.LastStartTime += 1.0 / 86400; // a second later than the last
        launched.ExeFile = exeFileOf(launches % itemCount);
        file.writeLaunchRecords(items, {launches % itemCount});
        ++launches;
    }
}
BENCHMARK(BM_ItemFileRecordLaunch)->Arg(200)->Arg(2000)->Unit(benchmark::kMillisecond);

// The first launch after the items were registered: no item has a stored launch
// time yet, so every item's time is written.
void BM_ItemFileRecordFirstLaunch(benchmark::State& state) {
    const int itemCount = static_cast<int>(state.range(0));
    const LauncherFiles files;
    files.write(1, itemCount, false);
    const ItemFile file = files.itemFile(1);
    std::vector<TItemData> items = file.load().launcher.Items;
    items[0].LastStartTime = encodeDateTime({2016, 6, 1, 12, 0, 0, 0}).value();
    ++items[0].KidoCount;
    for (auto _ : state) {
        state.PauseTiming();
        files.write(1, itemCount, false);
        state.ResumeTiming();
        file.writeLaunchRecords(items, {0});
    }
}
BENCHMARK(BM_ItemFileRecordFirstLaunch)->Arg(200)->Arg(2000)->Unit(benchmark::kMillisecond);

// Start-up: every launcher reads its items.
void BM_ItemFileLoadFiveLaunchers(benchmark::State& state) {
    const int itemCount = static_cast<int>(state.range(0));
    const LauncherFiles files;
    for (int launcherNo = 1; launcherNo <= kLauncherCount; ++launcherNo)
        files.write(launcherNo, itemCount);
    for (auto _ : state) {
        for (int launcherNo = 1; launcherNo <= kLauncherCount; ++launcherNo)
            benchmark::DoNotOptimize(files.itemFile(launcherNo).load());
    }
    state.SetItemsProcessed(state.iterations() * kLauncherCount * itemCount);
    state.SetComplexityN(itemCount);
}
BENCHMARK(BM_ItemFileLoadFiveLaunchers)
    ->Arg(500)
    ->Arg(1000)
    ->Arg(2000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace kelvo
