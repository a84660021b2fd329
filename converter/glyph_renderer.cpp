#include "glyph_renderer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>

#include FT_BBOX_H
#include FT_BITMAP_H
#include FT_OUTLINE_H

#include "conversion_error.h"
#include "pgf/format_limits.h"

namespace tessavine::converter {
namespace {

constexpr FT_Fixed kObliqueShear = 0x0366A;  // about 12 degrees, the usual synthetic slant
constexpr FT_Pos kPixel = 64;

FT_Pos roundToPixel(FT_Pos value) {
    return (value + kPixel / 2) & ~(kPixel - 1);
}

// 8-bit coverage to 4 bits, looked up rather than divided for every pixel.
constexpr std::array<std::uint8_t, 256> kFourBitLevels = [] {
    std::array<std::uint8_t, 256> levels{};
    for (int coverage = 0; coverage < 256; ++coverage) {
        levels[static_cast<std::size_t>(coverage)] =
            static_cast<std::uint8_t>((coverage * 15 + 127) / 255);
    }
    return levels;
}();

// FreeType's bitmap copied out of the glyph slot, which the next glyph overwrites.
DrawnGlyph copyOf(const FT_Bitmap& bitmap, int left, int top) {
    DrawnGlyph drawn;
    drawn.width = static_cast<int>(bitmap.width);
    drawn.rows = static_cast<int>(bitmap.rows);
    drawn.left = left;
    drawn.top = top;
    drawn.coverage.resize(static_cast<std::size_t>(drawn.width) *
                          static_cast<std::size_t>(drawn.rows));
    for (int y = 0; y < drawn.rows; ++y) {
        std::copy_n(bitmap.buffer + static_cast<std::ptrdiff_t>(y) * bitmap.pitch, drawn.width,
                    drawn.coverage.begin() + static_cast<std::ptrdiff_t>(y) * drawn.width);
    }
    return drawn;
}

FT_Pos floorToPixels(FT_Pos value) {
    return (value & ~(kPixel - 1)) / kPixel;
}

FT_Pos ceilToPixels(FT_Pos value) {
    return floorToPixels(value + kPixel - 1);
}

// Why the outline cannot become a storable bitmap, judged from its exact box before it is
// drawn. The bitmap cropped to its ink lies inside the box, and reaches to within a pixel or
// two of each side (a hairline may stay below the lowest 4-bit level), so only what is certain
// either way is refused here; a glyph near the limits is rendered and its ink measured.
std::optional<std::string> findOutlineLimitBreak(FT_Outline& outline) {
    constexpr int kSlack = 2;
    // The box of the outline's points holds its exact box and costs a fraction of it (the exact
    // box follows every curve), so a glyph whose point box is surely within the limits, as nearly
    // every glyph's is, needs no exact box: each test below is taken on the side where the
    // exact box can only be smaller.
    FT_BBox points;
    FT_Outline_Get_CBox(&outline, &points);
    const bool maybe = ceilToPixels(points.xMax) - floorToPixels(points.xMin) - 2 * kSlack >
                           pgf::kLargestBitmapSide ||
                       ceilToPixels(points.yMax) - floorToPixels(points.yMin) - 2 * kSlack >
                           pgf::kLargestBitmapSide ||
                       floorToPixels(points.xMin) + kSlack < pgf::kSmallestOffset ||
                       floorToPixels(points.xMax) > pgf::kLargestOffset ||
                       ceilToPixels(points.yMax) - kSlack > pgf::kLargestOffset ||
                       ceilToPixels(points.yMin) < pgf::kSmallestOffset;
    FT_BBox box;
    if (!maybe || FT_Outline_Get_BBox(&outline, &box) != 0) {
        return std::nullopt;
    }
    const FT_Pos left = floorToPixels(box.xMin);
    const FT_Pos top = ceilToPixels(box.yMax);
    const FT_Pos width = ceilToPixels(box.xMax) - left;
    const FT_Pos height = top - floorToPixels(box.yMin);
    const bool certain = width - 2 * kSlack > pgf::kLargestBitmapSide ||
                         height - 2 * kSlack > pgf::kLargestBitmapSide ||
                         left + kSlack < pgf::kSmallestOffset || left > pgf::kLargestOffset ||
                         top - kSlack > pgf::kLargestOffset || top < pgf::kSmallestOffset;
    if (!certain) {
        return std::nullopt;
    }
    // The box's own sides, clamped so the text stays readable for absurd outlines.
    const auto clamped = [](FT_Pos value) {
        return static_cast<int>(std::clamp<FT_Pos>(value, -1'000'000'000, 1'000'000'000));
    };
    pgf::GlyphImage extent;
    extent.width = clamped(width);
    extent.height = clamped(height);
    extent.left = clamped(left);
    extent.top = clamped(top);
    return pgf::findImageLimitBreak(extent);
}

// A strike made for exactly this em: square pixels, whole pixels, the plain style (a strike has no
// outline to embolden or slant).
bool hasStrikeFor(FT_Face face, const FaceSize& size) {
    if (size.bitmaps != EmbeddedBitmaps::Auto || size.emWidth != size.emHeight ||
        size.emHeight % kPixel != 0 || size.embolden || size.italicize) {
        return false;
    }
    for (FT_Int i = 0; i < face->num_fixed_sizes; ++i) {
        const FT_Bitmap_Size& strike = face->available_sizes[i];
        if (strike.x_ppem == size.emWidth && strike.y_ppem == size.emHeight) {
            return true;
        }
    }
    return false;
}

// A strike's glyph as 8-bit coverage: a 1-bit strike's ink is full coverage, a grey one's levels
// are spread over 0 to 255, so the 4-bit mapping treats both as it treats rendered outlines.
DrawnGlyph strikeImage(FT_GlyphSlot slot) {
    FT_Bitmap grey;
    FT_Bitmap_Init(&grey);
    const int levels = slot->bitmap.pixel_mode == FT_PIXEL_MODE_MONO ? 2 : slot->bitmap.num_grays;
    if (FT_Bitmap_Convert(slot->library, &slot->bitmap, &grey, 1) != 0 || levels < 2) {
        FT_Bitmap_Done(slot->library, &grey);
        return {};
    }
    for (unsigned y = 0; y < grey.rows; ++y) {
        unsigned char* row = grey.buffer + static_cast<std::ptrdiff_t>(y) * grey.pitch;
        for (unsigned x = 0; x < grey.width; ++x) {
            row[x] = static_cast<unsigned char>(
                std::min(row[x], static_cast<unsigned char>(levels - 1)) * 255 / (levels - 1));
        }
    }
    DrawnGlyph drawn = copyOf(grey, slot->bitmap_left, slot->bitmap_top);
    FT_Bitmap_Done(slot->library, &grey);
    return drawn;
}

}  // namespace

std::uint8_t toFourBits(std::uint8_t coverage) {
    return kFourBitLevels[coverage];
}

RenderedGlyph cropToInk(const DrawnGlyph& drawn) {
    const int width = drawn.width;
    const int height = drawn.rows;
    const auto rowAt = [&](int y) {
        return drawn.coverage.data() + static_cast<std::ptrdiff_t>(y) * width;
    };
    int minX = width, minY = height, maxX = -1, maxY = -1;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = rowAt(y);
        int first = 0;
        while (first < width && kFourBitLevels[row[first]] == 0) {
            ++first;
        }
        if (first == width) {
            continue;
        }
        int last = width - 1;
        while (kFourBitLevels[row[last]] == 0) {
            --last;
        }
        minX = std::min(minX, first);
        maxX = std::max(maxX, last);
        minY = std::min(minY, y);
        maxY = y;
    }
    RenderedGlyph glyph;
    glyph.advance = drawn.advance;
    if (maxX < 0) {
        return glyph;
    }
    pgf::GlyphImage& image = glyph.image;
    image.width = maxX - minX + 1;
    image.height = maxY - minY + 1;
    image.left = drawn.left + minX;
    image.top = drawn.top - minY;
    image.pixels.resize(static_cast<std::size_t>(image.width * image.height));
    std::uint8_t* out = image.pixels.data();
    for (int y = minY; y <= maxY; ++y) {
        const std::uint8_t* row = rowAt(y);
        for (int x = minX; x <= maxX; ++x) {
            *out++ = kFourBitLevels[row[x]];
        }
    }
    return glyph;
}

GlyphRenderer::GlyphRenderer(const FontFace& face, const FaceSize& size)
    : face_(face.get()),
      embolden_(size.embolden),
      italicize_(size.italicize),
      strength_(0),
      loadFlags_(FT_LOAD_NO_BITMAP),
      renderMode_(FT_RENDER_MODE_NORMAL) {
    // A char size at 72 dpi is a pixel size; the width's own scale narrows or widens the
    // outlines and advances alike, and the hinter sees the final shapes.
    constexpr std::int64_t kLargestEm = std::int64_t{1} << 30;
    if (size.emWidth < 1 || size.emHeight < 1 || size.emWidth > kLargestEm ||
        size.emHeight > kLargestEm ||
        FT_Set_Char_Size(face_, static_cast<FT_F26Dot6>(size.emWidth),
                         static_cast<FT_F26Dot6>(size.emHeight), 72, 72) != 0) {
        throw ConversionError("the font cannot be set to scale " + std::to_string(size.fontScale) +
                              " with this horizontal width; try other values");
    }
    if (hasStrikeFor(face_, size)) {
        loadFlags_ &= ~FT_LOAD_NO_BITMAP;
    }
    // The strength FreeType's own synthetic bold uses: 1/24 of the em.
    strength_ = size.emboldenStrength.value_or(
        FT_MulFix(face_->units_per_EM, face_->size->metrics.y_scale) / 24);
    switch (size.hinting) {
        case Hinting::None:
            loadFlags_ |= FT_LOAD_NO_HINTING;
            break;
        case Hinting::Light:
            loadFlags_ |= FT_LOAD_TARGET_LIGHT;
            renderMode_ = FT_RENDER_MODE_LIGHT;
            break;
        case Hinting::Normal:
            loadFlags_ |= FT_LOAD_TARGET_NORMAL;
            break;
    }
}

std::optional<RenderedGlyph> GlyphRenderer::render(char32_t code) const {
    if (const auto drawn = draw(code)) {
        return cropToInk(*drawn);
    }
    return std::nullopt;
}

std::optional<DrawnGlyph> GlyphRenderer::draw(char32_t code) const {
    const FT_UInt index = FT_Get_Char_Index(face_, code);
    if (index == 0 || FT_Load_Glyph(face_, index, loadFlags_) != 0) {
        return std::nullopt;
    }
    FT_GlyphSlot slot = face_->glyph;
    if (slot->format == FT_GLYPH_FORMAT_BITMAP && drawsFromStrike()) {
        DrawnGlyph drawn = strikeImage(slot);
        drawn.advance = static_cast<std::int32_t>(roundToPixel(slot->advance.x));
        return drawn;
    }
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE) {
        return std::nullopt;
    }
    FT_Pos advance = slot->advance.x;
    if (embolden_) {
        FT_Outline_Embolden(&slot->outline, static_cast<FT_Pos>(strength_));
        advance += static_cast<FT_Pos>(strength_);
    }
    if (italicize_) {
        FT_Matrix shear{0x10000, kObliqueShear, 0, 0x10000};
        FT_Outline_Transform(&slot->outline, &shear);
    }
    if (const auto problem = findOutlineLimitBreak(slot->outline)) {
        throw GlyphTooLarge(*problem);
    }
    if (FT_Render_Glyph(slot, renderMode_) != 0) {
        char name[16];
        std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(code));
        throw ConversionError(std::string("FreeType cannot draw ") + name +
                              " of this font at this size; the font may be damaged, so try "
                              "another");
    }
    DrawnGlyph drawn = copyOf(slot->bitmap, slot->bitmap_left, slot->bitmap_top);
    drawn.advance = static_cast<std::int32_t>(roundToPixel(advance));
    return drawn;
}

std::int32_t GlyphRenderer::ascender() const {
    return static_cast<std::int32_t>(roundToPixel(face_->size->metrics.ascender));
}

std::int32_t GlyphRenderer::descender() const {
    return static_cast<std::int32_t>(roundToPixel(face_->size->metrics.descender));
}

}  // namespace tessavine::converter
