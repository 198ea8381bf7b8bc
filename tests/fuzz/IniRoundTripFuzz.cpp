// Parsing a file, writing it and parsing that again must give the same text
// and the same values: what the engine writes it must read back unchanged.
#include "storage/TextCodec.h"
#include "storage/ZuMemIniFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

using kelvo::TZuMemIniFile;

std::string fileBytes(const std::vector<std::wstring>& lines) {
    std::wstring text;
    for (const std::wstring& line : lines) {
        text += line;
        text += L"\r\n";
    }
    return kelvo::toCp932(text);
}

void parseInto(TZuMemIniFile& ini, std::string_view bytes) {
    ini.SetStrings(kelvo::ZuSplitLines(kelvo::fromCp932(bytes)));
}

void requireSameValues(const TZuMemIniFile& first, const TZuMemIniFile& second) {
    for (const std::wstring& section : first.ReadSections()) {
        for (const std::wstring& key : first.ReadSection(section)) {
            if (first.ReadString(section, key, L"\x1") != second.ReadString(section, key, L"\x2"))
                std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    TZuMemIniFile first(L"");
    parseInto(first, input);
    const std::vector<std::wstring> rendered = first.GetStrings();

    TZuMemIniFile second(L"");
    parseInto(second, fileBytes(rendered));
    if (second.GetStrings() != rendered)
        std::abort();
    requireSameValues(first, second);
    return 0;
}
