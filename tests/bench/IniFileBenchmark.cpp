// Reading an item-sized INI file key by key, as a launcher does when it loads
// its items.
#include "storage/IniFile.h"
#include "storage/TextCodec.h"
#include "tests/common/ItemFileSample.h"
#include "tests/common/TempFolder.h"

#include <benchmark/benchmark.h>

namespace kelvo {
namespace {

class ItemFileFixture {
  public:
    ItemFileFixture() { folder_.writeBytes(kName, toCp932(testdata::sampleItemFileText())); }
    std::wstring path() const { return folder_.file(kName); }
    const std::vector<testdata::IniKey>& keys() const { return keys_; }

  private:
    static constexpr const wchar_t* kName = L"Settei1.ini";
    testsupport::TempFolder folder_;
    std::vector<testdata::IniKey> keys_ = testdata::sampleItemKeys();
};

void readEveryKey(const IniFile& ini, const std::vector<testdata::IniKey>& keys) {
    for (const auto& k : keys)
        benchmark::DoNotOptimize(ini.readString(k.section, k.key, L""));
}

// Opened once per iteration: the file is read and parsed, then 5,000 keys looked up.
void BM_IniFileReadAllKeysOpenedOnce(benchmark::State& state) {
    const ItemFileFixture fixture;
    for (auto _ : state) {
        const IniFile ini(fixture.path());
        readEveryKey(ini, fixture.keys());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(fixture.keys().size()));
}
BENCHMARK(BM_IniFileReadAllKeysOpenedOnce)->Unit(benchmark::kMillisecond);

// The lookups alone, the file already in memory.
void BM_IniFileReadAllKeysLoaded(benchmark::State& state) {
    const ItemFileFixture fixture;
    const IniFile ini(fixture.path());
    readEveryKey(ini, fixture.keys());
    for (auto _ : state)
        readEveryKey(ini, fixture.keys());
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(fixture.keys().size()));
}
BENCHMARK(BM_IniFileReadAllKeysLoaded)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace kelvo
