// Bit fields, the 4-bit run-length code, glyph records and the small per-font choices, against
// vectors worked out by hand.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "pgf/bit_reader.h"
#include "pgf/bit_writer.h"
#include "pgf/bitmap_encoding.h"
#include "pgf/font_name.h"
#include "pgf/format_limits.h"
#include "pgf/glyph_record.h"
#include "pgf/pgf_read_error.h"
#include "pgf/run_length_code.h"
#include "pgf/shadow_flags.h"

namespace tessavine::pgf {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Field {
    std::uint32_t value;
    int bits;
};

TEST(BitPacking, WritesFieldsLowBitFirstAndReadsThemBack) {
    const std::vector<std::pair<std::vector<Field>, Bytes>> cases{
        {{{0x8, 4}, {0xF, 4}, {0x3, 4}}, {0xF8, 0x03}},
        {{{1, 3}, {0x1FF, 9}}, {0xF9, 0x0F}},
        {{{0xDEADBEEF, 32}}, {0xEF, 0xBE, 0xAD, 0xDE}},
        {{{511, 9}, {0, 9}, {300, 9}}, {0xFF, 0x01, 0xB0, 0x04}}};
    for (const auto& [fields, bytes] : cases) {
        BitWriter writer;
        for (const Field& field : fields) {
            writer.write(field.value, field.bits);
        }
        EXPECT_EQ(writer.bytes(), bytes);
        BitReader reader(bytes);
        for (const Field& field : fields) {
            EXPECT_EQ(reader.read(field.bits), field.value);
        }
    }
}

TEST(BitPacking, SignedFieldsPaddingAndTheEnd) {
    BitWriter writer;
    for (const std::uint32_t raw : {0x00u, 0x3Fu, 0x40u, 0x7Fu, 0x7Cu}) {
        writer.write(raw, 7);
    }
    writer.padTo(32);
    writer.padTo(32);
    EXPECT_EQ(writer.bitCount(), 64u);
    BitReader reader(writer.bytes());
    for (const int value : {0, 63, -64, -1, -4}) {
        EXPECT_EQ(reader.readSigned(7), value);  // two's complement
    }
    EXPECT_EQ(reader.read(29), 0u);
    EXPECT_THROW(reader.read(1), PgfReadError);  // a read error, not an overrun
    const std::pair<std::uint32_t, int> widths[] = {{0, 1},   {1, 1},   {255, 8},
                                                    {256, 9}, {511, 9}, {0xFFFFFFFFu, 32}};
    for (const auto& [value, bits] : widths) {
        EXPECT_EQ(bitLength(value), bits) << value;
    }
}

TEST(RunLengthCode, EncodesToHandWorkedNibblesAndDecodesBack) {
    const std::vector<std::pair<Bytes, Bytes>> pixelsAndNibbles{
        {{15, 0, 15, 0, 15, 0, 15, 0, 15}, {8, 15, 0, 15, 0, 15, 0, 15, 0, 15, 15}},
        {{}, {}},
        {{9}, {15, 9}},
        {{4, 4}, {1, 4}},
        {Bytes(8, 0), {7, 0}},
        {Bytes(9, 3), {7, 3, 15, 3}},
        {Bytes(10, 0), {7, 0, 1, 0}},
        {{1, 2, 3, 3, 3}, {14, 1, 2, 2, 3}},
        {{0, 0, 5, 6}, {1, 0, 14, 5, 6}},
        {{1, 2, 3, 4, 5, 6, 7, 8, 9}, {8, 1, 2, 3, 4, 5, 6, 7, 8, 15, 9}}};
    for (const auto& [pixels, nibbles] : pixelsAndNibbles) {
        EXPECT_EQ(encodeRunLength(pixels), nibbles);
        const Bytes packed = packNibbles(nibbles);
        BitReader reader(packed);
        EXPECT_EQ(decodeRunLength(reader, pixels.size()), pixels);
    }
    // A run that would overshoot the bitmap is cut short.
    const Bytes packed = packNibbles(Bytes{7, 5, 10, 1, 2, 3, 4, 5, 6});
    BitReader reader(packed);
    EXPECT_EQ(decodeRunLength(reader, 10), (Bytes{5, 5, 5, 5, 5, 5, 5, 5, 1, 2}));
}

TEST(RunLengthCode, RandomImagesSurviveTheRoundTripInBothOrders) {
    std::mt19937 random(1234);
    std::uniform_int_distribution<int> side(0, 24);
    for (int trial = 0; trial < 200; ++trial) {
        // Two levels make long runs, sixteen make literals.
        std::uniform_int_distribution<int> level(0, trial % 2 == 0 ? 1 : 15);
        GlyphImage image{side(random), side(random), 0, 0, {}};
        image.pixels.resize(static_cast<std::size_t>(image.width * image.height));
        for (auto& pixel : image.pixels) {
            pixel = static_cast<std::uint8_t>(level(random));
        }
        for (const BitmapOrder order : {BitmapOrder::Rows, BitmapOrder::Columns}) {
            const Bytes values = pixelsInOrder(image, order);
            const Bytes nibbles = encodeRunLength(values);
            const Bytes packed = encodeRunLengthPacked(values);
            EXPECT_EQ(packed, packNibbles(nibbles));
            EXPECT_EQ(runLengthCodeSize(values), nibbles.size());
            BitReader reader(packed);
            GlyphImage decoded{image.width, image.height, 0, 0, {}};
            decodeBitmap(reader, order, decoded);
            ASSERT_EQ(decoded, image) << "trial " << trial << " order " << int(order);
        }
    }
}

// The fast code finds runs 64 values at a time: runs of every length up to three repeats, with
// a literal left over or not, starting on either side of a word's edge, agree with the nibble
// walk checked by hand above.
TEST(RunLengthCode, RunsAcrossTheSixtyFourValueWordsAgreeWithTheWalk) {
    for (std::size_t length = 1; length <= 26; ++length) {
        for (std::size_t start = 55; start <= 66; ++start) {
            Bytes values(140);
            for (std::size_t i = 0; i < values.size(); ++i) {
                values[i] = static_cast<std::uint8_t>(i % 3 == 0 ? 1 : i % 5);  // short runs
            }
            std::fill_n(values.begin() + static_cast<std::ptrdiff_t>(start), length,
                        std::uint8_t{9});
            const Bytes nibbles = encodeRunLength(values);
            EXPECT_EQ(runLengthCodeSize(values), nibbles.size()) << length << " at " << start;
            EXPECT_EQ(encodeRunLengthPacked(values), packNibbles(nibbles))
                << length << " at " << start;
        }
    }
}

PgfGlyph checkerGlyph() {
    PgfGlyph glyph;
    glyph.code = U'x';
    glyph.image = {3, 3, 0, 3, {15, 0, 15, 0, 15, 0, 15, 0, 15}};
    glyph.shadowFlags = {2, 2, 1};
    return glyph;
}

TEST(GlyphRecord, MatchesTheHandAssembledThreeByThreeGlyph) {
    // Fixed part: size 18, 3×3 at (0, 3), flags 0x3D, shadow flags (2, 2, 1), shadow id 5;
    // then four table indexes and the bitmap, a literal group of eight and one of one.
    const Bytes expected{0x12, 0xC0, 0x60, 0x00, 0x18, 0xF4, 0x9A, 0x02, 0x01,
                         0x02, 0x03, 0x04, 0xF8, 0xF0, 0xF0, 0xF0, 0xF0, 0x0F};
    EXPECT_EQ(encodeCharRecord(checkerGlyph(), {1, 2, 3, 4}, 5), expected);
}

TEST(GlyphRecord, InlineMetricsClearTheirFlagAndAnInlineAdvanceIsRefused) {
    PgfGlyph glyph = checkerGlyph();
    glyph.metrics.dimension = {0x01020304, -2};
    const Bytes record = encodeCharRecord(glyph, {std::nullopt, 2, 3, 4}, 5);
    ASSERT_EQ(record.size(), 25u);
    EXPECT_EQ(record[0], 25);                  // size field
    EXPECT_EQ((record[5] >> 2) & 0x3F, 0x39);  // flags: dimension not indexed
    EXPECT_EQ(Bytes(record.begin() + 8, record.begin() + 16),
              (Bytes{0x04, 0x03, 0x02, 0x01, 0xFE, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(record[16], 2);  // the x-adjust index follows the inline pair
    EXPECT_THROW(encodeCharRecord(glyph, {1, 2, 3, std::nullopt}, 0), std::invalid_argument);
}

TEST(GlyphRecord, KeepsTheShorterOrderAndRowsOnATie) {
    const auto orderBits = [](const GlyphImage& image) {
        PgfGlyph glyph;
        glyph.image = image;
        return (encodeCharRecord(glyph, {0, 0, 0, 0}, 0)[5] >> 2) & 0x3;
    };
    const Bytes stripes{0, 15, 0, 15, 0, 15, 0, 15, 0, 15, 0, 15, 0, 15, 0, 15};
    const Bytes bands{0, 0, 0, 0, 15, 15, 15, 15, 0, 0, 0, 0, 15, 15, 15, 15};
    EXPECT_EQ(orderBits({4, 4, 0, 4, stripes}), 2);  // vertical stripes: columns
    EXPECT_EQ(orderBits({4, 4, 0, 4, bands}), 1);
    EXPECT_EQ(orderBits(checkerGlyph().image), 1);
    EXPECT_EQ(orderBits({}), 1);
}

TEST(ShadowRecord, HasSixFixedBytesThenTheBitmap) {
    // size 7, 2×1, left -4 (0x7C), top 12, flags 1; then "repeat 2 of 3".
    const Bytes expected{0x07, 0x80, 0x20, 0xC0, 0x67, 0x04, 0x31};
    EXPECT_EQ(encodeShadowRecord({2, 1, -4, 12, {3, 3}}), expected);
}

TEST(FontName, AvoidsNamesSomeReadersHandleDifferently) {
    const std::pair<std::string, std::string> familyAndStored[] = {
        {"DejaVu Sans", "DejaVu Sans"},
        {"Liberation Sans", "Custom Liberation Sans"},
        {"Liberation Mono", "Custom Liberation Mono"},
        {"liberation serif", "Custom liberation serif"},
        {"Sazanami Gothic", "Custom Sazanami Gothic"},
        {"UnDotum", "Custom UnDotum"},
        {"Microsoft YaHei", "Custom Microsoft YaHei"},
        {"Microsoft YaHei UI", "Microsoft YaHei UI"},
        {"", "Untitled"},
        {"  Caf\xc3\xa9", "Caf"},
        {"\x1F~\x7F", "~"},  // the printable edges kept, their neighbours dropped
        {std::string(80, 'x'), std::string(63, 'x')}};
    for (const auto& [family, stored] : familyAndStored) {
        EXPECT_EQ(makeStorableFontName(family), stored);
    }
}

TEST(ShadowFlags, FollowTheFirmwaresCharacterClasses) {
    const std::pair<char32_t, ShadowFlags> flagsOf[] = {
        {U'A', {2, 2, 1}},      {U'z', {2, 2, 1}},      {U'\u00e9', {2, 2, 1}},
        {U'\u0416', {2, 2, 1}}, {U'\u0141', {2, 2, 1}}, {U'7', {2, 2, 2}},
        {U'\u00bd', {0, 0, 2}}, {U' ', {2, 0, 6}},      {U')', {2, 0, 6}},
        {U'(', {0, 2, 6}},      {U'\u20ac', {0, 2, 6}}, {U'"', {2, 2, 6}},
        {U'_', {2, 1, 6}},      {U'\u2122', {2, 1, 6}}, {U'#', {0, 0, 6}},
        {U'\u00d7', {0, 0, 6}}, {U'\u02dc', {0, 0, 1}}, {U'\u0301', {0, 0, 1}}};
    for (const auto& [code, flags] : flagsOf) {
        EXPECT_EQ(shadowFlagsFor(code), flags) << std::hex << static_cast<unsigned>(code);
    }
}

}  // namespace
}  // namespace tessavine::pgf
