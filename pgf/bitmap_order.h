#pragma once

#include <cstdint>
#include <vector>

#include "glyph_image.h"

namespace tessavine::pgf {

// The two pixel orders a glyph bitmap may be stored in; the values are those of the record's
// order bits.
enum class BitmapOrder : std::uint8_t { Rows = 1, Columns = 2 };

// The image's pixels in the given order: row by row, or column by column from the left.
std::vector<std::uint8_t> pixelsInOrder(const GlyphImage& image, BitmapOrder order);

// Puts values read in the given order back into the image's row-by-row pixels.
void placePixels(GlyphImage& image, const std::vector<std::uint8_t>& values, BitmapOrder order);

}  // namespace tessavine::pgf
