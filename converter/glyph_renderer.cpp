#include "glyph_renderer.h"

#include <algorithm>
#include <cmath>

#include FT_OUTLINE_H

#include "conversion_error.h"

namespace tessavine::converter {
namespace {

constexpr FT_Int32 kLoadFlags = FT_LOAD_TARGET_LIGHT | FT_LOAD_NO_BITMAP;
constexpr FT_Fixed kObliqueShear = 0x0366A;  // about 12 degrees, the usual synthetic slant
constexpr FT_Pos kPixel = 64;

FT_Pos roundToPixel(FT_Pos value) {
    return (value + kPixel / 2) & ~(kPixel - 1);
}

// The ink box of the bitmap's 4-bit values, as a cropped image.
pgf::GlyphImage cropToInk(const FT_Bitmap& bitmap, int left, int top) {
    const int width = static_cast<int>(bitmap.width);
    const int height = static_cast<int>(bitmap.rows);
    std::vector<std::uint8_t> values(static_cast<std::size_t>(width) *
                                     static_cast<std::size_t>(height));
    int minX = width, minY = height, maxX = -1, maxY = -1;
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = bitmap.buffer + static_cast<std::ptrdiff_t>(y) * bitmap.pitch;
        for (int x = 0; x < width; ++x) {
            const std::uint8_t value = toFourBits(row[x]);
            values[static_cast<std::size_t>(y * width + x)] = value;
            if (value != 0) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
        }
    }
    pgf::GlyphImage image;
    if (maxX < 0) {
        return image;
    }
    image.width = maxX - minX + 1;
    image.height = maxY - minY + 1;
    image.left = left + minX;
    image.top = top - minY;
    image.pixels.reserve(static_cast<std::size_t>(image.width * image.height));
    for (int y = minY; y <= maxY; ++y) {
        const auto rowStart = values.begin() + y * width;
        image.pixels.insert(image.pixels.end(), rowStart + minX, rowStart + maxX + 1);
    }
    return image;
}

}  // namespace

std::uint8_t toFourBits(std::uint8_t coverage) {
    return static_cast<std::uint8_t>((coverage * 15 + 127) / 255);
}

GlyphRenderer::GlyphRenderer(const FontFace& face, const ConversionParameters& parameters)
    : face_(face.get()), embolden_(parameters.embolden), italicize_(parameters.italicize) {
    // A char size at 72 dpi is a pixel size; the width's own scale narrows or widens the
    // outlines and advances alike, and the hinter sees the final shapes.
    const auto height = static_cast<FT_F26Dot6>(parameters.fontScale) * kPixel;
    const auto width = static_cast<FT_F26Dot6>(
        std::lround(parameters.fontScale * parameters.horizontalWidth * kPixel));
    if (width < 1 || FT_Set_Char_Size(face_, width, height, 72, 72) != 0) {
        throw ConversionError("the font cannot be set to scale " +
                              std::to_string(parameters.fontScale) +
                              " with this horizontal width; try other values");
    }
}

std::optional<RenderedGlyph> GlyphRenderer::render(char32_t code) const {
    const FT_UInt index = FT_Get_Char_Index(face_, code);
    if (index == 0 || FT_Load_Glyph(face_, index, kLoadFlags) != 0) {
        return std::nullopt;
    }
    FT_GlyphSlot slot = face_->glyph;
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE) {
        return std::nullopt;
    }
    FT_Pos advance = slot->advance.x;
    if (embolden_) {
        // The strength FreeType's own synthetic bold uses: 1/24 of the em.
        const FT_Pos strength = FT_MulFix(face_->units_per_EM, face_->size->metrics.y_scale) / 24;
        FT_Outline_Embolden(&slot->outline, strength);
        advance += strength;
    }
    if (italicize_) {
        FT_Matrix shear{0x10000, kObliqueShear, 0, 0x10000};
        FT_Outline_Transform(&slot->outline, &shear);
    }
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_LIGHT) != 0) {
        return std::nullopt;
    }
    RenderedGlyph glyph;
    glyph.image = cropToInk(slot->bitmap, slot->bitmap_left, slot->bitmap_top);
    glyph.advance = static_cast<std::int32_t>(roundToPixel(advance));
    return glyph;
}

std::int32_t GlyphRenderer::ascender() const {
    return static_cast<std::int32_t>(roundToPixel(face_->size->metrics.ascender));
}

std::int32_t GlyphRenderer::descender() const {
    return static_cast<std::int32_t>(roundToPixel(face_->size->metrics.descender));
}

}  // namespace tessavine::converter
