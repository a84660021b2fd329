#include "core/number_reading.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace tessavine {
namespace {

struct DecimalCase {
    std::string text;
    double value;
};

class ReadDecimal : public testing::TestWithParam<DecimalCase> {};

TEST_P(ReadDecimal, ReadsTheNumberTheTextBeginsWith) {
    EXPECT_DOUBLE_EQ(readDecimal(GetParam().text), GetParam().value)
        << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ReadDecimal,
    testing::Values(DecimalCase{"1.5x", 1.5}, DecimalCase{"1.2.3", 1.2}, DecimalCase{".5", 0.5},
                    DecimalCase{"7.", 7.0}, DecimalCase{"", 0.0}, DecimalCase{"abc", 0.0},
                    DecimalCase{"1,5", 1.0}, DecimalCase{" 1 2\t3\n", 123.0},
                    DecimalCase{"-1", -1.0}, DecimalCase{"+2.5", 2.5}, DecimalCase{"1E2", 100.0},
                    DecimalCase{"2.5d-1", 0.25}, DecimalCase{"1e", 1.0}, DecimalCase{"1e+", 1.0},
                    DecimalCase{"&H10", 16.0}, DecimalCase{"&hFFFF", -1.0},
                    DecimalCase{"&O17", 15.0}, DecimalCase{"&H", 0.0}, DecimalCase{"-", 0.0},
                    DecimalCase{".", 0.0}, DecimalCase{"1.5abc", 1.5},
                    DecimalCase{"0.0004", 0.0004}));

TEST(ReadDecimalLimits, HugeNumbersBecomeInfinitiesAndTinyOnesZero) {
    EXPECT_TRUE(std::isinf(readDecimal("1e999")));
    EXPECT_LT(readDecimal("-1e999"), 0.0);
    EXPECT_EQ(readDecimal("1e-999"), 0.0);
}

TEST(ReadWholeNumber, RoundsHalfToEvenAndAllowsOuterBlanks) {
    EXPECT_EQ(readWholeNumber("7.5"), 8.0);
    EXPECT_EQ(readWholeNumber("8.5"), 8.0);
    EXPECT_EQ(readWholeNumber(" 24 "), 24.0);
    EXPECT_EQ(readWholeNumber("007"), 7.0);
    EXPECT_EQ(readWholeNumber("-40000"), -40000.0);
}

TEST(ReadWholeNumber, TextThatIsNoWholeNumberGivesNothing) {
    for (const char* text : {"", "  ", "abc", "12abc", "1 2", "."}) {
        EXPECT_FALSE(readWholeNumber(text).has_value()) << '"' << text << '"';
    }
}

TEST(RoundHalfEven, GoesToTheEvenNeighbourOnAnExactHalf) {
    EXPECT_DOUBLE_EQ(roundHalfEven(0.125, 2), 0.12);
    EXPECT_DOUBLE_EQ(roundHalfEven(0.375, 2), 0.38);
    EXPECT_DOUBLE_EQ(roundHalfEven(0.249, 3), 0.249);
    EXPECT_DOUBLE_EQ(roundHalfEven(0.249, 2), 0.25);
    EXPECT_DOUBLE_EQ(roundHalfEven(2.0004, 3), 2.0);
}

}  // namespace
}  // namespace tessavine
