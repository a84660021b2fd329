#pragma once

// FreeType asked directly, the way the PSP's own fonts look: light hinting, 8-bit coverage
// rounded to 4 bits, the bitmap cut to the pixels that keep ink.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include "pgf/pgf_reader.h"

namespace tessavine::converter::test {

// `code` drawn at an em of `em26Dot6` pixels in 26.6, by default with light hinting; with an
// `emboldenStrength` (26.6), the outline grown by it before rendering.
inline pgf::GlyphImage freeTypeGlyph(const std::filesystem::path& fontPath, long em26Dot6,
                                     char32_t code,
                                     FT_Int32 loadFlags = FT_LOAD_TARGET_LIGHT | FT_LOAD_NO_BITMAP,
                                     FT_Render_Mode renderMode = FT_RENDER_MODE_LIGHT,
                                     long emboldenStrength = 0) {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    EXPECT_EQ(FT_Init_FreeType(&library), 0);
    EXPECT_EQ(FT_New_Face(library, fontPath.string().c_str(), 0, &face), 0);
    EXPECT_EQ(FT_Set_Char_Size(face, em26Dot6, em26Dot6, 72, 72), 0);
    EXPECT_EQ(FT_Load_Char(face, code, loadFlags), 0);
    if (emboldenStrength != 0) {
        EXPECT_EQ(FT_Outline_Embolden(&face->glyph->outline, emboldenStrength), 0);
    }
    EXPECT_EQ(FT_Render_Glyph(face->glyph, renderMode), 0);
    const FT_Bitmap& bitmap = face->glyph->bitmap;
    const auto level = [&](int x, int y) {
        return static_cast<std::uint8_t>((bitmap.buffer[y * bitmap.pitch + x] * 15 + 127) / 255);
    };
    int minX = 1 << 20, minY = 1 << 20, maxX = -1, maxY = -1;
    for (int y = 0; y < static_cast<int>(bitmap.rows); ++y) {
        for (int x = 0; x < static_cast<int>(bitmap.width); ++x) {
            if (level(x, y) > 0) {
                minX = std::min(minX, x), maxX = std::max(maxX, x);
                minY = std::min(minY, y), maxY = std::max(maxY, y);
            }
        }
    }
    pgf::GlyphImage image{maxX - minX + 1,
                          maxY - minY + 1,
                          face->glyph->bitmap_left + minX,
                          face->glyph->bitmap_top - minY,
                          {}};
    for (int y = minY; y <= maxY; ++y) {
        for (int x = minX; x <= maxX; ++x) {
            image.pixels.push_back(level(x, y));
        }
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return image;
}

}  // namespace tessavine::converter::test

namespace tessavine::converter::test {

// The characters of `candidates` the font has a glyph for, asked of FreeType directly.
inline std::vector<char32_t> charactersInFont(const std::filesystem::path& fontPath,
                                              const std::vector<char32_t>& candidates) {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    EXPECT_EQ(FT_Init_FreeType(&library), 0);
    EXPECT_EQ(FT_New_Face(library, fontPath.string().c_str(), 0, &face), 0);
    std::vector<char32_t> present;
    for (const char32_t code : candidates) {
        if (FT_Get_Char_Index(face, code) != 0) {
            present.push_back(code);
        }
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return present;
}

}  // namespace tessavine::converter::test
