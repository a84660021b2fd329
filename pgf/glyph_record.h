#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "bitmap_encoding.h"
#include "pgf_font.h"

namespace tessavine::pgf {

// For each of a glyph's four metric pairs, its index in the metric table, or nothing when the
// pair is stored inline in the record.
struct MetricIndexes {
    std::optional<std::uint8_t> dimension;
    std::optional<std::uint8_t> xAdjust;
    std::optional<std::uint8_t> yAdjust;
    std::optional<std::uint8_t> advance;
};

// The bytes of a character glyph record: fixed fields, metrics, then the bitmap in the shorter of
// the two pixel orders. Its first field holds its exact length, which is where the shadow record
// begins. Throws std::invalid_argument when the record would be too long for that field.
std::vector<std::uint8_t> encodeCharRecord(const PgfGlyph& glyph, const MetricIndexes& indexes,
                                           std::uint16_t shadowId);
// The same with the image's bitmap code (encodeBitmap of glyph.image) made already.
std::vector<std::uint8_t> encodeCharRecord(const PgfGlyph& glyph, const MetricIndexes& indexes,
                                           std::uint16_t shadowId, const EncodedBitmap& bitmap);

// The bytes of a shadow glyph record: size, placement, order, bitmap.
std::vector<std::uint8_t> encodeShadowRecord(const GlyphImage& shadow);

}  // namespace tessavine::pgf
