#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "converter/shadow_maker.h"

namespace tessavine::converter {
namespace {

pgf::GlyphImage solid(int width, int height, int left, int top) {
    return {width, height, left, top,
            std::vector<std::uint8_t>(static_cast<std::size_t>(width * height), 15)};
}

struct PlacementCase {
    const char* name;
    pgf::GlyphImage glyph;
    int width, height, left, top;
};

class ShadowPlacement : public testing::TestWithParam<PlacementCase> {};

TEST_P(ShadowPlacement, HalvesTheInkBoxAndAddsFourPixelsOfHalo) {
    const pgf::GlyphImage shadow = makeShadow(GetParam().glyph, 2.5, 1.0);
    EXPECT_EQ(shadow.width, GetParam().width);
    EXPECT_EQ(shadow.height, GetParam().height);
    EXPECT_EQ(shadow.left, GetParam().left);
    EXPECT_EQ(shadow.top, GetParam().top);
    EXPECT_EQ(shadow.pixels.size(), static_cast<std::size_t>(shadow.width * shadow.height));
}

INSTANTIATE_TEST_SUITE_P(
    Glyphs, ShadowPlacement,
    testing::Values(PlacementCase{"CapitalAtThePen", solid(16, 17, 0, 17), 16, 17, -4, 13},
                    PlacementCase{"OddOffsets", solid(3, 3, 1, 3), 10, 10, -4, 6},
                    PlacementCase{"BelowTheBaseline", solid(14, 2, 0, -3), 15, 10, -4, 3},
                    PlacementCase{"LeftOfThePen", solid(4, 4, -5, 4), 11, 10, -7, 6}),
    [](const auto& caseInfo) { return caseInfo.param.name; });

TEST(ShadowInk, ZeroIntensityGivesNoInk) {
    const pgf::GlyphImage shadow = makeShadow(solid(10, 10, 0, 10), 2.5, 0.0);
    EXPECT_TRUE(std::all_of(shadow.pixels.begin(), shadow.pixels.end(),
                            [](std::uint8_t v) { return v == 0; }));
    EXPECT_GT(shadow.width, 0);
}

TEST(ShadowInk, WithoutBlurFullInkStaysFullAndHaloStaysEmpty) {
    const pgf::GlyphImage shadow = makeShadow(solid(2, 2, 0, 2), 0.0, 1.0);
    ASSERT_EQ(shadow.width, 9);
    const int lit = std::accumulate(shadow.pixels.begin(), shadow.pixels.end(), 0);
    EXPECT_EQ(lit, 15);
    EXPECT_EQ(shadow.at(4, 4), 15);  // the one shadow pixel under the 2 × 2 ink
}

TEST(ShadowInk, BlurSpreadsSymmetricallyAndIntensityDarkens) {
    const pgf::GlyphImage glyph = solid(2, 2, 0, 2);
    const pgf::GlyphImage soft = makeShadow(glyph, 3.0, 1.0);
    const pgf::GlyphImage strong = makeShadow(glyph, 3.0, 3.0);
    EXPECT_LT(soft.at(4, 4), 15);
    EXPECT_GT(soft.at(3, 4), 0);
    EXPECT_EQ(soft.at(3, 4), soft.at(5, 4));
    EXPECT_EQ(soft.at(4, 3), soft.at(4, 5));
    EXPECT_GT(strong.at(4, 4), soft.at(4, 4));
    EXPECT_EQ(soft.at(0, 0), 0);
}

TEST(ShadowInk, EmptyGlyphHasAnEmptyShadow) {
    const pgf::GlyphImage shadow = makeShadow({}, 2.5, 1.2);
    EXPECT_EQ(shadow.width, 0);
    EXPECT_EQ(shadow.height, 0);
}

}  // namespace
}  // namespace tessavine::converter
