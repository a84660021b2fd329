#include "core/windows1252.h"

#include <gtest/gtest.h>

#include <string>

namespace tessavine {
namespace {

struct CodecCase {
    std::string utf8;
    std::string bytes;
};

class Windows1252 : public testing::TestWithParam<CodecCase> {};

TEST_P(Windows1252, EncodesAndDecodesBothWays) {
    EXPECT_EQ(utf8ToWindows1252(GetParam().utf8), GetParam().bytes);
    EXPECT_EQ(windows1252ToUtf8(GetParam().bytes), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Characters, Windows1252,
    testing::Values(CodecCase{"Example.ttf", "Example.ttf"}, CodecCase{"", ""},
                    CodecCase{"\xC3\xA9", "\xE9"},      // é
                    CodecCase{"\xE2\x82\xAC", "\x80"},  // €
                    CodecCase{"\xC5\x92", "\x8C"},      // Œ
                    CodecCase{"\xC5\xB8", "\x9F"},      // Ÿ
                    CodecCase{"\xE2\x84\xA2", "\x99"},  // ™
                    CodecCase{"\xC2\xA0\xC3\xBF", "\xA0\xFF"},
                    CodecCase{"\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D", "\x81\x8D\x8F\x90\x9D"},
                    CodecCase{std::string("a\0b", 3), std::string("a\0b", 3)}));

TEST(Windows1252, EveryByteSurvivesARoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    EXPECT_EQ(utf8ToWindows1252(windows1252ToUtf8(all)), all);
}

struct LossyCase {
    std::string utf8;
    std::string bytes;
};

class Windows1252Lossy : public testing::TestWithParam<LossyCase> {};

TEST_P(Windows1252Lossy, TurnsWhatItCannotHoldIntoQuestionMarks) {
    EXPECT_EQ(utf8ToWindows1252(GetParam().utf8), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Characters, Windows1252Lossy,
    testing::Values(LossyCase{"\xE6\x97\xA5x", "?x"},    // 日: not in the code page
                    LossyCase{"\xF0\x9F\x98\x80", "?"},  // an emoji
                    LossyCase{"\xC2\x80", "?"},          // U+0080 has no byte of its own
                    LossyCase{"a\xFF"
                              "b",
                              "a?b"},        // not UTF-8 at all
                    LossyCase{"\xC3", "?"},  // cut short at the end
                    LossyCase{"\xE2\x82"
                              "A",
                              "??A"},                       // cut short before a letter
                    LossyCase{"\xC0\xAF", "??"},            // overlong "/"
                    LossyCase{"\xED\xA0\x80", "???"},       // a surrogate
                    LossyCase{"\xF4\x90\x80\x80", "????"},  // above U+10FFFF
                    LossyCase{"\x80\xBF", "??"}));          // stray continuation bytes

}  // namespace
}  // namespace tessavine
