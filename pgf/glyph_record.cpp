#include "glyph_record.h"

#include <stdexcept>

#include "bit_writer.h"
#include "bitmap_encoding.h"
#include "format_limits.h"

namespace tessavine::pgf {
namespace {

constexpr std::size_t kFixedCharFieldBytes = 8;
constexpr std::size_t kFixedShadowFieldBytes = 6;

void writeMetric(BitWriter& out, const std::optional<std::uint8_t>& index, const MetricPair& pair) {
    if (index) {
        out.write(*index, 8);
    } else {
        out.write(static_cast<std::uint32_t>(pair.horizontal), 32);
        out.write(static_cast<std::uint32_t>(pair.vertical), 32);
    }
}

std::size_t metricBytes(const std::optional<std::uint8_t>& index) {
    return index ? 1 : 8;
}

void writeImageFields(BitWriter& out, std::size_t recordBytes, const GlyphImage& image,
                      std::uint32_t flags) {
    if (recordBytes > static_cast<std::size_t>(kLargestRecordBytes)) {
        throw std::invalid_argument("a glyph record is longer than 16383 bytes");
    }
    out.write(static_cast<std::uint32_t>(recordBytes), 14);
    out.write(static_cast<std::uint32_t>(image.width), 7);
    out.write(static_cast<std::uint32_t>(image.height), 7);
    out.write(static_cast<std::uint32_t>(image.left) & 0x7Fu, 7);
    out.write(static_cast<std::uint32_t>(image.top) & 0x7Fu, 7);
    out.write(flags, 6);
}

std::vector<std::uint8_t> joined(std::vector<std::uint8_t> head,
                                 const std::vector<std::uint8_t>& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

}  // namespace

std::vector<std::uint8_t> encodeCharRecord(const PgfGlyph& glyph, const MetricIndexes& indexes,
                                           std::uint16_t shadowId) {
    return encodeCharRecord(glyph, indexes, shadowId, encodeBitmap(glyph.image));
}

std::vector<std::uint8_t> encodeCharRecord(const PgfGlyph& glyph, const MetricIndexes& indexes,
                                           std::uint16_t shadowId, const EncodedBitmap& bitmap) {
    std::uint32_t flags = static_cast<std::uint32_t>(bitmap.order) | kAllMetricsIndexed;
    if (!indexes.dimension) {
        flags &= ~kDimensionIndexed;
    }
    if (!indexes.xAdjust) {
        flags &= ~kXAdjustIndexed;
    }
    if (!indexes.yAdjust) {
        flags &= ~kYAdjustIndexed;
    }
    if (!indexes.advance) {
        // Some readers always read the advance as an index.
        throw std::invalid_argument("a glyph's advance must be stored in the advance table");
    }
    const std::size_t recordBytes = kFixedCharFieldBytes + metricBytes(indexes.dimension) +
                                    metricBytes(indexes.xAdjust) + metricBytes(indexes.yAdjust) +
                                    metricBytes(indexes.advance) + bitmap.bytes.size();
    BitWriter out;
    writeImageFields(out, recordBytes, glyph.image, flags);
    out.write(glyph.shadowFlags.a, 2);
    out.write(glyph.shadowFlags.b, 2);
    out.write(glyph.shadowFlags.c, 3);
    out.write(shadowId, 9);
    writeMetric(out, indexes.dimension, glyph.metrics.dimension);
    writeMetric(out, indexes.xAdjust, glyph.metrics.xAdjust);
    writeMetric(out, indexes.yAdjust, glyph.metrics.yAdjust);
    writeMetric(out, indexes.advance, glyph.metrics.advance);
    return joined(out.takeBytes(), bitmap.bytes);
}

std::vector<std::uint8_t> encodeShadowRecord(const GlyphImage& shadow) {
    const EncodedBitmap bitmap = encodeBitmap(shadow);
    BitWriter out;
    writeImageFields(out, kFixedShadowFieldBytes + bitmap.bytes.size(), shadow,
                     static_cast<std::uint32_t>(bitmap.order));
    return joined(out.takeBytes(), bitmap.bytes);
}

}  // namespace tessavine::pgf
