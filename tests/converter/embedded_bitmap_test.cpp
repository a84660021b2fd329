// --bitmaps auto: a font's hand-tuned bitmap strike is taken at the em it was made for and at no
// other, checked against the strike's pixels read from FreeType directly. WenQuanYi Zen Hei
// Sharp (the third face of Debian's wqy-zenhei.ttc) carries 1-bit strikes at 12 to 16 px.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H

#include "converter/font_converter.h"
#include "pgf/pgf_reader.h"
#include "tests/pgf/pgf_invariants.h"

namespace tessavine::converter {
namespace {

const std::filesystem::path kZenHei = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc";
constexpr long kSharpFace = 2;
// Kana, a row of hanzi and digits: strokes a strike draws differently from the outline.
constexpr const char* kCharacters = "U+0030-0039,U+3042-3050,U+4E00-4E2F";

// The strike's glyph at `pixels` as FreeType loads it, ink as 15, cropped to its ink.
pgf::GlyphImage strikeGlyph(int pixels, char32_t code) {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    EXPECT_EQ(FT_Init_FreeType(&library), 0);
    EXPECT_EQ(FT_New_Face(library, kZenHei.c_str(), kSharpFace, &face), 0);
    EXPECT_EQ(FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixels)), 0);
    EXPECT_EQ(FT_Load_Char(face, code, FT_LOAD_DEFAULT), 0);
    const FT_Bitmap& bitmap = face->glyph->bitmap;
    EXPECT_EQ(face->glyph->format, FT_GLYPH_FORMAT_BITMAP);
    EXPECT_EQ(bitmap.pixel_mode, FT_PIXEL_MODE_MONO);
    const auto ink = [&](int x, int y) {
        return (bitmap.buffer[y * bitmap.pitch + x / 8] >> (7 - x % 8) & 1) != 0;
    };
    int minX = 1 << 20, minY = 1 << 20, maxX = -1, maxY = -1;
    for (int y = 0; y < static_cast<int>(bitmap.rows); ++y) {
        for (int x = 0; x < static_cast<int>(bitmap.width); ++x) {
            if (ink(x, y)) {
                minX = std::min(minX, x), maxX = std::max(maxX, x);
                minY = std::min(minY, y), maxY = std::max(maxY, y);
            }
        }
    }
    pgf::GlyphImage image;
    if (maxX >= 0) {
        image.width = maxX - minX + 1;
        image.height = maxY - minY + 1;
        image.left = face->glyph->bitmap_left + minX;
        image.top = face->glyph->bitmap_top - minY;
        for (int y = minY; y <= maxY; ++y) {
            for (int x = minX; x <= maxX; ++x) {
                image.pixels.push_back(ink(x, y) ? 15 : 0);
            }
        }
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return image;
}

pgf::PgfFile converted(int scale, EmbeddedBitmaps bitmaps, bool embolden, double width = 1.0) {
    ConversionParameters parameters;
    parameters.horizontalWidth = width;
    parameters.fontScale = scale;
    parameters.face = std::to_string(kSharpFace);
    parameters.characterSets = kCharacters;
    parameters.bitmaps = bitmaps;
    parameters.embolden = embolden;
    const ConversionResult result = convertFont(kZenHei, parameters);
    pgf::PgfFile file = pgf::readPgf(result.pgf);
    pgf::expectWellFormed(file, result.pgf.size());
    return file;
}

TEST(EmbeddedBitmaps, TheStrikeIsTakenAtItsOwnSizeOnly) {
    if (!std::filesystem::exists(kZenHei)) {
        GTEST_SKIP() << kZenHei << " is missing: install fonts-wqy-zenhei (tools/install-deps)";
    }
    const struct {
        int scale;
        EmbeddedBitmaps bitmaps;
        bool embolden;
        double width;
        bool strike;  // every glyph is the strike's; else hardly any
    } cases[] = {
        {16, EmbeddedBitmaps::Auto, false, 1.0, true},
        {12, EmbeddedBitmaps::Auto, false, 1.0, true},
        {16, EmbeddedBitmaps::Never, false, 1.0, false},
        {16, EmbeddedBitmaps::Auto, true, 1.0, false},    // a strike cannot be emboldened
        {16, EmbeddedBitmaps::Auto, false, 0.75, false},  // nor narrowed
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.scale << " px, auto " << (c.bitmaps == EmbeddedBitmaps::Auto) << ", bold "
                     << c.embolden);
        const pgf::PgfFile file = converted(c.scale, c.bitmaps, c.embolden, c.width);
        ASSERT_EQ(file.glyphs.size(), 10u + 15u + 48u + 1u);  // and "_"
        std::size_t asStrike = 0;
        for (const pgf::PgfGlyph& glyph : file.glyphs) {
            if (glyph.code != u'_' && glyph.image == strikeGlyph(c.scale, glyph.code)) {
                ++asStrike;
            }
        }
        // Outlines anti-alias, so hardly a glyph of them has only full and empty pixels.
        if (c.strike) {
            EXPECT_EQ(asStrike, file.glyphs.size() - 1);
        } else {
            EXPECT_LE(asStrike, 3u);
        }
    }
    // At 18 px the font has no strike: auto draws exactly what never draws.
    const pgf::PgfFile autoAt18 = converted(18, EmbeddedBitmaps::Auto, false);
    const pgf::PgfFile neverAt18 = converted(18, EmbeddedBitmaps::Never, false);
    ASSERT_EQ(autoAt18.glyphs.size(), neverAt18.glyphs.size());
    for (std::size_t i = 0; i < autoAt18.glyphs.size(); ++i) {
        EXPECT_EQ(autoAt18.glyphs[i].image, neverAt18.glyphs[i].image) << i;
    }
}

}  // namespace
}  // namespace tessavine::converter
