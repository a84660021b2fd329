#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "bitmap_encoding.h"
#include "pgf_font.h"

namespace tessavine::pgf {

// The bytes of a revision 2 PGF file for the font: every glyph indexed in the four metric tables
// where they have room, one shadow per glyph, a charmap from U+0020, and the header's maxima taken
// from what is written. Throws std::invalid_argument when the font breaks a limit of the format
// (callers check the limits first and tell the user; this is the last line of defence).
// `imageCodes`, when given, holds encodeBitmap of each glyph's image, made by the caller (the
// converter codes them on another thread while it draws); empty: the writer codes them.
std::vector<std::uint8_t> writePgf(const PgfFont& font,
                                   std::span<const EncodedBitmap> imageCodes = {});

}  // namespace tessavine::pgf
