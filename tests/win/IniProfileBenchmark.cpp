// Times reading every key of an item-sized INI file through IniFile and
// through the system's GetPrivateProfileStringW, which the program's original
// settings code relied on. Run by hand under Wine; prints the cost per read.
#include "common/ItemFileSample.h"
#include "common/TempFolder.h"
#include "storage/FileIO.h"
#include "storage/IniFile.h"
#include "storage/TextCodec.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using kelvo::testdata::IniKey;

class Stopwatch {
  public:
    Stopwatch() {
        QueryPerformanceFrequency(&frequency_);
        QueryPerformanceCounter(&start_);
    }
    double elapsedSeconds() const {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return static_cast<double>(now.QuadPart - start_.QuadPart) /
               static_cast<double>(frequency_.QuadPart);
    }

  private:
    LARGE_INTEGER frequency_{};
    LARGE_INTEGER start_{};
};

// Returns the characters read, so that both readers can be seen to agree.
std::size_t readWithIniFile(const std::wstring& path, const std::vector<IniKey>& keys) {
    const kelvo::IniFile ini(path);
    std::size_t characters = 0;
    for (const auto& k : keys)
        characters += ini.readString(k.section, k.key, L"").size();
    return characters;
}

std::size_t readWithProfileFunctions(const std::wstring& path, const std::vector<IniKey>& keys) {
    std::size_t characters = 0;
    wchar_t value[512];
    for (const auto& k : keys)
        characters += GetPrivateProfileStringW(k.section.c_str(), k.key.c_str(), L"", value,
                                               static_cast<DWORD>(std::size(value)), path.c_str());
    return characters;
}

struct Timing {
    double best = 1e300;
    double median = 0;
    std::size_t characters = 0;
};

template <typename Read> Timing timeReads(int repetitions, Read read) {
    std::vector<double> seconds;
    Timing timing;
    timing.characters = read(); // warm-up: file cache, code page tables
    for (int i = 0; i < repetitions; ++i) {
        const Stopwatch watch;
        read();
        seconds.push_back(watch.elapsedSeconds());
    }
    std::sort(seconds.begin(), seconds.end());
    timing.best = seconds.front();
    timing.median = seconds[seconds.size() / 2];
    return timing;
}

} // namespace

int main() {
    constexpr int kRepetitions = 7;
    const kelvo::testsupport::TempFolder folder;
    const std::wstring path = folder.file(L"Settei1.ini");
    if (!kelvo::fileio::writeFileAtomic(path,
                                        kelvo::toCp932(kelvo::testdata::sampleItemFileText()))) {
        std::fprintf(stderr, "cannot write the sample file\n");
        return 1;
    }
    const std::vector<IniKey> keys = kelvo::testdata::sampleItemKeys();
    const double reads = static_cast<double>(keys.size());

    const Timing ini = timeReads(kRepetitions, [&] { return readWithIniFile(path, keys); });
    const Timing profile =
        timeReads(kRepetitions, [&] { return readWithProfileFunctions(path, keys); });

    std::printf("%zu reads per pass (%d sections x %zu keys), %d passes each, ANSI code page %u\n",
                keys.size(), kelvo::testdata::kSampleItemCount,
                std::size(kelvo::testdata::kSampleItemKeys), kRepetitions, GetACP());
    std::printf("IniFile (opened once per pass): median %.3f ms per pass, %.3f us per read "
                "(best %.3f us)\n",
                ini.median * 1e3, ini.median / reads * 1e6, ini.best / reads * 1e6);
    std::printf("GetPrivateProfileStringW:       median %.3f ms per pass, %.3f us per read "
                "(best %.3f us)\n",
                profile.median * 1e3, profile.median / reads * 1e6, profile.best / reads * 1e6);
    std::printf("ratio (profile / IniFile, medians): %.1f\n", profile.median / ini.median);
    std::printf("characters read: IniFile %zu, profile functions %zu%s\n", ini.characters,
                profile.characters, ini.characters == profile.characters ? "" : "  (DIFFER)");
    return ini.characters == profile.characters ? 0 : 2;
}
