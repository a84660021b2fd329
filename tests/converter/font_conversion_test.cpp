#include <gtest/gtest.h>

#include <algorithm>
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

class FontConversion : public testing::TestWithParam<StyleCase> {
  protected:
    ConversionParameters parameters() const {
        ConversionParameters p;
        p.fontScale = 24;
        p.horizontalWidth = 0.8;
        p.embolden = GetParam().embolden;
        p.italicize = GetParam().italicize;
        p.shadowBlur = 2.5;
        p.shadowIntensity = 1.2;
        return p;
    }
};

// What the file holds is what the renderer drew: every character, bitmap, advance and shadow.
TEST_P(FontConversion, EveryGlyphComesBackAsRendered) {
    const auto fontPath = kFonts / GetParam().font;
    const ConversionResult result = convertFont(fontPath, parameters());
    const pgf::PgfFile file = pgf::readPgf(result.pgf);
    pgf::expectWellFormed(file, result.pgf.size());

    EXPECT_EQ(file.header.fontType, GetParam().style);
    EXPECT_EQ(file.header.hSize, 24 * 36);  // 13.5 pt at 128 dpi
    EXPECT_EQ(file.header.hResolution, 8192);
    EXPECT_EQ(result.missingCharacters.size(), GetParam().missing);
    EXPECT_EQ(file.glyphs.size(), result.glyphCount);

    const FontFace face = FontFace::open(fontPath);
    const GlyphRenderer renderer(face, parameters());
    std::size_t checked = 0;
    for (const char32_t code : pspLatinCharacters()) {
        const auto rendered = renderer.render(code);
        const auto index = file.glyphIndexOf(code);
        ASSERT_EQ(rendered.has_value(), index.has_value())
            << "U+" << std::hex << static_cast<unsigned>(code);
        if (!rendered) {
            continue;
        }
        const pgf::PgfGlyph& glyph = file.glyphs[*index];
        SCOPED_TRACE(testing::Message() << "U+" << std::hex << static_cast<unsigned>(code));
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

TEST(RenderingParameters, ChangeTheGlyphsAsTheyShould) {
    const FontFace face = FontFace::open(kFonts / "Example.ttf");
    ConversionParameters plain;
    plain.fontScale = 24;
    ConversionParameters bold = plain;
    bold.embolden = true;
    ConversionParameters italic = plain;
    italic.italicize = true;
    ConversionParameters narrow = plain;
    narrow.horizontalWidth = 0.5;

    const auto plainH = GlyphRenderer(face, plain).render(U'H');
    const auto boldH = GlyphRenderer(face, bold).render(U'H');
    const auto italicH = GlyphRenderer(face, italic).render(U'H');
    const auto narrowH = GlyphRenderer(face, narrow).render(U'H');
    ASSERT_TRUE(plainH && boldH && italicH && narrowH);

    EXPECT_GT(totalInk(boldH->image), totalInk(plainH->image) * 5 / 4);
    EXPECT_GT(boldH->advance, plainH->advance);
    EXPECT_GT(italicH->image.width, plainH->image.width);  // the slant widens it
    EXPECT_EQ(italicH->advance, plainH->advance);
    EXPECT_LE(narrowH->image.width, plainH->image.width / 2 + 1);
    EXPECT_LT(narrowH->advance, plainH->advance);
    EXPECT_EQ(plainH->image.height, narrowH->image.height);
    EXPECT_EQ(plainH->advance % 64, 0);
}

TEST(RenderingParameters, FourBitLevelsRoundFromEightBit) {
    EXPECT_EQ(toFourBits(0), 0);
    EXPECT_EQ(toFourBits(8), 0);
    EXPECT_EQ(toFourBits(9), 1);
    EXPECT_EQ(toFourBits(127), 7);
    EXPECT_EQ(toFourBits(128), 8);
    EXPECT_EQ(toFourBits(255), 15);
}

TEST(FontConversionLimits, NamesTheLargestScaleThatFits) {
    ConversionParameters huge;
    huge.fontScale = 300;
    try {
        convertFont(kFonts / "Example.ttf", huge);
        FAIL() << "a 300 px font was accepted";
    } catch (const ConversionError& error) {
        const std::string message = error.what();
        const auto at = message.find("largest font scale that fits is ");
        ASSERT_NE(at, std::string::npos) << message;
        const int fits = std::stoi(message.substr(at + 32));
        ConversionParameters largest = huge;
        largest.fontScale = fits;
        EXPECT_NO_THROW(convertFont(kFonts / "Example.ttf", largest));
        largest.fontScale = fits + 1;
        EXPECT_THROW(convertFont(kFonts / "Example.ttf", largest), ConversionError);
    }
}

TEST(CharacterSet, IsTheFirmwareLatinSetWithLatinExtendedA) {
    const std::vector<char32_t> set = pspLatinCharacters();
    EXPECT_EQ(set.size(), 447u);
    EXPECT_TRUE(std::is_sorted(set.begin(), set.end()));
    EXPECT_EQ(set.front(), U' ');
    EXPECT_EQ(set.back(), U'\u2265');
    for (const char32_t code : {U'_', U'\u00ff', U'\u0100', U'\u017f', U'\u0401', U'\u20ac'}) {
        EXPECT_TRUE(std::binary_search(set.begin(), set.end(), code))
            << std::hex << static_cast<unsigned>(code);
    }
    for (const char32_t code : {U'\u007f', U'\u009f', U'\u0180', U'\u040d', U'\u0391'}) {
        EXPECT_FALSE(std::binary_search(set.begin(), set.end(), code))
            << std::hex << static_cast<unsigned>(code);
    }
}

}  // namespace
}  // namespace tessavine::converter
