// Real fonts through the renderer, the shadow maker and the writer.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <numeric>
#include <string>

#include "converter/conversion_error.h"
#include "converter/font_converter.h"
#include "converter/font_face.h"
#include "converter/glyph_renderer.h"
#include "converter/shadow_maker.h"
#include "free_type_reference.h"
#include "pgf/pgf_reader.h"
#include "tests/pgf/pgf_invariants.h"

namespace tessavine::converter {
namespace {

const std::filesystem::path kFonts = TESSAVINE_FONTS_DIR;

struct StyleCase {
    const char* name;
    const char* font;
    bool embolden;
    bool italicize;
    const char* style;
    std::size_t missing;
};

class FontConversion : public testing::TestWithParam<StyleCase> {};

// Every style of both fonts makes a file that holds every character the font has.
TEST_P(FontConversion, HoldsEveryCharacterTheFontHas) {
    const auto fontPath = kFonts / GetParam().font;
    const ConversionParameters parameters{24,  0.8, GetParam().embolden, GetParam().italicize,
                                          2.5, 1.2};
    const ConversionResult result = convertFont(fontPath, parameters);
    const pgf::PgfFile file = pgf::readPgf(result.pgf);
    pgf::expectWellFormed(file, result.pgf.size());

    EXPECT_EQ(file.header.fontType, GetParam().style);
    EXPECT_EQ(file.header.hSize, 24 * 36);  // 13.5 pt at 128 dpi
    EXPECT_EQ(file.header.hResolution, 8192);
    EXPECT_EQ(result.missingCharacters.size(), GetParam().missing);
    EXPECT_EQ(file.glyphs.size(), result.glyphCount);
    EXPECT_EQ(file.glyphs.size() + GetParam().missing, 447u);
}

INSTANTIATE_TEST_SUITE_P(
    FontsAndStyles, FontConversion,
    testing::Values(StyleCase{"TrueTypeBold", "Example.ttf", true, false, "Bold", 0},
                    StyleCase{"TrueTypeItalic", "Example.ttf", false, true, "Italic", 0},
                    // The CFF font has no Cyrillic and a few signs less.
                    StyleCase{"Cff", "Example2.otf", false, false, "Regular", 102},
                    StyleCase{"CffBoldItalic", "Example2.otf", true, true, "Bold Italic", 102}),
    [](const auto& caseInfo) { return caseInfo.param.name; });

TEST(AgainstFreeType, BitmapsAndPositionsAreFreeTypesOwn) {
    const std::pair<const char*, int> fontsAndScales[] = {
        {"Example.ttf", 24}, {"Example.ttf", 17}, {"Example2.otf", 31}};
    for (const auto& [font, scale] : fontsAndScales) {
        const ConversionResult result = convertFont(kFonts / font, {scale});
        const pgf::PgfFile file = pgf::readPgf(result.pgf);
        for (const char32_t code : {U'H', U'j', U'_', U'g', U'\u00c5'}) {
            SCOPED_TRACE(testing::Message() << font << " at " << scale << ", U+" << std::hex
                                            << static_cast<unsigned>(code));
            const auto index = file.glyphIndexOf(code);
            ASSERT_TRUE(index);
            EXPECT_EQ(file.glyphs[*index].image,
                      test::freeTypeGlyph(kFonts / font, scale * 64L, code));
        }
    }
}

// A set large enough to be finished on a second thread, from a font that lacks a hundred of its
// characters: each glyph of the file is the one FreeType draws for its code, in code order, and
// no other glyph is there.
TEST(AgainstFreeType, EveryGlyphOfALargeSetIsItsOwnCharacters) {
    const auto font = kFonts / "Example2.otf";
    ConversionParameters parameters{24};
    parameters.characterSets = "U+0020-04FF";
    const ConversionResult result = convertFont(font, parameters);
    const pgf::PgfFile file = pgf::readPgf(result.pgf);
    std::vector<char32_t> asked(0x04FF - 0x0020 + 1);
    std::iota(asked.begin(), asked.end(), U'\u0020');
    const std::vector<char32_t> present = test::charactersInFont(font, asked);
    ASSERT_EQ(file.glyphs.size(), present.size());
    EXPECT_EQ(result.missingCharacters.size() + present.size(), result.askedCharacters);
    for (std::size_t i = 0; i < present.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "U+" << std::hex << static_cast<unsigned>(present[i]));
        EXPECT_EQ(file.glyphs[i].code, present[i]);
        const pgf::GlyphImage expected = test::freeTypeGlyph(font, 24 * 64L, present[i]);
        if (expected.width <= 0) {  // no ink
            EXPECT_EQ(file.glyphs[i].image.width, 0);
        } else {
            EXPECT_EQ(file.glyphs[i].image, expected);
        }
    }
}

// Values worked out by hand from the font's own numbers (2048 units to the em; 'H' advances
// 1540 units with its ink from 201, 'j' from -37, '.' advances 651): advances are rounded to
// whole pixels, synthetic bold adds 1/24 of the em before the rounding, and a left bearing
// keeps its sign.
TEST(HandComputedMetrics, AdvancesAndBearingsAtOddAndEvenScales) {
    struct Case {
        int scale;
        bool bold;
        char32_t code;
        std::int32_t advance;  // 26.6
        std::int32_t left;     // pixels from the pen to the first column of ink
    };
    const Case cases[] = {
        {17, false, U'H', 13 * 64, 1},  // 12.78 px; ink from 1.67
        {24, false, U'H', 18 * 64, 2},  // 18.05 px; ink from 2.36
        {31, false, U'H', 23 * 64, 3},  // 23.31 px; ink from 3.04
        {17, true, U'H', 14 * 64, 1},   // 13 px + 45/64 px
        {24, true, U'H', 19 * 64, 2},   // 18 px + 1 px
        {31, true, U'H', 24 * 64, 3},   // 23 px + 82/64 px rounds to 24
        {24, false, U'j', 7 * 64, -1},  // 6.67 px; ink from -0.43
        {31, false, U'j', 9 * 64, -1},  // 8.61 px; ink from -0.56
        {17, false, U'.', 5 * 64, 1},   // 5.40 px; ink from 1.82
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "scale " << c.scale << (c.bold ? " bold " : " ")
                                        << static_cast<char>(c.code));
        ConversionParameters parameters{c.scale};
        parameters.embolden = c.bold;
        const ConversionResult result = convertFont(kFonts / "Example.ttf", parameters);
        const pgf::PgfFile file = pgf::readPgf(result.pgf);
        const auto index = file.glyphIndexOf(c.code);
        ASSERT_TRUE(index);
        const pgf::PgfGlyph& glyph = file.glyphs[*index];
        EXPECT_EQ(glyph.metrics.advance.horizontal, c.advance);
        EXPECT_EQ(glyph.image.left, c.left);
        EXPECT_EQ(glyph.metrics.xAdjust.horizontal, c.left * 64);
        EXPECT_EQ(glyph.metrics.dimension.horizontal, glyph.image.width * 64);
        EXPECT_EQ(file.header.hSize, c.scale * 36);  // points at 128 dpi: scale × 72 / 128
    }
}

// An oblique leans to the right: the ink of the top row lies right of the bottom row's.
TEST(HandComputedMetrics, ObliqueLeansForward) {
    const auto inkCentre = [](const pgf::GlyphImage& image, int y) {
        double sum = 0, weight = 0;
        for (int x = 0; x < image.width; ++x) {
            sum += x * image.at(x, y);
            weight += image.at(x, y);
        }
        return sum / weight;
    };
    for (const int scale : {17, 24}) {
        const ConversionResult result =
            convertFont(kFonts / "Example.ttf", {scale, 1.0, false, true});
        const pgf::PgfFile file = pgf::readPgf(result.pgf);
        for (const char32_t code : {U'l', U'I'}) {
            const pgf::GlyphImage& image = file.glyphs[*file.glyphIndexOf(code)].image;
            EXPECT_GT(inkCentre(image, 0), inkCentre(image, image.height - 1) + 2)
                << "scale " << scale << " " << static_cast<char>(code);
        }
    }
}

// The bytes whose meaning nobody knows, and the fixed fields, as every known font has them.
TEST(HeaderBytes, FixedBytesAreThoseOfTheKnownFonts) {
    const ConversionResult result = convertFont(kFonts / "Example.ttf", {18});
    const std::vector<std::uint8_t>& bytes = result.pgf;
    ASSERT_GE(bytes.size(), 0x188u);
    const std::pair<std::size_t, std::vector<std::uint8_t>> fixed[] = {
        {0x000, {0x00, 0x00, 0x88, 0x01, 'P', 'G', 'F', '0'}},
        {0x008, {2, 0, 0, 0, 6, 0, 0, 0}},
        {0x020, {0x04, 0x04, 0x04, 0x00}},  // unknown pair, 4 bits per pixel, pad
        {0x02C, {0x00, 0x20, 0x00, 0x00, 0x00, 0x20, 0x00, 0x00}},  // 128 dpi both ways
        {0x034, {0x00}},
        {0x0B5, {0x00, 0x20, 0x00}},  // pad, then the first character U+0020
        {0x0BA, {0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {0x100, {0x04, 0x00}},
        {0x170, {16, 0, 0, 0}},                                     // shadow map entries of 16 bits
        {0x174, {0x04, 0x06, 0x00, 0x00}},                          // 1540
        {0x178, {32, 0, 0, 0, 32, 0, 0, 0}},                        // shadows at half size
        {0x180, {0xC0, 0x03, 0x00, 0x00, 0xC0, 0x03, 0x00, 0x00}},  // 960, 960
    };
    for (const auto& [offset, expected] : fixed) {
        EXPECT_EQ(std::vector<std::uint8_t>(
                      bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                      bytes.begin() + static_cast<std::ptrdiff_t>(offset + expected.size())),
                  expected)
            << "at 0x" << std::hex << offset;
    }
    EXPECT_TRUE(std::all_of(bytes.begin() + 0x106, bytes.begin() + 0x16C,
                            [](std::uint8_t byte) { return byte == 0; }));
}

int totalInk(const pgf::GlyphImage& image) {
    return std::accumulate(image.pixels.begin(), image.pixels.end(), 0);
}

TEST(Rendering, ParametersChangeTheGlyphsAsTheyShould) {
    const FontFace face = FontFace::open(kFonts / "Example.ttf");
    const auto render = [&](double width, bool embolden, bool italicize) {
        FaceSize size;
        size.emHeight = 24 * 64;
        size.emWidth = std::llround(24 * 64 * width);
        size.embolden = embolden;
        size.italicize = italicize;
        return GlyphRenderer(face, size).render(U'H');
    };
    // Emboldening and slanting are checked against hand-worked values and the firmware's slots.
    const auto plain = render(1, false, false), italic = render(1, false, true);
    const auto narrow = render(0.5, false, false);
    ASSERT_TRUE(plain && italic && narrow);
    EXPECT_EQ(italic->advance, plain->advance);
    EXPECT_LE(narrow->image.width, plain->image.width / 2 + 1);
    EXPECT_LT(narrow->advance, plain->advance);
    EXPECT_EQ(plain->image.height, narrow->image.height);
    EXPECT_EQ(plain->advance % 64, 0);

    // 8-bit coverage rounds to the nearest 4-bit level.
    const std::pair<int, int> levels[] = {{0, 0}, {8, 0}, {9, 1}, {127, 7}, {128, 8}, {255, 15}};
    for (const auto& [coverage, level] : levels) {
        EXPECT_EQ(toFourBits(static_cast<std::uint8_t>(coverage)), level) << coverage;
    }
}

TEST(Rendering, TooLargeAScaleNamesTheLargestThatFits) {
    try {
        convertFont(kFonts / "Example.ttf", {300});
        FAIL() << "a 300 px font was accepted";
    } catch (const ConversionError& error) {
        const std::string message = error.what();
        const auto at = message.find("largest font scale that fits is ");
        ASSERT_NE(at, std::string::npos) << message;
        const int fits = std::stoi(message.substr(at + 32));
        EXPECT_NO_THROW(convertFont(kFonts / "Example.ttf", {fits}));
        EXPECT_THROW(convertFont(kFonts / "Example.ttf", {fits + 1}), ConversionError);
    }
}

// A large set is refused for the first glyph in code order that breaks a limit, whether its
// outline shows it while FreeType draws or only its ink does, on the thread that finishes the
// glyphs. At 60 and 69 px the ink of Ǜ and of À reaches 64 and 65 pixels up, within what the
// outline's box leaves open, while at 69 Ă, later in code order, is certainly too tall from its
// outline; at 74 À is too.
TEST(Rendering, ALargeSetIsRefusedForItsFirstGlyphOverTheLimit) {
    const auto font = kFonts / "Example.ttf";
    struct Case {
        int scale;
        char32_t first;  // the first glyph over the limit, and how high FreeType draws it
        int top;
        char32_t later;  // one after it, at least this high
        int laterAtLeast;
    };
    const Case cases[] = {
        {60, U'\u01DB', 64, U'\u01DB', 64},
        {69, U'\u00C0', 65, U'\u0102', 66},
        {74, U'\u00C0', 70, U'\u0102', 70},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "scale " << c.scale);
        ASSERT_EQ(test::freeTypeGlyph(font, c.scale * 64L, c.first).top, c.top);
        ASSERT_GE(test::freeTypeGlyph(font, c.scale * 64L, c.later).top, c.laterAtLeast);
        ConversionParameters parameters{c.scale};
        parameters.characterSets = "U+0020-01FF";
        char expected[200];
        std::snprintf(expected, sizeof expected,
                      "font scale %d is too large for this font: U+%04X reaches %d pixels above "
                      "the baseline, outside the format's -64 to 63; the largest font scale that "
                      "fits is 59",
                      c.scale, static_cast<unsigned>(c.first), c.top);
        try {
            convertFont(font, parameters);
            ADD_FAILURE() << "converted";
        } catch (const ConversionError& error) {
            EXPECT_EQ(std::string(error.what()), expected);
        }
    }
    ConversionParameters fits{59};
    fits.characterSets = "U+0020-01FF";
    std::vector<char32_t> asked(0x01FF - 0x0020 + 1);
    std::iota(asked.begin(), asked.end(), U'\u0020');
    EXPECT_EQ(convertFont(font, fits).glyphCount, test::charactersInFont(font, asked).size());
}

// The fonts of one conversion are held in memory together; a font that would take them past
// the bound is refused before it is read, and one that fits exactly is taken.
TEST(FontFiles, AFontBeyondWhatTheConversionMayStillReadIsRefusedUnread) {
    const std::filesystem::path font = kFonts / "Example.ttf";
    const auto size = static_cast<std::size_t>(std::filesystem::file_size(font));
    EXPECT_EQ(FontFace::open(font, {}, size).bytes(), size);
    try {
        FontFace::open(font, {}, size - 1);
        FAIL() << "a font over the room left was read";
    } catch (const ConversionError& error) {
        EXPECT_NE(std::string(error.what()).find("536870912 bytes one conversion reads in all"),
                  std::string::npos)
            << error.what();
    }
}

pgf::GlyphImage solid(int width, int height, int left, int top) {
    return {width, height, left, top, std::vector<std::uint8_t>(std::size_t(width * height), 15)};
}

TEST(Shadow, HalvesTheInkBoxAndAddsFourPixelsOfHalo) {
    // glyph, then the shadow's width, height, left and top
    const std::pair<pgf::GlyphImage, std::array<int, 4>> placements[] = {
        {solid(16, 17, 0, 17), {16, 17, -4, 13}},
        {solid(3, 3, 1, 3), {10, 10, -4, 6}},
        {solid(14, 2, 0, -3), {15, 10, -4, 3}},  // below the baseline
        {solid(4, 4, -5, 4), {11, 10, -7, 6}}};  // left of the pen
    for (const auto& [glyph, box] : placements) {
        const pgf::GlyphImage shadow = makeShadow(glyph, 2.5, 1.0);
        EXPECT_EQ((std::array{shadow.width, shadow.height, shadow.left, shadow.top}), box);
        EXPECT_EQ(shadow.pixels.size(), std::size_t(shadow.width * shadow.height));
    }
    EXPECT_EQ(makeShadow({}, 2.5, 1.2), pgf::GlyphImage{});
}

TEST(Shadow, BlurSpreadsSymmetricallyAndIntensityDarkens) {
    const pgf::GlyphImage glyph = solid(2, 2, 0, 2);
    const pgf::GlyphImage sharp = makeShadow(glyph, 0.0, 1.0);
    ASSERT_EQ(sharp.width, 9);
    EXPECT_EQ(totalInk(sharp), 15);  // the one shadow pixel under the 2 × 2 ink, full
    EXPECT_EQ(sharp.at(4, 4), 15);
    const pgf::GlyphImage blank = makeShadow(solid(10, 10, 0, 10), 2.5, 0.0);
    EXPECT_TRUE(blank.width > 0 && totalInk(blank) == 0);  // the box stays, without ink

    const pgf::GlyphImage soft = makeShadow(glyph, 3.0, 1.0);
    const pgf::GlyphImage strong = makeShadow(glyph, 3.0, 3.0);
    EXPECT_LT(soft.at(4, 4), 15);
    EXPECT_GT(soft.at(3, 4), 0);
    EXPECT_EQ(soft.at(3, 4), soft.at(5, 4));
    EXPECT_EQ(soft.at(4, 3), soft.at(4, 5));
    EXPECT_GT(strong.at(4, 4), soft.at(4, 4));
    EXPECT_EQ(soft.at(0, 0), 0);
}

}  // namespace
}  // namespace tessavine::converter
