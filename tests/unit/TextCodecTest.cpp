#include "common/Cp932Samples.h"
#include "storage/TextCodec.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace kelvo {
namespace {

// Bytes as hex, so that a failure shows which byte differs.
std::string hex(std::string_view bytes) {
    std::string text;
    for (unsigned char b : bytes) {
        char digits[4];
        std::snprintf(digits, sizeof digits, "%02X ", b);
        text += digits;
    }
    return text;
}

TEST(Cp932Test, ConvertsBothWaysAsWindows) {
    for (const auto& sample : testdata::kCp932RoundTrips) {
        SCOPED_TRACE(sample.what);
        EXPECT_EQ(hex(toCp932(sample.text)), hex(sample.bytes));
        EXPECT_EQ(fromCp932(sample.bytes), sample.text);
    }
}

TEST(Cp932Test, ReadsDuplicateAndBrokenBytesAsWindows) {
    for (const auto& sample : testdata::kCp932ReadOnly) {
        SCOPED_TRACE(sample.what);
        EXPECT_EQ(fromCp932(sample.bytes), sample.text);
    }
}

TEST(Cp932Test, WritesQuestionMarksForCharactersItCannotHold) {
    for (const auto& sample : testdata::kCp932WriteOnly) {
        SCOPED_TRACE(sample.what);
        EXPECT_EQ(hex(toCp932(sample.text)), hex(sample.bytes));
    }
}

// The converter takes whole strings: characters it cannot hold must not
// disturb their neighbours, whatever their order.
TEST(Cp932Test, ConvertsTheWholeTableAsOneText) {
    std::wstring text;
    std::string bytes;
    for (const auto& sample : testdata::kCp932WriteOnly) {
        text += sample.text;
        bytes += sample.bytes;
    }
    for (const auto& sample : testdata::kCp932RoundTrips) {
        text += sample.text;
        bytes += sample.bytes;
    }
    EXPECT_EQ(hex(toCp932(text)), hex(bytes));
}

TEST(Utf8Test, ConvertsBothWays) {
    for (const auto& sample : testdata::kUtf8RoundTrips) {
        SCOPED_TRACE(sample.what);
        EXPECT_EQ(hex(toUtf8(sample.text)), hex(sample.utf8));
        EXPECT_EQ(fromUtf8(sample.utf8), sample.text);
    }
    for (const auto& sample : testdata::kUtf8ReadOnly) {
        SCOPED_TRACE(sample.what);
        EXPECT_EQ(fromUtf8(sample.utf8), sample.text);
    }
}

TEST(TextCodecTest, EmptyTextStaysEmpty) {
    EXPECT_EQ(toCp932(L""), "");
    EXPECT_EQ(fromCp932(""), L"");
    EXPECT_EQ(toUtf8(L""), "");
    EXPECT_EQ(fromUtf8(""), L"");
}

} // namespace
} // namespace kelvo
