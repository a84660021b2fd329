// Real fonts through the renderer, the shadow maker and the writer.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <numeric>
#include <string>

#include "converter/character_set.h"
#include "converter/conversion_error.h"
#include "converter/font_converter.h"
#include "converter/font_face.h"
#include "converter/glyph_renderer.h"
#include "converter/pgf/pgf_reader.h"
#include "converter/shadow_maker.h"
#include "pgf_invariants.h"

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

// What the file holds is what the renderer drew: every character, bitmap, advance and shadow.
TEST_P(FontConversion, EveryGlyphComesBackAsRendered) {
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

    const FontFace face = FontFace::open(fontPath);
    const GlyphRenderer renderer(face, parameters);
    std::size_t checked = 0;
    for (const char32_t code : pspLatinCharacters()) {
        SCOPED_TRACE(testing::Message() << "U+" << std::hex << static_cast<unsigned>(code));
        const auto rendered = renderer.render(code);
        const auto index = file.glyphIndexOf(code);
        ASSERT_EQ(rendered.has_value(), index.has_value());
        if (!rendered) {
            continue;
        }
        const pgf::PgfGlyph& glyph = file.glyphs[*index];
        EXPECT_EQ(glyph.image, rendered->image);
        EXPECT_EQ(glyph.metrics.advance.horizontal, rendered->advance);
        EXPECT_EQ(glyph.metrics.dimension.horizontal, rendered->image.width * 64);
        EXPECT_EQ(glyph.metrics.yAdjust.horizontal, rendered->image.top * 64);
        EXPECT_EQ(glyph.shadow, makeShadow(rendered->image, 2.5, 1.2));
        ++checked;
    }
    EXPECT_EQ(checked, file.glyphs.size());
}

INSTANTIATE_TEST_SUITE_P(
    FontsAndStyles, FontConversion,
    testing::Values(StyleCase{"TrueType", "Example.ttf", false, false, "Regular", 0},
                    StyleCase{"TrueTypeBold", "Example.ttf", true, false, "Bold", 0},
                    StyleCase{"TrueTypeItalic", "Example.ttf", false, true, "Italic", 0},
                    StyleCase{"TrueTypeBoldItalic", "Example.ttf", true, true, "Bold Italic", 0},
                    // The CFF font has no Cyrillic and a few signs less.
                    StyleCase{"Cff", "Example2.otf", false, false, "Regular", 102},
                    StyleCase{"CffBoldItalic", "Example2.otf", true, true, "Bold Italic", 102}),
    [](const auto& caseInfo) { return caseInfo.param.name; });

int totalInk(const pgf::GlyphImage& image) {
    return std::accumulate(image.pixels.begin(), image.pixels.end(), 0);
}

TEST(Rendering, ParametersChangeTheGlyphsAsTheyShould) {
    const FontFace face = FontFace::open(kFonts / "Example.ttf");
    const auto render = [&](double width, bool embolden, bool italicize) {
        return GlyphRenderer(face, {24, width, embolden, italicize}).render(U'H');
    };
    const auto plain = render(1, false, false), bold = render(1, true, false);
    const auto italic = render(1, false, true), narrow = render(0.5, false, false);
    ASSERT_TRUE(plain && bold && italic && narrow);

    EXPECT_GT(totalInk(bold->image), totalInk(plain->image) * 5 / 4);
    EXPECT_GT(bold->advance, plain->advance);
    EXPECT_GT(italic->image.width, plain->image.width);  // the slant widens it
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

TEST(CharacterSet, IsTheFirmwareLatinSetWithLatinExtendedA) {
    const std::vector<char32_t> set = pspLatinCharacters();
    EXPECT_EQ(set.size(), 447u);
    EXPECT_TRUE(std::is_sorted(set.begin(), set.end()));
    EXPECT_EQ(set.front(), U' ');
    EXPECT_EQ(set.back(), U'\u2265');
    for (const char32_t code : {U'_', U'\u00ff', U'\u0100', U'\u017f', U'\u0401', U'\u20ac'}) {
        EXPECT_TRUE(std::binary_search(set.begin(), set.end(), code)) << int(code);
    }
    for (const char32_t code : {U'\u007f', U'\u009f', U'\u0180', U'\u040d', U'\u0391'}) {
        EXPECT_FALSE(std::binary_search(set.begin(), set.end(), code)) << int(code);
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
