#pragma once
// Text with its code page 932 bytes as Windows converts it. The native tests
// and the tests run under Wine check their converter against the same table,
// so that a data file reads the same whichever build wrote it.
#include <string_view>

namespace kelvo::testdata {

struct Cp932Sample {
    const char* what;
    std::wstring_view text;
    std::string_view bytes;
};

struct Utf8Sample {
    const char* what;
    std::wstring_view text;
    std::string_view utf8;
};

// Text and bytes that convert into each other in both directions.
inline constexpr Cp932Sample kCp932RoundTrips[] = {
    {"ASCII", L"Settei0.ini Value=1", "Settei0.ini Value=1"},
    {"hiragana and kanji", L"移動されたファイル",
     "\x88\xDA\x93\xAE\x82\xB3\x82\xEA\x82\xBD\x83\x74\x83\x40\x83\x43\x83\x8B"},
    {"katakana", L"ルコポ", "\x83\x8B\x83R\x83|"},
    {"key name", L"無変換", "\x96\xB3\x95\xCF\x8A\xB7"},
    {"launcher name", L"ランチャー1", "\x83\x89\x83\x93\x83`\x83\x83\x81[1"},
    {"running marker", L"-起動中", "-\x8BN\x93\xAE\x92\x86"},
    {"half-width katakana", L"ｹﾙﾎﾞﾗﾝﾁｬｰ", "\xB9\xD9\xCE\xDE\xD7\xDD\xC1\xAC\xB0"},
    {"0x5C stays a backslash", L"C:\\Users\\太郎\\Documents\\",
     "C:\\Users\\\x91\xBE\x98Y\\Documents\\"},
    {"0x7E stays a tilde", L"~", "~"},
    {"trail byte 0x5C", L"表示ソ能", "\x95\\\x8E\xA6\x83\\\x94\\"},
    {"full-width tilde", L"～", "\x81`"},
    {"full-width hyphen-minus", L"－", "\x81|"},
    {"horizontal bar", L"―", "\x81\\"},
    {"not sign", L"￢", "\x81\xCA"},
    {"middle dot and ideographic space", L"・\u3000", "\x81\x45\x81\x40"},
    {"circled digits", L"①②⑳", "\x87\x40\x87\x41\x87\x53"},
    {"Roman numerals", L"ⅠⅩⅰ", "\x87T\x87]\xFA@"},
    {"NEC row 13 symbols", L"≒≡∫∮√⊥∠∟⊿∵∩∪",
     "\x81\xE0\x81\xDF\x81\xE7\x87\x93\x81\xE3\x81\xDB\x81\xDA\x87\x98\x87\x99\x81\xE6\x81\xBF"
     "\x81\xBE"},
    {"IBM extension kanji", L"髙﨑纊", "\xFB\xFC\xFA\xB1\xFA\\"},
    {"user-defined area", L"\xE000", "\xF0@"},
    {"single bytes outside JIS", L"\x80\xF8F0\xF8F1\xF8F2\xF8F3", "\x80\xA0\xFD\xFE\xFF"},
};

// Bytes that read as text which is written back as other bytes: duplicates
// in the code page, and bytes that hold no character (read as U+30FB '・').
inline constexpr Cp932Sample kCp932ReadOnly[] = {
    {"NEC-selected IBM kanji", L"纊", "\xED@"},
    {"NEC copy of a JIS symbol", L"≒", "\x87\x90"},
    {"pair with no character", L"・", "\x85@"},
    {"lead byte at the end", L"A・", "A\x81"},
    {"lead byte before a line break", L"・\r\nB", "\x81\r\nB"},
    {"lead byte before '='", L"・=1", "\x81=1"},
    {"lead byte before a byte that cannot trail", L"・\xF8F1", "\x81\xFD"},
};

// Text without a character in the code page; each such character becomes '?'.
inline constexpr Cp932Sample kCp932WriteOnly[] = {
    {"Latin letter with accent", L"caf\xE9", "caf?"},
    {"wave dash", L"\x301C", "?"},
    {"minus sign", L"1\u22122", "1?2"},
    {"yen sign", L"\u00A5100", "?100"},
    {"double vertical line and em dash", L"\x2016\x2014", "??"},
    {"Korean between kana", L"あ\xD55Cい", "\x82\xA0?\x82\xA2"},
    // Windows counts UTF-16 units here, so one emoji is two question marks.
    {"character beyond the BMP", L"\U0001F600.", "??."},
};

inline constexpr Utf8Sample kUtf8RoundTrips[] = {
    {"ASCII", L"Settei0.ini", "Settei0.ini"},
    {"Japanese", L"移動されたファイル", "移動されたファイル"},
    {"half-width katakana", L"ｹﾙﾎﾞ", "ｹﾙﾎﾞ"},
    {"outside code page 932", L"caf\xE9 \x301C", "caf\xC3\xA9 \xE3\x80\x9C"},
    {"user-defined area", L"\xE000", "\xEE\x80\x80"},
    {"character beyond the BMP", L"\U0001F600", "\xF0\x9F\x98\x80"},
};

// Bytes that are not UTF-8 read as U+FFFD.
inline constexpr Utf8Sample kUtf8ReadOnly[] = {
    {"stray byte", L"a\uFFFDb", "a\xFF\x62"},
};

} // namespace kelvo::testdata
