#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "converter/pgf/glyph_record.h"

namespace tessavine::pgf {
namespace {

using Bytes = std::vector<std::uint8_t>;

PgfGlyph checkerGlyph() {
    PgfGlyph glyph;
    glyph.code = U'x';
    glyph.image = {3, 3, 0, 3, {15, 0, 15, 0, 15, 0, 15, 0, 15}};
    glyph.shadowFlags = {2, 2, 1};
    return glyph;
}

TEST(GlyphRecord, MatchesTheHandAssembledThreeByThreeGlyph) {
    const Bytes expected{0x12, 0xC0, 0x60, 0x00, 0x18, 0xF4, 0x9A, 0x02, 0x01,
                         0x02, 0x03, 0x04, 0xF8, 0xF0, 0xF0, 0xF0, 0xF0, 0x0F};
    EXPECT_EQ(encodeCharRecord(checkerGlyph(), {1, 2, 3, 4}, 5), expected);
}

TEST(GlyphRecord, InlineMetricsClearTheirFlagAndTakeEightBytes) {
    PgfGlyph glyph = checkerGlyph();
    glyph.metrics.dimension = {0x01020304, -2};
    const Bytes record = encodeCharRecord(glyph, {std::nullopt, 2, 3, 4}, 5);
    ASSERT_EQ(record.size(), 25u);
    EXPECT_EQ(record[0], 25);                  // size field
    EXPECT_EQ((record[5] >> 2) & 0x3F, 0x39);  // flags: dimension not indexed
    EXPECT_EQ(Bytes(record.begin() + 8, record.begin() + 16),
              (Bytes{0x04, 0x03, 0x02, 0x01, 0xFE, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(record[16], 2);  // the x-adjust index follows the inline pair
}

TEST(GlyphRecord, AnInlineAdvanceIsRefused) {
    EXPECT_THROW(encodeCharRecord(checkerGlyph(), {1, 2, 3, std::nullopt}, 0),
                 std::invalid_argument);
}

struct OrderCase {
    const char* name;
    GlyphImage image;
    int order;
};

class BitmapOrderChoice : public testing::TestWithParam<OrderCase> {};

TEST_P(BitmapOrderChoice, KeepsTheShorterOrderAndRowsOnATie) {
    PgfGlyph glyph;
    glyph.image = GetParam().image;
    const Bytes record = encodeCharRecord(glyph, {0, 0, 0, 0}, 0);
    EXPECT_EQ((record[5] >> 2) & 0x3, GetParam().order);
}

INSTANTIATE_TEST_SUITE_P(
    Images, BitmapOrderChoice,
    testing::Values(
        OrderCase{"VerticalStripesAsColumns",
                  {4, 4, 0, 4, {0, 15, 0, 15, 0, 15, 0, 15, 0, 15, 0, 15, 0, 15, 0, 15}},
                  2},
        OrderCase{"HorizontalStripesAsRows",
                  {4, 4, 0, 4, {0, 0, 0, 0, 15, 15, 15, 15, 0, 0, 0, 0, 15, 15, 15, 15}},
                  1},
        OrderCase{"SymmetricTieAsRows", {3, 3, 0, 3, {15, 0, 15, 0, 15, 0, 15, 0, 15}}, 1},
        OrderCase{"EmptyAsRows", {0, 0, 0, 0, {}}, 1}),
    [](const auto& caseInfo) { return caseInfo.param.name; });

TEST(ShadowRecord, HasSixFixedBytesThenTheBitmap) {
    const GlyphImage shadow{2, 1, -4, 12, {3, 3}};
    // size 7, 2×1, left -4 (0x7C), top 12, flags 1; then "repeat 2 of 3".
    const Bytes expected{0x07, 0x80, 0x20, 0xC0, 0x67, 0x04, 0x31};
    EXPECT_EQ(encodeShadowRecord(shadow), expected);
}

}  // namespace
}  // namespace tessavine::pgf
