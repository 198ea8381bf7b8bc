// Text conversions through iconv. The CP932 table of glibc matches the Windows
// table pair for pair; where the two differ (a few single bytes, and characters
// that glibc encodes one way only) this file follows Windows.
#include "storage/TextCodec.h"

#include "storage/Cp932Bytes.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace kelvo {
namespace {

static_assert(sizeof(wchar_t) == 4, "the native build keeps UTF-32 in wchar_t");

// One conversion direction, opened once per thread (an iconv_t is not thread-safe).
class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (valid())
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts until the input ends (0) or a sequence cannot be converted (the
    // errno value, with `in` left on that sequence).
    int run(const char*& in, std::size_t& inLeft, char*& out, std::size_t& outLeft) {
        char* src = const_cast<char*>(in);
        const std::size_t result = iconv(cd_, &src, &inLeft, &out, &outLeft);
        in = src;
        if (result != static_cast<std::size_t>(-1))
            return 0;
        const int error = errno;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr); // back to the initial state
        return error;
    }

  private:
    iconv_t cd_;
};

Converter& cp932Decoder() {
    thread_local Converter c("WCHAR_T", "CP932");
    return c;
}
Converter& cp932Encoder() {
    thread_local Converter c("CP932", "WCHAR_T");
    return c;
}
Converter& utf8Decoder() {
    thread_local Converter c("WCHAR_T", "UTF-8");
    return c;
}
Converter& utf8Encoder() {
    thread_local Converter c("UTF-8", "WCHAR_T");
    return c;
}

bool isAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}
bool isAscii(std::wstring_view text) {
    return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c >= 0 && c < 0x80; });
}

// What stands for bytes the converter refused, and how many bytes it covers.
struct Replacement {
    wchar_t ch;
    std::size_t length;
};

// Bytes to wide text: iconv for the well-formed runs, `replace` for the rest.
// Neither encoding yields more characters than bytes, so the output never grows.
template <typename Replace>
std::wstring decode(Converter& converter, std::string_view bytes, Replace replace) {
    std::wstring text(bytes.size(), L'\0');
    const char* in = bytes.data();
    std::size_t inLeft = bytes.size();
    char* out = reinterpret_cast<char*>(text.data());
    std::size_t outLeft = text.size() * sizeof(wchar_t);
    while (inLeft > 0) {
        const int error = converter.valid() ? converter.run(in, inLeft, out, outLeft) : EILSEQ;
        if (error == 0 || error == E2BIG)
            break; // E2BIG cannot happen (see above); never loop on it
        const Replacement r = replace(bytes, static_cast<std::size_t>(in - bytes.data()));
        *reinterpret_cast<wchar_t*>(out) = r.ch;
        out += sizeof(wchar_t);
        outLeft -= sizeof(wchar_t);
        in += r.length;
        inLeft -= r.length;
    }
    text.resize(text.size() - outLeft / sizeof(wchar_t));
    return text;
}

// Characters to bytes: iconv for what it converts, `replace` for the rest.
template <typename Replace>
std::string encode(Converter& converter, std::wstring_view text, std::size_t maxBytesPerChar,
                   Replace replace) {
    std::string bytes(text.size() * maxBytesPerChar, '\0');
    const char* in = reinterpret_cast<const char*>(text.data());
    std::size_t inLeft = text.size() * sizeof(wchar_t);
    char* out = bytes.data();
    std::size_t outLeft = bytes.size();
    while (inLeft > 0) {
        const int error = converter.valid() ? converter.run(in, inLeft, out, outLeft) : EILSEQ;
        if (error == 0 || error == E2BIG)
            break;
        const std::string r = replace(*reinterpret_cast<const wchar_t*>(in));
        std::copy(r.begin(), r.end(), out);
        out += r.size();
        outLeft -= r.size();
        in += sizeof(wchar_t);
        inLeft -= sizeof(wchar_t);
    }
    bytes.resize(bytes.size() - outLeft);
    return bytes;
}

Replacement replaceCp932Bytes(std::string_view bytes, std::size_t pos) {
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
    for (const auto& m : cp932::kWindowsSingleBytes) {
        if (b[pos] == m.byte)
            return {m.ch, 1};
    }
    if (b[pos] < 0x80)
        return {static_cast<wchar_t>(b[pos]), 1}; // only reached without a converter
    if (cp932::isLoneLeadByte(b, bytes.size(), pos) || !cp932::isLeadByte(b[pos]))
        return {cp932::kInvalidChar, 1};
    return {cp932::kInvalidChar, 2}; // a well-formed pair with no character
}

// Windows counts in UTF-16 units, so a character beyond the BMP becomes "??".
std::string unmappable(wchar_t ch) {
    return ch > 0xFFFF ? "??" : "?";
}

std::string replaceCp932Char(wchar_t ch) {
    if (ch >= 0 && ch < 0x80)
        return std::string(1, static_cast<char>(ch)); // only reached without a converter
    for (const auto& m : cp932::kWindowsSingleBytes) {
        if (ch == m.ch)
            return std::string(1, static_cast<char>(m.byte));
    }
    return unmappable(ch);
}

std::string encodeCp932(std::wstring_view text) {
    return encode(cp932Encoder(), text, 2, replaceCp932Char);
}

} // namespace

std::wstring fromCp932(std::string_view bytes) {
    if (isAscii(bytes))
        return std::wstring(bytes.begin(), bytes.end());
    return decode(cp932Decoder(), bytes, replaceCp932Bytes);
}

// glibc also encodes a few characters that decode to another one (U+301C to
// the bytes of U+FF5E, U+00A5 to a backslash...). Windows, without best fit,
// writes '?' for those, so only characters that survive the round trip count.
std::string toCp932(std::wstring_view text) {
    if (isAscii(text))
        return std::string(text.begin(), text.end());
    std::string bytes = encodeCp932(text);
    if (fromCp932(bytes) == text)
        return bytes;
    bytes.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::wstring_view one = text.substr(i, 1);
        const std::string encoded = encodeCp932(one);
        bytes += fromCp932(encoded) == one ? encoded : unmappable(text[i]);
    }
    return bytes;
}

std::wstring fromUtf8(std::string_view bytes) {
    if (isAscii(bytes))
        return std::wstring(bytes.begin(), bytes.end());
    return decode(utf8Decoder(), bytes, [](std::string_view, std::size_t) {
        return Replacement{0xFFFD, 1};
    });
}

std::string toUtf8(std::wstring_view text) {
    if (isAscii(text))
        return std::string(text.begin(), text.end());
    return encode(utf8Encoder(), text, 4, [](wchar_t) { return std::string("\xEF\xBF\xBD"); });
}

} // namespace kelvo
