#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "converter/pgf/bit_reader.h"
#include "converter/pgf/run_length_code.h"

namespace tessavine::pgf {
namespace {

using Values = std::vector<std::uint8_t>;

struct CodeCase {
    const char* name;
    Values pixels;
    Values nibbles;
};

class RunLengthCode : public testing::TestWithParam<CodeCase> {};

TEST_P(RunLengthCode, EncodesToTheExpectedNibbles) {
    EXPECT_EQ(encodeRunLength(GetParam().pixels), GetParam().nibbles);
}

TEST_P(RunLengthCode, DecodesBackToThePixels) {
    const Values packed = packNibbles(GetParam().nibbles);
    BitReader reader(packed);
    EXPECT_EQ(decodeRunLength(reader, GetParam().pixels.size()), GetParam().pixels);
}

INSTANTIATE_TEST_SUITE_P(
    Vectors, RunLengthCode,
    testing::Values(
        // Nine alternating values: a full literal group of eight, then a group of one.
        CodeCase{"Checkerboard3x3",
                 {15, 0, 15, 0, 15, 0, 15, 0, 15},
                 {8, 15, 0, 15, 0, 15, 0, 15, 0, 15, 15}},
        CodeCase{"Empty", {}, {}}, CodeCase{"SingleValue", {9}, {15, 9}},
        CodeCase{"PairIsARepeat", {4, 4}, {1, 4}},
        CodeCase{"EightEqualIsOneRepeat", Values(8, 0), {7, 0}},
        CodeCase{"NineEqualSpillsIntoALiteral", Values(9, 3), {7, 3, 15, 3}},
        CodeCase{"TenEqualIsTwoRepeats", Values(10, 0), {7, 0, 1, 0}},
        CodeCase{"LiteralsFlushBeforeARepeat", {1, 2, 3, 3, 3}, {14, 1, 2, 2, 3}},
        CodeCase{"RepeatThenLiterals", {0, 0, 5, 6}, {1, 0, 14, 5, 6}},
        CodeCase{"NineLiterals", {1, 2, 3, 4, 5, 6, 7, 8, 9}, {8, 1, 2, 3, 4, 5, 6, 7, 8, 15, 9}}),
    [](const auto& caseInfo) { return caseInfo.param.name; });

TEST(RunLengthPacking, FirstNibbleGoesToTheLowHalf) {
    EXPECT_EQ(packNibbles(Values{8, 15, 0, 15, 15}), (Values{0xF8, 0xF0, 0x0F}));
}

TEST(RunLengthDecoding, ARunThatWouldOvershootIsCutShort) {
    const Values packed = packNibbles(Values{7, 5, 10, 1, 2, 3, 4, 5, 6});
    BitReader reader(packed);
    EXPECT_EQ(decodeRunLength(reader, 10), (Values{5, 5, 5, 5, 5, 5, 5, 5, 1, 2}));
}

TEST(RunLengthCoding, RandomImagesSurviveTheRoundTripInEveryForm) {
    std::mt19937 random(1234);
    for (int trial = 0; trial < 200; ++trial) {
        // Few distinct values make long runs, many make literals; mix both.
        std::uniform_int_distribution<int> levels(0, trial % 2 == 0 ? 1 : 15);
        std::uniform_int_distribution<std::size_t> lengths(0, 400);
        Values pixels(lengths(random));
        for (auto& pixel : pixels) {
            pixel = static_cast<std::uint8_t>(levels(random));
        }
        const Values nibbles = encodeRunLength(pixels);
        const Values packed = packNibbles(nibbles);
        EXPECT_EQ(encodeRunLengthPacked(pixels), packed);
        EXPECT_EQ(runLengthCodeSize(pixels), nibbles.size());
        BitReader reader(packed);
        ASSERT_EQ(decodeRunLength(reader, pixels.size()), pixels) << "trial " << trial;
    }
}

}  // namespace
}  // namespace tessavine::pgf
