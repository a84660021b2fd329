#pragma once

#include <cstdint>
#include <vector>

#include "bit_reader.h"
#include "bitmap_order.h"
#include "glyph_image.h"

namespace tessavine::pgf {

struct EncodedBitmap {
    BitmapOrder order = BitmapOrder::Rows;
    std::vector<std::uint8_t> bytes;
};

// Codes the image in both pixel orders and keeps the shorter code; on a tie, rows.
EncodedBitmap encodeBitmap(const GlyphImage& image);

// Reads width × height values in the given order into the image's pixels.
void decodeBitmap(BitReader& reader, BitmapOrder order, GlyphImage& image);

}  // namespace tessavine::pgf
