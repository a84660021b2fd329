#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "pgf/format_limits.h"
#include "pgf/pgf_read_error.h"
#include "pgf/pgf_reader.h"
#include "pgf/pgf_writer.h"
#include "pgf_invariants.h"

namespace tessavine::pgf {
namespace {

using Bytes = std::vector<std::uint8_t>;

GlyphImage randomImage(std::mt19937& random, int largestSide) {
    std::uniform_int_distribution<int> side(0, largestSide), offset(-64, 63), level(0, 15);
    GlyphImage image;
    image.width = side(random);
    image.height = image.width == 0 ? 0 : std::max(1, side(random));
    image.left = offset(random);
    image.top = offset(random);
    image.pixels.resize(static_cast<std::size_t>(image.width * image.height));
    for (auto& pixel : image.pixels) {
        // Mostly blank with ink patches, like real glyphs, plus pure noise.
        pixel = static_cast<std::uint8_t>(level(random) < 8 ? 0 : level(random));
    }
    return image;
}

// A font of `count` glyphs whose dimensions take `distinctDimensions` different values.
PgfFont makeFont(std::size_t count, int distinctDimensions, unsigned seed) {
    std::mt19937 random(seed);
    PgfFont font;
    font.name = "Synthetic" + std::string(54, '-');  // 63 bytes, the longest a header holds
    font.style = "Regular";
    font.ascender = 20 * 64;
    font.descender = -5 * 64;
    for (std::size_t i = 0; i < count; ++i) {
        PgfGlyph glyph;
        glyph.code = static_cast<char16_t>(0x20 + i * 3);
        glyph.image = randomImage(random, i % 50 == 7 ? 127 : 24);
        glyph.shadow = randomImage(random, 20);
        glyph.shadowFlags = {static_cast<std::uint8_t>(i % 3), static_cast<std::uint8_t>(i % 4),
                             static_cast<std::uint8_t>(i % 8)};
        const auto n = static_cast<std::int32_t>(i);
        glyph.metrics = {{n % distinctDimensions * 64, 17},
                         {-n, -n * 32},
                         {n % 20 * 64, 18},
                         {n % 200 * 64, 1094}};
        font.glyphs.push_back(glyph);
    }
    return font;
}

struct RoundTripCase {
    const char* name;
    std::size_t glyphs;
    int distinctDimensions;
};

class PgfRoundTrip : public testing::TestWithParam<RoundTripCase> {};

TEST_P(PgfRoundTrip, EveryGlyphComesBackAsWritten) {
    const PgfFont font = makeFont(GetParam().glyphs, GetParam().distinctDimensions, 7);
    const Bytes bytes = writePgf(font);
    const PgfFile file = readPgf(bytes);

    expectWellFormed(file, bytes.size());
    EXPECT_EQ(file.header.fontName, font.name);
    EXPECT_EQ(file.header.fontType, font.style);
    EXPECT_EQ(file.header.maxAscender, font.ascender);
    EXPECT_EQ(file.header.maxDescender, font.descender);
    // A full table keeps 255 dimensions; the others are stored inline in their records.
    EXPECT_EQ(file.dimensionTable.size(), std::min(GetParam().distinctDimensions, 255));
    const auto inlineDimensions = std::count_if(file.records.begin(), file.records.end(),
                                                [](const auto& r) { return !(r.flags & 0x04); });
    EXPECT_EQ(inlineDimensions > 0, GetParam().distinctDimensions > 255);
    ASSERT_EQ(file.glyphs.size(), font.glyphs.size());
    for (std::size_t i = 0; i < font.glyphs.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "glyph " << i);
        EXPECT_EQ(file.glyphs[i].code, font.glyphs[i].code);
        EXPECT_EQ(file.glyphs[i].image, font.glyphs[i].image);
        EXPECT_EQ(file.glyphs[i].shadow, font.glyphs[i].shadow);
        EXPECT_EQ(file.glyphs[i].metrics, font.glyphs[i].metrics);
        EXPECT_EQ(file.glyphs[i].shadowFlags, font.glyphs[i].shadowFlags);
    }
}

INSTANTIATE_TEST_SUITE_P(Fonts, PgfRoundTrip,
                         testing::Values(RoundTripCase{"OneGlyph", 1, 1},
                                         RoundTripCase{"Typical", 120, 40},
                                         RoundTripCase{"TableOverflow", 400, 400},
                                         RoundTripCase{"MostShadows", 511, 100}),
                         [](const auto& caseInfo) { return caseInfo.param.name; });

TEST(PgfWriterRefuses, FontsThatBreakTheFormat) {
    PgfFont tooWide = makeFont(3, 3, 1);
    tooWide.glyphs[1].image = {128, 1, 0, 0, Bytes(128, 1)};
    PgfFont tooHigh = makeFont(3, 3, 1);
    tooHigh.glyphs[2].image.top = 64;
    PgfFont manyAdvances = makeFont(300, 10, 1);  // advances can never be stored inline
    for (std::size_t i = 0; i < manyAdvances.glyphs.size(); ++i) {
        manyAdvances.glyphs[i].metrics.advance.horizontal = static_cast<std::int32_t>(i);
    }
    PgfFont unordered = makeFont(3, 3, 1);
    std::swap(unordered.glyphs[0].code, unordered.glyphs[1].code);
    for (const PgfFont& font : {tooWide, tooHigh, manyAdvances, unordered, PgfFont{}}) {
        EXPECT_THROW(writePgf(font), std::invalid_argument) << font.glyphs.size() << " glyphs";
    }
}

TEST(PgfReaderRefuses, TruncatedAndDamagedFiles) {
    const Bytes bytes = writePgf(makeFont(40, 10, 3));
    const PgfFile whole = readPgf(bytes);
    const std::size_t lastRecordEnd =
        whole.sections.total() - whole.sections.glyphData + whole.records.back().offset +
        whole.records.back().recordBytes + whole.records.back().shadowRecordBytes;
    for (std::size_t length = 0; length < lastRecordEnd; length += 7) {
        EXPECT_THROW(readPgf(std::span(bytes.data(), length)), PgfReadError) << "cut at " << length;
    }
    // No magic, revision 3, a huge charmap, zero-bit charmap entries, and an advance table too
    // short for the glyphs' indexes.
    const std::pair<std::size_t, std::uint8_t> damage[] = {
        {4, 'X'}, {8, 3}, {0x13, 0x7F}, {0x18, 0}, {0x105, 1}};
    for (const auto& [offset, value] : damage) {
        Bytes damaged = bytes;
        damaged[offset] = value;
        EXPECT_THROW(readPgf(damaged), PgfReadError) << "byte " << offset;
    }
}

// A shadow id past the shadow map (a header that counts one shadow fewer than the glyphs name)
// leaves that glyph without a shadow and the others as they were.
TEST(PgfReaderRefuses, NothingForAShadowIdPastTheMap) {
    const PgfFont font = makeFont(4, 4, 5);
    Bytes bytes = writePgf(font);
    const PgfFile whole = readPgf(bytes);
    ASSERT_EQ(whole.header.shadowMapLength, 4);
    ASSERT_EQ(whole.header.shadowMapBpe, 16);
    bytes[0x16C] = 3;  // four 16-bit entries and three take the same 8 bytes
    const PgfFile cut = readPgf(bytes);
    ASSERT_EQ(cut.glyphs.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(cut.glyphs[i].image, font.glyphs[i].image) << i;
        EXPECT_EQ(cut.glyphs[i].shadow, i < 3 ? font.glyphs[i].shadow : GlyphImage{}) << i;
    }
    // A shadow map entry naming a character the font lacks is refused, not followed.
    const PgfSections& at = whole.sections;
    const std::size_t map =
        at.header + at.dimensionTable + at.xAdjustTable + at.yAdjustTable + at.advanceTable;
    bytes[0x16C] = 4;
    ASSERT_EQ(bytes[map] | bytes[map + 1] << 8, font.glyphs[0].code);
    bytes[map] = 0x1F;  // U+001F, no glyph of the font
    bytes[map + 1] = 0;
    try {
        readPgf(bytes);
        ADD_FAILURE() << "a shadow of a missing character was read";
    } catch (const PgfReadError& error) {
        EXPECT_STREQ(error.what(), "a shadow belongs to a character the font does not have");
    }
}

}  // namespace
}  // namespace tessavine::pgf

namespace tessavine::pgf {
namespace {

// The character map's entry width as the file's header holds it (bytes 0x18-0x1B, little-endian),
// read without our reader.
std::int32_t charMapBitsInFile(const std::vector<std::uint8_t>& bytes) {
    return static_cast<std::int32_t>(bytes.at(0x18) | bytes.at(0x19) << 8 | bytes.at(0x1A) << 16 |
                                     bytes.at(0x1B) << 24);
}

TEST(FirmwareCharMap, HoldsAtMost16383Glyphs) {
    // 14-bit entries with all ones (16,383) meaning "no glyph" reach glyph indexes 0 to 16,382:
    // 16,383 glyphs. One more needs 15 bits, which no PSP has been seen to read.
    struct Case {
        std::size_t glyphs;
        std::int32_t bits;
        bool fits;
    };
    for (const Case& c : {Case{8191, 13, true}, Case{9780, 14, true}, Case{16383, 14, true},
                          Case{16384, 15, false}, Case{20000, 15, false}}) {
        PgfFont font;
        font.name = "Many";
        font.style = "Regular";
        font.shareIdenticalShadows = true;
        for (std::size_t i = 0; i < c.glyphs; ++i) {
            PgfGlyph glyph;
            glyph.code = static_cast<char16_t>(0x20 + i);
            glyph.image = {1, 1, 0, 1, {15}};
            glyph.shadow = {1, 1, 0, 0, {0}};
            glyph.metrics.advance = {64, 64};
            font.glyphs.push_back(glyph);
        }
        EXPECT_EQ(charMapBitsInFile(writePgf(font)), c.bits) << c.glyphs;
        EXPECT_EQ(fitsFirmwareCharMap(c.glyphs), c.fits) << c.glyphs;
    }
}

}  // namespace
}  // namespace tessavine::pgf
