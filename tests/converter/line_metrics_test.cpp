// Line metrics and slot sizes, against numbers worked out by hand from the firmware's fonts
// (863 / -196 / 1094 / 18 at its 18 px em, 576 / -131 / 730 / 12 for the small fonts) and
// against FreeType called directly.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "converter/command_line.h"
#include "converter/font_converter.h"
#include "free_type_reference.h"
#include "pgf/pgf_reader.h"
#include "tests/pgf/pgf_invariants.h"

namespace tessavine::converter {
namespace {

const std::filesystem::path kFonts = TESSAVINE_FONTS_DIR;
using Words = std::vector<std::string>;

pgf::PgfFile convertWords(const Words& words) {
    const CommandLine line = readCommandLine(words);
    const ConversionResult result = convertFont(kFonts / line.fontPath, line.parameters);
    pgf::PgfFile file = pgf::readPgf(result.pgf);
    pgf::expectWellFormed(file, result.pgf.size());
    return file;
}

Words withOptions(const char* font, const char* size, Words options) {
    Words words{font, "o.pgf", size, "b2.5i1.2"};
    words.insert(words.end(), options.begin(), options.end());
    return words;
}

struct FirmwareCase {
    const char* font;
    const char* size;
    Words options;
    int ascender, descender, verticalAdvance, topBearing;  // 26.6, worked out by hand
    int hSize;                                             // 26.6 points
    const char* style;
};

// E/18 times the firmware's value, rounded half away from zero; the small em is 56/81 of E.
const FirmwareCase kFirmwareCases[] = {
    {"Example.ttf", "18h1.0", {}, 863, -196, 1094, 18, 648, "Regular"},
    {"Example2.otf", "18h1.0", {}, 863, -196, 1094, 18, 648, "Regular"},
    {"Example.ttf", "25h1.0", {}, 1199, -272, 1519, 25, 900, "Regular"},  // 1198.6, -272.2
    {"Example.ttf", "9h1.0", {}, 432, -98, 547, 9, 324, "Regular"},       // 431.5 rounds up
    {"Example.ttf", "18h1.0", {"--slot", "6"}, 863, -196, 1094, 18, 648, "Bold Italic"},
    {"Example.ttf", "18h1.0", {"--slot", "8"}, 576, -131, 730, 12, 448, "Regular"},
    // 25: 800, -181.9, 1013.9, 16.7; 12.44... * 25/18 * 36 = 622.2
    {"Example.ttf", "25h1.0", {"--slot", "9"}, 800, -182, 1014, 17, 622, "Regular"},
    // 24: a 16.59 px small em; 768, -174.7, 973.3, 16; 597.3
    {"Example2.otf", "24h0.8", {"--slot", "14"}, 768, -175, 973, 16, 597, "Bold Italic"},
    // jpn0: 1013 / -139 as a PSP reports them, the em as the vertical advance.
    {"Example.ttf",
     "18h1.0",
     {"--slot", "jpn0", "--chars", "ascii"},
     1013,
     -139,
     1152,
     18,
     648,
     "Regular"},
    // 25: 1406.9, -193.1, 1600
    {"Example.ttf",
     "25h1.0",
     {"--slot", "jpn0", "--chars", "ascii"},
     1407,
     -193,
     1600,
     25,
     900,
     "Regular"},
};

TEST(LineMetrics, FollowTheFirmwareProportionsAtEveryScaleAndSlot) {
    for (const FirmwareCase& c : kFirmwareCases) {
        const Words words = withOptions(c.font, c.size, c.options);
        SCOPED_TRACE(testing::Message() << c.font << " " << c.size << " " << c.options.size());
        const pgf::PgfFile file = convertWords(words);
        const pgf::PgfHeader& h = file.header;
        EXPECT_EQ(h.maxAscender, c.ascender);
        EXPECT_EQ(h.maxDescender, c.descender);
        EXPECT_EQ(h.maxAdvanceV, c.verticalAdvance);
        EXPECT_EQ(h.maxTopYAdjust, c.topBearing);
        EXPECT_EQ(h.hSize, c.hSize);
        EXPECT_EQ(h.vSize, c.hSize);
        EXPECT_EQ(h.hResolution, 8192);
        EXPECT_EQ(h.fontType, c.style);
        EXPECT_EQ(h.minCenterXAdjust, -(h.maxSizeW / 2));
        // Every glyph hangs from the pen line, centred across it, one line below the last.
        for (const pgf::PgfGlyph& glyph : file.glyphs) {
            ASSERT_EQ(glyph.metrics.advance.vertical, c.verticalAdvance) << int(glyph.code);
            ASSERT_EQ(glyph.metrics.yAdjust.vertical, c.topBearing) << int(glyph.code);
            ASSERT_EQ(glyph.metrics.xAdjust.vertical, -glyph.image.width * 32) << int(glyph.code);
            ASSERT_EQ(glyph.metrics.yAdjust.horizontal, glyph.image.top * 64) << int(glyph.code);
        }
    }
}

TEST(LineMetrics, SmallSlotsAreDrawnAtSevenTenthsOfTheScaleAndGlyphsStayAsDrawn) {
    const struct {
        const char* size;
        Words options;
        long em26Dot6;  // round(E × 64), for small slots round(E × 56/81 × 64)
    } cases[] = {{"18h1", {}, 1152},
                 {"18h1", {"--slot", "8"}, 796},   // 796.4
                 {"25h1", {"--slot", "9"}, 1106},  // 1106.2
                 {"24h1", {"--slot", "8"}, 1062},  // 1061.9
                 {"18h1", {"--font-line-metrics"}, 1152}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size + std::string(" ") + std::to_string(c.em26Dot6));
        const pgf::PgfFile file = convertWords(withOptions("Example.ttf", c.size, c.options));
        EXPECT_EQ(file.glyphs.at(file.glyphIndexOf(U'H').value()).image,
                  test::freeTypeGlyph(kFonts / "Example.ttf", c.em26Dot6, U'H'));
    }
}

TEST(LineMetrics, ExplicitAndFontOwnValuesAreWrittenAsGiven) {
    // DejaVu Sans at 18 px: hhea ascent 1901 and descent -483 of 2048 units, which FreeType's
    // light hinting rounds outward to whole pixels: 17 and -5.
    constexpr int kFontAscender = 17 * 64, kFontDescender = -5 * 64;
    const struct {
        Words options;
        int ascender, descender, verticalAdvance;
        bool centred;  // vertical layout centred in the advance, as the font's own metrics do
    } cases[] = {
        {{"--ascender", "14.5", "--descender", "-4"}, 928, -256, 1184, false},
        {{"--ascender", "10"}, 640, -196, 836, false},
        {{"--descender", "-2.25"}, 863, -144, 1007, false},
        {{"--descender", "0"}, 863, 0, 863, false},
        {{"--font-line-metrics"}, kFontAscender, kFontDescender, 1408, true},
        {{"--font-line-metrics", "--ascender", "12.3"}, 787, kFontDescender, 1107, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options[0] + " " + (c.options.size() > 1 ? c.options[1] : ""));
        const pgf::PgfFile file = convertWords(withOptions("Example.ttf", "18h1", c.options));
        EXPECT_EQ(file.header.maxAscender, c.ascender);
        EXPECT_EQ(file.header.maxDescender, c.descender);
        EXPECT_EQ(file.header.maxAdvanceV, c.verticalAdvance);
        for (const pgf::PgfGlyph& glyph : file.glyphs) {
            const int height = glyph.image.height * 64;
            ASSERT_EQ(glyph.metrics.yAdjust.vertical,
                      c.centred ? (c.verticalAdvance - height) / 2 : 18)
                << int(glyph.code);
        }
    }
}

}  // namespace
}  // namespace tessavine::converter
