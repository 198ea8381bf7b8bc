// Text conversions through the Win32 code page functions.
#include "storage/TextCodec.h"

#include "storage/Cp932Bytes.h"

#include <windows.h>

#include <climits>

namespace kelvo {
namespace {

constexpr UINT kCp932 = 932;

// The converters take int lengths; nothing this program handles comes near.
int lengthOf(std::size_t size) {
    return size > INT_MAX ? INT_MAX : static_cast<int>(size);
}

void appendDecoded(UINT codePage, std::string_view bytes, std::wstring& text) {
    if (bytes.empty())
        return;
    const int needed =
        MultiByteToWideChar(codePage, 0, bytes.data(), lengthOf(bytes.size()), nullptr, 0);
    if (needed <= 0)
        return;
    const std::size_t start = text.size();
    text.resize(start + static_cast<std::size_t>(needed));
    const int written = MultiByteToWideChar(codePage, 0, bytes.data(), lengthOf(bytes.size()),
                                            text.data() + start, needed);
    text.resize(start + static_cast<std::size_t>(written > 0 ? written : 0));
}

std::string encode(UINT codePage, DWORD flags, std::wstring_view text) {
    if (text.empty())
        return {};
    const int needed = WideCharToMultiByte(codePage, flags, text.data(), lengthOf(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    if (needed <= 0)
        return {};
    std::string bytes(static_cast<std::size_t>(needed), '\0');
    const int written = WideCharToMultiByte(codePage, flags, text.data(), lengthOf(text.size()),
                                            bytes.data(), needed, nullptr, nullptr);
    bytes.resize(static_cast<std::size_t>(written > 0 ? written : 0));
    return bytes;
}

} // namespace

// A lead byte without its trail byte would take the next byte with it (a line
// break, an '='), so such bytes are replaced here and the converter only sees
// well-formed runs.
std::wstring fromCp932(std::string_view bytes) {
    std::wstring text;
    text.reserve(bytes.size());
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t runStart = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (cp932::isLoneLeadByte(b, bytes.size(), i)) {
            appendDecoded(kCp932, bytes.substr(runStart, i - runStart), text);
            text += cp932::kInvalidChar;
            runStart = i + 1;
        } else if (cp932::isLeadByte(b[i])) {
            ++i; // its trail byte
        }
    }
    appendDecoded(kCp932, bytes.substr(runStart), text);
    return text;
}

// Without best fit, so that a character the code page lacks becomes '?'
// instead of a look-alike that reads back as something else.
std::string toCp932(std::wstring_view text) {
    return encode(kCp932, WC_NO_BEST_FIT_CHARS, text);
}

std::wstring fromUtf8(std::string_view bytes) {
    std::wstring text;
    appendDecoded(CP_UTF8, bytes, text);
    return text;
}

std::string toUtf8(std::wstring_view text) {
    return encode(CP_UTF8, 0, text);
}

} // namespace kelvo
