// Date-time text as the schedule files hold it: whatever parses must be
// written in a form that parses back to the same value.
#include "storage/DateTime.h"
#include "storage/TextCodec.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring text =
        kelvo::fromCp932(std::string_view(reinterpret_cast<const char*>(data), size));
    const auto value = kelvo::parseDateTime(text);
    if (!value)
        return 0;
    const auto reread = kelvo::parseDateTime(kelvo::dateTimeToString(*value));
    if (!reread || *reread != *value)
        std::abort();
    return 0;
}
